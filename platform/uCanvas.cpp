#include "platform/uCanvas.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/uBitmap.h"
#include "platform/uQtText.h"
#include "platform/uTextMask.h"

namespace varnik {

namespace {

// Font sizes past this many pixels only ever draw glyphs larger than any
// bitmap; bounding them keeps absurd sizes from files cheap.
constexpr int kMaxFontPixels = 16384;
constexpr int kMaxPenWidth = 32767;

// Coordinates handed to Qt stay within this range: shapes reaching further are
// clipped against the bitmap (grown by a margin) first, so that huge
// coordinates neither lose precision in Qt's fixed-point rasteriser nor cost
// time outside the bitmap.
constexpr double kSafeCoord = 1 << 20;

// The standard desktop palette, by system colour index.
constexpr TColor kSystemColors[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0xFF9933, 0xF0F0F0};

QColor ToQColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// Pixel size of the em of a font whose cell (ascent + descent) is `cell`
// pixels: the ratio is measured once per face, style and drawing thread.
int EmForCell(const QFont& font, int cell) {
  thread_local std::map<std::pair<QString, int>, double> cellPerEm;
  const auto key = std::make_pair(font.family(), int(font.bold()) + 2 * int(font.italic()));
  auto it = cellPerEm.find(key);
  if (it == cellPerEm.end()) {
    QFont probe(font);
    probe.setPixelSize(1000);
    QFontMetricsF metrics(probe);
    double ratio = (metrics.ascent() + metrics.descent()) / 1000.0;
    if (!(ratio > 0.1)) ratio = 1;
    it = cellPerEm.emplace(key, ratio).first;
  }
  return std::max(1, int(std::lround(cell / it->second)));
}

// Liang-Barsky: cuts the segment to the rectangle; false when nothing is left.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top,
                 double right, double bottom) {
  double t0 = 0, t1 = 1;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - left, right - x1, y1 - top, bottom - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  const double sx = x1, sy = y1;
  x1 = sx + t0 * dx;
  y1 = sy + t0 * dy;
  x2 = sx + t1 * dx;
  y2 = sy + t1 * dy;
  return true;
}

// Sutherland-Hodgman against one side of the rectangle. Cutting a polygon by
// a half-plane keeps the winding of every point inside it, so the fill within
// the bitmap is unchanged.
template <typename Inside, typename Cross>
QPolygonF ClipBySide(const QPolygonF& in, Inside inside, Cross cross) {
  QPolygonF out;
  const qsizetype n = in.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QPointF& a = in[i];
    const QPointF& b = in[(i + 1) % n];
    const bool ina = inside(a), inb = inside(b);
    if (ina) out << a;
    if (ina != inb) out << cross(a, b);
  }
  return out;
}

QPolygonF ClipPolygon(const QPolygonF& poly, const QRectF& r) {
  auto atX = [](const QPointF& a, const QPointF& b, double x) {
    return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
  };
  auto atY = [](const QPointF& a, const QPointF& b, double y) {
    return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
  };
  QPolygonF p = poly;
  p = ClipBySide(p, [&](const QPointF& q) { return q.x() >= r.left(); },
                 [&](const QPointF& a, const QPointF& b) { return atX(a, b, r.left()); });
  p = ClipBySide(p, [&](const QPointF& q) { return q.x() <= r.right(); },
                 [&](const QPointF& a, const QPointF& b) { return atX(a, b, r.right()); });
  p = ClipBySide(p, [&](const QPointF& q) { return q.y() >= r.top(); },
                 [&](const QPointF& a, const QPointF& b) { return atY(a, b, r.top()); });
  p = ClipBySide(p, [&](const QPointF& q) { return q.y() <= r.bottom(); },
                 [&](const QPointF& a, const QPointF& b) { return atY(a, b, r.bottom()); });
  return p;
}

void PreparePainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

}  // namespace

