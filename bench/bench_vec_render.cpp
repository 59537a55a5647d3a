// A full render of the demo city's 1200 x 800 backdrop (every command kind,
// two nested pictures) at smoothing 1 and 4, as varnik-vec render draws it.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "core/uUtils.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uFiles.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace {

// The demo city lies beside this source's folder; nested pictures are found
// relative to it.
const std::filesystem::path kDemoCity =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "Zarechensk";

void BM_RenderDemoBackdrop(benchmark::State& state) {
  const int smooth = static_cast<int>(state.range(0));
  varnik::EnsureGuiApplication();
  if (!varnik::SetCurrentDir(kDemoCity.string())) {
    state.SkipWithError("demo city not found");
    return;
  }
  varnik::TVectorImage document;
  if (!document.LoadFromFile("Zarechensk.vec")) {
    state.SkipWithError("Zarechensk.vec not loaded");
    return;
  }
  varnik::TBitmap bitmap(document.ImageWidth(), document.ImageHeight());
  varnik::TScale view;
  view.Geographic = false;
  view.Changed();
  const varnik::TRect clip{0, 0, bitmap.Width(), bitmap.Height()};
  for (auto _ : state) document.Draw(bitmap, clip, smooth, view, true);
}
BENCHMARK(BM_RenderDemoBackdrop)->Arg(1)->Arg(4)->ArgName("smooth")->Unit(benchmark::kMillisecond);

}  // namespace
