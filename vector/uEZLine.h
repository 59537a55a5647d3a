#pragma once
// The smooth line rasteriser: anti-aliased segments and polylines of any width,
// drawn straight into the rows of a bitmap. For every pixel near a segment the
// distance from the pixel centre to the segment becomes a coverage with a
// sine-squared edge, times a pen-style pattern and an opacity, and the pen
// colour is blended in. Free ends are round; at the inner vertices of a
// polyline the two segments split the pixels along the bisector of the corner,
// so nothing is blended twice. With Smooth off it falls back to the plain
// canvas pen.
//
// The pixel (j, i) has its centre at exactly (j, i). No pixel outside the
// bitmap is ever touched, whatever the coordinates or the bitmap size.
// Not re-entrant: the working values of a segment live in the object.

#include <climits>
#include <cstdint>
#include <vector>

#include "core/uUtils.h"

namespace varnik {

class TBitmap;

// A point in bitmap pixels.
struct TDoublePoint {
  double X = 0;
  double Y = 0;
};

class TEZLine {
 public:
  TEZLine() = default;
  virtual ~TEZLine() = default;
  TEZLine(const TEZLine&) = delete;
  TEZLine& operator=(const TEZLine&) = delete;

  // A negative colour names a system colour (see ColorToRGB).
  TColor Color = 255;
  // In pixels. Below 0.01 nothing is drawn; below 1 the line gets lighter
  // rather than thinner (effective width 2 * Width - 1).
  double Width = 2.0;
  // False: draw with the plain canvas pen (width floor(Width)).
  bool Smooth = true;
  // Pen style, TPenStyle order; only the low 7 bits count.
  uint8_t Style = 0;
  // Raster operation of the plain path; 12 (copy) is the only one used.
  uint8_t Mode = 12;
  // Multiplies the coverage.
  double Opacity = 1.0;
  // Pattern position (length already drawn) where the next polyline starts.
  double Position = 0.0;
  // False: every segment of a polyline is drawn on its own with round ends.
  bool ClipJoins = true;
  // The rows of the bitmap that must come out right, [RowsFrom, RowsTo);
  // other rows may be left unblended. Every row by default.
  int RowsFrom = INT_MIN;
  int RowsTo = INT_MAX;

  // One segment with both ends free. Returns Position + the segment length;
  // Position itself is not changed. No bitmap or an empty one: returns
  // Position and draws nothing.
  double Line(TBitmap* bitmap, double X1, double Y1, double X2, double Y2);

  // An open polyline. Two points: Line. More: every segment in order, the
  // pattern position running on across the vertices and stored in Position
  // after every segment; returns the final position. Fewer than two points,
  // no bitmap or an empty one: nothing is drawn and Position is returned.
  double Polyline(const std::vector<TDoublePoint>& points, TBitmap* bitmap);

  // The pattern value (0..1) of pen style `style` at pattern position `p`,
  // for a line of the given Width.
  static double PatternValue(uint8_t style, double p, double width);
  // Coverage (0..255) of a pixel whose centre is at distance `d` from the
  // centre line of a line of effective width `w`.
  static int Coverage(double d, double w);
  // The effective width of a line of width `width` (see Width).
  static double EffectiveWidth(double width);

 private:
  // A line through a polyline vertex that splits the pixels near it between
  // the two segments meeting there: a pixel c belongs to the segment before
  // the vertex when (c - Point) . Normal < 0, else to the one after it.
  struct TCornerLine {
    double X = 0;
    double Y = 0;
    double NX = 0;
    double NY = 0;
  };

  // Draws P1-P2 starting at pattern position `offset`; returns offset + the
  // segment length. `start`/`end` are the corner lines at the segment's own
  // start and end, or null for a free (round) end.
  double DrawSegment(TBitmap& bitmap, double X1, double Y1, double X2, double Y2, double offset,
                     const TCornerLine* start, const TCornerLine* end);
  double PlainLine(TBitmap& bitmap, double X1, double Y1, double X2, double Y2);
  double PlainPolyline(const std::vector<TDoublePoint>& points, TBitmap& bitmap);

  // Working values of the segment being drawn.
  double length_ = 0;
  double length2_ = 0;
  double dyNeg_ = 0;  // Y1 - Y2
  double dy_ = 0;     // Y2 - Y1
  double dx_ = 0;     // X2 - X1
  double along_ = 0;
  double across_ = 0;
  double t_ = 0;
};

}  // namespace varnik