void EnsureGuiApplication() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!QCoreApplication::instance()) {
    const bool noPlatform = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool noDisplay =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (noPlatform && noDisplay) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session Qt falls back to a private runtime directory of its
    // own choosing but says so on stderr, which the command-line tools keep
    // for their messages. Name that same directory ourselves.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
      const QByteArray dir = "/tmp/runtime-uid" + QByteArray::number(::getuid());
      ::mkdir(dir.constData(), 0700);
      struct stat info {};
      if (::stat(dir.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
          info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700)
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    static int argc = 1;
    static char name[] = "varnik";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: destroying it among the static
    // destructors would outlive Qt's own globals.
    static QGuiApplication* app = std::make_unique<QGuiApplication>(argc, argv).release();
    (void)app;
  }
  QFont::insertSubstitution("Arial", "Liberation Sans");
}

TColor ColorToRGB(TColor color) {
  if (color >= 0) return color & 0xFFFFFF;
  const unsigned index = unsigned(color) & 0xFF;
  if (color == kNoColor || index >= std::size(kSystemColors)) return 0;
  return kSystemColors[index];
}

struct TCanvas::TTextCache {
  TTextCache(const TFont& from, const QFont& font)
      : Name(from.Name), Height(from.Height), Style(from.Style), Font(font), Metrics(font) {}
  bool Writes(const TFont& font) const {
    return Name == font.Name && Height == font.Height && Style == font.Style;
  }
  // The horizontal advance of `text`, measured once.
  int Width(const std::string& text);
  // The pixels of `text` turned `degrees` clockwise, or null when it must
  // be written directly.
  const TTextMask* Mask(const std::string& text, int degrees);

  // What the font was made from.
  std::string Name;
  int Height = 0;
  int Style = 0;
  QFont Font;
  QFontMetrics Metrics;
  std::unordered_map<std::string, int> Widths;  // horizontal advance of each text
  // By quarter turns clockwise.
  std::unordered_map<std::string, std::optional<TTextMask>> Masks[4];
  size_t MaskSize = 0;
};

int TCanvas::TTextCache::Width(const std::string& text) {
  auto [it, added] = Widths.try_emplace(text, 0);
  if (added) it->second = Metrics.horizontalAdvance(ToQString(text));
  return it->second;
}

const TTextMask* TCanvas::TTextCache::Mask(const std::string& text, int degrees) {
  // Enough for every label of a big city in a few fonts.
  constexpr size_t kMaxMaskSize = size_t(1) << 20;
  if (!TTextMask::ExactTurn(degrees)) return nullptr;
  auto& masks = Masks[(degrees / 90 % 4 + 4) % 4];
  auto it = masks.find(text);
  if (it == masks.end()) {
    if (MaskSize > kMaxMaskSize) {
      for (auto& turned : Masks) turned.clear();
      MaskSize = 0;
    }
    std::optional<TTextMask> mask = TTextMask::Of(Font, ToQString(text), Metrics.ascent(), Width(text),
                                                  Metrics.ascent() + Metrics.descent(), degrees);
    if (mask) MaskSize += mask->Size();
    it = masks.emplace(text, std::move(mask)).first;
  }
  return it->second ? &*it->second : nullptr;
}

TCanvas::TCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}

TCanvas::~TCanvas() = default;

TCanvas::TTextCache& TCanvas::TextCache() {
  // Enough for the labels of a big city; beyond it the widths start afresh.
  constexpr size_t kMaxWidths = 1 << 16;
  // A map writes in a handful of fonts; more than this many start afresh.
  constexpr size_t kMaxFonts = 16;
  if (textCache_ == nullptr || !textCache_->Writes(Font)) {
    auto it = std::find_if(textCaches_.begin(), textCaches_.end(),
                           [&](const std::unique_ptr<TTextCache>& cache) { return cache->Writes(Font); });
    if (it == textCaches_.end()) {
      if (textCaches_.size() >= kMaxFonts) textCaches_.clear();
      textCaches_.push_back(std::make_unique<TTextCache>(Font, MakeFont()));
      it = std::prev(textCaches_.end());
    }
    textCache_ = it->get();
  }
  if (textCache_->Widths.size() > kMaxWidths) textCache_->Widths.clear();
  return *textCache_;
}

