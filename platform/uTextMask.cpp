#include "platform/uTextMask.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>

namespace varnik {

namespace {

// Beyond this many pixels of work image a text is written directly: such
// texts are few, and their masks would be large.
constexpr int64_t kMaxWorkPixels = 1 << 20;

}  // namespace

std::optional<TTextMask> TTextMask::Of(const QFont& font, const QString& text, int ascent, int height) {
  // Glyphs overhang their advance (italics, accents, underlines) by far less
  // than the font's height, and tiny fonts by a few pixels; the text is
  // written that far from every edge, and a pixel set on the edge means it
  // may have overhung further.
  constexpr int kLeastMargin = 8;
  const int margin = std::max(height, kLeastMargin);
  const QFontMetrics metrics(font);
  const int64_t width = int64_t(metrics.horizontalAdvance(text)) + 2 * int64_t(margin);
  const int64_t rows = int64_t(height) + 2 * int64_t(margin);
  if (width <= 0 || rows <= 0 || width * rows > kMaxWorkPixels) return std::nullopt;

  const QRgb off = qRgb(0, 0, 0), on = qRgb(255, 255, 255);
  QImage work(int(width), int(rows), QImage::Format_RGB32);
  work.fill(off);
  {
    QPainter painter(&work);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setFont(font);
    painter.setPen(QColor(on));
    painter.drawText(QPoint(margin, margin + ascent), text);
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
      mask.runs_.push_back({y - margin, left - margin, x - margin});
    }
  }
  return mask;
}

void TTextMask::Paint(QImage& image, int64_t x, int64_t y, QRgb color) const {
  const QRgb pixel = color | 0xFF000000u;
  for (const TRun& run : runs_) {
    const int64_t row = y + run.Row;
    if (row < 0 || row >= image.height()) continue;
    const int64_t left = std::max<int64_t>(x + run.Left, 0);
    const int64_t right = std::min<int64_t>(x + run.Right, image.width());
    if (left >= right) continue;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(row)));
    std::fill(line + left, line + right, pixel);
  }
}

}  // namespace varnik
