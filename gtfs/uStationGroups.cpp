#include "gtfs/uStationGroups.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "gtfs/uFeed.h"
#include "gtfs/uImportLog.h"

namespace varnik {
namespace {

constexpr int32_t kIgnored = -2;
constexpr int kLongestParentChain = 16;
constexpr double kEarthRadius = 6371000;
// 500 m is less than this many degrees of latitude anywhere.
constexpr double kJoinLatitude = kJoinDistance / kEarthRadius * 180 / M_PI * 1.01;

bool IsStationPart(const TGtfsStop& stop) { return stop.LocationType < 2 || stop.LocationType > 4; }

class TUnionFind {
 public:
  explicit TUnionFind(size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), 0); }
  int32_t Find(int32_t i) {
    while (parent_[static_cast<size_t>(i)] != i)
      i = parent_[static_cast<size_t>(i)] = parent_[static_cast<size_t>(parent_[static_cast<size_t>(i)])];
    return i;
  }
  void Join(int32_t a, int32_t b) {
    a = Find(a);
    b = Find(b);
    if (a != b) parent_[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
  }

 private:
  std::vector<int32_t> parent_;
};

// The topmost parent of every stop that can be part of a station (itself
// when it has none), kIgnored for the others. A parent that is missing or
// no station ends the chain there.
std::vector<int32_t> TopParents(const TGtfsFeed& feed, TImportLog& log) {
  std::vector<int32_t> top(feed.Stops.size(), kIgnored);
  for (size_t i = 0; i < feed.Stops.size(); ++i) {
    if (!IsStationPart(feed.Stops[i])) continue;
    int32_t current = static_cast<int32_t>(i);
    for (int step = 0; step < kLongestParentChain; ++step) {
      const TGtfsStop& stop = feed.Stops[static_cast<size_t>(current)];
      if (stop.ParentId.empty()) break;
      auto parent = feed.StopIndex.find(stop.ParentId);
      if (parent == feed.StopIndex.end() || !IsStationPart(feed.Stops[static_cast<size_t>(parent->second)])) {
        if (current == static_cast<int32_t>(i))
          log.Warn("stops.txt", stop.Line,
                   "parent_station " + stop.ParentId + " is no station; stop taken alone");
        break;
      }
      current = parent->second;
    }
    top[i] = current;
  }
  return top;
}

// Joins the parentless stops that share a name and lie within reach of
// each other: each name's stops are swept in order of latitude.
void JoinNeighbours(const TGtfsFeed& feed, const std::vector<int32_t>& loose, TUnionFind& groups) {
  std::vector<int32_t> order = loose;
  std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
    const TGtfsStop& x = feed.Stops[static_cast<size_t>(a)];
    const TGtfsStop& y = feed.Stops[static_cast<size_t>(b)];
    return x.Name != y.Name ? x.Name < y.Name : x.Lat < y.Lat;
  });
  for (size_t j = 0; j < order.size(); ++j) {
    const TGtfsStop& b = feed.Stops[static_cast<size_t>(order[j])];
    for (size_t k = j; k-- > 0;) {
      const TGtfsStop& a = feed.Stops[static_cast<size_t>(order[k])];
      if (a.Name != b.Name || b.Lat - a.Lat > kJoinLatitude) break;
      if (DistanceMetres(a.Lat, a.Lon, b.Lat, b.Lon) <= kJoinDistance) groups.Join(order[j], order[k]);
    }
  }
}

// For each group of parentless stops: the nearest parent station of the
// same name within reach of one of its stops, or the group itself.
std::unordered_map<int32_t, int32_t> JoinParents(const TGtfsFeed& feed, const std::vector<int32_t>& loose,
                                                 const std::vector<int32_t>& parents, TUnionFind& groups) {
  std::unordered_map<std::string, std::vector<int32_t>> parentsByName;
  for (int32_t p : parents) {
    const TGtfsStop& stop = feed.Stops[static_cast<size_t>(p)];
    if (stop.HasPlace && !stop.Name.empty()) parentsByName[stop.Name].push_back(p);
  }
  std::unordered_map<int32_t, std::pair<double, int32_t>> nearest;  // group -> (distance, parent)
  for (int32_t s : loose) {
    const TGtfsStop& stop = feed.Stops[static_cast<size_t>(s)];
    auto candidates = parentsByName.find(stop.Name);
    if (candidates == parentsByName.end()) continue;
    for (int32_t p : candidates->second) {
      const TGtfsStop& parent = feed.Stops[static_cast<size_t>(p)];
      const double d = DistanceMetres(stop.Lat, stop.Lon, parent.Lat, parent.Lon);
      if (d > kJoinDistance) continue;
      auto [it, added] = nearest.try_emplace(groups.Find(s), d, p);
      if (!added && d < it->second.first) it->second = {d, p};
    }
  }
  std::unordered_map<int32_t, int32_t> target;
  for (const auto& [group, found] : nearest) target[group] = found.second;
  return target;
}

