#include "editor/uEditorPainter.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "city/uCity.h"
#include "editor/uMapEditor.h"
#include "journeys/drawing/uJourneyDrawing.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uParallel.h"
#include "vector/uDrawBands.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {

constexpr TColor kBlack = 0;
constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kRed = 255;
constexpr TColor kYellow = 65535;

TPoint ToScreen(const TScale& view, long double x, long double y) {
  TScalePoint p = view.ToScreen(x, y);
  return {RoundToInt(p.X), RoundToInt(p.Y)};
}

// The closed outline of a map rectangle, its corners taken through the view
// (a turned view turns the outline with the map). An outline wholly beside
// the bitmap is not handed to the canvas at all: a big map has thousands
// of them off the screen.
void Outline(TCanvas& canvas, const TScale& view, const TRect& r) {
  const std::vector<TPoint> corners = {ToScreen(view, r.Left, r.Top), ToScreen(view, r.Right, r.Top),
                                       ToScreen(view, r.Right, r.Bottom), ToScreen(view, r.Left, r.Bottom),
                                       ToScreen(view, r.Left, r.Top)};
  auto beside = [&](auto side) { return std::all_of(corners.begin(), corners.end(), side); };
  const int width = canvas.Bitmap().Width(), height = canvas.Bitmap().Height();
  if (beside([](const TPoint& p) { return p.X < -1; }) || beside([](const TPoint& p) { return p.Y < -1; }) ||
      beside([&](const TPoint& p) { return p.X > width; }) || beside([&](const TPoint& p) { return p.Y > height; }))
    return;
  canvas.Polyline(corners);
}

// The bitmap's area in map units (the box around its corners mapped back),
// so that the aids of a big map that lie far off it are passed over without
// mapping each of them to the screen.
class TMapArea {
 public:
  TMapArea(const TScale& view, const TBitmap& bitmap)
      : area_(ScreenAreaInDrawing(view, bitmap.Width(), bitmap.Height())) {}
  // False only when the box (x0, y0)-(x1, y1), widened by `pixels` screen
  // pixels, lies wholly beside the bitmap.
  bool Near(long double x0, long double y0, long double x1, long double y1, long double pixels) const {
    if (!area_.Usable) return true;
    const long double m = pixels * area_.UnitsPerPixel;
    return !(std::max(x0, x1) + m < area_.Left || std::min(x0, x1) - m > area_.Right ||
             std::max(y0, y1) + m < area_.Top || std::min(y0, y1) - m > area_.Bottom);
  }

 private:
  TDrawingArea area_;
};

void SetPen(TCanvas& canvas, TColor color, TPenStyle style) {
  canvas.Pen.Color = color;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = style;
  canvas.Pen.Mode = kPenModeCopy;
}

// The routes once more as thin white lines edged in black, so that the
// course of a line shows over any background.
void PaintWhiteLines(TMetroMap& map, TBitmap& bitmap, int level, const TScale& view) {
  TVectorImage lines;
  lines.AddSize(1, 1);
  map.BuildLineDrawing(lines);
  TScale work;
  work.Assign(view);
  const TRect clip{0, 0, bitmap.Width(), bitmap.Height()};
  lines.DrawLinesOnly(bitmap, clip, 3, kBlack, work, level);
  lines.DrawLinesOnly(bitmap, clip, 1, kWhite, work, level);
}

void PaintRectangles(TMapEditor& editor, TMetroMap& map, TCanvas& canvas) {
  canvas.Brush.Style = bsClear;
  const TMapArea area(editor.View, canvas.Bitmap());
  auto paint = [&](const TRect& r) {
    if (r.Right <= 0 || !area.Near(r.Left, r.Top, r.Right, r.Bottom, 3)) return;
    SetPen(canvas, &r == editor.SelectedRect ? kRed : kBlack, psDot);
    Outline(canvas, editor.View, r);
  };
  if (editor.Options.LabelBounds) {
    for (const auto& line : map.Lines)
      for (const auto& station : line->Stations) paint(station->LabelRect);
  }
  if (editor.Options.Legends) {
    for (const auto& line : map.Lines) paint(line->LegendRect);
  }
}

void PaintMarkers(TMapEditor& editor, TCanvas& canvas) {
  if (editor.PointSize == 0) return;
  const int r = editor.MarkerRadius();
  SetPen(canvas, kBlack, psSolid);
  canvas.Brush.Style = bsSolid;
  // A point far away, or a marker larger than the bitmap, has corners
  // beyond what an int holds; they are brought to just outside the bitmap,
  // which leaves what shows of the marker as it is.
  auto onBitmap = [](int64_t v, int size) { return static_cast<int>(std::clamp<int64_t>(v, -2, size + 2)); };
  const int width = canvas.Bitmap().Width(), height = canvas.Bitmap().Height();
  const TMapArea area(editor.View, canvas.Bitmap());
  for (const TCoordinate* point : editor.EditablePoints()) {
    if (!area.Near(point->X, point->Y, point->X, point->Y, r + 3)) continue;
    const TPoint p = ToScreen(editor.View, point->X, point->Y);
    // A marker wholly beside the bitmap paints nothing.
    if (int64_t{p.X} + r + 1 < 0 || int64_t{p.Y} + r + 1 < 0 || int64_t{p.X} - r > width ||
        int64_t{p.Y} - r > height)
      continue;
    canvas.Brush.Color = editor.IsSelected(point) ? kRed : kYellow;
    canvas.Rectangle(onBitmap(int64_t{p.X} - r, width), onBitmap(int64_t{p.Y} - r, height),
                     onBitmap(int64_t{p.X} + r + 1, width), onBitmap(int64_t{p.Y} + r + 1, height));
  }
}

// The rectangle of a box selection, dotted like the label outlines.
void PaintSelectionBox(const TMapEditor& editor, TCanvas& canvas) {
  const std::optional<TRect> box = editor.SelectionBox();
  if (!box) return;
  SetPen(canvas, kBlack, psDot);
  canvas.Polyline({{box->Left, box->Top},
                   {box->Right, box->Top},
                   {box->Right, box->Bottom},
                   {box->Left, box->Bottom},
                   {box->Left, box->Top}});
}

}  // namespace

void PaintEditor(TMapEditor& editor, TBitmap& bitmap, int level, TColor background, const TJourney* journey) {
  bitmap.Fill(background);
  TMetroMap* map = editor.Map();
  if (map == nullptr || bitmap.Empty()) return;
  // A settled picture is drawn on all cores, in bands; the labels are
  // shown or hidden once, before the bands read the map.
  editor.City.CurrentMap->UpdateLabelsVisibility();
  DrawInBands(bitmap, level >= 2 ? ParallelParts() : 1, [&](TBitmap& band) {
    editor.City.CurrentMap->Draw(band, level, editor.View);
    if (editor.Options.WhiteLines) PaintWhiteLines(*map, band, level, editor.View);
    if (journey != nullptr) DrawJourney(band, level, editor.View, *map, *journey);
  });
  TCanvas& canvas = bitmap.Canvas();
  PaintRectangles(editor, *map, canvas);
  PaintMarkers(editor, canvas);
  SetPen(canvas, kBlack, psSolid);
  Outline(canvas, editor.View, TRect{0, 0, map->Width(), map->Height()});
  PaintSelectionBox(editor, canvas);
}

}  // namespace varnik
