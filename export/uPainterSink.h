#pragma once
// The vector sink that paints on a QPainter: an SVG generator, a PDF writer
// or a printer. Lines become stroked paths, fills filled paths, texts real
// text in the drawing's font (so it stays text in the file), pictures
// embedded images.
//
// The painter's coordinates on entry are the page's pixel edges: pixel
// (x, y) covers the square from (x, y) to (x + 1, y + 1). The drawing's own
// coordinates put pixel centres on whole numbers, so its shapes are moved by
// half a pixel; texts and pictures are placed at pixel edges already.
//
// What a vector page cannot show as the rasteriser does: lines are as wide
// as their width says (the rasteriser's soft edge makes them look about half
// a pixel wider) and in their exact colour (the rasteriser blends a fully
// covered pixel to 255/256 of it), and a translucent range of a picture is
// laid over the page shape by shape, so where its shapes overlap each other
// they show through each other.

#include <QPainter>

#include "vector/uVectorSink.h"

namespace varnik {

class TPainterSink : public TVectorSink {
 public:
  // Paints on `painter` (which must outlive the sink) the page `page`.
  TPainterSink(QPainter& painter, const TRect& page);

  TRect Page() const override { return page_; }
  void Fill(TColor color) override;
  void Polyline(const std::vector<TDoublePoint>& points, double width, bool dashed,
                TColor color) override;
  void Polygon(const std::vector<TDoublePoint>& points, double width, const TCanvas& canvas) override;
  void Ellipse(double left, double top, double right, double bottom, double width,
               const TCanvas& canvas) override;
  void Text(const std::string& line, double x, double y, const TCanvas& canvas, int factor) override;
  void Picture(const TPicture& picture, const TRect& place, bool smooth) override;
  void BeginOpacity(double opacity) override;
  void EndOpacity() override;

 private:
  QPainter& painter_;
  TRect page_;
};

// The pen of a smooth line: `width` wide, round ends and joins; a dashed
// line repeats the rasteriser's pattern (a gap where the pattern is below
// one half, centred on the line's start) with flat ends on every dash.
QPen LinePen(TColor color, double width, bool dashed);

}  // namespace varnik
