// Drawing primitives.
//
// Smoothness comes from two places: lines go through the thread's smooth line
// rasteriser; polygon fills and text are drawn on a work bitmap `factor` times
// larger and box-filtered down. Work happens only on the part of a shape that
// lies on the target bitmap (the oversampled regions are clipped to it before
// anything is allocated), so absurd coordinates and sizes cost nothing.

#include "vector/uDrawUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uTextMask.h"
#include "vector/uVectorSink.h"

namespace varnik {

namespace {

// Box corners of shapes are floored and ceiled into 64 bits; coordinates
// beyond this are treated as unreachable.
constexpr double kCoordLimit = 1e15;

// Font heights past this are beyond any bitmap (the canvas bounds them
// further); it keeps the conversion to int defined.
constexpr double kMaxFontHeight = 1 << 24;

struct TBox {
  int64_t Left = 0;
  int64_t Top = 0;
  int64_t Right = 0;  // exclusive
  int64_t Bottom = 0;
  int64_t Width() const { return Right - Left; }
  int64_t Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
};

TBox ClipToBitmap(const TBox& box, const TBitmap& bitmap) {
  return {std::max<int64_t>(box.Left, 0), std::max<int64_t>(box.Top, 0),
          std::min<int64_t>(box.Right, bitmap.Width()),
          std::min<int64_t>(box.Bottom, bitmap.Height())};
}

TRect ToRect(const TBox& box) {
  return {int32_t(box.Left), int32_t(box.Top), int32_t(box.Right), int32_t(box.Bottom)};
}

// Replicates the target's `box` (already inside the bitmap) onto the big
// work bitmap at `factor` times the size.
void CopyToBig(TBitmap& target, const TBox& box, int factor) {
  const int32_t w = int32_t(box.Width()), h = int32_t(box.Height());
  BigWorkBitmap().Canvas().CopyRect({0, 0, w * factor, h * factor}, target.Canvas(), ToRect(box));
}

void CopyFromSmall(TBitmap& target, const TBox& box) {
  const int32_t w = int32_t(box.Width()), h = int32_t(box.Height());
  target.Canvas().CopyRect(ToRect(box), SmallWorkBitmap().Canvas(), {0, 0, w, h});
}

void SetUpLine(TBitmap& bitmap, uint8_t dashed, int factor, double width) {
  TEZLine& line = SharedEZLine();
  line.Smooth = dashed != 0 || factor > 1;
  line.Color = bitmap.Canvas().Pen.Color;
  line.Width = width;
  if (dashed) {
    line.Style = psDash;
    line.Position = 0;
  }
}

double Distance(const TDoublePoint& a, const TDoublePoint& b) {
  return std::hypot(b.X - a.X, b.Y - a.Y);
}

// The point `offset` along the segment a-b (a itself on a segment of no length).
TDoublePoint Along(const TDoublePoint& a, const TDoublePoint& b, double offset) {
  const double length = Distance(a, b);
  if (length == 0) return a;
  return {a.X + (b.X - a.X) * offset / length, a.Y + (b.Y - a.Y) * offset / length};
}

// The part of the polyline from `start` to `end` percent of its length.
std::vector<TDoublePoint> CutRange(const std::vector<TDoublePoint>& points, int start, int end) {
  double total = 0;
  for (size_t i = 1; i < points.size(); ++i) total += Distance(points[i - 1], points[i]);
  const double from = start * total / 100, to = end * total / 100;
  const size_t last = points.size() - 2;
  size_t startSeg = 0, endSeg = last;
  double startOffset = 0, endOvershoot = 0;
  bool startFound = false;
  double before = 0;
  for (size_t i = 0; i <= last; ++i) {
    const double after = before + Distance(points[i], points[i + 1]);
    if (!startFound && after >= from) {
      startFound = true;
      startSeg = i;
      startOffset = from - before;
    }
    if (after >= to || i == last) {
      endSeg = i;
      endOvershoot = after - to;
      break;
    }
    before = after;
  }
  if (!startFound) {  // only through rounding at the very end of the path
    startSeg = last;
    startOffset = Distance(points[last], points[last + 1]);
  }
  std::vector<TDoublePoint> cut;
  cut.push_back(Along(points[startSeg], points[startSeg + 1], startOffset));
  for (size_t i = startSeg + 1; i <= endSeg; ++i) cut.push_back(points[i]);
  cut.push_back(Along(points[endSeg + 1], points[endSeg], endOvershoot));
  return cut;
}

}  // namespace

TDrawContext::TDrawContext()
    : SmallWork(std::make_unique<TBitmap>(1, 1)), BigWork(std::make_unique<TBitmap>(1, 1)) {}

TDrawContext::~TDrawContext() = default;

void TDrawContext::SetRows(int from, int to) {
  RowsFrom = Line.RowsFrom = from;
  RowsTo = Line.RowsTo = to;
}

TDrawContext& ThreadDrawContext() {
  // One per thread: drawing threads never share working state.
  thread_local TDrawContext context;
  return context;
}

bool EnsureWorkBitmaps(int w, int h, int f) {
  if (w <= 0 || h <= 0 || f <= 0) return false;
  const int64_t bw = int64_t(w) * f, bh = int64_t(h) * f;
  TBitmap& small = SmallWorkBitmap();
  TBitmap& big = BigWorkBitmap();
  const int64_t bigW = std::max<int64_t>(big.Width(), bw);
  const int64_t bigH = std::max<int64_t>(big.Height(), bh);
  const int64_t smallW = std::max(small.Width(), w), smallH = std::max(small.Height(), h);
  if (bigW > TBitmap::kMaxSide || bigH > TBitmap::kMaxSide || bigW * bigH > TBitmap::kMaxPixels ||
      smallW * smallH > TBitmap::kMaxPixels)
    return false;
  if (bigW != big.Width() || bigH != big.Height()) big.SetSize(int(bigW), int(bigH));
  if (smallW != small.Width() || smallH != small.Height()) small.SetSize(int(smallW), int(smallH));
  return true;
}

namespace {

// The box filter of Downsample for one factor. With the factor known at
// compile time the block sums unroll and the division by the block area
// becomes a multiplication; the sums and the truncating division are the
// same as for any other factor.
template <int F>
void DownsampleBy(TBitmap& small, const TBitmap& big, int w, int h, int f, std::vector<int>& sums) {
  const int factor = F > 0 ? F : f;
  const int area = factor * factor;
  constexpr int bpp = TBitmap::kBytesPerPixel;
  for (int y = 0; y < h; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int k = 0; k < factor; ++k) {
      const uint8_t* in = big.ScanLine(y * factor + k);
      int* sum = sums.data();
      for (int x = 0; x < w; ++x, sum += 3) {
        const uint8_t* block = in + x * factor * bpp;
        int b = 0, g = 0, r = 0;
        for (int j = 0; j < factor; ++j) {
          b += block[j * bpp];
          g += block[j * bpp + 1];
          r += block[j * bpp + 2];
        }
        sum[0] += b;
        sum[1] += g;
        sum[2] += r;
      }
    }
    uint8_t* out = small.ScanLine(y);
    const int* sum = sums.data();
    for (int x = 0; x < w; ++x, sum += 3) {
      out[x * bpp] = uint8_t(sum[0] / area);
      out[x * bpp + 1] = uint8_t(sum[1] / area);
      out[x * bpp + 2] = uint8_t(sum[2] / area);
    }
  }
}

}  // namespace

