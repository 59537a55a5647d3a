// Laying maps out on the octilinear grid: the map a GTFS import makes of a
// real rail network (Kuala Lumpur, 143 stations), and a generated metro of
// 200 stations (five lines across and five up and down, wavy, with
// transfers where they meet). The goals: at most 10 s each on two cores,
// every piece octilinear, no crossing the geographic map does not have,
// transfers at most two grid steps long; the counters show the figures.

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "city/uCity.h"
#include "city/uCityWriter.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uGtfsImport.h"
#include "gtfs/uImportLog.h"
#include "layout/uLayoutFigures.h"
#include "layout/uSchematicLayout.h"
#include "platform/uMessages.h"

namespace {

namespace fs = std::filesystem;
using namespace varnik;

constexpr int kLinesEachWay = 5, kStationsPerLine = 20;

bool ImportKualaLumpur(const fs::path& dir, std::string& error) {
  const auto feed = OpenFeed(fs::path(VARNIK_TEST_DATA) / "gtfs" / "kuala-lumpur.zip", error);
  if (!feed) return false;
  std::ostringstream said;
  TImportLog log(said);
  TImportSummary summary;
  const auto city = ImportFeed(*feed, "kuala-lumpur", {}, log, summary);
  if (!city) {
    error = log.Error();
    return false;
  }
  return WriteCityDirectory(dir, CityFiles(*city), error);
}

// Station k of generated line `line`: lines 0..4 run across, 5..9 up and
// down, each along a wave of its own.
void GeneratedPlace(int line, int k, int& x, int& y) {
  const int lane = line % kLinesEachWay;
  const double along = 100 + 95.0 * k, across = 300 + 350.0 * lane + 60 * std::sin(along / 300 + lane);
  x = static_cast<int>(line < kLinesEachWay ? along : across);
  y = static_cast<int>(line < kLinesEachWay ? across : along);
}

std::string StationName(int line, int k) { return "S" + std::to_string(line) + "-" + std::to_string(k); }

// Where a line across and a line up and down come within 70 pixels, their
// nearest stations get a transfer.
std::string GeneratedTransfers() {
  std::string text = "[Transfers]\r\n";
  int count = 0;
  for (int a = 0; a < kLinesEachWay; ++a)
    for (int b = kLinesEachWay; b < 2 * kLinesEachWay; ++b) {
      double nearest = 1e9;
      int bestA = 0, bestB = 0;
      for (int i = 0; i < kStationsPerLine; ++i)
        for (int j = 0; j < kStationsPerLine; ++j) {
          int ax, ay, bx, by;
          GeneratedPlace(a, i, ax, ay);
          GeneratedPlace(b, j, bx, by);
          const double d = std::hypot(ax - bx, ay - by);
          if (d < nearest) nearest = d, bestA = i, bestB = j;
        }
      if (nearest < 70)
        text += std::to_string(++count) + "=L" + std::to_string(a) + "," + StationName(a, bestA) + ",L" +
                std::to_string(b) + "," + StationName(b, bestB) + ",2\r\n";
    }
  return text;
}

void WriteGeneratedMetro(const fs::path& dir) {
  fs::create_directories(dir);
  std::ofstream(dir / "Generated.cty", std::ios::binary) << "[Options]\r\nName=Generated\r\n";
  std::ofstream trp(dir / "Metro.trp", std::ios::binary);
  std::ofstream map(dir / "Metro.map", std::ios::binary);
  trp << "[Options]\r\nType=Metro\r\n";
  map << "[Options]\r\nTransports=Metro.trp\r\n";
  for (int line = 0; line < 2 * kLinesEachWay; ++line) {
    std::string stations, driving, coordinates;
    for (int k = 0; k < kStationsPerLine; ++k) {
      int x, y;
      GeneratedPlace(line, k, x, y);
      stations += (k ? "," : "") + StationName(line, k);
      coordinates += (k ? ", " : "") + std::to_string(x) + "," + std::to_string(y);
      if (k) driving += (k > 1 ? "," : "") + std::string("2");
    }
    trp << "[Line" << line + 1 << "]\r\nName=L" << line << "\r\nStations=" << stations << "\r\nDriving=" << driving
        << "\r\n";
    map << "[L" << line << "]\r\nCoordinates=" << coordinates << "\r\n";
  }
  trp << GeneratedTransfers();
}

// Loads the city in `dir` and lays its main map out as often as asked.
void LayOutCity(benchmark::State& state, const fs::path& dir) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir);
  TRecordingSink messages;
  TScopedMessageSink scope(messages);
  TCity city;
  city.LoadFromDir();
  fs::current_path(previous);
  if (city.CurrentMap == nullptr) {
    state.SkipWithError("the city has no map");
    return;
  }
  TMetroMap& map = *city.CurrentMap;
  const TMapGeometry before = CaptureGeometry(map);
  TLayoutResult result;
  for (auto _ : state) {
    result = ComputeLayout(map, {});
    benchmark::DoNotOptimize(result.Geometry.Lines.data());
  }
  const TLayoutFigures input = MeasureLayout(map, before, result.GridStep);
  ApplyGeometry(result.Geometry, map);
  const TLayoutFigures output = MeasureLayout(map, before, result.GridStep);
  state.counters["octilinear_pct"] = 100 * output.OctilinearShare();
  state.counters["crossings_in"] = input.Crossings;
  state.counters["crossings_out"] = output.Crossings;
  state.counters["longest_transfer"] = output.LongestTransfer;
  state.counters["displacement"] = output.MeanDisplacement;
  state.counters["bends"] = output.Bends();
  state.counters["unrouted"] = result.Unrouted;
}

void BM_LayoutKualaLumpur(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "varnik-bench-layout-kl";
  std::string error;
  if (!ImportKualaLumpur(dir, error)) {
    state.SkipWithError(("the import failed: " + error).c_str());
    return;
  }
  LayOutCity(state, dir);
  fs::remove_all(dir);
}
BENCHMARK(BM_LayoutKualaLumpur)->Unit(benchmark::kMillisecond);

void BM_LayoutGeneratedMetro(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "varnik-bench-layout-metro";
  WriteGeneratedMetro(dir);
  LayOutCity(state, dir);
  fs::remove_all(dir);
}
BENCHMARK(BM_LayoutGeneratedMetro)->Unit(benchmark::kMillisecond);

}  // namespace
