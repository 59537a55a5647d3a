#pragma once
// Writing a drawing (a map with its layers, a vector picture) as a vector
// file, SVG or PDF, or onto any painter such as a printer's. The drawing is
// made by the same code that draws it into a bitmap, on a bitmap that stands
// for the page (vector/uVectorSink.h), so the shapes are where the PNG has
// them.
//
// A page is the drawing's size, one pixel being 1/96 inch (a PDF page to the
// nearest point, the drawing fitted to it), or a paper size
// (A4, A3, ...) that the drawing is fitted into, keeping its proportions,
// within margins of 10 mm and turned to landscape when the drawing is wider
// than high.

#include <QRectF>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QPainter;

namespace varnik {

class TBitmap;

enum class TOutputFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (".svg", ".pdf", letter
// case ignored); PNG for any other.
TOutputFormat OutputFormatOf(std::string_view fileName);

// True for a paper size the drawing can be fitted to (letter case ignored).
bool IsPaperName(std::string_view name);
// The paper names, for help texts and messages: "A0, A1, ...".
std::string PaperNames();

// Draws the drawing onto `target`: a bitmap of the drawing's size, or one
// that stands for a page of that size. The drawing code takes the clip box
// from ClipBoxOf(target) and uses a view set up for a bitmap of that size.
using TPageDraw = std::function<void(TBitmap& target)>;

struct TVectorPage {
  // The drawing's size in pixels: the size of the bitmap it would be drawn
  // into.
  int32_t Width = 1;
  int32_t Height = 1;
  // Empty: the page is the drawing's size. Otherwise a paper name.
  std::string Paper;
  // The document's title (UTF-8), shown by viewers.
  std::string Title;
};

// The part of `area` that a drawing of width x height fills when fitted into
// it keeping its proportions, centred.
QRectF FitInto(const QRectF& area, int32_t width, int32_t height);

// Paints the drawing on `painter`, stretched over `target` (in the
// painter's coordinates) and cut to it, on white.
void PaintDrawing(QPainter& painter, const QRectF& target, int32_t width, int32_t height,
                  const TPageDraw& draw);

// The bytes of the drawing as an SVG or PDF document; empty when Qt fails.
std::string DrawingToSvg(const TVectorPage& page, const TPageDraw& draw);
std::string DrawingToPdf(const TVectorPage& page, const TPageDraw& draw);

// Writes the drawing to `path` (Windows-1251) in `format`, replacing the
// file atomically. A PNG is drawn into a bitmap of the drawing's size on
// white (the paper is not used). False when the drawing cannot be made or
// the file cannot be written.
bool WriteDrawing(const std::string& path, TOutputFormat format, const TVectorPage& page,
                  const TPageDraw& draw);

}  // namespace varnik