void Downsample(int w, int h, int f) {
  TBitmap& small = SmallWorkBitmap();
  TBitmap& big = BigWorkBitmap();
  if (f <= 0) return;
  w = std::min({w, small.Width(), big.Width() / f});
  h = std::min({h, small.Height(), big.Height() / f});
  std::vector<int> sums(size_t(std::max(w, 0)) * 3);
  switch (f) {
    case 2: DownsampleBy<2>(small, big, w, h, f, sums); break;
    case 3: DownsampleBy<3>(small, big, w, h, f, sums); break;
    case 4: DownsampleBy<4>(small, big, w, h, f, sums); break;
    default: DownsampleBy<0>(small, big, w, h, f, sums); break;
  }
}

void DrawLine(TBitmap& bitmap, uint8_t dashed, int factor, double X1, double Y1, double X2,
              double Y2, double width) {
  if (width == 0) return;
  if (TVectorSink* sink = bitmap.Sink()) {
    sink->Polyline({{X1, Y1}, {X2, Y2}}, width, dashed != 0, bitmap.Canvas().Pen.Color);
    return;
  }
  SetUpLine(bitmap, dashed, factor, width);
  SharedEZLine().Line(&bitmap, X1, Y1, X2, Y2);
  SharedEZLine().Style = psSolid;
}

