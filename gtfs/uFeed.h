#pragma once
// The parts of a feed the import uses, read from its tables. Texts stay
// UTF-8 as in the feed; references between tables are resolved to indexes
// while reading (a stop time naming an unknown trip or stop, or a trip
// naming an unknown route, is an error). Times are seconds after midnight
// of the service day and may pass 24:00:00.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace varnik {

class TFeedSource;
class TImportLog;

constexpr int32_t kNoTime = -1;
constexpr int32_t kNone = -1;

struct TGtfsStop {
  std::string Id;
  std::string Name;
  double Lat = 0, Lon = 0;
  bool HasPlace = false;
  int32_t LocationType = 0;
  std::string ParentId;
  int64_t Line = 0;  // in stops.txt, for messages
};

struct TGtfsRoute {
  std::string Id;
  std::string ShortName;
  std::string LongName;
  int32_t Type = kNone;  // kNone when missing or not a number
  std::string Color;
  std::string TextColor;
};

struct TGtfsTrip {
  std::string Id;
  int32_t Route = kNone;
  int32_t Direction = 0;  // an empty direction_id counts as 0
  std::string ShapeId;
};

struct TGtfsStopTime {
  int32_t Trip = kNone;
  int32_t Stop = kNone;
  int32_t Sequence = 0;
  int32_t Arrival = kNoTime;
  int32_t Departure = kNoTime;
};

struct TGtfsFrequency {
  int32_t Trip = kNone;
  int32_t Start = 0;
  int32_t Headway = 0;
};

struct TGtfsTransfer {
  int32_t From = kNone, To = kNone;            // stops
  int32_t FromRoute = kNone, ToRoute = kNone;  // kNone: any route
  int32_t Type = 0;
  int32_t MinTime = kNoTime;
};

struct TGtfsShapePoint {
  int32_t Sequence = 0;
  double Lat = 0, Lon = 0;
};

class TGtfsFeed {
 public:
  std::vector<std::string> AgencyNames;
  std::vector<TGtfsStop> Stops;
  std::vector<TGtfsRoute> Routes;  // in the order of routes.txt
  std::vector<TGtfsTrip> Trips;
  // Sorted by trip, then by stop_sequence (rows of one sequence number keep
  // the order of the file); a trip's rows are StopTimes[TripStart[t] ..
  // TripStart[t + 1]).
  std::vector<TGtfsStopTime> StopTimes;
  std::vector<size_t> TripStart;
  std::vector<TGtfsFrequency> Frequencies;  // sorted by trip
  std::vector<TGtfsTransfer> Transfers;
  // Only the shapes some trip uses, each sorted by its sequence.
  std::unordered_map<std::string, std::vector<TGtfsShapePoint>> Shapes;

  std::unordered_map<std::string, int32_t> StopIndex, RouteIndex, TripIndex;
};

// Reads every table the import uses. The required ones are agency.txt,
// stops.txt, routes.txt, trips.txt and stop_times.txt; frequencies.txt,
// transfers.txt and shapes.txt are read when present. False after an
// error (in `log`).
bool ReadFeed(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log);

// "H:MM:SS" (hours may pass 24): seconds, or kNoTime for an empty text;
// false for anything else.
bool ParseGtfsTime(std::string_view text, int32_t& seconds);

}  // namespace varnik
