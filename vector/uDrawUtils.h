#pragma once
// The drawing primitives the vector commands rest on: smooth lines and
// polylines with optional dash and partial range, four-point subdivision
// curves, filled polygons, circles and rings, rotated multi-line text.
//
// Lines go through the shared smooth line rasteriser; fills and text are drawn
// on an oversampled work bitmap and box-filtered down. Every primitive takes an
// oversampling factor (1 to 4 in this system): factor 1 turns line smoothing
// off (dashed lines stay smooth) and makes circles and text use the plain
// canvas.
//
// Colours come from the bitmap's canvas: the pen colour for lines and
// outlines, the brush colour and style for fills, the font for text.
// Coordinates are screen pixels; (0, 0) is the centre of the top-left pixel.
// Primitives change the canvas pen width and style, the font escapement and
// the brush style as documented; callers that need them set them again.
//
// A bitmap that stands for a page of a vector file (vector/uVectorSink.h)
// gets the shapes themselves instead, with the same geometry: the lines after
// their partial range is cut, the polygons, the circles' boxes and the texts'
// lines where the alignment puts them.
//
// Every thread draws with a context of its own (the rasteriser and the work
// bitmaps), so different threads may draw into different bitmaps at the same
// time; calls of one thread never overlap. A context may name the rows of the
// target that matter (a band of a picture drawn on several threads): the
// primitives then work only on what reaches those rows, and every pixel of
// them comes out as when the whole picture is drawn.

#include <atomic>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/uUtils.h"
#include "vector/uEZLine.h"

namespace varnik {

class TBitmap;
class TCanvas;

// The working state of the primitives: the smooth line rasteriser and the
// two oversampling work bitmaps. Nothing carries from one call to the next but
// the work bitmaps' sizes: each primitive sets the rasteriser switches it
// needs before use and sets its Style back to solid afterwards.
class TDrawContext {
 public:
  TDrawContext();
  ~TDrawContext();
  TDrawContext(const TDrawContext&) = delete;
  TDrawContext& operator=(const TDrawContext&) = delete;

  TEZLine Line;
  // Created 1 x 1 and never shrunk.
  std::unique_ptr<TBitmap> SmallWork;
  std::unique_ptr<TBitmap> BigWork;
  // The rows of the target that must come out right, [RowsFrom, RowsTo):
  // pixels of other rows may be left anything. Every row by default.
  int RowsFrom = INT_MIN;
  int RowsTo = INT_MAX;
  // When set and true, the picture being drawn is no longer wanted: drawing
  // stops at the next command. Not owned.
  const std::atomic<bool>* Stop = nullptr;
  bool Stopped() const { return Stop != nullptr && Stop->load(std::memory_order_relaxed); }
  // Work layers of the opacity blends in progress on this thread, two per
  // blend, the blends of nested pictures deeper in the list.
  std::vector<std::unique_ptr<TBitmap>> OpacityLayers;
  size_t OpacityDepth = 0;

