#pragma once
// The canvas of a bitmap: the pen, brush and font state that drawing code sets
// and reads back (the vector commands hand colours to each other through it),
// and the plain drawing operations, done by Qt's raster engine with
// anti-aliasing off. Everything that must be exact to the pixel (smooth lines,
// oversampling, blends) works on the bitmap rows instead.
//
// Rectangles follow the usual raster convention: Left and Top inclusive,
// Right and Bottom exclusive. Coordinates are 32-bit; shapes far outside the
// bitmap are clipped before they reach Qt, so huge coordinates cost nothing.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/uGraphicsTypes.h"

class QFont;
class QFontMetrics;
class QPainter;

namespace varnik {

class TBitmap;
class TTextMask;

// Makes sure a QGuiApplication exists (Qt needs one for fonts). Creates it on
// first need; when QT_QPA_PLATFORM is unset and there is no DISPLAY (or
// WAYLAND_DISPLAY), the offscreen platform is chosen so that the command-line
// tools and the tests can draw text on a machine without a screen. Maps the
// face name "Arial" to the metric-compatible "Liberation Sans". A program that
// makes its own application object must make it before the first text is
// drawn, and a GUI one (QGuiApplication or QApplication).
void EnsureGuiApplication();

// The plain colour (red + 256 * green + 65536 * blue) of a TColor: a colour of
// 0 or more keeps its low 24 bits; a negative value names a system colour by
// the index in its low byte and gives that colour of the standard desktop
// palette (an unknown index, -1 included, gives black).
TColor ColorToRGB(TColor color);

enum TPenStyle : uint8_t {
  psSolid = 0,
  psDash = 1,
  psDot = 2,
  psDashDot = 3,
  psDashDotDot = 4,
  psClear = 5,
  psInsideFrame = 6,
};

enum TBrushStyle : uint8_t { bsSolid = 0, bsClear = 1 };

// Raster operation of the pen; only copy is used by this system.
constexpr int kPenModeCopy = 12;

struct TPen {
  TColor Color = 0;
  int Width = 1;
  TPenStyle Style = psSolid;
  int Mode = kPenModeCopy;
};

struct TBrush {
  TColor Color = 0xFFFFFF;
  TBrushStyle Style = bsSolid;
};

struct TFont {
  std::string Name = "Arial";  // Windows-1251 bytes
  // Negative: character height in pixels (the em size). Positive: cell height
  // (ascent + descent). Zero: the default of 12 pixels of character height.
  int Height = -12;
  int Style = 0;  // TFontStyleBit set: bold, italic, underline, strike-out
  int Charset = 1;
  TColor Color = 0;
  // Angle of the baseline in tenths of a degree, anticlockwise on screen.
  int Escapement = 0;
  int Orientation = 0;
};

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
};

class TCanvas {
 public:
  // A canvas drawing on `bitmap`, which must outlive it (the bitmap owns its
  // canvas; see TBitmap::Canvas).
  explicit TCanvas(TBitmap& bitmap);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  TBitmap& Bitmap() { return bitmap_; }

  // The current position, set by MoveTo and LineTo.
  TPoint PenPos() const { return penPos_; }
  void MoveTo(int32_t x, int32_t y);
  // A line from the current position to (x, y) with the pen; the end pixel
  // itself is not drawn for a one-pixel pen. The position moves to (x, y).
  void LineTo(int32_t x, int32_t y);
  // Connected lines with the pen (joined, not drawn as separate lines).
  void Polyline(const std::vector<TPoint>& points);
  // Fills the polygon with the brush (alternate rule) and outlines it with the
  // pen; either part is skipped when its style is clear.
  void Polygon(const std::vector<TPoint>& points);
  // Fills the rectangle with the brush, the pen unused.
  void FillRect(const TRect& rect);
  // Outline with the pen, inside with the brush.
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
  // The ellipse inscribed in the box, outline with the pen, inside with the brush.
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom);

  // Writes one line of Windows-1251 text with the font; (x, y) is the top-left
  // corner of the text cell before the escapement turns it about that point.
  // With a solid brush the cell is first filled with the brush colour.
  void TextOut(int32_t x, int32_t y, const std::string& text);
  // The kept pixels TextOut writes `text` with under the current font and
  // brush, or null when it writes the text directly.
  const TTextMask* KeptText(const std::string& text);
  // Size of the unrotated text cell: width of the text, cell height of the
  // font (the same for every text, empty text included).
  TSize TextExtent(const std::string& text);
  int32_t TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int32_t TextHeight(const std::string& text) { return TextExtent(text).cy; }

  // Copies `source`'s rectangle `sourceRect` onto this canvas's `destRect`,
  // stretching by replicating or dropping pixels (no filtering). Parts of
  // either rectangle outside its bitmap are not read or written; pixels of
  // the destination whose source lies outside the source bitmap are left
  // unchanged.
  void CopyRect(const TRect& destRect, TCanvas& source, const TRect& sourceRect);
  // The Qt font the canvas writes with: Font's face, style and height
  // (negative: em size in pixels; positive: cell height; zero: 12 pixels of
  // em), without anti-aliasing.
  QFont MakeFont() const;

  // CopyRect of the whole of `source` onto `destRect`.
  void StretchDraw(const TRect& destRect, TBitmap& source);
  // Copies `source` unscaled with its top-left corner at (x, y).
  void Draw(int32_t x, int32_t y, TBitmap& source);

 private:
  void SetUpPen(QPainter& painter) const;
  void SetUpBrush(QPainter& painter) const;
  // A font with the widths and the pixels of texts written in it, kept
  // from one frame to the next: a map writes its labels in a few fonts over
  // and over, and making a font and shaping a text cost more than setting
  // the text's pixels.
  struct TTextCache;
  TTextCache& TextCache();

  TBitmap& bitmap_;
  TPoint penPos_;
  std::vector<std::unique_ptr<TTextCache>> textCaches_;
  TTextCache* textCache_ = nullptr;  // the one of the current font
};

}  // namespace varnik
