#include "platform/uTextMask.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <vector>

#include "platform/uBitmap.h"

namespace varnik {

namespace {

// Beyond this many pixels of work image a text is written directly: such
// texts are few, and their masks would be large.
constexpr int64_t kMaxWorkPixels = 1 << 20;

}  // namespace

bool TTextMask::ExactTurn(int degrees) {
  // QTransform::rotate gives these angles sines and cosines of exactly 0
  // and plus or minus 1; every other angle comes from sin and cos, inexact
  // by a rounding.
  switch (degrees) {
    case 0:
    case 90:
    case -90:
    case 180:
    case 270:
    case -270:
      return true;
    default:
      return false;
  }
}

std::optional<TTextMask> TTextMask::Of(const QFont& font, const QString& text, int ascent, int advance,
                                       int height, int degrees) {
  if (!ExactTurn(degrees)) return std::nullopt;
  // Glyphs overhang their advance (italics, accents, underlines) by far less
  // than the font's height, and tiny fonts by a few pixels; the text is
  // written that far from every edge, and a pixel set on the edge means it
  // may have overhung further. A turned text lies within its cell's
  // diagonal of the corner it turns about.
  constexpr int kLeastMargin = 8;
  const int margin = std::max(height, kLeastMargin);
  const int64_t reach = degrees == 0 ? 0 : int64_t(advance) + height;
  const int64_t originX = reach + margin, originY = reach + margin;
  const int64_t width = originX + std::max<int64_t>(advance, reach) + margin;
  const int64_t rows = originY + std::max<int64_t>(height, reach) + margin;
  if (advance < 0 || height < 0 || width * rows > kMaxWorkPixels) return std::nullopt;

  const QRgb off = qRgb(0, 0, 0), on = qRgb(255, 255, 255);
  QImage work(int(width), int(rows), QImage::Format_RGB32);
  work.fill(off);
  {
    QPainter painter(&work);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.translate(double(originX), double(originY));
    if (degrees != 0) painter.rotate(degrees);
    painter.setFont(font);
    painter.setPen(QColor(on));
    painter.drawText(QPoint(0, ascent), text);
  }

  TTextMask mask;
  for (int y = 0; y < work.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(work.constScanLine(y));
    for (int x = 0; x < work.width();) {
      if (row[x] == off) {
        ++x;
        continue;
      }
      const int left = x;
      for (; x < work.width() && row[x] == on; ++x) {
      }
      if (x == left) return std::nullopt;  // a pixel set in part
      const bool onEdge = y == 0 || y == work.height() - 1 || left == 0 || x == work.width();
      if (onEdge) return std::nullopt;
      mask.runs_.push_back({int32_t(y - originY), int32_t(left - originX), int32_t(x - originX)});
    }
  }
  return mask;
}

void TTextMask::Paint(QImage& image, int64_t x, int64_t y, QRgb color) const {
  const QRgb pixel = color | 0xFF000000u;
  if (image.isNull()) return;
  uchar* const bits = image.bits();  // detaches once, not once a run
  const int64_t width = image.width(), height = image.height(), stride = image.bytesPerLine();
  for (const TRun& run : runs_) {
    const int64_t row = y + run.Row;
    if (row < 0 || row >= height) continue;
    const int64_t left = std::max<int64_t>(x + run.Left, 0);
    const int64_t right = std::min<int64_t>(x + run.Right, width);
    if (left >= right) continue;
    auto* line = reinterpret_cast<QRgb*>(bits + row * stride);
    std::fill(line + left, line + right, pixel);
  }
}

void TTextMask::PaintReduced(TBitmap& bitmap, const TRect& box, int64_t x, int64_t y, int factor,
                             TColor rgb) const {
  const int w = box.Right - box.Left, h = box.Bottom - box.Top;
  if (w <= 0 || h <= 0 || factor <= 0 || bitmap.Empty()) return;
  // How many enlarged pixels of each block the mask sets.
  std::vector<int> counts(size_t(w) * size_t(h), 0);
  const int64_t enlargedW = int64_t(w) * factor, enlargedH = int64_t(h) * factor;
  bool touched = false;
  for (const TRun& run : runs_) {
    const int64_t row = y + run.Row;
    if (row < 0 || row >= enlargedH) continue;
    const int64_t from = std::max<int64_t>(x + run.Left, 0);
    const int64_t to = std::min<int64_t>(x + run.Right, enlargedW);
    int* blocks = counts.data() + size_t(row / factor) * size_t(w);
    for (int64_t at = from; at < to;) {
      const int64_t block = at / factor, blockEnd = std::min<int64_t>((block + 1) * factor, to);
      blocks[block] += int(blockEnd - at);
      at = blockEnd;
      touched = true;
    }
  }
  if (!touched) return;
  const int area = factor * factor;
  const int channel[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};  // in byte order
  for (int row = 0; row < h; ++row) {
    uint8_t* line = bitmap.ScanLine(box.Top + row) + int64_t(box.Left) * TBitmap::kBytesPerPixel;
    const int* blocks = counts.data() + size_t(row) * size_t(w);
    for (int col = 0; col < w; ++col) {
      const int set = blocks[col];
      if (set == 0) continue;
      uint8_t* pixel = line + col * TBitmap::kBytesPerPixel;
      for (int k = 0; k < 3; ++k) pixel[k] = uint8_t((set * channel[k] + (area - set) * pixel[k]) / area);
    }
  }
}

}  // namespace varnik
