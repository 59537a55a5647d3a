// Lanczos enlargement of a 1000 x 1000 picture to 2500 x 2500: what a zoomed
// raster background costs at smoothing 2 and above. And the background of a
// 1920 x 1080 view zoomed 2.5 times: drawn for a new view (resampled on all
// cores) and drawn again under the same view (the map changed, the view did
// not: the kept part is copied).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "image/uBmpFile.h"
#include "image/uImage.h"
#include "image/uStretch.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"

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
BENCHMARK(BM_LanczosUpscale1000To2500)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 1000 x 1000 picture of noise as a background image.
std::unique_ptr<varnik::TImage> NoisePicture() {
  auto image = std::make_unique<varnik::TImage>();
  image->Bitmap = std::make_unique<varnik::TBmpFile>();
  varnik::TPicture& picture = image->Bitmap->Picture;
  picture.Allocate(1000, 1000);
  std::mt19937 random(2);
  for (uint32_t& pixel : picture.Pixels) pixel = 0xFF000000u | (random() & 0xFFFFFFu);
  image->Kind = varnik::fkBitmap;
  image->Width = picture.Width;
  image->Height = picture.Height;
  return image;
}

// Arg 1: every frame shows a new view (the picture moved by 10 pixels);
// arg 0: every frame the same view.
void BM_ZoomedBackground1920x1080(benchmark::State& state) {
  const bool moving = state.range(0) != 0;
  auto image = NoisePicture();
  varnik::TBitmap target(1920, 1080);
  varnik::TScale view;
  view.Geographic = false;
  view.ScaleX = view.ScaleY = 2.5;
  view.Changed();
  const varnik::TRect clip{0, 0, target.Width(), target.Height()};
  long double x = -100;
  for (auto _ : state) {
    if (moving) x = x == -100 ? -110 : -100;
    image->Draw(target, clip, view, 4, x, -100);
    benchmark::DoNotOptimize(target.ScanLine(0));
  }
}
BENCHMARK(BM_ZoomedBackground1920x1080)->ArgName("new_view")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