  // Whether a shape spanning rows [top, bottom) reaches the rows that matter.
  bool ReachesRows(int64_t top, int64_t bottom) const { return bottom > RowsFrom && top < RowsTo; }
  // Sets the rows that matter, here and in the rasteriser.
  void SetRows(int from, int to);
};

// The calling thread's context, created on its first drawing call.
TDrawContext& ThreadDrawContext();

// The parts of the calling thread's context.
inline TEZLine& SharedEZLine() { return ThreadDrawContext().Line; }
inline TBitmap& SmallWorkBitmap() { return *ThreadDrawContext().SmallWork; }
inline TBitmap& BigWorkBitmap() { return *ThreadDrawContext().BigWork; }

// Grows the small work bitmap to at least w x h and the big one to at least
// (w * f) x (h * f), each dimension separately; never shrinks them. Returns
// false (and grows nothing) when the big size would pass the bitmap limits.
bool EnsureWorkBitmaps(int w, int h, int f);

// Box filter: every pixel (x, y), 0 <= x < w, 0 <= y < h, of the small work
// bitmap gets, per channel, the sum over the f x f block of the big bitmap at
// (x * f, y * f) divided by f * f (truncating). Both bitmaps must be large
// enough (EnsureWorkBitmaps).
void Downsample(int w, int h, int f);

// One segment in the canvas pen colour. Width 0 draws nothing. Smooth when
// dashed or factor > 1; a dash starts at pattern position 0.
void DrawLine(TBitmap& bitmap, uint8_t dashed, int factor, double X1, double Y1, double X2,
              double Y2, double width);

// An open polyline, or the part of it from startPercent to endPercent of its
// length (0 and 100: all of it). Width 0 draws nothing. The canvas pen style
// becomes solid. Percentages are clamped into 0..100; a start at or beyond the
// end draws nothing.
void DrawPolyline(TBitmap& bitmap, const std::vector<TDoublePoint>& points, double width,
                  uint8_t dashed, int factor, int startPercent, int endPercent);

// The four-point interpolating subdivision: given point k lands at index k * d
// of a list of d * (n - 1) + 1 points; the curve passes through every given
// point. With fewer than 3 points or d < 2 the points come back unchanged. The
// result is bounded (kMaxCurvePoints); d is lowered to fit when needed.
std::vector<TDoublePoint> SubdivideFourPoint(const std::vector<TDoublePoint>& points, int d);
// The most points a refined curve may have.
constexpr int kMaxCurvePoints = 4'000'000;

// A smooth curve through the points (Xs[i], Ys[i]) with `segmentsPerSpan`
// (d) segments per span, drawn with DrawPolyline. Width 0 or one point: no
// drawing. Two points: a straight DrawLine (percentages not applied).
void DrawSpline(TBitmap& bitmap, const std::vector<double>& Xs, const std::vector<double>& Ys,
                int segmentsPerSpan, int factor, uint8_t dashed, double width, int startPercent,
                int endPercent);

// A polygon filled with the canvas brush and outlined with the pen at
// `width`. Wide outlines (> 0.7) and boxes over 1000 oversampled pixels take
// the plain path (canvas fill with a one-pixel edge in the brush colour, then
// a closed DrawPolyline); others are filled oversampled with the outline of
// pen width round(factor * width) and filtered down. With a clear brush the
// plain path draws no fill and no edge, only the outline.
void DrawPolygon(TBitmap& bitmap, const std::vector<TDoublePoint>& points, int factor,
                 double width);

// A circle or ellipse in the box, pen outline of `width`, filled with the
// brush. Factor 1: the canvas ellipse (right and bottom exclusive). Factor > 1:
// DrawSmoothEllipse(left, top, right - 1, bottom - 1, width).
void DrawCircle(TBitmap& bitmap, int factor, double left, double top, double right,
                double bottom, double width);

// An anti-aliased ring of `width` along the ellipse inscribed in the box
// (left, top, right, bottom; all inclusive pixel centres), its outer edge
// blended over the background in the canvas pen colour and its inside filled
// with the brush colour.
void DrawSmoothEllipse(TBitmap& bitmap, double left, double top, double right, double bottom,
                       double width);

// Alignment flags of DrawText.
enum TTextAlign : int {
  taCenterVertically = 1,  // the block of lines centred vertically on Y
  taRightAligned = 2,      // every line ends at the anchor
  taCenterHorizontally = 4,
};

// Rotated multi-line text (lines split at CR, Windows-1251 bytes) with the
// canvas font, its colour and brush. `angle` in degrees anticlockwise; `size`
// a font height (negative: character height in pixels). (X, Y) is the
// top-left corner of the first line's cell before alignment. Lines whose box
// lies wholly outside `clip` are not drawn (factor > 1). The factor is lowered
// (not below 2) while |size| * factor > 40. At the end the canvas font
// escapement is 0 and its brush style solid.
void DrawText(double angle, TCanvas& canvas, const std::string& text, double X, double Y,
              double size, const TRect& clip, int factor, int flags);

}  // namespace varnik
