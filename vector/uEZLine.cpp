// The smooth line rasteriser.
//
// A segment is scanned row by row from its upper end over a band of
// B = w + 2 pixels around it (w the effective width). Each visited pixel gets
// its distance d to the segment (to the nearer end beyond the ends, which
// makes the ends round) and the coverage floor(255 * sin^2((B - 2d) / 2)):
// full up to w/2 - 0.5 from the centre line, nothing past w/2 + 1. Rows are
// scanned in the direction in which the segment runs, and each row starts
// where the previous one left the band, so only pixels near the segment are
// visited.
//
// At an inner vertex of a polyline the two segments meet at the bisector of
// the corner: each keeps only the pixels on its own side of it, so the
// pixels around the vertex are blended exactly once.

#include "vector/uEZLine.h"

#include <algorithm>
#include <cmath>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"

namespace varnik {

namespace {

// Floors and ceilings of scan bounds as ints, clamped far enough to stay
// meaningful for any coordinate (the loops are clamped to the bitmap later).
int FloorInt(double v) { return int(std::clamp(std::floor(v), -1e9, 1e9)); }
int CeilInt(double v) { return int(std::clamp(std::ceil(v), -1e9, 1e9)); }

// The canvas pen width of a line width; NaN gives 0.
int PenWidth(double width) { return width >= 0 ? int(std::min(std::floor(width), 1e6)) : 0; }

// Plain Euclidean length; the walk over a polyline of millions of points
// calls it several times per segment.
inline double Length(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

bool Finite(double a, double b, double c, double d) {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Segments are cut to a square this far out before they are scanned, and
// lines are at most this wide. No bitmap comes near either (the square holds
// every pixel that a line of the widest band can reach), and beyond them the
// squares of the per-pixel arithmetic overflow (a file may hold 1e300),
// which turned distances and pattern positions into NaN.
constexpr double kFar = 1e7;
constexpr double kMaxWidth = 1e6;

// Cuts the segment (X1, Y1)-(X2, Y2) to the square |x|, |y| <= kFar, keeping
// its line; the part cut off its start is added to `offset` so the pattern
// stays in place. False when the segment misses the square.
//
// Each new end is reached from the nearer old one: a segment from 1e300 to
// a point on the bitmap is cut one part in 1e293 from its end, a fraction
// that is lost when measured from the start.
bool CutToFarSquare(double& X1, double& Y1, double& X2, double& Y2, double& offset) {
  // In long double, where no difference of two doubles overflows.
  using real = long double;
  const real x1 = X1, y1 = Y1, x2 = X2, y2 = Y2;
  // How far inside each side of the square the ends are (negative: outside).
  const real inside1[4] = {kFar - x1, kFar + x1, kFar - y1, kFar + y1};
  const real inside2[4] = {kFar - x2, kFar + x2, kFar - y2, kFar + y2};
  // The new ends as fractions of the segment from the start (t) and from
  // the end (u = 1 - t, kept apart for precision).
  real tStart = 0, uStart = 1, tEnd = 1, uEnd = 0;
  for (int i = 0; i < 4; ++i) {
    const real a = inside1[i], b = inside2[i];
    if (a < 0 && b < 0) return false;
    if (a >= 0 && b >= 0) continue;
    const real t = a / (a - b), u = b / (b - a);
    if (a < 0 && t > tStart) {
      tStart = t;
      uStart = u;
    }
    if (b < 0 && t < tEnd) {
      tEnd = t;
      uEnd = u;
    }
  }
  if (tStart > tEnd) return false;
  const real dx = x2 - x1, dy = y2 - y1;
  auto at = [&](real t, real u, double& x, double& y) {
    x = double(t <= 0.5L ? x1 + t * dx : x2 - u * dx);
    y = double(t <= 0.5L ? y1 + t * dy : y2 - u * dy);
  };
  if (tStart > 0) offset += double(tStart * std::sqrt(dx * dx + dy * dy));
  double nx1, ny1, nx2, ny2;
  at(tStart, uStart, nx1, ny1);
  at(tEnd, uEnd, nx2, ny2);
  X1 = nx1;
  Y1 = ny1;
  X2 = nx2;
  Y2 = ny2;
  return true;
}

}  // namespace

double TEZLine::EffectiveWidth(double width) { return width >= 1 ? width : 2 * width - 1; }

namespace {

inline int CoverageOf(double d, double w) {
  const double v = (w + 2) - 2 * d;
  if (v >= 3) return 255;
  if (!(v >= 0)) return 0;  // NaN too
  const double s = std::sin(v / 2);
  return int(std::floor(255 * s * s));
}

}  // namespace

int TEZLine::Coverage(double d, double w) { return CoverageOf(d, w); }

double TEZLine::PatternValue(uint8_t style, double p, double width) {
  switch (style & 0x7F) {
    case psSolid:
    case psInsideFrame: return 1;
    case psDash:
      return std::clamp(3 * std::fabs(std::sin(1.5 * p / std::max(6.0, width))) - 0.5, 0.0, 1.0);
    case psDot: return std::clamp(2 * std::sin(p), 0.0, 1.0);
    case psDashDot: {
      double q = std::min(3 * std::sin(p / 3), 1.0);
      if (q <= 0) q = std::sin(p);
      return std::max(q, 0.0);
    }
    case psDashDotDot: {
      double q = std::min(3 * std::sin(p / 4), 1.0);
      if (q <= 0) q = std::sin(p - 2);
      return std::max(q, 0.0);
    }
    default: return 0;
  }
}

double TEZLine::Line(TBitmap* bitmap, double X1, double Y1, double X2, double Y2) {
  if (!bitmap || bitmap->Empty()) return Position;
  if (!Smooth) return PlainLine(*bitmap, X1, Y1, X2, Y2);
  return DrawSegment(*bitmap, X1, Y1, X2, Y2, Position, nullptr, nullptr);
}

double TEZLine::Polyline(const std::vector<TDoublePoint>& points, TBitmap* bitmap) {
  if (!bitmap || bitmap->Empty() || points.size() < 2) return Position;
  if (points.size() == 2) return Line(bitmap, points[0].X, points[0].Y, points[1].X, points[1].Y);
  if (!Smooth) return PlainPolyline(points, *bitmap);

  // Repeated points make segments without a direction, which have no
  // corner; they add no length, so stepping over them changes no pattern.
  // The points are walked in place: a polyline may hold millions of them.
  const size_t count = points.size();
  auto same = [&](size_t a, size_t b) {
    return points[a].X == points[b].X && points[a].Y == points[b].Y;
  };
  auto nextDistinct = [&](size_t i) {
    size_t j = i + 1;
    while (j < count && same(i, j)) ++j;
    return j;
  };
  size_t a = 0, b = nextDistinct(0);
  if (b == count) {  // every point the same: a dot with round ends
    Position = DrawSegment(*bitmap, points[0].X, points[0].Y, points[0].X, points[0].Y, Position,
                           nullptr, nullptr);
    return Position;
  }

  // The corner line at vertex J between segments I-J and J-K: through J,
  // normal to the sum of the unit directions of the two segments. A full
  // turn back has no bisector; both ends are then left round.
  auto corner = [&](size_t i, size_t j, size_t k, TCornerLine& line) {
    const double ax = points[j].X - points[i].X, ay = points[j].Y - points[i].Y;
    const double bx = points[k].X - points[j].X, by = points[k].Y - points[j].Y;
    const double la = Length(ax, ay), lb = Length(bx, by);
    line = {points[j].X, points[j].Y, ax / la + bx / lb, ay / la + by / lb};
    return ClipJoins && Length(line.NX, line.NY) > 1e-9;
  };
  TCornerLine before, after;
  bool hasBefore = false;
  while (b < count) {
    const size_t c = nextDistinct(b);
    const bool hasAfter = c < count && corner(a, b, c, after);
    Position = DrawSegment(*bitmap, points[a].X, points[a].Y, points[b].X, points[b].Y, Position,
                           hasBefore ? &before : nullptr, hasAfter ? &after : nullptr);
    before = after;
    hasBefore = hasAfter;
    a = b;
    b = c;
  }
  return Position;
}

double TEZLine::PlainLine(TBitmap& bitmap, double X1, double Y1, double X2, double Y2) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen.Width = PenWidth(Width);
  canvas.Pen.Color = Color;
  canvas.Pen.Style = TPenStyle(Style & 0x7F);
  canvas.Pen.Mode = Mode;
  canvas.MoveTo(RoundToInt(X1), RoundToInt(Y1));
  canvas.LineTo(RoundToInt(X2), RoundToInt(Y2));
  return Position + Length(X2 - X1, Y2 - Y1);
}

double TEZLine::PlainPolyline(const std::vector<TDoublePoint>& points, TBitmap& bitmap) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Pen.Width = PenWidth(Width);
  canvas.Pen.Color = Color;
  canvas.Pen.Style = TPenStyle(Style & 0x7F);
  canvas.Pen.Mode = Mode;
  std::vector<TPoint> rounded;
  rounded.reserve(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    rounded.push_back({RoundToInt(points[i].X), RoundToInt(points[i].Y)});
    if (i > 0) Position += Length(points[i].X - points[i - 1].X, points[i].Y - points[i - 1].Y);
  }
  canvas.Polyline(rounded);
  return Position;
}

double TEZLine::DrawSegment(TBitmap& bitmap, double X1, double Y1, double X2, double Y2,
                            double offset, const TCornerLine* start, const TCornerLine* end) {
  const double result = offset + Length(X2 - X1, Y2 - Y1);
  if (!(Width >= 0.01) || !Finite(X1, Y1, X2, Y2)) return result;  // NaN widths too
  const bool far = std::max({std::fabs(X1), std::fabs(Y1), std::fabs(X2), std::fabs(Y2)}) > kFar;
  if (far && !CutToFarSquare(X1, Y1, X2, Y2, offset)) return result;
  const double w = EffectiveWidth(std::min(Width, kMaxWidth));
  const int width = bitmap.Width(), height = bitmap.Height();

  // Segments wholly outside the bitmap cost nothing.
  const double m = std::nearbyint(w / 2 + 2);  // ties to even
  if ((X1 >= width + m && X2 >= width + m) || (X1 < -m && X2 < -m) ||
      (Y1 >= height + m && Y2 >= height + m) || (Y1 < -m && Y2 < -m))
    return result;

  // Scan from the upper end (the right end of a horizontal segment); the
  // pattern position and the corners still refer to the segment's own ends.
  const bool swapped = Y1 > Y2 || (Y1 == Y2 && X1 <= X2);
  if (swapped) {
    std::swap(X1, X2);
    std::swap(Y1, Y2);
  }
  dx_ = X2 - X1;
  dy_ = Y2 - Y1;
  dyNeg_ = Y1 - Y2;
  length2_ = dx_ * dx_ + dy_ * dy_;
  length_ = std::sqrt(length2_);

  // The band and the scan range, the ends clamped into the bitmap. On a
  // bitmap narrower than the band the clamps cross; the loops below are
  // clamped to the bitmap once more, so no pixel outside it is touched.
  const double B = w + 2;
  const double halfB = B / 2;
  const double A = std::floor(B / 2 + 1);
  auto clampTo = [](double v, double lo, double hi) { return std::min(std::max(v, lo), hi); };
  const double x1c = clampTo(X1, A, width - 1 - A), x2c = clampTo(X2, A, width - 1 - A);
  const double y1c = clampTo(Y1, A, height - 1 - A), y2c = clampTo(Y2, A, height - 1 - A);
  const int rowFirst = std::max(FloorInt(y1c - A), 0);
  const int rowLast = std::min(CeilInt(y2c + A + 1) - 1, height - 1);
  const bool rising = dx_ * dy_ >= 0 && Y2 != Y1;
  const int colStep = rising ? 1 : -1;
  int colStart, colStop;
  if (rising) {
    colStart = std::max(FloorInt(x1c - A), 0);
    colStop = std::min(CeilInt(x2c + A + 1) - 1, width - 1);
  } else {
    colStart = std::min(CeilInt(x1c + A), width - 1);
    colStop = std::max(FloorInt(x2c - A - 1) + 1, 0);
  }

  // The pen colour and the blend weight of the pattern and opacity.
  const TColor rgb = ColorToRGB(Color);
  const int kRed = rgb & 0xFF, kGreen = (rgb >> 8) & 0xFF, kBlue = (rgb >> 16) & 0xFF;
  const uint8_t style = Style & 0x7F;
  constexpr int kPrefetchRows = 3;
  const double shiftPerRow = dy_ != 0 ? std::clamp(dx_ / dy_, -64.0, 64.0) : 0;
  const bool patterned = !(style == psSolid || style == psInsideFrame);

  for (int row = rowFirst; row <= std::min(rowLast, RowsTo - 1); ++row) {
    // Above the rows that matter only the walk along the band is followed,
    // so that the first row that matters starts where it always does.
    const bool wanted = row >= RowsFrom;
    uint8_t* line = wanted ? bitmap.ScanLine(row) : nullptr;
    // Rows lie far apart in memory and the band moves only a little from one
    // to the next: ask for the band's pixels a few rows ahead, so that the
    // blend does not wait for them.
    if (wanted && row + kPrefetchRows <= rowLast) {
      const double ahead = colStart + kPrefetchRows * shiftPerRow;
      const int col = int(std::clamp(ahead, 0.0, double(width - 1)));
      const uint8_t* p = bitmap.ScanLine(row + kPrefetchRows) + col * TBitmap::kBytesPerPixel;
      __builtin_prefetch(p);
      __builtin_prefetch(p + (rising ? 64 : -64) * (col > 16 && col < width - 16));
    }
    const double cy = row;
    const double ry = cy - Y1;
    int nextStart = colStart;
    for (int col = colStart; rising ? col <= colStop : col >= colStop; col += colStep) {
      const double cx = col;
      const double rx = cx - X1;
      // t = dot / length2 is the position along the segment. Rounding keeps
      // a quotient of a dot between 0 and length2 within [0, 1], so the
      // division is needed only outside that range (and for the pattern).
      const double dot = rx * dx_ + ry * dy_;
      double d;
      if (!wanted) {
        across_ = length2_ > 0 ? (rx * dy_ - ry * dx_) / length_ : 0;
        d = -1;
      } else if (length2_ > 0) {
        across_ = (rx * dy_ - ry * dx_) / length_;
        const bool within = dot >= 0 && dot <= length2_;
        t_ = within ? 0.5 : dot / length2_;
        if (t_ < 0)
          d = std::sqrt(rx * rx + ry * ry);
        else if (t_ > 1)
          d = std::sqrt((cx - X2) * (cx - X2) + (cy - Y2) * (cy - Y2));
        else
          d = std::fabs(across_);
      } else {
        across_ = 0;
        d = std::sqrt(rx * rx + ry * ry);
      }

      const int alpha = wanted ? CoverageOf(d, w) : 0;
      if (alpha > 0 &&
          (!start || (cx - start->X) * start->NX + (cy - start->Y) * start->NY >= 0) &&
          (!end || (cx - end->X) * end->NX + (cy - end->Y) * end->NY < 0)) {
        if (patterned) {
          t_ = length2_ > 0 ? dot / length2_ : 0;
          along_ = swapped ? (1 - t_) * length_ : t_ * length_;
        }
        const double f = patterned ? PatternValue(style, offset + along_, Width) : 1.0;
        // A pattern position past any double (a segment of astronomic
        // length before this one) gives NaN: no pixel rather than any.
        const double weight = f * alpha * Opacity;
        const int a = weight > 0 ? int(std::min(std::floor(weight), 255.0)) : 0;
        if (a > 0) {
          uint8_t* p = line + col * TBitmap::kBytesPerPixel;
          p[0] = uint8_t((kBlue * a + p[0] * (255 - a)) >> 8);
          p[1] = uint8_t((kGreen * a + p[1] * (255 - a)) >> 8);
          p[2] = uint8_t((kRed * a + p[2] * (255 - a)) >> 8);
        }
      }

      // Leave the row once past the band; the next row starts where this one
      // was last well before the band.
      if (rising) {
        if (across_ < -halfB + 1) nextStart = col;
        if (across_ > halfB) break;
      } else {
        if (across_ > halfB - 1) nextStart = col;
        if (across_ < -halfB) break;
      }
    }
    colStart = nextStart;
  }
  return result;
}

}  // namespace varnik