void DrawPolyline(TBitmap& bitmap, const std::vector<TDoublePoint>& points, double width,
                  uint8_t dashed, int factor, int startPercent, int endPercent) {
  if (width == 0) return;
  bitmap.Canvas().Pen.Style = psSolid;
  const int start = std::clamp(startPercent, 0, 100), end = std::clamp(endPercent, 0, 100);
  if (points.size() < 2 || start >= end) return;
  const bool whole = start == 0 && end == 100;
  const std::vector<TDoublePoint> cut = whole ? std::vector<TDoublePoint>() : CutRange(points, start, end);
  const std::vector<TDoublePoint>& drawn = whole ? points : cut;
  if (TVectorSink* sink = bitmap.Sink()) {
    sink->Polyline(drawn, width, dashed != 0, bitmap.Canvas().Pen.Color);
    return;
  }
  SetUpLine(bitmap, dashed, factor, width);
  SharedEZLine().Polyline(drawn, &bitmap);
  SharedEZLine().Style = psSolid;
}

std::vector<TDoublePoint> SubdivideFourPoint(const std::vector<TDoublePoint>& points, int d) {
  const int64_t n = int64_t(points.size());
  if (n < 3 || d < 2) return points;
  // The halving passes fill every point only when d is a power of two.
  int step = 1;
  while (step * 2 <= d && step < (1 << 20)) step *= 2;
  while (step > 1 && step * (n - 1) + 1 > kMaxCurvePoints) step /= 2;
  if (step < 2) return points;
  const int64_t last = step * (n - 1);
  std::vector<TDoublePoint> p(size_t(last + 1));
  for (int64_t k = 0; k < n; ++k) p[size_t(k * step)] = points[size_t(k)];
  auto mix = [&](int64_t i, double wa, int64_t a, double wb, int64_t b, double wc, int64_t c,
                 double wd, int64_t dd, double divisor) {
    p[size_t(i)].X = (wa * p[size_t(a)].X + wb * p[size_t(b)].X + wc * p[size_t(c)].X +
                      wd * p[size_t(dd)].X) / divisor;
    p[size_t(i)].Y = (wa * p[size_t(a)].Y + wb * p[size_t(b)].Y + wc * p[size_t(c)].Y +
                      wd * p[size_t(dd)].Y) / divisor;
  };
  for (int64_t g = step; g > 1; g /= 2) {
    const int64_t half = g / 2;
    // End spans lean on the two spans next to them; inner spans on both sides.
    mix(half, 3, 0, 6, g, -1, 2 * g, 0, 0, 8);
    mix(last - half, 3, last, 6, last - g, -1, last - 2 * g, 0, 0, 8);
    for (int64_t t = 1; t <= last / g - 2; ++t)
      mix(t * g + half, 9, t * g, 9, (t + 1) * g, -1, (t - 1) * g, -1, (t + 2) * g, 16);
  }
  return p;
}

void DrawSpline(TBitmap& bitmap, const std::vector<double>& Xs, const std::vector<double>& Ys,
                int segmentsPerSpan, int factor, uint8_t dashed, double width, int startPercent,
                int endPercent) {
  const size_t n = std::min(Xs.size(), Ys.size());
  if (width == 0 || n < 2) return;
  if (n == 2) {
    DrawLine(bitmap, dashed, factor, Xs[0], Ys[0], Xs[1], Ys[1], width);
    return;
  }
  std::vector<TDoublePoint> points(n);
  for (size_t i = 0; i < n; ++i) points[i] = {Xs[i], Ys[i]};
  DrawPolyline(bitmap, SubdivideFourPoint(points, segmentsPerSpan), width, dashed, factor,
               startPercent, endPercent);
}

