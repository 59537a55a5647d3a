#pragma once
// A bitmap can stand for a page of a vector file or a printer: the drawing
// primitives, the pictures and the vector documents then hand the shapes they
// would rasterise to the bitmap's sink (TBitmap::Sink) instead, with the
// geometry they have worked out exactly as for pixels. The commands keep
// their state (pen, brush, font) on the bitmap's canvas as always, so the
// same drawing code serves both; the bitmap itself stays empty.
//
// Coordinates are screen pixels with pixel centres on whole numbers, as
// everywhere in drawing, except where a place is said to be in pixel edges:
// texts and pictures are put at the corner of a pixel, as the canvas does.
// Colours are TColor values as the canvas holds them.

#include <string>
#include <vector>

#include "platform/uBitmap.h"
#include "platform/uGraphicsTypes.h"
#include "vector/uEZLine.h"

namespace varnik {

class TCanvas;
struct TPicture;

class TVectorSink {
 public:
  virtual ~TVectorSink() = default;

  // The page in screen pixels: what the drawing code takes as the extent of
  // the bitmap (its clip box).
  virtual TRect Page() const = 0;
  // The whole page in one colour.
  virtual void Fill(TColor color) = 0;
  // An open line through the points, `width` pixels wide, with round ends
  // and joins; dashed in the smooth line rasteriser's dash pattern, which
  // starts at the first point.
  virtual void Polyline(const std::vector<TDoublePoint>& points, double width, bool dashed,
                        TColor color) = 0;
  // A polygon filled with the canvas brush (odd-even rule; none when the
  // brush is clear) and outlined with the canvas pen colour at `width`.
  virtual void Polygon(const std::vector<TDoublePoint>& points, double width,
                       const TCanvas& canvas) = 0;
  // The ellipse inscribed in the box whose corners are the pixel centres
  // (left, top) and (right, bottom): a ring of `width` in the canvas pen
  // colour, filled inside with the brush colour.
  virtual void Ellipse(double left, double top, double right, double bottom, double width,
                       const TCanvas& canvas) = 0;
  // One line of Windows-1251 text with its cell's top-left corner at the
  // pixel edge (x, y), written with `canvas`'s font, font colour,
  // escapement and brush (a solid brush fills the cell first). The font
  // height is the one of a drawing oversampled `factor` times.
  virtual void Text(const std::string& line, double x, double y, const TCanvas& canvas,
                    int factor) = 0;
  // A raster picture stretched over `place` (in pixel edges); `smooth`
  // when the picture is resampled rather than its pixels repeated.
  virtual void Picture(const TPicture& picture, const TRect& place, bool smooth) = 0;
  // What is drawn between the two calls is laid over what is below at
  // `opacity` (0..1).
  virtual void BeginOpacity(double opacity) = 0;
  virtual void EndOpacity() = 0;
};

// The area drawing code refreshes when it is given a whole bitmap: the
// bitmap, or the page of a bitmap that stands for one.
inline TRect ClipBoxOf(const TBitmap& bitmap) {
  if (const TVectorSink* sink = bitmap.Sink()) return sink->Page();
  return {0, 0, bitmap.Width(), bitmap.Height()};
}

}  // namespace varnik