void PlaceStation(const TGtfsFeed& feed, TGtfsStation& station) {
  if (station.Parent >= 0 && feed.Stops[static_cast<size_t>(station.Parent)].HasPlace) {
    const TGtfsStop& parent = feed.Stops[static_cast<size_t>(station.Parent)];
    station.Lat = parent.Lat;
    station.Lon = parent.Lon;
    station.HasPlace = true;
    return;
  }
  double lat = 0, lon = 0;
  int count = 0;
  for (int32_t s : station.Stops) {
    const TGtfsStop& stop = feed.Stops[static_cast<size_t>(s)];
    if (!stop.HasPlace) continue;
    lat += stop.Lat;
    lon += stop.Lon;
    ++count;
  }
  station.HasPlace = count > 0;
  if (count > 0) {
    station.Lat = lat / count;
    station.Lon = lon / count;
  }
}

void NameStation(const TGtfsFeed& feed, TGtfsStation& station) {
  if (station.Parent >= 0) station.Name = feed.Stops[static_cast<size_t>(station.Parent)].Name;
  for (int32_t s : station.Stops) {
    if (station.Name.empty()) station.Name = feed.Stops[static_cast<size_t>(s)].Name;
  }
  if (station.Name.empty()) {
    station.Name =
        feed.Stops[static_cast<size_t>(station.Parent >= 0 ? station.Parent : station.Stops.front())].Id;
  }
}

}  // namespace

double DistanceMetres(double lat1, double lon1, double lat2, double lon2) {
  const double rad = M_PI / 180;
  const double dLat = (lat2 - lat1) * rad, dLon = (lon2 - lon1) * rad;
  const double h = std::sin(dLat / 2) * std::sin(dLat / 2) +
                   std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadius * std::asin(std::min(1.0, std::sqrt(h)));
}

TStationGroups GroupStations(const TGtfsFeed& feed, TImportLog& log) {
  const std::vector<int32_t> top = TopParents(feed, log);
  std::vector<bool> isParent(feed.Stops.size(), false);
  for (size_t i = 0; i < top.size(); ++i) {
    if (top[i] >= 0 && top[i] != static_cast<int32_t>(i)) isParent[static_cast<size_t>(top[i])] = true;
  }
  std::vector<int32_t> loose, parents;
  for (size_t i = 0; i < top.size(); ++i) {
    if (top[i] != static_cast<int32_t>(i)) continue;
    if (isParent[i] || feed.Stops[i].LocationType == 1) {
      parents.push_back(static_cast<int32_t>(i));
    } else if (feed.Stops[i].HasPlace && !feed.Stops[i].Name.empty()) {
      loose.push_back(static_cast<int32_t>(i));
    }
  }
  TUnionFind groups(feed.Stops.size());
  JoinNeighbours(feed, loose, groups);
  const auto parentOfGroup = JoinParents(feed, loose, parents, groups);

  // Stations are numbered in the order of their first stop in the file.
  TStationGroups result;
  result.StationOfStop.assign(feed.Stops.size(), -1);
  std::unordered_map<int32_t, int32_t> stationOfKey;
  for (size_t i = 0; i < feed.Stops.size(); ++i) {
    if (top[i] == kIgnored) continue;
    int32_t key = top[i];
    if (key == static_cast<int32_t>(i) && !isParent[i] && feed.Stops[i].LocationType != 1) {
      key = groups.Find(key);
      auto joined = parentOfGroup.find(key);
      if (joined != parentOfGroup.end()) key = joined->second;
    }
    auto [it, added] = stationOfKey.try_emplace(key, static_cast<int32_t>(result.Stations.size()));
    if (added) {
      TGtfsStation station;
      if (isParent[static_cast<size_t>(key)] || feed.Stops[static_cast<size_t>(key)].LocationType == 1)
        station.Parent = key;
      result.Stations.push_back(std::move(station));
    }
    result.StationOfStop[i] = it->second;
    if (static_cast<int32_t>(i) != result.Stations[static_cast<size_t>(it->second)].Parent)
      result.Stations[static_cast<size_t>(it->second)].Stops.push_back(static_cast<int32_t>(i));
  }
  for (TGtfsStation& station : result.Stations) {
    if (station.Stops.empty() && station.Parent >= 0) station.Stops.push_back(station.Parent);
    NameStation(feed, station);
    PlaceStation(feed, station);
  }
  return result;
}

}  // namespace varnik
