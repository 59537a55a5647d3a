// Painting the editor's drawing area over the demo city at 1920 x 1080: the
// map with its background picture and every editing aid (label and legend
// outlines, point markers, the extent), at smoothing level 1 (what a drag
// shows) and 4 (the settled picture), and one drag step (a station moved,
// the map's drawing rebuilt, the area painted at level 1).

#include <benchmark/benchmark.h>

#include <filesystem>

#include "city/uCity.h"
#include "editor/uEditorPainter.h"
#include "editor/uMapEditor.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "platform/uMessages.h"

namespace {

constexpr varnik::TColor kBackground = 0xF0F0F0;

struct TDemo {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope{messages};
  varnik::TCity city;
  varnik::TMemoText memo;
  varnik::TMapEditor editor{city, memo};
  varnik::TBitmap bitmap{1920, 1080};

  TDemo() {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" /
                                  "Zarechensk");
    city.LoadFromDir();
    std::filesystem::current_path(previous);
    editor.AreaWidth = bitmap.Width();
    editor.AreaHeight = bitmap.Height();
  }
  bool Ready(benchmark::State& state) {
    if (city.CurrentMap == nullptr || !messages.Entries.empty()) {
      state.SkipWithError("the demo city did not load cleanly");
      return false;
    }
    return true;
  }
};

void BM_PaintDemo(benchmark::State& state) {
  TDemo demo;
  if (!demo.Ready(state)) return;
  const int level = static_cast<int>(state.range(0));
  for (auto _ : state) {
    varnik::PaintEditor(demo.editor, demo.bitmap, level, kBackground);
    benchmark::DoNotOptimize(demo.bitmap.ScanLine(0));
  }
}
BENCHMARK(BM_PaintDemo)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_DragStep(benchmark::State& state) {
  TDemo demo;
  if (!demo.Ready(state)) return;
  varnik::TMapEditor& editor = demo.editor;
  varnik::TCoordinate& first = demo.city.CurrentMap->Lines.front()->Stations.front()->Coordinate;
  editor.MousePress(varnik::TMouseButton::Left, first.X, first.Y, false);
  int offset = 4;
  for (auto _ : state) {
    offset = offset == 4 ? 8 : 4;
    editor.MouseMove(first.X + offset, first.Y);
    varnik::PaintEditor(editor, demo.bitmap, 1, kBackground);
    benchmark::DoNotOptimize(demo.bitmap.ScanLine(0));
  }
  editor.MouseRelease(first.X, first.Y);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

}  // namespace
