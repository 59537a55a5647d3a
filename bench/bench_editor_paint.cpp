// Painting the editor's drawing area at 1920 x 1080: the map with its
// background picture and every editing aid (label and legend outlines, point
// markers, the extent), at smoothing level 1 (what a drag shows) and 4 (the
// settled picture), and one drag step (a station moved, the map's drawing
// brought up to date, the area painted at level 1).
//
// The city is the demo city unless the environment variable
// VARNIK_BENCH_CITY names a city directory; the counter "stations" tells how
// many stations it has. BM_DragStepGenerated makes the same drag step on a
// generated city of 10,000 stops (uGeneratedCity.h): the goal is at most
// twice the time of the step on the demo city. BM_PaintGenerated paints the
// whole of that city.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/uGeneratedCity.h"
#include "city/uCity.h"
#include "editor/uEditorPainter.h"
#include "editor/uMapEditor.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "platform/uMessages.h"

namespace {

constexpr varnik::TColor kBackground = 0xF0F0F0;

std::filesystem::path BenchCity() {
  if (const char* dir = std::getenv("VARNIK_BENCH_CITY"); dir != nullptr && *dir != 0) return dir;
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "Zarechensk";
}

struct TDemo {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope{messages};
  varnik::TCity city;
  varnik::TMemoText memo;
  varnik::TMapEditor editor{city, memo};
  varnik::TBitmap bitmap{1920, 1080};

  explicit TDemo(const std::filesystem::path& dir = BenchCity()) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    city.LoadFromDir();
    std::filesystem::current_path(previous);
    editor.AreaWidth = bitmap.Width();
    editor.AreaHeight = bitmap.Height();
  }
  bool Ready(benchmark::State& state) {
    if (city.CurrentMap == nullptr || !messages.Entries.empty()) {
      state.SkipWithError("the city did not load cleanly");
      return false;
    }
    state.counters["stations"] = static_cast<double>(city.Stations.size());
    return true;
  }
};

// Zooms the view out until the whole map fits the area, centred.
void ShowWholeMap(TDemo& demo) {
  varnik::TScale& view = demo.editor.View;
  const varnik::TMetroMap& map = *demo.city.CurrentMap;
  view.ScaleX = view.ScaleY = std::min(static_cast<long double>(demo.editor.AreaWidth) / map.Width(),
                                       static_cast<long double>(demo.editor.AreaHeight) / map.Height());
  view.CenterX = map.Width() / 2.0L;
  view.CenterY = map.Height() / 2.0L;
  view.ShiftX = demo.editor.AreaWidth / 2;
  view.ShiftY = demo.editor.AreaHeight / 2;
  view.Changed();
}

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

// Drags the first station of the first line to and fro by 4 pixels, the
// view centred on it.
void DragFirstStation(benchmark::State& state, TDemo& demo) {
  varnik::TMapEditor& editor = demo.editor;
  const varnik::TCoordinate& first = demo.city.CurrentMap->Lines.front()->Stations.front()->Coordinate;
  editor.View.CenterX = first.X;
  editor.View.CenterY = first.Y;
  editor.View.ShiftX = editor.AreaWidth / 2;
  editor.View.ShiftY = editor.AreaHeight / 2;
  editor.View.Changed();
  const int x = editor.AreaWidth / 2, y = editor.AreaHeight / 2;
  editor.MousePress(varnik::TMouseButton::Left, x, y, false);
  int offset = 4;
  for (auto _ : state) {
    offset = offset == 4 ? 8 : 4;
    editor.MouseMove(x + offset, y);
    varnik::PaintEditor(editor, demo.bitmap, 1, kBackground);
    benchmark::DoNotOptimize(demo.bitmap.ScanLine(0));
  }
  editor.MouseRelease(x, y);
}

void BM_DragStep(benchmark::State& state) {
  TDemo demo;
  if (demo.Ready(state)) DragFirstStation(state, demo);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

void BM_DragStepGenerated(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "varnik-bench-drag-city";
  varnik::WriteGeneratedCity(dir, static_cast<int>(state.range(0)));
  {
    TDemo city(dir);
    if (city.Ready(state)) DragFirstStation(state, city);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DragStepGenerated)->Arg(10000)->Unit(benchmark::kMillisecond);

// The area of the generated city of 10,000 stops at level 1 and at level 4
// (the settled picture: the goal is at most 150 ms on two cores), with the
// view the editor opens with (view 0) and zoomed out to the whole city, all
// of its stations and labels in the frame (view 1).
void BM_PaintGenerated(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "varnik-bench-paint-city";
  varnik::WriteGeneratedCity(dir, 10000);
  {
    TDemo city(dir);
    const int level = static_cast<int>(state.range(0));
    if (state.range(1) == 1) ShowWholeMap(city);
    if (city.Ready(state)) {
      for (auto _ : state) {
        varnik::PaintEditor(city.editor, city.bitmap, level, kBackground);
        benchmark::DoNotOptimize(city.bitmap.ScanLine(0));
      }
    }
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PaintGenerated)
    ->ArgsProduct({{1, 4}, {0, 1}})
    ->ArgNames({"level", "view"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
