// Importing a large generated feed: 200 routes over a grid of 80 by 80
// stops, 240 trips each, about 1.4 million stop times (a stop_times.txt of
// some 50 MB). The goal is under 10 s on two cores and under 1 GB; for
// the memory, run the command itself on the feed this program leaves in the
// temporary directory:
//   /usr/bin/time -v build/bin/varnik import-gtfs /tmp/varnik-bench-gtfs OUT

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "city/uCityWriter.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uGtfsImport.h"
#include "gtfs/uImportLog.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGrid = 80, kRoutes = 200, kStopsPerRoute = 30, kTripsPerDirection = 120;

std::string Time(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

// The grid stop of the route's k-th call: even routes run along a row, odd
// ones along a column, so that they cross and share stops.
std::string StopOf(int route, int k) {
  const int line = route / 2 % kGrid, offset = route / 2 / kGrid * 20 + k;
  const int row = route % 2 == 0 ? line : offset % kGrid, column = route % 2 == 0 ? offset % kGrid : line;
  return "S" + std::to_string(row) + "-" + std::to_string(column);
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

fs::path MakeFeed() {
  const fs::path dir = fs::temp_directory_path() / "varnik-bench-gtfs";
  if (fs::exists(dir / "stop_times.txt")) return dir;
  fs::create_directories(dir);
  WriteFile(dir / "agency.txt", "agency_name\nGrid Transit\n");
  std::string stops = "stop_id,stop_name,stop_lat,stop_lon\n";
  for (int r = 0; r < kGrid; ++r)
    for (int c = 0; c < kGrid; ++c)
      stops += "S" + std::to_string(r) + "-" + std::to_string(c) + ",Street " + std::to_string(r) + " and " +
               std::to_string(c) + "," + std::to_string(55.5 + r * 0.005) + "," +
               std::to_string(37.3 + c * 0.008) + "\n";
  WriteFile(dir / "stops.txt", stops);
  std::string routes = "route_id,route_short_name,route_type\n", trips = "route_id,trip_id,direction_id\n";
  std::FILE* times = std::fopen((dir / "stop_times.txt").c_str(), "wb");
  std::fputs("trip_id,arrival_time,departure_time,stop_id,stop_sequence\n", times);
  for (int route = 0; route < kRoutes; ++route) {
    routes += "R" + std::to_string(route) + "," + std::to_string(route + 1) + "," +
              (route % 5 == 0 ? "1" : "3") + "\n";
    for (int direction = 0; direction < 2; ++direction) {
      for (int t = 0; t < kTripsPerDirection; ++t) {
        const std::string trip =
            "T" + std::to_string(route) + "-" + std::to_string(direction) + "-" + std::to_string(t);
        trips += "R" + std::to_string(route) + "," + trip + "," + std::to_string(direction) + "\n";
        int clock = 5 * 3600 + t * 480 + route * 7;
        for (int k = 0; k < kStopsPerRoute; ++k) {
          const int call = direction == 0 ? k : kStopsPerRoute - 1 - k;
          const std::string at = Time(clock);
          std::fprintf(times, "%s,%s,%s,%s,%d\n", trip.c_str(), at.c_str(), Time(clock + 20).c_str(),
                       StopOf(route, call).c_str(), k + 1);
          clock += 110 + (k * 13 + t) % 40;
        }
      }
    }
  }
  std::fclose(times);
  WriteFile(dir / "routes.txt", routes);
  WriteFile(dir / "trips.txt", trips);
  return dir;
}

void BM_ImportLargeFeed(benchmark::State& state) {
  const fs::path dir = MakeFeed();
  state.counters["stop_times_MB"] = static_cast<double>(fs::file_size(dir / "stop_times.txt")) / 1e6;
  for (auto _ : state) {
    std::string error;
    const auto feed = varnik::OpenFeed(dir, error);
    std::ostringstream said;
    varnik::TImportLog log(said);
    varnik::TImportSummary summary;
    const auto city = varnik::ImportFeed(*feed, "Grid", {}, log, summary);
    if (!city) state.SkipWithError(log.Error().c_str());
    benchmark::DoNotOptimize(varnik::CityFiles(*city));
  }
}
BENCHMARK(BM_ImportLargeFeed)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
