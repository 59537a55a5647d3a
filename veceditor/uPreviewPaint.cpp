// The composition of one paint of the preview:
//   white, then (unless the image is empty or too big) a grid of light lines
//   every 10 pixels of the screen (darker every 50 and darker again every
//   100), the drawing, its frame in black, the four limit lines in red and a
//   marker on every point (red when selected, yellow otherwise).

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "veceditor/uPreview.h"

namespace varnik {

namespace {

// Points further out than this make the preview draw nothing.
constexpr long double kTooBigCoordinate = 3000;

constexpr TColor kBlack = 0x000000;
constexpr TColor kRed = 0x0000FF;
constexpr TColor kYellow = 0x00FFFF;

// The grey of the grid line at a screen coordinate; 255 where there is none.
// Lines every 100 pixels are drawn last and so win over those every 50,
// which win over those every 10.
uint8_t GridGrey(int32_t coordinate) {
  if (coordinate % 100 == 0) return 210;
  if (coordinate % 50 == 0) return 220;
  if (coordinate % 10 == 0) return 230;
  return 255;
}

// Crossing lines: the later (darker) one is on top.
void DrawGrid(TBitmap& bitmap) {
  const int32_t width = bitmap.Width();
  const int32_t height = bitmap.Height();
  std::vector<uint8_t> columns(static_cast<size_t>(width));
  for (int32_t x = 0; x < width; ++x) columns[static_cast<size_t>(x)] = GridGrey(x);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t rowGrey = GridGrey(y);
    uint8_t* pixel = bitmap.ScanLine(y);
    for (int32_t x = 0; x < width; ++x, pixel += TBitmap::kBytesPerPixel) {
      const uint8_t grey = std::min(rowGrey, columns[static_cast<size_t>(x)]);
      if (grey == 255) continue;
      pixel[0] = pixel[1] = pixel[2] = grey;
    }
  }
}

TPoint ScreenPixel(const TScale& view, long double x, long double y) {
  const TScalePoint screen = view.ToScreen(x, y);
  return {RoundToInt(screen.X), RoundToInt(screen.Y)};
}

void DrawFrame(TCanvas& canvas, const TScale& view, int32_t width, int32_t height) {
  canvas.Pen.Color = kBlack;
  canvas.Pen.Width = 1;
  canvas.Pen.Style = psSolid;
  canvas.Polyline({ScreenPixel(view, 0, 0), ScreenPixel(view, width, 0), ScreenPixel(view, width, height),
                   ScreenPixel(view, 0, height), ScreenPixel(view, 0, 0)});
}

void DrawLimits(TCanvas& canvas, const TScale& view, const TPointLimits& limits) {
  const int32_t width = canvas.Bitmap().Width();
  const int32_t height = canvas.Bitmap().Height();
  canvas.Pen.Color = kRed;
  for (const int32_t limit : {limits.MinX, limits.MaxX}) {
    const int32_t x = ScreenPixel(view, limit, 0).X;
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, height);
  }
  for (const int32_t limit : {limits.MinY, limits.MaxY}) {
    const int32_t y = ScreenPixel(view, 0, limit).Y;
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
  }
}

}  // namespace

bool TPreview::Compose(TBitmap& bitmap, int factor, const TPointLimits& limits) {
  bitmap.Fill(0xFFFFFF);
  TooBig = false;
  const int32_t width = document_.ImageWidth();
  const int32_t height = document_.ImageHeight();
  if (bitmap.Empty() || (width == 0 && height == 0)) return false;
  document_.ForEachPoint(View, [&](TFPoint& point, TScale&) {
    if (point.X > kTooBigCoordinate || point.Y > kTooBigCoordinate) TooBig = true;
  });
  if (TooBig) return false;

  DrawGrid(bitmap);
  document_.Draw(bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()}, factor, View, false);
  TCanvas& canvas = bitmap.Canvas();
  DrawFrame(canvas, View, width, height);
  DrawLimits(canvas, View, limits);

  if (MarkerSize != 0) {
    const int32_t radius = MarkerRadius();
    canvas.Pen.Color = kBlack;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = psSolid;
    canvas.Brush.Style = bsSolid;
    document_.ForEachPoint(View, [&](TFPoint& point, TScale& scale) {
      const TPoint center = ScreenPixel(scale, point.X, point.Y);
      canvas.Brush.Color = IsSelected(&point) ? kRed : kYellow;
      canvas.Ellipse(center.X - radius, center.Y - radius, center.X + radius + 1, center.Y + radius + 1);
    });
  }
  return true;
}

}  // namespace varnik
