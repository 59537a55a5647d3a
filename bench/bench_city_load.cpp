// Loading and saving generated cities of 1,000, 10,000 and 50,000 stops
// (see uGeneratedCity.h), and the memory the largest takes once loaded and
// drawn. The goals: loading 10,000 stops takes at most 12 times as long as
// 1,000 and at most 100 ms; the 50,000 stops stay under 500 MB.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <optional>
#include <string>

#include "bench/uGeneratedCity.h"
#include "city/uCity.h"
#include "map/uCitySaver.h"
#include "platform/uBitmap.h"
#include "platform/uMessages.h"
#include "vector/uScale.h"

namespace {

// A generated city in a temporary directory that is the current directory
// while the object lives.
class TGeneratedDir {
 public:
  explicit TGeneratedDir(int stops)
      : dir_(std::filesystem::temp_directory_path() / ("varnik-bench-city-" + std::to_string(stops))),
        previous_(std::filesystem::current_path()) {
    City = varnik::WriteGeneratedCity(dir_, stops);
    std::filesystem::current_path(dir_);
  }
  ~TGeneratedDir() {
    std::filesystem::current_path(previous_);
    std::filesystem::remove_all(dir_);
  }
  TGeneratedDir(const TGeneratedDir&) = delete;
  TGeneratedDir& operator=(const TGeneratedDir&) = delete;

  varnik::TGeneratedCity City;

 private:
  std::filesystem::path dir_, previous_;
};

// Loads the city of the current directory into `city`; the first
// diagnostic, if any (a load that reports something measures a city cut
// short).
std::optional<std::string> Load(varnik::TCity& city) {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope(messages);
  city.LoadFromDir();
  if (messages.Entries.empty()) return std::nullopt;
  return messages.Texts().front();
}

bool LoadsCleanly(benchmark::State& state) {
  varnik::TCity city;
  if (const std::optional<std::string> diagnostic = Load(city)) {
    state.SkipWithError(("the generated city reported: " + *diagnostic).c_str());
    return false;
  }
  return true;
}

void BM_LoadCity(benchmark::State& state) {
  TGeneratedDir dir(static_cast<int>(state.range(0)));
  if (!LoadsCleanly(state)) return;
  for (auto _ : state) {
    varnik::TCity city;
    Load(city);
    benchmark::DoNotOptimize(city.Stations.data());
  }
  state.counters["stations"] = dir.City.Stops;
  state.counters["transfers"] = dir.City.Transfers;
}
BENCHMARK(BM_LoadCity)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Saving as the editor does on close: every key of the map and the
// transport files worked out and compared with the file (nothing changed,
// so nothing is written).
void BM_SaveCity(benchmark::State& state) {
  TGeneratedDir dir(static_cast<int>(state.range(0)));
  varnik::TCity city;
  if (!LoadsCleanly(state) || Load(city)) return;
  for (auto _ : state) benchmark::DoNotOptimize(varnik::SaveCity(city.CurrentMap, city.Transports, true));
  state.counters["stations"] = dir.City.Stops;
  state.counters["transfers"] = dir.City.Transfers;
}
BENCHMARK(BM_SaveCity)->Arg(1000)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

// The peak resident memory of the process after loading the city and
// drawing a 1920 x 1080 view of it at levels 1 and 4. Run it alone
// (--benchmark_filter=PeakMemory) so that no other benchmark sets the peak.
void BM_PeakMemory(benchmark::State& state) {
  TGeneratedDir dir(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    varnik::TCity city;
    if (Load(city)) {
      state.SkipWithError("the generated city did not load cleanly");
      return;
    }
    varnik::TBitmap bitmap(1920, 1080);
    varnik::TScale view;
    view.Geographic = false;
    view.Changed();
    for (int level : {1, 4}) varnik::DrawCurrentMap(city.CurrentMap, bitmap, level, view);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_PeakMemory)->Arg(50000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
