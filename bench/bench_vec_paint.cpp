// One paint of the vector editor's preview (grid, drawing, frame, limit
// lines, point markers) of the demo city's backdrop in a 1920 x 1080 preview:
// at smoothing 4 when the view has settled, at 1 while a drag goes on.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uFiles.h"
#include "veceditor/uPreview.h"

namespace {

const std::filesystem::path kDemoCity =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "Zarechensk";

class TQuietHost : public varnik::TPreviewHost {
 public:
  void InsertAtCaret(const std::string&) override {}
  void PointsMoved() override {}
  void Repaint() override {}
  void RestartSettleTimer() override {}
};

void BM_PaintDemoPreview(benchmark::State& state) {
  const int smooth = static_cast<int>(state.range(0));
  varnik::EnsureGuiApplication();
  // Nested pictures are found relative to the current directory.
  if (!varnik::SetCurrentDir(kDemoCity.string())) {
    state.SkipWithError("demo city not found");
    return;
  }
  varnik::TVectorImage document;
  if (!document.LoadFromFile("Zarechensk.vec")) {
    state.SkipWithError("Zarechensk.vec not loaded");
    return;
  }
  TQuietHost host;
  varnik::TPreview preview(document, host);
  constexpr int kWidth = 1920, kHeight = 1080;
  preview.SetUpView(kWidth, kHeight);
  varnik::TBitmap bitmap(kWidth, kHeight);
  const varnik::TPointLimits limits;
  for (auto _ : state) benchmark::DoNotOptimize(preview.Compose(bitmap, smooth, limits));
}
BENCHMARK(BM_PaintDemoPreview)->Arg(4)->Arg(1)->ArgName("smooth")->Unit(benchmark::kMillisecond);

}  // namespace
