#pragma once
// The city's network made from a feed: one transport per mode, one route
// per feed route that has trips, each with the stops, driving times and
// delays of its chosen pattern, and the transfers between routes.
//
// Modes: route_type 1 is the metro ("Metro.trp"), 0 the tram, 2 the train,
// 3 the bus, 4 the ferry, everything else "Other.trp"; the extended types
// fall into these by their hundreds. A pattern whose first and last station
// are the same (with at least two between) is a ring: the last stop leads
// on to the first. A station met again inside a pattern becomes a stop of
// its own named with " #2", " #3", ...; route names are made unique in the
// city with " (2)", " (3)", ... in the order of routes.txt.

#include <cstdint>
#include <vector>

#include "gtfs/uPatterns.h"

namespace varnik {

class TGtfsFeed;
class TImportLog;
class TNameConverter;
class TRoute;
class TStationGroups;
class TTransports;
struct TImportOptions;

// The basic type (0..4, or the type itself for the others) of a route_type.
int32_t BasicRouteType(int32_t routeType);

struct TImportedLine {
  int32_t Route = -1;  // in the feed
  TPattern Pattern;
  TRoute* Network = nullptr;
  std::vector<int32_t> StopOfPosition;  // per position of the pattern: the stop of the route
  std::vector<int32_t> StationOfStop;   // per stop of the route: the station of the feed
};

// Fills `transports` (empty before) with the routes of the feed whose type
// the options allow, in loading order (the metro first, the others by file
// name), and links them. Lines come in the order of routes.txt.
std::vector<TImportedLine> BuildNetwork(const TGtfsFeed& feed, const TStationGroups& groups,
                                        const TImportOptions& options, TNameConverter& names,
                                        TTransports& transports, TImportLog& log);

}  // namespace varnik
