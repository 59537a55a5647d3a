// The filled shapes (Ellipse, Polygon) and the clickable spots (SpotRect,
// SpotCircle). Spots are painted in the brush colour only while a brush is
// set, so a picture can carry invisible spots that still answer hit tests.

#include <cmath>
#include <numbers>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"
#include "vector/uScale.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

double D(long double v) { return static_cast<double>(v); }

bool Inside(const TDoublePoint& p, const TFRect& r) {
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}

// Draws with the pen set to the brush colour, as the spots are painted.
template <class F>
void WithPenInBrushColor(TCanvas& canvas, F draw) {
  TColor pen = canvas.Pen.Color;
  canvas.Pen.Color = canvas.Brush.Color;
  draw();
  canvas.Pen.Color = pen;
}

}  // namespace

// --- Ellipse ------------------------------------------------------------------

TVectorCommandEllipse::TVectorCommandEllipse() {
  TypeCode = vcEllipse;
  MaxPoints = 2;
}

void TVectorCommandEllipse::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (Points.size() != 2) return;
  const long double x0 = Points[0].X, y0 = Points[0].Y, x1 = Points[1].X, y1 = Points[1].Y;
  const long double w = Width * scale.ScaleX;
  const TFRect r = Enlarge(clip, std::ceil(w / 2));

  // A filled circle has a smooth path of its own; everything else is a
  // 64-gon.
  if (std::fabs(std::fabs(x1 - x0) - std::fabs(y1 - y0)) < 0.01L && bitmap.Canvas().Brush.Style != bsClear) {
    TScalePoint k = scale.ToScreen((x0 + x1) / 2, (y0 + y1) / 2);
    long double radius = std::fabs(x1 - x0) * 0.5L * scale.ScaleX;
    if (k.X + radius >= r.Left && k.X - radius <= r.Right && k.Y + radius >= r.Top && k.Y - radius <= r.Bottom)
      DrawCircle(bitmap, factor, D(k.X - radius), D(k.Y - radius), D(k.X + radius + 1), D(k.Y + radius + 1), D(w));
    return;
  }
  std::vector<TDoublePoint> vertices;
  bool visible = false;
  for (int i = 0; i < 64; ++i) {
    long double t = i * std::numbers::pi_v<long double> / 32;
    TScalePoint p = scale.ToScreen((x0 + x1 - 1) / 2 + std::sin(t) * (x1 - x0 - 1) / 2,
                                   (y0 + y1 - 1) / 2 + std::cos(t) * (y1 - y0 - 1) / 2);
    vertices.push_back({D(p.X), D(p.Y)});
    visible = visible || Inside(vertices.back(), r);
  }
  if (visible) DrawPolygon(bitmap, vertices, factor, D(w));
}

// --- Polygon ------------------------------------------------------------------

TVectorCommandPolygon::TVectorCommandPolygon() {
  TypeCode = vcPolygon;
  MaxPoints = 2147483647;
}

void TVectorCommandPolygon::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (Points.size() < 2 || Points.size() > kMaxDrawnPoints) return;
  const long double w = Width * scale.ScaleX;
  const TFRect r = Enlarge(clip, std::ceil(w / 2));
  auto screen = ToScreenPoints(scale, Points);
  bool reachesLeft = false, reachesRight = false, reachesTop = false, reachesBottom = false;
  for (const TDoublePoint& p : screen) {
    reachesLeft = reachesLeft || p.X >= r.Left;
    reachesRight = reachesRight || p.X <= r.Right;
    reachesTop = reachesTop || p.Y >= r.Top;
    reachesBottom = reachesBottom || p.Y <= r.Bottom;
  }
  if (reachesLeft && reachesRight && reachesTop && reachesBottom) DrawPolygon(bitmap, screen, factor, D(w));
}

// --- SpotRect -----------------------------------------------------------------

TVectorCommandSpotRect::TVectorCommandSpotRect() {
  TypeCode = vcSpotRect;
  MaxPoints = 2;
}

void TVectorCommandSpotRect::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  TCanvas& canvas = bitmap.Canvas();
  if (canvas.Brush.Color == kNoColor || Points.empty()) return;
  const long double x = Points[0].X, y = Points[0].Y;
  auto corners = ToScreenPoints(scale, {{x, y}, {x + Width, y}, {x + Width, y + Height}, {x, y + Height}, {x, y}});
  if (!AnySegmentVisible(corners, Enlarge(clip, 0))) return;
  WithPenInBrushColor(canvas, [&] { DrawPolygon(bitmap, corners, factor, 1.0); });
}

bool TVectorCommandSpotRect::HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) {
  if (Points.empty()) return false;
  TScalePoint p = scale.ToDrawing(x, y);
  const TFPoint& origin = Points[0];
  if (!(origin.X <= p.X && p.X <= origin.X + Width && origin.Y <= p.Y && p.Y <= origin.Y + Height)) return false;
  if (onSpot) onSpot(Text);
  return true;
}

std::string TVectorCommandSpotRect::SaveToString() const {
  TFPoint origin = Points.empty() ? TFPoint{} : Points[0];
  return FinishLine("SpotRect " + FormatVecFloat(origin.X) + ", " + FormatVecFloat(origin.Y) + ", " +
                    FormatVecFloat(Width) + ", " + FormatVecFloat(Height) + ", " + Text);
}

void TVectorCommandSpotRect::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  long double x = fields.Float();
  long double y = fields.Float();
  Points.push_back({x, y});
  Width = fields.Float();
  Height = fields.Float();
  Text = fields.Token();
}

// --- SpotCircle ---------------------------------------------------------------

TVectorCommandSpotCircle::TVectorCommandSpotCircle() {
  TypeCode = vcSpotCircle;
  MaxPoints = 1;
}

void TVectorCommandSpotCircle::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  TCanvas& canvas = bitmap.Canvas();
  if (canvas.Brush.Color == kNoColor || Points.empty()) return;
  TScalePoint k = scale.ToScreen(Points[0].X, Points[0].Y);
  long double rx = Radius * scale.ScaleX, ry = Radius * scale.ScaleY;
  if (!(k.X + rx >= clip.Left && k.X - rx <= clip.Right && k.Y + ry >= clip.Top && k.Y - ry <= clip.Bottom)) return;
  WithPenInBrushColor(canvas,
                      [&] { DrawCircle(bitmap, factor, D(k.X - rx), D(k.Y - ry), D(k.X + rx), D(k.Y + ry), 1.0); });
}

bool TVectorCommandSpotCircle::HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) {
  if (Points.empty()) return false;
  // Measured on the screen with the x scale only.
  TScalePoint k = scale.ToScreen(Points[0].X, Points[0].Y);
  long double d = Radius * scale.ScaleX;
  if (!(d * d >= (x - k.X) * (x - k.X) + (y - k.Y) * (y - k.Y))) return false;
  if (onSpot) onSpot(Text);
  return true;
}

std::string TVectorCommandSpotCircle::SaveToString() const {
  TFPoint centre = Points.empty() ? TFPoint{} : Points[0];
  return FinishLine("SpotCircle " + FormatVecFloat(Radius) + ", " + FormatVecFloat(centre.X) + ", " +
                    FormatVecFloat(centre.Y) + ", " + Text);
}

void TVectorCommandSpotCircle::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  Radius = fields.Float();
  long double x = fields.Float();
  long double y = fields.Float();
  Points.push_back({x, y});
  Text = fields.Token();
}

}  // namespace varnik