QFont TCanvas::MakeFont() const {
  EnsureGuiApplication();
  QFont font(ToQString(Font.Name));
  font.setStyleStrategy(QFont::NoAntialias);
  font.setBold(Font.Style & fsBold);
  font.setItalic(Font.Style & fsItalic);
  font.setUnderline(Font.Style & fsUnderline);
  font.setStrikeOut(Font.Style & fsStrikeOut);
  int height = Font.Height == 0 ? -12 : Font.Height;
  height = std::clamp(height, -kMaxFontPixels, kMaxFontPixels);
  font.setPixelSize(height < 0 ? -height : std::min(EmForCell(font, height), kMaxFontPixels));
  return font;
}

void TCanvas::SetUpPen(QPainter& painter) const {
  if (Pen.Style == psClear) {
    painter.setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(Pen.Color));
  // Qt refuses pens of 32768 pixels and more (and keeps the old width); no
  // bitmap is wider than the widest pen it accepts.
  pen.setWidth(std::clamp(Pen.Width, 1, kMaxPenWidth));
  if (Pen.Width <= 1) {
    // A one-pixel line leaves out its end pixel, so that joined lines
    // never draw their common pixel twice.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Dash patterns in pixels (on, off, ...); only thin pens are patterned,
    // wider ones draw solid.
    switch (Pen.Style) {
      case psDash: pen.setDashPattern({18, 6}); break;
      case psDot: pen.setDashPattern({3, 3}); break;
      case psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
      case psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
      default: break;
    }
  } else {
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
  }
  painter.setPen(pen);
}

void TCanvas::SetUpBrush(QPainter& painter) const {
  if (Brush.Style == bsClear)
    painter.setBrush(Qt::NoBrush);
  else
    painter.setBrush(ToQColor(Brush.Color));
}

void TCanvas::MoveTo(int32_t x, int32_t y) { penPos_ = {x, y}; }

void TCanvas::LineTo(int32_t x, int32_t y) {
  Polyline({penPos_, {x, y}});
  penPos_ = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2 || bitmap_.Empty() || Pen.Style == psClear) return;
  const double margin = std::max(1, Pen.Width) + 2.0;
  const double left = -margin, top = -margin;
  const double right = bitmap_.Width() + margin, bottom = bitmap_.Height() + margin;
  QPainter painter(&bitmap_.Image());
  PreparePainter(painter);
  SetUpPen(painter);
  // Runs of segments that need no clipping are drawn joined; a clipped
  // segment starts a run of its own (its cut ends lie outside the bitmap).
  QPolygonF run;
  auto flush = [&] {
    if (run.size() >= 2) painter.drawPolyline(run);
    run.clear();
  };
  for (size_t i = 1; i < points.size(); ++i) {
    double x1 = points[i - 1].X, y1 = points[i - 1].Y, x2 = points[i].X, y2 = points[i].Y;
    const double ox1 = x1, oy1 = y1, ox2 = x2, oy2 = y2;
    if (!ClipSegment(x1, y1, x2, y2, left, top, right, bottom)) {
      flush();
      continue;
    }
    const bool whole = x1 == ox1 && y1 == oy1 && x2 == ox2 && y2 == oy2;
    if (!whole || run.isEmpty()) {
      flush();
      run << QPointF(x1, y1);
    }
    run << QPointF(x2, y2);
    if (!whole) flush();
  }
  flush();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2 || bitmap_.Empty()) return;
  if (Pen.Style == psClear && Brush.Style == bsClear) return;
  QPolygonF poly;
  poly.reserve(qsizetype(points.size()));
  for (const TPoint& p : points) poly << QPointF(p.X, p.Y);
  const double margin = std::max(1, Pen.Width) + 2.0;
  const QRectF safe(-margin, -margin, bitmap_.Width() + 2 * margin,
                    bitmap_.Height() + 2 * margin);
  if (!safe.contains(poly.boundingRect())) poly = ClipPolygon(poly, safe);
  if (poly.size() < 2) return;
  QPainter painter(&bitmap_.Image());
  PreparePainter(painter);
  SetUpPen(painter);
  SetUpBrush(painter);
  painter.drawPolygon(poly, Qt::OddEvenFill);
}

