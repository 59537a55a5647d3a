#include "gtfs/uFeed.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "gtfs/uCsvReader.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uImportLog.h"

namespace varnik {
namespace {

constexpr const char* kAgency = "agency.txt";
constexpr const char* kStops = "stops.txt";
constexpr const char* kRoutes = "routes.txt";
constexpr const char* kTrips = "trips.txt";
constexpr const char* kStopTimes = "stop_times.txt";
constexpr const char* kFrequencies = "frequencies.txt";
constexpr const char* kTransfers = "transfers.txt";
constexpr const char* kShapes = "shapes.txt";

// A whole field as a number; false for an empty or partly numeric text.
template <typename T>
bool ParseNumber(std::string_view text, T& value) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && !text.empty();
}

// An optional whole number: `fallback` for an empty field.
bool ParseOptional(std::string_view text, int32_t fallback, int32_t& value) {
  if (text.empty()) {
    value = fallback;
    return true;
  }
  return ParseNumber(text, value);
}

bool ParsePlace(const std::string& latText, const std::string& lonText, double& lat, double& lon) {
  return ParseNumber(latText, lat) && ParseNumber(lonText, lon) && std::isfinite(lat) && std::isfinite(lon) &&
         std::abs(lat) <= 90 && std::abs(lon) <= 180;
}

// Looks `id` up in `index`; kNone when it is not there.
int32_t Find(const std::unordered_map<std::string, int32_t>& index, const std::string& id) {
  auto it = index.find(id);
  return it == index.end() ? kNone : it->second;
}

// Adds `id` to `index` as the next item; false (with a warning) for an id
// seen before, whose later row is left out.
bool AddId(std::unordered_map<std::string, int32_t>& index, const std::string& id, const char* file,
           int64_t line, TImportLog& log) {
  if (!index.emplace(id, static_cast<int32_t>(index.size())).second) {
    log.Warn(file, line, "repeated id " + id + " left out");
    return false;
  }
  return true;
}

bool ReadAgencies(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 1> columns{{{"agency_name"}}};
  return ReadCsv(
      source, kAgency, columns,
      [&](const TCsvRow& row) {
        if (!row[0].empty()) feed.AgencyNames.push_back(row[0]);
        return true;
      },
      log);
}

bool ReadStops(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 6> columns{
      {{"stop_id", true}, {"stop_name"}, {"stop_lat"}, {"stop_lon"}, {"location_type"}, {"parent_station"}}};
  return ReadCsv(
      source, kStops, columns,
      [&](const TCsvRow& row) {
        if (!AddId(feed.StopIndex, row[0], kStops, row.Line, log)) return true;
        TGtfsStop stop;
        stop.Id = row[0];
        stop.Name = row[1];
        stop.Line = row.Line;
        stop.HasPlace = ParsePlace(row[2], row[3], stop.Lat, stop.Lon);
        if (!stop.HasPlace && !(row[2].empty() && row[3].empty()))
          log.Warn(kStops, row.Line, "stop " + stop.Id + " has no valid position");
        if (!ParseOptional(row[4], 0, stop.LocationType)) {
          log.Warn(kStops, row.Line, "location_type " + row[4] + " read as 0");
          stop.LocationType = 0;
        }
        stop.ParentId = row[5];
        feed.Stops.push_back(std::move(stop));
        return true;
      },
      log);
}

bool ReadRoutes(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 6> columns{{{"route_id", true},
                                                      {"route_short_name"},
                                                      {"route_long_name"},
                                                      {"route_type"},
                                                      {"route_color"},
                                                      {"route_text_color"}}};
  return ReadCsv(
      source, kRoutes, columns,
      [&](const TCsvRow& row) {
        if (!AddId(feed.RouteIndex, row[0], kRoutes, row.Line, log)) return true;
        TGtfsRoute route{row[0], row[1], row[2], kNone, row[4], row[5]};
        if (!ParseNumber(std::string_view(row[3]), route.Type)) {
          log.Warn(kRoutes, row.Line, "route " + route.Id + " has no valid route_type");
          route.Type = kNone;
        }
        feed.Routes.push_back(std::move(route));
        return true;
      },
      log);
}

bool ReadTrips(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 4> columns{
      {{"route_id", true}, {"trip_id", true}, {"direction_id"}, {"shape_id"}}};
  return ReadCsv(
      source, kTrips, columns,
      [&](const TCsvRow& row) {
        const int32_t route = Find(feed.RouteIndex, row[0]);
        if (route == kNone) {
          log.Fail(kTrips, row.Line, "unknown route " + row[0]);
          return false;
        }
        if (!AddId(feed.TripIndex, row[1], kTrips, row.Line, log)) return true;
        TGtfsTrip trip{row[1], route, 0, row[3]};
        if (!ParseOptional(row[2], 0, trip.Direction)) {
          log.Warn(kTrips, row.Line, "direction_id " + row[2] + " read as 0");
          trip.Direction = 0;
        }
        feed.Trips.push_back(std::move(trip));
        return true;
      },
      log);
}

// A time field: a wrong one is warned about and counts as missing.
int32_t TimeField(const std::string& text, const char* file, int64_t line, TImportLog& log) {
  int32_t seconds = kNoTime;
  if (!ParseGtfsTime(text, seconds)) {
    log.Warn(file, line, "time " + text + " is not H:MM:SS and is left out");
    return kNoTime;
  }
  return seconds;
}

bool ReadStopTimes(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 5> columns{
      {{"trip_id", true}, {"arrival_time"}, {"departure_time"}, {"stop_id", true}, {"stop_sequence", true}}};
  return ReadCsv(
      source, kStopTimes, columns,
      [&](const TCsvRow& row) {
        TGtfsStopTime time;
        time.Trip = Find(feed.TripIndex, row[0]);
        if (time.Trip == kNone) {
          log.Fail(kStopTimes, row.Line, "unknown trip " + row[0]);
          return false;
        }
        time.Stop = Find(feed.StopIndex, row[3]);
        if (time.Stop == kNone) {
          log.Fail(kStopTimes, row.Line, "unknown stop " + row[3]);
          return false;
        }
        if (!ParseNumber(std::string_view(row[4]), time.Sequence)) {
          log.Warn(kStopTimes, row.Line, "stop_sequence " + row[4] + " is not a number; row left out");
          return true;
        }
        time.Arrival = TimeField(row[1], kStopTimes, row.Line, log);
        time.Departure = TimeField(row[2], kStopTimes, row.Line, log);
        feed.StopTimes.push_back(time);
        return true;
      },
      log, [&](double done) { log.Progress("reading stop_times.txt", done); });
}

bool ReadFrequencies(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 3> columns{{{"trip_id", true}, {"start_time"}, {"headway_secs"}}};
  return ReadCsv(
      source, kFrequencies, columns,
      [&](const TCsvRow& row) {
        TGtfsFrequency frequency;
        frequency.Trip = Find(feed.TripIndex, row[0]);
        if (frequency.Trip == kNone) {
          log.Warn(kFrequencies, row.Line, "unknown trip " + row[0] + "; row left out");
          return true;
        }
        if (!ParseGtfsTime(row[1], frequency.Start) || frequency.Start == kNoTime ||
            !ParseNumber(std::string_view(row[2]), frequency.Headway) || frequency.Headway <= 0) {
          log.Warn(kFrequencies, row.Line, "no valid start_time and headway_secs; row left out");
          return true;
        }
        feed.Frequencies.push_back(frequency);
        return true;
      },
      log);
}

bool ReadTransfers(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  static constexpr std::array<TCsvColumn, 6> columns{{{"from_stop_id"},
                                                      {"to_stop_id"},
                                                      {"transfer_type"},
                                                      {"min_transfer_time"},
                                                      {"from_route_id"},
                                                      {"to_route_id"}}};
  return ReadCsv(
      source, kTransfers, columns,
      [&](const TCsvRow& row) {
        // Rows between trips rather than stops say nothing about walking.
        if (row[0].empty() || row[1].empty()) return true;
        TGtfsTransfer transfer;
        transfer.From = Find(feed.StopIndex, row[0]);
        transfer.To = Find(feed.StopIndex, row[1]);
        if (transfer.From == kNone || transfer.To == kNone) {
          const std::string& id = transfer.From == kNone ? row[0] : row[1];
          log.Warn(kTransfers, row.Line, "unknown stop " + id + "; row left out");
          return true;
        }
        transfer.FromRoute = row[4].empty() ? kNone : Find(feed.RouteIndex, row[4]);
        transfer.ToRoute = row[5].empty() ? kNone : Find(feed.RouteIndex, row[5]);
        if ((!row[4].empty() && transfer.FromRoute == kNone) ||
            (!row[5].empty() && transfer.ToRoute == kNone)) {
          log.Warn(kTransfers, row.Line, "unknown route; row left out");
          return true;
        }
        if (!ParseOptional(row[2], 0, transfer.Type) || !ParseOptional(row[3], kNoTime, transfer.MinTime) ||
            transfer.MinTime < kNoTime) {
          log.Warn(kTransfers, row.Line, "no valid transfer_type and min_transfer_time; row left out");
          return true;
        }
        feed.Transfers.push_back(transfer);
        return true;
      },
      log);
}

bool ReadShapes(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  for (const TGtfsTrip& trip : feed.Trips) {
    if (!trip.ShapeId.empty()) feed.Shapes.emplace(trip.ShapeId, std::vector<TGtfsShapePoint>());
  }
  if (feed.Shapes.empty()) return true;
  static constexpr std::array<TCsvColumn, 4> columns{
      {{"shape_id", true}, {"shape_pt_lat", true}, {"shape_pt_lon", true}, {"shape_pt_sequence", true}}};
  return ReadCsv(
      source, kShapes, columns,
      [&](const TCsvRow& row) {
        auto it = feed.Shapes.find(row[0]);
        if (it == feed.Shapes.end()) return true;
        TGtfsShapePoint point;
        if (!ParsePlace(row[1], row[2], point.Lat, point.Lon) ||
            !ParseNumber(std::string_view(row[3]), point.Sequence)) {
          log.Warn(kShapes, row.Line, "no valid point; row left out");
          return true;
        }
        it->second.push_back(point);
        return true;
      },
      log);
}

// Puts the stop times in trip order with a counting sort (a feed has
// millions of them), then each trip's rows in sequence order.
void SortStopTimes(TGtfsFeed& feed) {
  std::vector<size_t>& start = feed.TripStart;
  start.assign(feed.Trips.size() + 1, 0);
  for (const TGtfsStopTime& time : feed.StopTimes) ++start[static_cast<size_t>(time.Trip) + 1];
  for (size_t t = 1; t < start.size(); ++t) start[t] += start[t - 1];
  std::vector<TGtfsStopTime> sorted(feed.StopTimes.size());
  std::vector<size_t> next(start.begin(), start.end() - 1);
  for (const TGtfsStopTime& time : feed.StopTimes) sorted[next[static_cast<size_t>(time.Trip)]++] = time;
  feed.StopTimes.clear();
  feed.StopTimes.shrink_to_fit();
  for (size_t t = 0; t + 1 < start.size(); ++t) {
    std::stable_sort(sorted.begin() + static_cast<std::ptrdiff_t>(start[t]),
                     sorted.begin() + static_cast<std::ptrdiff_t>(start[t + 1]),
                     [](const TGtfsStopTime& a, const TGtfsStopTime& b) { return a.Sequence < b.Sequence; });
  }
  feed.StopTimes = std::move(sorted);
}

}  // namespace

