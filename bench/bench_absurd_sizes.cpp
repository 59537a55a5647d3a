// Drawing with absurd sizes from files: coordinates of a billion pixels,
// ellipses far larger than the bitmap, fonts a billion pixels high. Each
// must cost about what its visible part costs (the tests check the pixels;
// these measure the time, which was once many seconds).

#include <benchmark/benchmark.h>

#include <vector>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"

namespace {

using varnik::TBitmap;

void BM_PolygonWithFarCorners(benchmark::State& state) {
  TBitmap bitmap(40, 40);
  bitmap.Canvas().Brush.Color = 0x0000FF;
  const std::vector<varnik::TDoublePoint> far = {{-1e9, -1e9}, {1e9, -1e9}, {0, 1e9}};
  const std::vector<varnik::TDoublePoint> farther = {{-1e300, 0}, {1e300, 0}, {0, 1e300}};
  for (auto _ : state) {
    varnik::DrawPolygon(bitmap, far, 4, 0.5);
    varnik::DrawPolygon(bitmap, farther, 4, 0.5);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}
BENCHMARK(BM_PolygonWithFarCorners)->Unit(benchmark::kMillisecond);

void BM_HugeSmoothEllipse(benchmark::State& state) {
  TBitmap bitmap(50, 40);
  bitmap.Canvas().Brush.Color = 0x00C0FF;
  for (auto _ : state) {
    varnik::DrawSmoothEllipse(bitmap, -1e9, -1e9, 1e9, 1e9, 3);
    varnik::DrawSmoothEllipse(bitmap, 20, -1e6, 2e6, 1e6, 3);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}
BENCHMARK(BM_HugeSmoothEllipse)->Unit(benchmark::kMillisecond);

void BM_TextOfAbsurdSizes(benchmark::State& state) {
  TBitmap bitmap(160, 120);
  varnik::TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Name = "Arial";
  canvas.Brush.Style = varnik::bsClear;
  const varnik::TRect clip{0, 0, 160, 120};
  for (auto _ : state) {
    varnik::DrawText(0, canvas, "Huge", 0, 0, 1e9, clip, 2, 5);
    varnik::DrawText(30, canvas, "Huge", 1e12, -1e12, -1e9, clip, 4, 0);
    varnik::DrawText(0, canvas, "Tiny", 10, 10, 0.2, clip, 4, 0);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}
BENCHMARK(BM_TextOfAbsurdSizes)->Unit(benchmark::kMillisecond);

void BM_CanvasFontABillionPixelsHigh(benchmark::State& state) {
  TBitmap bitmap(40, 30);
  varnik::TCanvas& canvas = bitmap.Canvas();
  canvas.Font.Height = -1000000000;
  canvas.Brush.Style = varnik::bsClear;
  for (auto _ : state) {
    canvas.TextOut(0, 0, "W");
    benchmark::DoNotOptimize(canvas.TextWidth("W"));
  }
}
BENCHMARK(BM_CanvasFontABillionPixelsHigh)->Unit(benchmark::kMillisecond);

}  // namespace
