#include "gtfs/uGtfsImport.h"

#include <set>

#include "city/uCityWriter.h"
#include "gtfs/uFeed.h"
#include "gtfs/uImportLog.h"
#include "gtfs/uMapLayout.h"
#include "gtfs/uNames.h"
#include "gtfs/uNetworkBuilder.h"
#include "gtfs/uStationGroups.h"
#include "gtfs/uTransfers.h"
#include "platform/uCodePage.h"

namespace varnik {
namespace {

void FillHeader(const TGtfsFeed& feed, const std::string& cityName, TNameConverter& names, TFreshCity& city) {
  const std::string name = names.Convert(cityName);
  city.CtyFileName = CtyFileNameFor(name);
  city.Header.Name = name;
  city.Header.RusName = name;
  city.Header.CityName = name;
  for (const std::string& agency : feed.AgencyNames) {
    const std::string converted = names.Convert(agency);
    if (converted.empty()) continue;
    city.Header.MapAuthors += (city.Header.MapAuthors.empty() ? "" : ", ") + converted;
  }
  city.Header.DelayNames = Utf8ToCp1251("День,Ночь");
}

}  // namespace

std::unique_ptr<TFreshCity> ImportFeed(const TFeedSource& source, const std::string& cityName,
                                       const TImportOptions& options, TImportLog& log,
                                       TImportSummary& summary) {
  TGtfsFeed feed;
  if (!ReadFeed(source, feed, log)) return nullptr;
  const TStationGroups groups = GroupStations(feed, log);

  auto city = std::make_unique<TFreshCity>();
  TNameConverter names;
  const std::vector<TImportedLine> lines = BuildNetwork(feed, groups, options, names, city->Transports, log);
  if (lines.empty()) {
    log.Fail("", 0, "the feed has no route with trips to import");
    return nullptr;
  }
  summary.Routes = static_cast<int>(lines.size());
  std::set<int32_t> stations;
  for (const TImportedLine& line : lines)
    stations.insert(line.StationOfStop.begin(), line.StationOfStop.end());
  summary.Stations = static_cast<int>(stations.size());
  summary.Transfers = AddTransfers(feed, groups, lines, options);
  BuildMap(feed, groups, lines, options, *city);
  FillHeader(feed, cityName, names, *city);
  summary.ChangedNames = names.Changes();
  return city;
}

}  // namespace varnik
