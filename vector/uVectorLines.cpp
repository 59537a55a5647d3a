// The line-like commands: Line, Spline, Sine, Dashed, Stairs, Arrow and
// Railway. Each maps its points to the screen, culls itself against the area
// to refresh (widened by half its width) and then draws whole.

#include <cmath>

#include "platform/uBitmap.h"
#include "vector/uDrawUtils.h"
#include "vector/uScale.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

// Stairs hatch lines and railway ties beyond this count come only from
// absurd spacings (a tie every 1e-12 pixels); such drawings are bounded by
// leaving the repeated part out instead of looping for ever.
constexpr long double kMaxRepeats = 1'000'000;

constexpr int kCurveSegments = 8;
constexpr int kRailSegments = 4;

double D(long double v) { return static_cast<double>(v); }

// The mapped points of a line-like command when it has at least two, not
// absurdly many, and some segment reaches into the clip widened by `margin`;
// empty otherwise.
std::vector<TDoublePoint> VisibleLine(TScale& scale, const std::vector<TFPoint>& points, const TRect& clip,
                                      long double margin) {
  if (points.size() < 2 || points.size() > kMaxDrawnPoints) return {};
  std::vector<TDoublePoint> screen = ToScreenPoints(scale, points);
  if (!AnySegmentVisible(screen, Enlarge(clip, margin))) return {};
  return screen;
}

void SplitXY(const std::vector<TDoublePoint>& points, std::vector<double>& xs, std::vector<double>& ys) {
  xs.clear();
  ys.clear();
  for (const TDoublePoint& p : points) {
    xs.push_back(p.X);
    ys.push_back(p.Y);
  }
}

}  // namespace

// --- Shared line form ---------------------------------------------------------

std::string TVectorCommandWidthShape::SaveToString() const {
  return FinishLine(std::string(WrittenKeyword(TypeCode)) + " " + FormatPoints(Points) + FormatWidth(Width));
}

void TVectorCommandWidthShape::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  fields.Points(Points, MaxPoints);
  Width = fields.Width();
}

// --- Line, Dashed -----------------------------------------------------------

TVectorCommandLine::TVectorCommandLine() {
  TypeCode = vcLine;
  MaxPoints = 2147483647;
  Width = 1.0;
}

void TVectorCommandLine::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  long double w = Width * scale.ScaleX;
  auto screen = VisibleLine(scale, Points, clip, std::ceil(w / 2));
  if (screen.empty()) return;
  if (screen.size() == 2 && StartPercent == 0 && EndPercent == 100)
    DrawLine(bitmap, 0, factor, screen[0].X, screen[0].Y, screen[1].X, screen[1].Y, D(w));
  else
    DrawPolyline(bitmap, screen, D(w), 0, factor, StartPercent, EndPercent);
}

TVectorCommandDashed::TVectorCommandDashed() { TypeCode = vcDashed; }

void TVectorCommandDashed::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  long double w = Width * scale.ScaleX;
  auto screen = VisibleLine(scale, Points, clip, std::ceil(w / 2));
  if (!screen.empty()) DrawPolyline(bitmap, screen, D(w), 1, factor, StartPercent, EndPercent);
}

// --- Spline, Sine -------------------------------------------------------------

TVectorCommandSpline::TVectorCommandSpline() { TypeCode = vcSpline; }

void TVectorCommandSpline::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  long double w = Width * scale.ScaleX;
  auto screen = VisibleLine(scale, Points, clip, std::ceil(w / 2));
  if (screen.empty()) return;
  std::vector<double> xs, ys;
  SplitXY(screen, xs, ys);
  DrawSpline(bitmap, xs, ys, kCurveSegments, factor, Dashed, D(w), StartPercent, EndPercent);
}

#if VARNIK_VEC_DIALECT
TVectorCommandSine::TVectorCommandSine() {
  TypeCode = vcSine;
  MaxPoints = 3;
}

