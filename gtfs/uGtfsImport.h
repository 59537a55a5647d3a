#pragma once
// A GTFS feed made into a fresh city: the feed is read, its stops joined
// into stations, each route reduced to its chosen pattern with measured
// driving times and delays, transfers added, and the main map laid out. The
// city is only described here; writing it is the city writer's job.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gtfs/uImportOptions.h"

namespace varnik {

class TFeedSource;
class TFreshCity;
class TImportLog;

struct TImportSummary {
  int Routes = 0;
  int Stations = 0;
  int Transfers = 0;
  // Names the city could not take as they were: original -> written (UTF-8).
  std::vector<std::pair<std::string, std::string>> ChangedNames;
};

// Imports the feed as a city named `cityName` (UTF-8). Null after an
// error, which `log` holds; a feed without a single route to import (after
// the options' choice of types) is an error too.
std::unique_ptr<TFreshCity> ImportFeed(const TFeedSource& source, const std::string& cityName,
                                       const TImportOptions& options, TImportLog& log,
                                       TImportSummary& summary);

}  // namespace varnik