void DrawPolygon(TBitmap& bitmap, const std::vector<TDoublePoint>& points, int factor,
                 double width) {
  if (points.empty() || (bitmap.Empty() && !bitmap.Sink())) return;
  double minX = points[0].X, maxX = minX, minY = points[0].Y, maxY = minY;
  for (const TDoublePoint& p : points) {
    minX = std::min(minX, p.X);
    maxX = std::max(maxX, p.X);
    minY = std::min(minY, p.Y);
    maxY = std::max(maxY, p.Y);
  }
  if (!(std::fabs(minX) < kCoordLimit && std::fabs(maxX) < kCoordLimit &&
        std::fabs(minY) < kCoordLimit && std::fabs(maxY) < kCoordLimit))
    return;
  if (TVectorSink* sink = bitmap.Sink()) {
    sink->Polygon(points, width, bitmap.Canvas());
    return;
  }
  const int64_t left = int64_t(std::floor(minX)), right = int64_t(std::ceil(maxX));
  const int64_t top = int64_t(std::floor(minY)), bottom = int64_t(std::ceil(maxY));
  TCanvas& canvas = bitmap.Canvas();

  if (width > 0.7 || factor * (right - left) > 1000 || factor * (bottom - top) > 1000) {
    const int penWidth = canvas.Pen.Width;
    const TColor penColor = canvas.Pen.Color;
    const TPenStyle penStyle = canvas.Pen.Style;
    // The fill's edge is drawn in the brush colour; an unfilled polygon gets
    // no edge at all (its "colour" would be the no-colour value).
    canvas.Pen.Width = 1;
    canvas.Pen.Color = canvas.Brush.Color;
    if (canvas.Brush.Style == bsClear) canvas.Pen.Style = psClear;
    std::vector<TPoint> rounded;
    rounded.reserve(points.size());
    for (const TDoublePoint& p : points) rounded.push_back({RoundToInt(p.X), RoundToInt(p.Y)});
    canvas.Polygon(rounded);
    canvas.Pen.Width = penWidth;
    canvas.Pen.Color = penColor;
    canvas.Pen.Style = penStyle;
    std::vector<TDoublePoint> closed = points;
    closed.push_back(points[0]);
    DrawPolyline(bitmap, closed, width, 0, factor, 0, 100);
    return;
  }

  const int64_t m = width != 0 ? int64_t(std::ceil(width)) : canvas.Pen.Width;
  const TBox box = ClipToBitmap({left - m, top - m, right + m, bottom + m}, bitmap);
  if (box.Empty() || !ThreadDrawContext().ReachesRows(box.Top, box.Bottom) ||
      !EnsureWorkBitmaps(int(box.Width()), int(box.Height()), factor))
    return;
  CopyToBig(bitmap, box, factor);
  TCanvas& big = BigWorkBitmap().Canvas();
  big.Pen.Width = RoundToInt(factor * width);
  big.Pen.Color = canvas.Pen.Color;
  big.Pen.Style = psSolid;
  big.Brush = canvas.Brush;
  std::vector<TPoint> scaled;
  scaled.reserve(points.size());
  for (const TDoublePoint& p : points)
    scaled.push_back({RoundToInt((p.X - box.Left) * factor), RoundToInt((p.Y - box.Top) * factor)});
  big.Polygon(scaled);
  Downsample(int(box.Width()), int(box.Height()), factor);
  CopyFromSmall(bitmap, box);
}

void DrawCircle(TBitmap& bitmap, int factor, double left, double top, double right,
                double bottom, double width) {
  if (TVectorSink* sink = bitmap.Sink()) {
    // The box of the smooth ellipse; the canvas ellipse of factor 1 has the
    // same one (its right and bottom edges are exclusive).
    sink->Ellipse(left, top, right - 1, bottom - 1, width, bitmap.Canvas());
    return;
  }
  if (factor <= 1) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Pen.Width = RoundToInt(width);
    canvas.Ellipse(RoundToInt(left), RoundToInt(top), RoundToInt(right), RoundToInt(bottom));
  } else {
    DrawSmoothEllipse(bitmap, left, top, right - 1, bottom - 1, width);
  }
}

