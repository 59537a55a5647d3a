#pragma once
// A vector image: an ordered list of drawing commands, stored as a .vec text
// file with one command per line and replayed onto a bitmap through a view.
//
// The unit is built in two dialects that differ in one command and a few
// operations: the vector editor's (VARNIK_VEC_DIALECT=1) knows the Sine
// command and reads from text; the map editor's (VARNIK_VEC_DIALECT=0) has no
// Sine, so every type code from Dashed upward is one lower, and it has the
// builder operations the map uses to draw itself. The type codes below are
// the only place that difference is spelled out.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/uUtils.h"

#ifndef VARNIK_VEC_DIALECT
#error "VARNIK_VEC_DIALECT must be defined: 1 for the vector editor, 0 for the map editor"
#endif

namespace varnik {

class TBitmap;
class TImage;
class TScale;
struct TCommandBounds;

inline constexpr bool kVecDialect = VARNIK_VEC_DIALECT != 0;

// --- Type codes ----------------------------------------------------------

inline constexpr uint8_t vcSize = 0;
inline constexpr uint8_t vcPenColor = 1;
inline constexpr uint8_t vcBrushColor = 2;
inline constexpr uint8_t vcLine = 3;
inline constexpr uint8_t vcSpline = 4;
#if VARNIK_VEC_DIALECT
inline constexpr uint8_t vcSine = 5;
#endif
// Codes after Spline move up by one where Sine exists.
inline constexpr uint8_t kAfterSpline = kVecDialect ? 6 : 5;
inline constexpr uint8_t vcDashed = kAfterSpline + 0;
inline constexpr uint8_t vcStairs = kAfterSpline + 1;
inline constexpr uint8_t vcArrow = kAfterSpline + 2;
inline constexpr uint8_t vcEllipse = kAfterSpline + 3;
inline constexpr uint8_t vcRailway = kAfterSpline + 4;
inline constexpr uint8_t vcTextOut = kAfterSpline + 5;
inline constexpr uint8_t vcAngleTextOut = kAfterSpline + 6;
inline constexpr uint8_t vcPolygon = kAfterSpline + 7;
inline constexpr uint8_t vcSpotRect = kAfterSpline + 8;
inline constexpr uint8_t vcSpotCircle = kAfterSpline + 9;
inline constexpr uint8_t vcAngle = kAfterSpline + 10;
inline constexpr uint8_t vcOpaque = kAfterSpline + 11;
inline constexpr uint8_t vcImage = kAfterSpline + 12;
inline constexpr uint8_t vcComment = kAfterSpline + 13;

// The lower-case keyword of a type code ("" for Comment and unknown codes),
// and the code of a lower-case keyword (Comment when it is none).
std::string_view KeywordOfCode(uint8_t code);
// The keyword as lines are written ("AngleTextOut"); "" as above.
std::string_view WrittenKeyword(uint8_t code);
uint8_t CodeOfKeyword(std::string_view keyword);

// --- Points and callbacks ------------------------------------------------

// A point in image units: pixels of the unscaled image, y downwards.
struct TFPoint {
  long double X = 0;
  long double Y = 0;
};

// Receives the text of a clickable spot that was hit.
using TSpotCallback = std::function<void(const std::string& text)>;
// Receives every point of a document with the view in force at its command;
// the point may be changed in place.
using TPointCallback = std::function<void(TFPoint& point, TScale& scale)>;
// Maps an image file name to a picture, or nullptr. The picture stays the
// resolver's.
using TGetImageFunc = std::function<TImage*(const std::string& fileName)>;

// --- Commands ------------------------------------------------------------

class TVectorCommand {
 public:
  TVectorCommand() = default;
  virtual ~TVectorCommand() = default;
  TVectorCommand(const TVectorCommand&) = delete;
  TVectorCommand& operator=(const TVectorCommand&) = delete;

  uint8_t TypeCode = vcComment;
  std::vector<TFPoint> Points;
  // The most points read from a line or accepted by AddPoint without a
  // complaint.
  int32_t MaxPoints = 0;

  // Draws onto `bitmap`. `clip` is the area to refresh, `factor` the
  // oversampling factor (1 = no smoothing). An Angle command turns `scale`
  // for every later command, so callers hand in a working copy.
  virtual void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale);
  // x, y are screen coordinates. True when a spot of the command is hit;
  // the callback (when set) then receives the spot's text.
  virtual bool HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot);
  virtual void ForEachPoint(TScale& scale, const TPointCallback& callback);
  // A box in drawing units that holds everything the command draws through
  // `scale` (see uVectorBounds.h); false when the command cannot tell.
  virtual bool Bounds(TCommandBounds& bounds, const TScale& scale) const;
  // The canonical line of the command, and reading it back. LoadFromString
  // gets the whole line, keyword included, and never fails.
  virtual std::string SaveToString() const = 0;
  virtual void LoadFromString(const std::string& line) = 0;

  // Appends a point; beyond MaxPoints it complains first and appends anyway.
  void AddPoint(long double x, long double y);
};