std::vector<TDoublePoint> TVectorCommandSine::ControlPoints(const std::vector<TDoublePoint>& p, int periods) {
  // P0, P1, P0+T, P1+T, P0+2T, ..., P0+N*T with T = P2 - P0: the peaks are
  // copies of P1.
  double tx = p[2].X - p[0].X, ty = p[2].Y - p[0].Y;
  std::vector<TDoublePoint> out{p[0], p[1], p[2]};
  for (int i = 3; i <= 2 * periods; ++i) {
    const TDoublePoint& base = i % 2 == 0 ? p[0] : p[1];
    int k = i / 2;
    out.push_back({base.X + k * tx, base.Y + k * ty});
  }
  return out;
}

void TVectorCommandSine::Draw(TBitmap& bitmap, const TRect&, int factor, TScale& scale) {
  if (Points.size() != 3 || Periods == 0) return;
  auto control = ControlPoints(ToScreenPoints(scale, Points), Periods);
  std::vector<double> xs, ys;
  SplitXY(control, xs, ys);
  DrawSpline(bitmap, xs, ys, kCurveSegments, factor, 0, D(Width * scale.ScaleX), StartPercent, EndPercent);
}

std::string TVectorCommandSine::SaveToString() const {
  return FinishLine("Sine " + std::to_string(Periods) + ", " + FormatPoints(Points) + FormatWidth(Width));
}

void TVectorCommandSine::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  Periods = static_cast<uint8_t>(fields.Integer());
  fields.Points(Points, MaxPoints);
  Width = fields.Width();
}
#endif

// --- Stairs -------------------------------------------------------------------

TVectorCommandStairs::TVectorCommandStairs() {
  TypeCode = vcStairs;
  MaxPoints = 3;
}

void TVectorCommandStairs::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (Points.size() != 3) return;
  long double w = Width * scale.ScaleX;
  auto p = ToScreenPoints(scale, Points);
  // The fourth corner of the hatched parallelogram, for culling only.
  TDoublePoint p3{p[2].X + p[1].X - p[0].X, p[2].Y + p[1].Y - p[0].Y};
  TFRect r = Enlarge(clip, std::ceil(w / 2));
  bool allLeft = true, allRight = true, allAbove = true, allBelow = true;
  for (const TDoublePoint& c : {p[0], p[1], p[2], p3}) {
    allLeft = allLeft && c.X < r.Left;
    allRight = allRight && c.X > r.Right;
    allAbove = allAbove && c.Y < r.Top;
    allBelow = allBelow && c.Y > r.Bottom;
  }
  if (allLeft || allRight || allAbove || allBelow) return;

  long double step = 4 * scale.ScaleX;
  long double dx = p[2].X - p[0].X, dy = p[2].Y - p[0].Y;
  long double m = std::hypot(dx, dy) / step;
  if (!(m > 0) || m > kMaxRepeats) return;
  dx /= m;
  dy /= m;
  auto count = static_cast<int64_t>(std::floor(m));
  for (int64_t o = 0; o <= count; ++o)
    DrawLine(bitmap, 0, factor, D(p[0].X + o * dx), D(p[0].Y + o * dy), D(p[1].X + o * dx), D(p[1].Y + o * dy),
             D(w));
}

// --- Arrow --------------------------------------------------------------------

TVectorCommandArrow::TVectorCommandArrow() {
  TypeCode = vcArrow;
  MaxPoints = 2147483647;
}

void TVectorCommandArrow::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  long double w = Width * scale.ScaleX;
  auto screen = VisibleLine(scale, Points, clip, std::ceil(w / 2));
  if (screen.empty()) return;
  if (screen.size() == 2)
    DrawLine(bitmap, 0, factor, screen[0].X, screen[0].Y, screen[1].X, screen[1].Y, D(w));
  else
    DrawPolyline(bitmap, screen, D(w), 0, factor, 0, 100);

  // The head: two wings 10h back along the last segment and 3h to its sides.
  const TDoublePoint& tip = screen.back();
  const TDoublePoint& previous = screen[screen.size() - 2];
  long double dx = tip.X - previous.X, dy = tip.Y - previous.Y;
  long double length = std::hypot(dx, dy);
  if (length == 0) return;
  long double h = length >= 40 * w ? w : length / 40;
  DrawLine(bitmap, 0, factor, D(tip.X - h * (10 * dx + 3 * dy) / length), D(tip.Y - h * (10 * dy - 3 * dx) / length),
           tip.X, tip.Y, D(w));
  DrawLine(bitmap, 0, factor, D(tip.X - h * (10 * dx - 3 * dy) / length), D(tip.Y - h * (10 * dy + 3 * dx) / length),
           tip.X, tip.Y, D(w));
}