namespace {

// A blended channel value rounded to the nearest, ties to even, and clamped
// to 0..255 (NaN gives 0), the same as RoundToInt then clamping. Adding and
// taking away 2^52 rounds in the hardware's mode, to nearest even, for every
// value this small; the wide rounding call cost more than the rest of the
// ring together.
uint8_t RoundToChannel(double v) {
  if (!(v > 0)) return 0;
  if (v >= 255) return 255;
  constexpr double kShift = 4503599627370496.0;  // 2^52
  return uint8_t((v + kShift) - kShift);
}

// Coverage of a pixel by one ellipse given its implicit value F, threshold B
// and slope A: a linear ramp one pixel wide across the edge.
double EllipseCoverage(double F, double B, double A) {
  if (F <= B - A) return 1;
  if (F >= B + A) return 0;
  return ((B - F) / A + 1) / 2;
}

}  // namespace

void DrawSmoothEllipse(TBitmap& bitmap, double left, double top, double right, double bottom,
                       double width) {
  if (bitmap.Empty()) return;
  for (double v : {left, top, right, bottom, width})
    if (!(std::fabs(v) < kCoordLimit)) return;
  const double hw = width / 2;
  // The region of the ring, in region coordinates from (X0, Y0).
  const int64_t X0 = int64_t(std::min(std::floor(left - hw), std::floor(right - hw))) - 1;
  const int64_t X1 = int64_t(std::max(std::ceil(left + hw), std::ceil(right + hw))) + 1;
  const int64_t Y0 = int64_t(std::min(std::floor(top - hw), std::floor(bottom - hw))) - 1;
  const int64_t Y1 = int64_t(std::max(std::ceil(top + hw), std::ceil(bottom + hw))) + 1;
  const int64_t W = X1 - X0, H = Y1 - Y0;
  const double cx = ((left - X0) + (right - X0)) / 2, cy = ((top - Y0) + (bottom - Y0)) / 2;
  const double Dx = right - left, Dy = bottom - top;

  TCanvas& canvas = bitmap.Canvas();
  const TColor brush = ColorToRGB(canvas.Brush.Color), pen = ColorToRGB(canvas.Pen.Color);
  const int brushC[3] = {(brush >> 16) & 0xFF, (brush >> 8) & 0xFF, brush & 0xFF};
  const int penC[3] = {(pen >> 16) & 0xFF, (pen >> 8) & 0xFF, pen & 0xFF};

  // The two ellipses, outer (width added) and inner (width taken away).
  struct TEllipse {
    double Px, Qy, B;
  };
  const double ow = Dx + width, oh = Dy + width, iw = Dx - width, ih = Dy - width;
  const TEllipse outer{4 * oh * oh, 4 * ow * ow, ow * ow * oh * oh};
  const TEllipse inner{4 * ih * ih, 4 * iw * iw, iw * iw * ih * ih};
  auto coverage = [](const TEllipse& e, double ux, double uy) {
    const double F = e.Px * ux * ux + e.Qy * uy * uy;
    const double A = e.Px * std::fabs(ux) + e.Qy * std::fabs(uy);
    return EllipseCoverage(F, e.B, A);
  };

  const int bw = bitmap.Width();
  constexpr int bpp = TBitmap::kBytesPerPixel;
  // Region columns that land on the bitmap.
  const int64_t visFirst = -X0, visLast = bw - 1 - X0;
  auto visible = [&](int64_t x) { return x >= visFirst && x <= visLast; };
  auto blend = [&](uint8_t* row, int64_t x, double co, double ci) {
    uint8_t* p = row + (X0 + x) * bpp;
    for (int c = 0; c < 3; ++c) {
      const double v = (1 - co) * p[c] + ci * brushC[c] + (co - ci) * penC[c];
      p[c] = RoundToChannel(v);
    }
  };
  auto span = [&](uint8_t* row, int64_t from, int64_t to) {
    for (int64_t x = std::max(from, visFirst); x <= std::min(to, visLast); ++x) {
      uint8_t* p = row + (X0 + x) * bpp;
      p[0] = uint8_t(brushC[0]);
      p[1] = uint8_t(brushC[1]);
      p[2] = uint8_t(brushC[2]);
    }
  };

  // Rows are independent of each other: only those that matter are drawn.
  const TDrawContext& context = ThreadDrawContext();
  const int64_t rowFirst = std::max({int64_t{0}, -Y0, int64_t{context.RowsFrom} - Y0});
  const int64_t rowLast = std::min({H - 1, bitmap.Height() - 1 - Y0, int64_t{context.RowsTo} - 1 - Y0});
  const int64_t halfW = (W - 1) / 2;
  for (int64_t y = rowFirst; y <= rowLast; ++y) {
    uint8_t* row = bitmap.ScanLine(int(Y0 + y));
    const double uy = y - cy;
    // The inside span starts at the first x whose pixel is fully inside the
    // ring's inner edge (and so inside the outer one).
    auto solid = [&](int64_t x) {
      return coverage(inner, x - cx, uy) == 1 && coverage(outer, x - cx, uy) == 1;
    };
    int64_t x = 0;
    while (x <= halfW) {
      const int64_t mirror = W - x - 1;
      if (!visible(x) && !visible(mirror)) {
        // Columns that touch no pixel of the bitmap matter only where the
        // inside span would start. Skip to the next visible column, finding
        // that start by bisection: towards the centre, "solid" turns on once
        // and stays on.
        int64_t next = halfW + 1;
        for (int64_t c : {visFirst, W - 1 - visLast})
          if (c > x) next = std::min(next, c);
        const int64_t monotoneEnd = std::min<int64_t>(next, int64_t(std::floor(cx)) + 1);
        int64_t lo = x, hi = std::max(monotoneEnd, x);
        if (hi > lo && solid(hi - 1)) {
          while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (solid(mid))
              hi = mid;
            else
              lo = mid + 1;
          }
          span(row, lo, W - lo - 1);
          break;
        }
        bool started = false;
        for (int64_t z = std::max(monotoneEnd, x); z < next; ++z)
          if (solid(z)) {
            span(row, z, W - z - 1);
            started = true;
            break;
          }
        if (started) break;
        x = next;
        continue;
      }
      const double co = coverage(outer, x - cx, uy);
      const double coMirror = coverage(outer, mirror - cx, uy);
      if (co != 0 || coMirror != 0) {
        const double ci = coverage(inner, x - cx, uy);
        const double ciMirror = coverage(inner, mirror - cx, uy);
        if (ci == 1 && co == 1) {
          span(row, x, mirror);
          break;
        }
        if (co != 0 && visible(x)) blend(row, x, co, ci);
        if (coMirror != 0 && mirror != x && visible(mirror)) blend(row, mirror, coMirror, ciMirror);
      }
      ++x;
    }
  }
}

