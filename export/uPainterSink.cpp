#include "export/uPainterSink.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "image/uPicture.h"
#include "platform/uCanvas.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

// The rasteriser draws nothing thinner than this.
constexpr double kThinnest = 0.01;
// Shapes reaching further than this from the page come only from absurd
// coordinates in a file; vector files and their readers do not cope with
// them, so such shapes are left out.
constexpr double kFarthest = 1e7;

QColor ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

bool Reachable(double v) { return std::fabs(v) < kFarthest; }

// The points moved from pixel centres to pixel edges; empty when some point
// is out of reach.
QPolygonF ToEdges(const std::vector<TDoublePoint>& points) {
  QPolygonF polygon;
  polygon.reserve(qsizetype(points.size()));
  for (const TDoublePoint& p : points) {
    if (!Reachable(p.X) || !Reachable(p.Y)) return {};
    polygon << QPointF(p.X + 0.5, p.Y + 0.5);
  }
  return polygon;
}

}  // namespace

QPen LinePen(TColor color, double width, bool dashed) {
  QPen pen(ToQColor(color), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  if (!dashed) return pen;
  // The rasteriser's dash is clamp(3 |sin(1.5 p / max(6, width))| - 0.5, 0, 1)
  // at the length p along the line: one period every pi / 1.5 * max(6,
  // width), below one half where |sin| < 1/3, and at p = 0 in the middle of
  // such a gap.
  const double period = std::numbers::pi / 1.5 * std::max(6.0, width);
  const double gap = 2 * std::asin(1.0 / 3) / std::numbers::pi * period;
  const double dash = period - gap;
  pen.setCapStyle(Qt::FlatCap);
  // Qt measures patterns in pen widths.
  pen.setDashPattern({dash / width, gap / width});
  pen.setDashOffset((dash + gap / 2) / width);
  return pen;
}

TPainterSink::TPainterSink(QPainter& painter, const TRect& page) : painter_(painter), page_(page) {}

void TPainterSink::Fill(TColor color) {
  painter_.fillRect(QRectF(page_.Left, page_.Top, page_.Right - page_.Left, page_.Bottom - page_.Top),
                    ToQColor(color));
}

void TPainterSink::Polyline(const std::vector<TDoublePoint>& points, double width, bool dashed,
                            TColor color) {
  if (!(width >= kThinnest) || !Reachable(width)) return;
  const QPolygonF line = ToEdges(points);
  if (line.size() < 2) return;
  painter_.setPen(LinePen(color, width, dashed));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(line);
}

void TPainterSink::Polygon(const std::vector<TDoublePoint>& points, double width,
                           const TCanvas& canvas) {
  const QPolygonF polygon = ToEdges(points);
  if (polygon.size() < 2) return;
  const bool outlined = width >= kThinnest && Reachable(width);
  const bool filled = canvas.Brush.Style != bsClear;
  if (!outlined && !filled) return;
  painter_.setPen(outlined ? LinePen(canvas.Pen.Color, width, false) : QPen(Qt::NoPen));
  painter_.setBrush(filled ? QBrush(ToQColor(canvas.Brush.Color)) : QBrush(Qt::NoBrush));
  painter_.drawPolygon(polygon, Qt::OddEvenFill);
}

void TPainterSink::Ellipse(double left, double top, double right, double bottom, double width,
                           const TCanvas& canvas) {
  for (double v : {left, top, right, bottom, width})
    if (!Reachable(v)) return;
  // The smooth ellipse fills its inside with the brush colour whatever the
  // brush style; the commands that draw it make sure there is a brush.
  painter_.setPen(width >= kThinnest ? LinePen(canvas.Pen.Color, width, false) : QPen(Qt::NoPen));
  painter_.setBrush(ToQColor(canvas.Brush.Color));
  painter_.drawEllipse(QRectF(left + 0.5, top + 0.5, right - left, bottom - top));
}

void TPainterSink::Text(const std::string& line, double x, double y, const TCanvas& canvas,
                        int factor) {
  if (line.empty() || !Reachable(x) || !Reachable(y)) return;
  QFont font = canvas.MakeFont();
  font.setStyleStrategy(QFont::PreferDefault);
  // The font is set in points of the device so that its size need not be a
  // whole number of pixels: the canvas writes at the oversampled height.
  const double pixels = double(font.pixelSize()) / std::max(factor, 1);
  const QPaintDevice* device = painter_.device();
  const double dpi = device && device->logicalDpiY() > 0 ? device->logicalDpiY() : 96;
  font.setPointSizeF(pixels * 72 / dpi);
  const QFontMetricsF metrics(font, device);
  const QString text = ToQString(line);

  painter_.save();
  painter_.translate(x, y);
  if (canvas.Font.Escapement != 0) painter_.rotate(-canvas.Font.Escapement / 10.0);
  if (canvas.Brush.Style != bsClear)
    painter_.fillRect(QRectF(0, 0, metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent()),
                      ToQColor(canvas.Brush.Color));
  painter_.setFont(font);
  painter_.setPen(ToQColor(canvas.Font.Color));
  painter_.drawText(QPointF(0, metrics.ascent()), text);
  painter_.restore();
}

void TPainterSink::Picture(const TPicture& picture, const TRect& place, bool smooth) {
  if (picture.Width <= 0 || picture.Height <= 0 || place.Right <= place.Left || place.Bottom <= place.Top)
    return;
  // The pixels are 0xFFRRGGBB, as Qt's 32-bit RGB images hold them.
  const QImage image(reinterpret_cast<const uchar*>(picture.Pixels.data()), picture.Width, picture.Height,
                     qsizetype(picture.Width) * 4, QImage::Format_RGB32);
  painter_.save();
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
  painter_.drawImage(QRectF(place.Left, place.Top, double(place.Right) - place.Left,
                            double(place.Bottom) - place.Top),
                     image);
  painter_.restore();
}

void TPainterSink::BeginOpacity(double opacity) {
  painter_.save();
  painter_.setOpacity(painter_.opacity() * std::clamp(opacity, 0.0, 1.0));
}

void TPainterSink::EndOpacity() { painter_.restore(); }

}  // namespace varnik