void TCanvas::FillRect(const TRect& rect) {
  if (bitmap_.Empty() || Brush.Style == bsClear) return;
  const int32_t left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
  const int32_t right = std::min(rect.Right, bitmap_.Width());
  const int32_t bottom = std::min(rect.Bottom, bitmap_.Height());
  if (left >= right || top >= bottom) return;
  QPainter painter(&bitmap_.Image());
  painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(Brush.Color));
}

void TCanvas::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (bitmap_.Empty() || right <= left || bottom <= top) return;
  FillRect({left, top, right, bottom});
  if (Pen.Style == psClear) return;
  // Clamping an upright rectangle to just outside the bitmap changes no
  // pixel inside it.
  const int margin = std::max(1, Pen.Width) + 2;
  auto clampX = [&](int64_t v) { return int(std::clamp<int64_t>(v, -margin, bitmap_.Width() + margin)); };
  auto clampY = [&](int64_t v) { return int(std::clamp<int64_t>(v, -margin, bitmap_.Height() + margin)); };
  const int l = clampX(left), t = clampY(top);
  const int r = clampX(int64_t(right) - 1), b = clampY(int64_t(bottom) - 1);
  QPainter painter(&bitmap_.Image());
  PreparePainter(painter);
  SetUpPen(painter);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(l, t, r - l, b - t));
}

void TCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (bitmap_.Empty() || right <= left || bottom <= top) return;
  const double margin = std::max(1, Pen.Width) + 2.0;
  if (right < -margin || bottom < -margin || left > bitmap_.Width() + margin ||
      top > bitmap_.Height() + margin)
    return;
  QPainterPath path;
  path.addEllipse(QRectF(left + 0.5, top + 0.5, double(right) - left - 1, double(bottom) - top - 1));
  QPainter painter(&bitmap_.Image());
  PreparePainter(painter);
  SetUpPen(painter);
  SetUpBrush(painter);
  if (std::max({std::abs(double(left)), std::abs(double(right)), std::abs(double(top)),
                std::abs(double(bottom))}) > kSafeCoord) {
    // Huge ellipses: only the part near the bitmap, as a polygon.
    const QRectF safe(-margin, -margin, bitmap_.Width() + 2 * margin,
                      bitmap_.Height() + 2 * margin);
    QPolygonF poly = ClipPolygon(path.toFillPolygon(), safe);
    if (poly.size() >= 2) painter.drawPolygon(poly, Qt::OddEvenFill);
    return;
  }
  painter.drawPath(path);
}

void TCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (bitmap_.Empty()) return;
  const TSize extent = TextExtent(text);
  const int width = extent.cx, height = extent.cy;
  const bool onBitmap = x >= 0 && y >= 0 && x <= bitmap_.Width() && y <= bitmap_.Height();
  // A cell that cannot reach the bitmap whatever its angle.
  const double reach = double(width) + height;
  if (!onBitmap && (x - reach > bitmap_.Width() || y - reach > bitmap_.Height() || x + reach < 0 || y + reach < 0))
    return;
  if (const TTextMask* mask = KeptText(text)) {
    if (Brush.Style != bsClear) {
      auto edge = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
      FillRect({x, y, edge(int64_t(x) + width), edge(int64_t(y) + height)});
    }
    mask->Paint(bitmap_.Image(), x, y, ToQColor(Font.Color).rgb());
    return;
  }
  const TTextCache& cache = TextCache();
  QPainter painter(&bitmap_.Image());
  PreparePainter(painter);
  painter.translate(x, y);
  if (Font.Escapement != 0) painter.rotate(-Font.Escapement / 10.0);
  if (Brush.Style != bsClear) painter.fillRect(QRect(0, 0, width, height), ToQColor(Brush.Color));
  painter.setFont(cache.Font);
  painter.setPen(ToQColor(Font.Color));
  painter.drawText(QPoint(0, cache.Metrics.ascent()), ToQString(text));
}

