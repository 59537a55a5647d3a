#include "gtfs/uPatterns.h"

#include <algorithm>
#include <map>
#include <string>

#include "gtfs/uFeed.h"
#include "gtfs/uStationGroups.h"

namespace varnik {
namespace {

constexpr int32_t kDay = 24 * 3600;
constexpr int32_t kDayStart = 7 * 3600, kDayEnd = 20 * 3600;
constexpr int32_t kNightStart = 22 * 3600, kNightEnd = 5 * 3600;

// The rows of a trip that call at a station, in sequence order.
std::vector<size_t> StationRows(const TGtfsFeed& feed, const TStationGroups& groups, int32_t trip) {
  std::vector<size_t> rows;
  for (size_t r = feed.TripStart[static_cast<size_t>(trip)];
       r < feed.TripStart[static_cast<size_t>(trip) + 1]; ++r) {
    if (groups.StationOfStop[static_cast<size_t>(feed.StopTimes[r].Stop)] >= 0) rows.push_back(r);
  }
  return rows;
}

// A row without one of its times uses the other.
int32_t DepartureOf(const TGtfsStopTime& row) {
  return row.Departure != kNoTime ? row.Departure : row.Arrival;
}
int32_t ArrivalOf(const TGtfsStopTime& row) { return row.Arrival != kNoTime ? row.Arrival : row.Departure; }

// Where a time of day falls in a window, as a key that orders the window's
// times (the night runs past midnight), or -1 outside it.
int32_t WindowKey(int32_t time, bool day) {
  const int32_t t = time % kDay;
  if (day) return t >= kDayStart && t < kDayEnd ? t : -1;
  if (t >= kNightStart) return t;
  return t < kNightEnd ? t + kDay : -1;
}

struct TGroup {
  std::vector<int32_t> Trips;
  int32_t Count = 0;  // trips of the chosen direction
  const std::string* SmallestTripId = nullptr;
};

bool Better(const TGroup& a, size_t aLength, const TGroup& b, size_t bLength) {
  if (a.Count != b.Count) return a.Count > b.Count;
  if (aLength != bLength) return aLength > bLength;
  return *a.SmallestTripId < *b.SmallestTripId;
}

void MeasureDriving(const TGtfsFeed& feed, const TStationGroups& groups, TPattern& pattern) {
  const size_t pairs = pattern.Stations.size() - 1;
  std::vector<std::vector<int32_t>> samples(pairs);
  pattern.StopsAt.assign(pattern.Stations.size(), {});
  for (int32_t trip : pattern.Trips) {
    const std::vector<size_t> rows = StationRows(feed, groups, trip);
    for (size_t i = 0; i < rows.size(); ++i) {
      std::vector<int32_t>& stops = pattern.StopsAt[i];
      const int32_t stop = feed.StopTimes[rows[i]].Stop;
      if (std::find(stops.begin(), stops.end(), stop) == stops.end()) stops.push_back(stop);
      if (i + 1 == rows.size()) break;
      const int32_t from = DepartureOf(feed.StopTimes[rows[i]]), to = ArrivalOf(feed.StopTimes[rows[i + 1]]);
      // A time running backwards is a fault of the feed and measures nothing.
      if (from != kNoTime && to != kNoTime && to >= from) samples[i].push_back(to - from);
    }
  }
  pattern.Driving.resize(pairs);
  for (size_t i = 0; i < pairs; ++i) pattern.Driving[i] = LowerMedian(samples[i]);
}

void MeasureDelays(const TGtfsFeed& feed, const TStationGroups& groups, TPattern& pattern) {
  std::vector<int32_t> departures;
  std::vector<std::pair<int32_t, int32_t>> frequencies;  // start, headway
  for (int32_t trip : pattern.Trips) {
    auto first = std::lower_bound(feed.Frequencies.begin(), feed.Frequencies.end(), trip,
                                  [](const TGtfsFrequency& f, int32_t t) { return f.Trip < t; });
    auto last = first;
    while (last != feed.Frequencies.end() && last->Trip == trip) ++last;
    if (first != last) {
      // A trip run by frequency stands for all its runs; its own times are a template.
      for (auto it = first; it != last; ++it) frequencies.emplace_back(it->Start, it->Headway);
      continue;
    }
    const std::vector<size_t> rows = StationRows(feed, groups, trip);
    const int32_t departure = rows.empty() ? kNoTime : DepartureOf(feed.StopTimes[rows.front()]);
    if (departure != kNoTime) departures.push_back(departure);
  }
  pattern.DayDelay = WindowDelay(departures, frequencies, true);
  pattern.NightDelay = WindowDelay(departures, frequencies, false);
}

}  // namespace

int32_t LowerMedian(std::vector<int32_t>& values) {
  if (values.empty()) return 0;
  auto middle = values.begin() + static_cast<std::ptrdiff_t>((values.size() - 1) / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

int32_t WindowDelay(const std::vector<int32_t>& departures,
                    const std::vector<std::pair<int32_t, int32_t>>& frequencies, bool day) {
  std::vector<int32_t> headways;
  for (const auto& [start, headway] : frequencies) {
    if (WindowKey(start, day) >= 0) headways.push_back(headway);
  }
  if (!headways.empty()) return LowerMedian(headways);
  std::vector<int32_t> keys;
  for (int32_t departure : departures) {
    const int32_t key = WindowKey(departure, day);
    if (key >= 0) keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  std::vector<int32_t> gaps;
  for (size_t i = 1; i < keys.size(); ++i) gaps.push_back(keys[i] - keys[i - 1]);
  return LowerMedian(gaps);
}

std::optional<TPattern> ChoosePattern(const TGtfsFeed& feed, const TStationGroups& groups,
                                      const std::vector<int32_t>& trips) {
  std::map<std::vector<int32_t>, TGroup> byStations;
  std::vector<std::pair<int32_t, TGroup*>> tripGroups;
  for (int32_t trip : trips) {
    std::vector<int32_t> stations;
    for (size_t row : StationRows(feed, groups, trip))
      stations.push_back(groups.StationOfStop[static_cast<size_t>(feed.StopTimes[row].Stop)]);
    if (stations.empty()) continue;
    TGroup& group = byStations[std::move(stations)];
    group.Trips.push_back(trip);
    tripGroups.emplace_back(trip, &group);
  }
  if (tripGroups.empty()) return std::nullopt;

  int32_t direction = feed.Trips[static_cast<size_t>(tripGroups.front().first)].Direction;
  for (const auto& [trip, group] : tripGroups)
    direction = std::min(direction, feed.Trips[static_cast<size_t>(trip)].Direction);
  for (const auto& [trip, group] : tripGroups) {
    const TGtfsTrip& t = feed.Trips[static_cast<size_t>(trip)];
    if (t.Direction != direction) continue;
    ++group->Count;
    if (group->SmallestTripId == nullptr || t.Id < *group->SmallestTripId) group->SmallestTripId = &t.Id;
  }

  const std::vector<int32_t>* bestStations = nullptr;
  const TGroup* best = nullptr;
  for (const auto& [stations, group] : byStations) {
    if (group.Count == 0) continue;
    if (best == nullptr || Better(group, stations.size(), *best, bestStations->size())) {
      best = &group;
      bestStations = &stations;
    }
  }
  TPattern pattern;
  pattern.Stations = *bestStations;
  pattern.Trips = best->Trips;
  MeasureDriving(feed, groups, pattern);
  MeasureDelays(feed, groups, pattern);
  return pattern;
}

}  // namespace varnik
