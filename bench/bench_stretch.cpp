// Lanczos enlargement of a 1000 x 1000 picture to 2500 x 2500: what a zoomed
// raster background costs at smoothing 2 and above.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "image/uStretch.h"

namespace {

void BM_LanczosUpscale1000To2500(benchmark::State& state) {
  constexpr int32_t kSource = 1000, kDestination = 2500;
  std::vector<uint8_t> source(size_t{kSource} * kSource * 4), destination(size_t{kDestination} * kDestination * 4);
  std::mt19937 random(1);
  for (auto& b : source) b = static_cast<uint8_t>(random());
  const varnik::TPixelRows from{source.data(), kSource, kSource, kSource * 4};
  const varnik::TPixelRows to{destination.data(), kDestination, kDestination, kDestination * 4};
  for (auto _ : state) {
    varnik::ResamplePixels(from, to);
    benchmark::DoNotOptimize(destination.data());
  }
  state.counters["dest Mpixel/s"] = benchmark::Counter(double(kDestination) * kDestination / 1e6,
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LanczosUpscale1000To2500)->Unit(benchmark::kMillisecond);

}  // namespace