const TTextMask* TCanvas::KeptText(const std::string& text) {
  // The direct way turns the text by -Escapement / 10 degrees; a turned
  // cell is filled turned, which the masks leave to it.
  const bool turned = Font.Escapement != 0;
  if (Font.Escapement % 10 != 0 || (turned && Brush.Style != bsClear)) return nullptr;
  return TextCache().Mask(text, -Font.Escapement / 10);
}

TSize TCanvas::TextExtent(const std::string& text) {
  TTextCache& cache = TextCache();
  return {cache.Width(text), cache.Metrics.ascent() + cache.Metrics.descent()};
}

void TCanvas::CopyRect(const TRect& destRect, TCanvas& source, const TRect& sourceRect) {
  TBitmap& src = source.bitmap_;
  if (bitmap_.Empty() || src.Empty()) return;
  const int64_t dw = int64_t(destRect.Right) - destRect.Left;
  const int64_t dh = int64_t(destRect.Bottom) - destRect.Top;
  const int64_t sw = int64_t(sourceRect.Right) - sourceRect.Left;
  const int64_t sh = int64_t(sourceRect.Bottom) - sourceRect.Top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = int(std::max<int64_t>(destRect.Left, 0));
  const int x1 = int(std::min<int64_t>(destRect.Right, bitmap_.Width()));
  const int y0 = int(std::max<int64_t>(destRect.Top, 0));
  const int y1 = int(std::min<int64_t>(destRect.Bottom, bitmap_.Height()));
  if (x0 >= x1 || y0 >= y1) return;
  // Destination pixel u of the rectangle takes source pixel u * sw / dw: an
  // enlargement by a whole factor repeats every pixel, a reduction keeps the
  // first pixel of every block.
  std::vector<int> column(size_t(x1 - x0));
  for (int x = x0; x < x1; ++x) {
    const int64_t sx = sourceRect.Left + (int64_t(x) - destRect.Left) * sw / dw;
    column[size_t(x - x0)] = (sx < 0 || sx >= src.Width()) ? -1 : int(sx);
  }
  // Copying within one bitmap reads from a snapshot of it.
  QImage snapshot;
  const QImage* from = &src.Image();
  if (&src == &bitmap_) {
    snapshot = src.Image().copy();
    from = &snapshot;
  }
  // Pixels are copied whole, four bytes at a time: the fourth byte is never
  // read, and both images keep it at its fixed value. A destination row that
  // takes the same source row as the one above it (an enlargement) is a
  // copy of that row when it has no pixel left unchanged.
  constexpr int bpp = TBitmap::kBytesPerPixel;
  const uint8_t* previous = nullptr;
  int64_t previousSource = -1;
  const size_t rowBytes = size_t(x1 - x0) * bpp;
  const bool everyColumn = std::find(column.begin(), column.end(), -1) == column.end();
  for (int y = y0; y < y1; ++y) {
    const int64_t sy = sourceRect.Top + (int64_t(y) - destRect.Top) * sh / dh;
    if (sy < 0 || sy >= src.Height()) continue;
    uint8_t* out = bitmap_.ScanLine(y) + size_t(x0) * bpp;
    if (sy == previousSource && everyColumn) {
      std::memcpy(out, previous, rowBytes);
      continue;
    }
    const uint8_t* in = from->constScanLine(int(sy));
    for (int x = x0; x < x1; ++x) {
      const int sx = column[size_t(x - x0)];
      if (sx >= 0) std::memcpy(out + (x - x0) * bpp, in + sx * bpp, bpp);
    }
    previous = out;
    previousSource = sy;
  }
}

void TCanvas::StretchDraw(const TRect& destRect, TBitmap& source) {
  CopyRect(destRect, source.Canvas(), {0, 0, source.Width(), source.Height()});
}

void TCanvas::Draw(int32_t x, int32_t y, TBitmap& source) {
  StretchDraw({x, y, int32_t(std::min<int64_t>(int64_t(x) + source.Width(), INT32_MAX)),
               int32_t(std::min<int64_t>(int64_t(y) + source.Height(), INT32_MAX))},
              source);
}

}  // namespace varnik