// --- Railway ------------------------------------------------------------------

TVectorCommandRailway::TVectorCommandRailway() {
  TypeCode = vcRailway;
  MaxPoints = 2147483647;
}

void TVectorCommandRailway::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  const long double sx = scale.ScaleX;
  auto screen = VisibleLine(scale, Points, clip, std::ceil((Width / 2 + TieLength) * sx / 2));
  if (screen.empty()) return;
  const long double a = RailDistance * sx, b = TieLength * sx, s = TieSpacing * sx, w = Width * sx;

  // First rail along the given points, smoothed when there are corners.
  std::vector<TDoublePoint> q = screen.size() > 2 ? SubdivideFourPoint(screen, kRailSegments) : screen;
  if (q.size() == 2)
    DrawLine(bitmap, 0, factor, q[0].X, q[0].Y, q[1].X, q[1].Y, D(w));
  else
    DrawPolyline(bitmap, q, D(w), 0, factor, 0, 100);

  // Second rail: every point offset to the left of its incoming segment (the
  // first point by the first segment). Repeated points have no direction and
  // keep the offset of the segment before them.
  std::vector<long double> ox(q.size()), oy(q.size());
  bool haveOffset = false;
  for (size_t i = 1; i < q.size(); ++i) {
    long double dx = q[i].X - q[i - 1].X, dy = q[i].Y - q[i - 1].Y;
    long double length = std::hypot(dx, dy);
    if (length != 0) {
      ox[i] = -dy * a / length;
      oy[i] = dx * a / length;
      if (!haveOffset) {
        for (size_t k = 0; k < i; ++k) {
          ox[k] = ox[i];
          oy[k] = oy[i];
        }
      }
      haveOffset = true;
    } else if (haveOffset) {
      ox[i] = ox[i - 1];
      oy[i] = oy[i - 1];
    }
  }
  if (!haveOffset) return;
  std::vector<TDoublePoint> second(q.size());
  for (size_t i = 0; i < q.size(); ++i) second[i] = {D(q[i].X + ox[i]), D(q[i].Y + oy[i])};
  DrawPolyline(bitmap, second, D(w), 0, factor, 0, 100);

  // Ties across the midline, spaced evenly along it and carried round corners.
  std::vector<TDoublePoint> mid(q.size());
  long double total = 0;
  for (size_t i = 0; i < q.size(); ++i) {
    mid[i] = {(q[i].X + second[i].X) / 2, (q[i].Y + second[i].Y) / 2};
    if (i > 0) total += std::hypot(mid[i].X - mid[i - 1].X, mid[i].Y - mid[i - 1].Y);
  }
  if (!(s > 0) || !(total / s <= kMaxRepeats)) return;
  long double v = s / 2;
  for (size_t i = 0; i + 1 < mid.size(); ++i) {
    long double dx = mid[i + 1].X - mid[i].X, dy = mid[i + 1].Y - mid[i].Y;
    long double length = std::hypot(dx, dy);
    for (; v < length; v += s) {
      long double kx = mid[i].X + dx * v / length, ky = mid[i].Y + dy * v / length;
      long double nx = -dy / length, ny = dx / length;
      DrawLine(bitmap, 0, factor, D(kx + b / 2 * nx), D(ky + b / 2 * ny), D(kx - (b + 1) / 2 * nx),
               D(ky - (b + 1) / 2 * ny), D(w));
    }
    v -= length;
  }
}

std::string TVectorCommandRailway::SaveToString() const {
  return FinishLine("Railway " + FormatVecFloat(RailDistance) + ", " + FormatVecFloat(TieLength) + ", " +
                    FormatVecFloat(TieSpacing) + ", " + FormatPoints(Points) + FormatWidth(Width));
}

void TVectorCommandRailway::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  RailDistance = fields.Float();
  TieLength = fields.Float();
  TieSpacing = fields.Float();
  fields.Points(Points, MaxPoints);
  Width = fields.Width();
}

}  // namespace varnik
