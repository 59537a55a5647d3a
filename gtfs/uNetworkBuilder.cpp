#include "gtfs/uNetworkBuilder.h"

#include <algorithm>
#include <array>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "core/uUtils.h"
#include "gtfs/uFeed.h"
#include "gtfs/uImportLog.h"
#include "gtfs/uImportOptions.h"
#include "gtfs/uNames.h"
#include "gtfs/uStationGroups.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"

namespace varnik {
namespace {

struct TMode {
  const char* File;
  const char* Type;  // UTF-8
};

// In loading order: "Metro.trp" first, the others by name.
constexpr std::array<TMode, 6> kModes{{{"Metro.trp", "Метро"},
                                       {"Bus.trp", "Автобус"},
                                       {"Ferry.trp", "Паром"},
                                       {"Other.trp", "Транспорт"},
                                       {"Train.trp", "Электричка"},
                                       {"Tram.trp", "Трамвай"}}};

size_t ModeOf(int32_t basicType) {
  switch (basicType) {
    case 1:
      return 0;
    case 3:
      return 1;
    case 4:
      return 2;
    case 2:
      return 4;
    case 0:
      return 5;
    default:
      return 3;
  }
}

// Map files have sections of their own; a route of such a name would be
// read as them.
const std::array<const char*, 3> kReservedNames{"Options", "AdditionalNodes", "StationLabels"};

// Names as the city tells them apart: routes ignoring letter case (Cyrillic
// too), stations of a route exactly.
class TNameSet {
 public:
  explicit TNameSet(bool ignoreCase) : ignoreCase_(ignoreCase) {}
  bool Has(const std::string& name) const { return names_.contains(Key(name)); }
  void Add(const std::string& name) { names_.insert(Key(name)); }

  // `name`, or `name` with the first free suffix made by `suffix(k)`, k = 2, 3, ...
  template <typename TSuffix>
  std::string Unique(const std::string& name, TSuffix suffix) {
    std::string result = name;
    for (int k = 2; Has(result); ++k) result = name + suffix(k);
    Add(result);
    return result;
  }

 private:
  std::string Key(const std::string& name) const { return ignoreCase_ ? UpperCase1251(name) : name; }

  bool ignoreCase_;
  std::unordered_set<std::string> names_;
};

std::string RouteName(const TGtfsRoute& route, TNameConverter& names) {
  for (const std::string* text : {&route.ShortName, &route.LongName, &route.Id}) {
    if (text->empty()) continue;
    std::string name = names.Convert(*text);
    if (!name.empty()) return name;
  }
  return "Route";
}

std::string StationName(const TGtfsStation& station, TNameConverter& names) {
  std::string name = names.Convert(station.Name);
  return name.empty() ? Utf8ToCp1251("Станция") : name;
}

void AddNeibour(TNeibourList& list, TStop* stop, int32_t time) {
  auto neibour = std::make_unique<TNeibourStop>();
  neibour->Stop = stop;
  neibour->Time = time;
  list.push_back(std::move(neibour));
}

bool IsRing(const std::vector<int32_t>& stations) {
  return stations.size() >= 4 && stations.front() == stations.back();
}

// The stops of the pattern, each linked to the next with its driving time
// both ways (the way back takes as long).
void AddStops(TImportedLine& line, const TStationGroups& groups, TNameConverter& names, TRoute& route) {
  const std::vector<int32_t>& stations = line.Pattern.Stations;
  const size_t count = IsRing(stations) ? stations.size() - 1 : stations.size();
  TNameSet used(false);
  for (size_t i = 0; i < count; ++i) {
    const int32_t station = stations[i];
    auto stop = std::make_unique<TStop>();
    const std::string base = StationName(groups.Stations[static_cast<size_t>(station)], names);
    stop->Station->Name = used.Unique(base, [](int k) { return " #" + std::to_string(k); });
    stop->Station->Alias = stop->Station->Name;
    route.Stops.push_back(std::move(stop));
    line.StationOfStop.push_back(station);
    line.StopOfPosition.push_back(static_cast<int32_t>(i));
  }
  if (count < stations.size()) line.StopOfPosition.push_back(0);
  for (size_t p = 0; p + 1 < stations.size(); ++p) {
    TStop* from = route.Stops[static_cast<size_t>(line.StopOfPosition[p])].get();
    TStop* to = route.Stops[static_cast<size_t>(line.StopOfPosition[p + 1])].get();
    AddNeibour(from->Forward, to, line.Pattern.Driving[p]);
    AddNeibour(to->Backward, from, line.Pattern.Driving[p]);
  }
}

bool Allowed(const TImportOptions& options, int32_t basicType) {
  return options.Types.empty() ||
         std::find(options.Types.begin(), options.Types.end(), basicType) != options.Types.end();
}

}  // namespace

int32_t BasicRouteType(int32_t type) {
  if (type >= 100 && type <= 199) return 2;
  if ((type >= 200 && type <= 299) || (type >= 700 && type <= 799)) return 3;
  if (type >= 400 && type <= 699) return 1;
  if (type >= 900 && type <= 999) return 0;
  if ((type >= 1000 && type <= 1099) || (type >= 1200 && type <= 1299)) return 4;
  return type;
}

std::vector<TImportedLine> BuildNetwork(const TGtfsFeed& feed, const TStationGroups& groups,
                                        const TImportOptions& options, TNameConverter& names,
                                        TTransports& transports, TImportLog& log) {
  std::vector<std::vector<int32_t>> tripsOfRoute(feed.Routes.size());
  for (size_t t = 0; t < feed.Trips.size(); ++t)
    tripsOfRoute[static_cast<size_t>(feed.Trips[t].Route)].push_back(static_cast<int32_t>(t));

  std::array<std::unique_ptr<TTransport>, kModes.size()> modes;
  std::vector<TImportedLine> lines;
  TNameSet routeNames(true);
  for (const char* reserved : kReservedNames) routeNames.Add(reserved);
  for (size_t r = 0; r < feed.Routes.size(); ++r) {
    log.Progress("building routes", static_cast<double>(r) / static_cast<double>(feed.Routes.size()));
    const int32_t basic = BasicRouteType(feed.Routes[r].Type);
    if (!Allowed(options, basic)) continue;
    std::optional<TPattern> pattern = ChoosePattern(feed, groups, tripsOfRoute[r]);
    if (!pattern) continue;
    const size_t mode = ModeOf(basic);
    if (!modes[mode]) {
      modes[mode] = std::make_unique<TTransport>();
      modes[mode]->FileName = kModes[mode].File;
      modes[mode]->Type = Utf8ToCp1251(kModes[mode].Type);
    }
    auto route = std::make_unique<TRoute>();
    route->Name = routeNames.Unique(RouteName(feed.Routes[r], names),
                                    [](int k) { return " (" + std::to_string(k) + ")"; });
    route->Alias = route->Name;
    route->Delays = SecondsToTimeStr(pattern->DayDelay) + "," + SecondsToTimeStr(pattern->NightDelay);
    TImportedLine line;
    line.Route = static_cast<int32_t>(r);
    line.Pattern = std::move(*pattern);
    AddStops(line, groups, names, *route);
    line.Network = route.get();
    modes[mode]->Routes.push_back(std::move(route));
    lines.push_back(std::move(line));
  }
  for (auto& transport : modes) {
    if (transport) transports.Items.push_back(std::move(transport));
  }
  transports.Link();
  return lines;
}

}  // namespace varnik