void DrawText(double angle, TCanvas& canvas, const std::string& text, double X, double Y,
              double size, const TRect& clip, int factor, int flags) {
  TBitmap& target = canvas.Bitmap();
  double s = size;
  if (s > 0 && s < 1) s = 1;
  if (s < 0 && s > -1) s = -1;
  if (!std::isfinite(s) || !std::isfinite(X) || !std::isfinite(Y) || !std::isfinite(angle)) return;
  while (factor > 2 && std::fabs(s) * factor > 40) --factor;
  factor = std::max(factor, 1);

  std::vector<std::string> lines;
  for (size_t from = 0;;) {
    const size_t cr = text.find('\r', from);
    lines.push_back(text.substr(from, cr == std::string::npos ? std::string::npos : cr - from));
    if (cr == std::string::npos) break;
    from = cr + 1;
  }
  // The block height counts the lines up to the first empty one.
  int n = int(lines.size()) + 1;
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].empty()) {
      n = int(i) + 1;
      break;
    }

  const double theta = angle * std::numbers::pi / 180;
  const double cosT = std::cos(theta), sinT = std::sin(theta);
  const int escapement = RoundToInt(std::fmod(angle, 360.0) * 10);
  auto fontHeight = [](double v) {
    return int(std::clamp(std::ceil(v), -kMaxFontHeight, kMaxFontHeight));
  };
  TCanvas* measure = &canvas;
  if (factor == 1) {
    canvas.Font.Escapement = escapement;
    canvas.Font.Orientation = escapement;
    canvas.Font.Height = fontHeight(s);
  } else {
    TCanvas& big = BigWorkBitmap().Canvas();
    big.Font.Name = canvas.Font.Name;
    big.Font.Style = canvas.Font.Style;
    big.Font.Charset = canvas.Font.Charset;
    big.Font.Color = canvas.Font.Color;
    big.Brush = canvas.Brush;
    big.Font.Height = fontHeight(factor * s);
    big.Font.Escapement = escapement;
    big.Font.Orientation = escapement;
    measure = &big;
  }

  const double h = (flags & taCenterVertically) || n - 1 > 1
                       ? double(measure->TextHeight("e")) / factor
                       : 0;
  double ox = flags & taCenterHorizontally ? -double(measure->TextWidth(text)) / factor / 2 : 0;
  double oy = flags & taCenterVertically ? (1 - n) * h / 2 : 0;
  if (theta != 0) {
    const double rx = ox * cosT + oy * sinT, ry = oy * cosT - ox * sinT;
    ox = rx;
    oy = ry;
  }
  double x = X + ox, y = Y + oy;

  auto drawLine = [&](const std::string& line, double lx, double ly) {
    if (TVectorSink* sink = target.Sink()) {
      sink->Text(line, lx, ly, *measure, factor);
      return;
    }
    if (factor == 1) {
      canvas.TextOut(RoundToInt(lx), RoundToInt(ly), line);
      return;
    }
    TCanvas& big = *measure;
    const TSize extent = big.TextExtent(line);
    const double w = extent.cx / factor + 1, ht = extent.cy / factor + 1;
    const double xs[4] = {lx, lx + w * cosT, lx + ht * sinT, lx + w * cosT + ht * sinT};
    const double ys[4] = {ly, ly - w * sinT, ly + ht * cosT, ly - w * sinT + ht * cosT};
    const double minX = *std::min_element(xs, xs + 4), maxX = *std::max_element(xs, xs + 4);
    const double minY = *std::min_element(ys, ys + 4), maxY = *std::max_element(ys, ys + 4);
    if (!(std::fabs(minX) < kCoordLimit && std::fabs(maxX) < kCoordLimit &&
          std::fabs(minY) < kCoordLimit && std::fabs(maxY) < kCoordLimit))
      return;
    const TBox cell{int64_t(std::floor(minX)), int64_t(std::floor(minY)), int64_t(std::ceil(maxX)),
                    int64_t(std::ceil(maxY))};
    if (cell.Right < clip.Left || cell.Bottom < clip.Top || cell.Left > clip.Right ||
        cell.Top > clip.Bottom)
      return;
    // Only the part of the cell on the target is worked on; the pixels of a
    // block depend on that block alone, so the result there is the same.
    const TBox box = ClipToBitmap(cell, target);
    if (box.Empty() || !ThreadDrawContext().ReachesRows(box.Top, box.Bottom) ||
        !EnsureWorkBitmaps(int(box.Width()), int(box.Height()), factor))
      return;
    const double bx = std::clamp((lx - box.Left) * factor, -2e9, 2e9);
    const double by = std::clamp((ly - box.Top) * factor, -2e9, 2e9);
    // A text with a clear brush changes only the blocks its pixels fall in:
    // those are worked out on the target, without the work bitmaps.
    if (const TTextMask* mask = big.Brush.Style == bsClear ? big.KeptText(line) : nullptr) {
      mask->PaintReduced(target, ToRect(box), RoundToInt(bx), RoundToInt(by), factor, ColorToRGB(big.Font.Color));
      return;
    }
    CopyToBig(target, box, factor);
    big.TextOut(RoundToInt(bx), RoundToInt(by), line);
    Downsample(int(box.Width()), int(box.Height()), factor);
    CopyFromSmall(target, box);
  };

  for (const std::string& line : lines) {
    double lx = x, ly = y;
    if (flags & taRightAligned) {
      const double w = double(measure->TextWidth(line)) / factor;
      lx -= w * cosT;
      ly += w * sinT;
    }
    drawLine(line, lx, ly);
    x += h * sinT;
    y += h * cosT;
  }
  canvas.Font.Escapement = 0;
  canvas.Font.Orientation = 0;
  canvas.Brush.Style = bsSolid;
  if (factor > 1) {
    BigWorkBitmap().Canvas().Font.Escapement = 0;
    BigWorkBitmap().Canvas().Font.Orientation = 0;
  }
}

}  // namespace varnik