using TVectorCommands = std::vector<std::unique_ptr<TVectorCommand>>;

// A new, empty command of the class of a type code; a Comment for a code
// that names none.
std::unique_ptr<TVectorCommand> CreateCommand(uint8_t code);
// The command a .vec line stands for: the keyword is the text before the
// first space, lower-cased; anything unknown (an empty keyword too) is a
// Comment that keeps the line.
std::unique_ptr<TVectorCommand> ReadCommandFromString(const std::string& line);

// --- Default label font --------------------------------------------------

// The font an AngleTextOut with an empty font name falls back to. The map
// editor fills it from its settings; the vector editor leaves it empty.
struct TLabelFont {
  std::string Name;
  int32_t Height = 0;
  int Style = 0;
};
TLabelFont& DefaultLabelFont();

// --- The document --------------------------------------------------------

class TVectorImage {
 public:
  TVectorImage();
  ~TVectorImage();
  TVectorImage(const TVectorImage&) = delete;
  TVectorImage& operator=(const TVectorImage&) = delete;

  // When false the drawing pass skips Polygon commands.
  bool DrawPolygons = true;
  TVectorCommands Commands;
  // Copied into every Image command by SetImageResolver.
  TGetImageFunc OnGetImage;

  void Clear();
  // Clear, then one command per line of the file. False (and an empty
  // document) when the file is missing or has no line.
  bool LoadFromFile(const std::string& fileName);
#if VARNIK_VEC_DIALECT
  void LoadFromStrings(const std::vector<std::string>& lines);
  void LoadFromText(std::string_view text);
  // Sets the shared line rasteriser's smoothing switch; every line drawing
  // call sets it again, so this has no lasting effect.
  static void SetSmooth(bool on);
#endif
  // Every command's line, each followed by CR LF.
  std::string SaveToText() const;

  // The size given by a leading Size command, else 0. The setters write into
  // that command and do nothing when the first command is not a Size.
  int32_t ImageWidth() const;
  int32_t ImageHeight() const;
  void SetImageWidth(int32_t value);
  void SetImageHeight(int32_t value);

  // Replays the commands onto `bitmap` (filled white first when `fillWhite`)
  // through a working copy of `scale`. A document that is already being
  // drawn further up the call chain (an Image command leading back to it) is
  // not drawn again.
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, const TScale& scale, bool fillWhite);
  // True when a spot of some command lies under the screen point (x, y);
  // the first command hit ends the search.
  bool HitTest(const TScale& scale, long double x, long double y, const TSpotCallback& onSpot);
  // Calls `callback` for every point in list order with a working copy of
  // the view, turned by the Angle commands met on the way.
  void ForEachPoint(const TScale& scale, const TPointCallback& callback);
  void SetImageResolver(TGetImageFunc resolver);

#if !VARNIK_VEC_DIALECT
  // Builder operations: each appends a command with the given values.
  void AddCommand(std::unique_ptr<TVectorCommand> command);
  void AddPointToLast(long double x, long double y);
  // Sets the partial range of the last command when it is a Line or one of
  // its descendants.
  void SetLineRange(int32_t startPercent, int32_t endPercent);
  void AddSize(int32_t width, int32_t height);
  void AddPenColor(TColor color);
  void AddBrushColor(TColor color);
  void AddLine(long double width);
  void AddSpline(uint8_t dashed, long double width);
  void AddDashed(long double width);
  void AddPolygon(long double width);
  void AddEllipse(long double width);
  void AddAngleTextOut(const std::string& fontName, int style, const std::string& text, int alignment,
                       long double size, long double angle);

  // Removes colour commands that change nothing. Each of `marks` (positions
  // in Commands, when given) is moved along: it becomes the number of kept
  // commands before it.
  void Optimize(std::vector<size_t>* marks = nullptr);
  // Draws only the Line, Spline and Dashed commands, all with one width and
  // colour (route outlines).
  void DrawLinesOnly(TBitmap& bitmap, const TRect& clip, long double width, TColor color, TScale& scale,
                     int factor);
#endif

 private:
  size_t DrawRange(TBitmap& target, TScale& scale, size_t start, const TRect& clip, int factor,
                   TColor background);
  size_t SkipRange(TScale& scale, size_t start);
  static void BlendLayers(TBitmap& bitmap, const TBitmap& black, const TBitmap& white, int coverage);
};

}  // namespace varnik
