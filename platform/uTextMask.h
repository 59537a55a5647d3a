#pragma once
// The pixels a line of text sets when it is written without anti-aliasing,
// worked out once and then painted in any colour at any whole-pixel place.
// A map writes the same labels frame after frame; shaping a text and
// rasterising its glyphs costs many times what setting its pixels does.

#include <QRgb>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/uGraphicsTypes.h"

class QFont;
class QImage;
class QString;

namespace varnik {

class TBitmap;

class TTextMask {
 public:
  // What QPainter sets writing `text` in `font` (anti-aliasing off) with the
  // baseline at `ascent` below the top of the text cell, the cell `advance`
  // pixels wide and `height` high, turned `degrees` clockwise about the cell's top-left corner
  // as QPainter::rotate turns. Nothing when the text is too big to keep, when
  // the turn is not one QPainter makes exactly (then the pixels may depend on
  // where the text is), or when some pixel would be set only in part (then
  // only writing it shows the truth).
  static std::optional<TTextMask> Of(const QFont& font, const QString& text, int ascent, int advance, int height,
                                     int degrees = 0);
  // Whether QPainter::rotate turns by `degrees` exactly, so that a mask of
  // text turned so is the same wherever the text is written.
  static bool ExactTurn(int degrees);

  // Sets the pixels of the text, the top-left corner of its cell at (x, y),
  // to `color` on `image` (32 bits per pixel); pixels off the image are left
  // out.
  void Paint(QImage& image, int64_t x, int64_t y, QRgb color) const;

  // What the reduced drawing of texts gives: the bitmap's pixels in `box`
  // (inside the bitmap) enlarged `factor` times (each pixel a block of
  // factor x factor), the mask painted in `rgb` (red + 256 * green + 65536
  // * blue) with its cell's corner at (x, y) on the enlarged pixels, and
  // each block reduced back to its pixel, every channel the truncated mean
  // of the block. Worked out on the bitmap directly: a block the mask does
  // not touch comes back as it was.
  void PaintReduced(TBitmap& bitmap, const TRect& box, int64_t x, int64_t y, int factor, TColor rgb) const;

  // How much the mask holds, for bounding a cache of masks.
  size_t Size() const { return runs_.size(); }

 private:
  // A row's run of set pixels, relative to the top-left corner of the cell.
  struct TRun {
    int32_t Row, Left, Right;  // Right exclusive
  };
  std::vector<TRun> runs_;
};

}  // namespace varnik