bool ParseGtfsTime(std::string_view text, int32_t& seconds) {
  if (text.empty()) {
    seconds = kNoTime;
    return true;
  }
  const size_t first = text.find(':');
  const size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  int32_t h = 0, m = 0, s = 0;
  const std::string_view hours = text.substr(0, first), minutes = text.substr(first + 1, second - first - 1),
                         secs = text.substr(second + 1);
  if (hours.size() > 4 || minutes.size() != 2 || secs.size() != 2) return false;
  if (!ParseNumber(hours, h) || !ParseNumber(minutes, m) || !ParseNumber(secs, s)) return false;
  if (h < 0 || m < 0 || m > 59 || s < 0 || s > 59) return false;
  seconds = h * 3600 + m * 60 + s;
  return true;
}

bool ReadFeed(const TFeedSource& source, TGtfsFeed& feed, TImportLog& log) {
  for (const char* file : {kAgency, kStops, kRoutes, kTrips, kStopTimes}) {
    if (!source.Has(file)) {
      log.Fail(file, 0, "missing from the feed");
      return false;
    }
  }
  if (!ReadAgencies(source, feed, log) || !ReadStops(source, feed, log) || !ReadRoutes(source, feed, log) ||
      !ReadTrips(source, feed, log) || !ReadStopTimes(source, feed, log))
    return false;
  SortStopTimes(feed);
  if (source.Has(kFrequencies) && !ReadFrequencies(source, feed, log)) return false;
  std::stable_sort(feed.Frequencies.begin(), feed.Frequencies.end(),
                   [](const TGtfsFrequency& a, const TGtfsFrequency& b) { return a.Trip < b.Trip; });
  if (source.Has(kTransfers) && !ReadTransfers(source, feed, log)) return false;
  if (source.Has(kShapes) && !ReadShapes(source, feed, log)) return false;
  for (auto& [id, points] : feed.Shapes) {
    std::stable_sort(points.begin(), points.end(), [](const TGtfsShapePoint& a, const TGtfsShapePoint& b) {
      return a.Sequence < b.Sequence;
    });
  }
  return true;
}

}  // namespace varnik
