#pragma once
// Feeds for the import tests: the hand-made feeds of tests/data/gtfs read
// into memory (so that a test can replace one table), and an import that
// keeps what it said.

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "city/uCityWriter.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uGtfsImport.h"
#include "gtfs/uImportLog.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"

namespace varnik::test {

inline const std::filesystem::path kGtfsData = std::filesystem::path(VARNIK_TEST_DATA) / "gtfs";

// Every file of a feed directory, in memory.
inline TMemoryFeed FeedFromDir(const std::string& name) {
  TMemoryFeed feed;
  for (const auto& entry : std::filesystem::directory_iterator(kGtfsData / name)) {
    std::ifstream in(entry.path(), std::ios::binary);
    feed.Files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return feed;
}

// A small valid feed: one bus route over two stops.
inline TMemoryFeed TinyFeed() {
  TMemoryFeed feed;
  feed.Files["agency.txt"] = "agency_name\nBus Co\n";
  feed.Files["stops.txt"] = "stop_id,stop_name,stop_lat,stop_lon\nA,Alpha,50.0,10.0\nB,Beta,50.1,10.1\n";
  feed.Files["routes.txt"] = "route_id,route_short_name,route_type\nR,7,3\n";
  feed.Files["trips.txt"] = "route_id,trip_id\nR,t1\n";
  feed.Files["stop_times.txt"] =
      "trip_id,arrival_time,departure_time,stop_id,stop_sequence\nt1,10:00:00,10:00:00,A,1\nt1,10:04:00,10:"
      "04:00,B,2\n";
  return feed;
}

struct TImportRun {
  std::unique_ptr<TFreshCity> City;
  TImportSummary Summary;
  std::string Error;
  std::string Said;  // warnings and progress
};

inline TImportRun Import(const TFeedSource& feed, const TImportOptions& options = {}) {
  std::ostringstream said;
  TImportLog log(said);
  TImportRun run;
  run.City = ImportFeed(feed, "Valley", options, log, run.Summary);
  log.Finish();
  run.Error = log.Error();
  run.Said = said.str();
  return run;
}

// The route of the city named `name` (UTF-8), or nullptr.
inline const TRoute* FindRoute(const TFreshCity& city, const std::string& name) {
  for (const auto& transport : city.Transports.Items)
    for (const auto& route : transport->Routes)
      if (route->Name == Utf8ToCp1251(name)) return route.get();
  return nullptr;
}

// The written text of one of the city's files, in UTF-8.
inline std::string FileText(const TFreshCity& city, const std::string& name) {
  for (const TCityFile& file : CityFiles(city))
    if (file.Name == name) return Cp1251ToUtf8(file.Bytes);
  return "";
}

}  // namespace varnik::test
