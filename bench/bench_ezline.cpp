// The smooth line rasteriser on a full-HD bitmap: 1000 random segments of one
// width per run. The figure of merit is the band area swept per second: for a
// segment of length L and effective width w the band is (L + B) x B pixels
// with B = w + 2, the pixels the rasteriser has to consider.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/uBitmap.h"
#include "vector/uEZLine.h"

namespace {

using varnik::TBitmap;
using varnik::TEZLine;

struct TSegment {
  double X1, Y1, X2, Y2;
};

std::vector<TSegment> RandomSegments(int count, int width, int height) {
  std::mt19937 random(1920);
  std::uniform_real_distribution<double> xs(0, width - 1), ys(0, height - 1);
  std::vector<TSegment> segments(static_cast<size_t>(count));
  for (TSegment& s : segments) s = {xs(random), ys(random), xs(random), ys(random)};
  return segments;
}

void BM_EZLineSegments(benchmark::State& state) {
  const double width = double(state.range(0));
  TBitmap bitmap(1920, 1080);
  const std::vector<TSegment> segments = RandomSegments(1000, bitmap.Width(), bitmap.Height());
  TEZLine line;
  line.Width = width;
  line.Color = 0x204080;
  const double band = TEZLine::EffectiveWidth(width) + 2;
  double bandArea = 0;
  for (const TSegment& s : segments)
    bandArea += (std::hypot(s.X2 - s.X1, s.Y2 - s.Y1) + band) * band;

  for (auto _ : state) {
    for (const TSegment& s : segments) line.Line(&bitmap, s.X1, s.Y1, s.X2, s.Y2);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  state.counters["band_Mpixel/s"] = benchmark::Counter(
      bandArea / 1e6 * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["segments/s"] =
      benchmark::Counter(double(segments.size()) * double(state.iterations()),
                         benchmark::Counter::kIsRate);
}

BENCHMARK(BM_EZLineSegments)->Arg(1)->Arg(3)->Arg(9)->Unit(benchmark::kMillisecond);

}  // namespace
