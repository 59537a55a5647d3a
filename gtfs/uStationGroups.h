#pragma once
// The stations of a feed: the places where passengers board, each joining
// the stops that belong together. Stops of location_type 2, 3 and 4
// (entrances, generic nodes, boarding areas) are no stations of their own
// and belong to none. A stop with a parent_station belongs to that station
// (to the topmost one of a chain). Stops without one are joined when they
// share a stop_name and lie within 500 m of each other, through chains of
// such pairs; such a group joins the nearest parent station of the same
// name within 500 m of one of its stops.

#include <cstdint>
#include <string>
#include <vector>

namespace varnik {

class TGtfsFeed;
class TImportLog;

struct TGtfsStation {
  std::string Name;  // UTF-8: the parent's stop_name, or the shared name
  double Lat = 0, Lon = 0;
  bool HasPlace = false;  // the parent's place, or the mean of its stops'
  int32_t Parent = -1;    // the stop that is the station itself, if any
  std::vector<int32_t> Stops;
};

class TStationGroups {
 public:
  std::vector<TGtfsStation> Stations;
  std::vector<int32_t> StationOfStop;  // per stop of the feed; -1 for none
};

constexpr double kJoinDistance = 500;  // metres

TStationGroups GroupStations(const TGtfsFeed& feed, TImportLog& log);

// Great-circle distance in metres.
double DistanceMetres(double lat1, double lon1, double lat2, double lon2);

}  // namespace varnik
