#include "layout/uLineLinks.h"

#include <algorithm>

#include "map/uMetroMap.h"
#include "network/uRoute.h"

namespace varnik {

namespace {

bool ListsStop(const TNeibourList& list, const TStop* stop) {
  return std::any_of(list.begin(), list.end(), [&](const auto& entry) { return entry->Stop == stop; });
}

TPoint32 PointOf(const TCoordinate& c) { return {c.X, c.Y}; }

}  // namespace

std::vector<TLineLink> LineLinks(const TMetroMapLine& line) {
  std::vector<TLineLink> links;
  if (line.Route == nullptr) return links;
  const TRoute& route = *line.Route;
  auto placedStation = [&](const TStop* stop) -> int32_t {
    const int index = route.IndexOf(stop);
    if (index < 0 || static_cast<size_t>(index) >= line.Stations.size()) return -1;
    return line.Stations[static_cast<size_t>(index)]->Coordinate.Placed() ? index : -1;
  };
  for (size_t s = 0; s < route.Stops.size() && s < line.Stations.size(); ++s) {
    const TStop& stop = *route.Stops[s];
    if (!line.Stations[s]->Coordinate.Placed()) continue;
    auto add = [&](const TStop* other) {
      const int32_t to = placedStation(other);
      if (to < 0 || to == static_cast<int32_t>(s)) return;
      const bool known = std::any_of(links.begin(), links.end(), [&](const TLineLink& link) {
        return (link.From == to && link.To == static_cast<int32_t>(s)) ||
               (link.From == static_cast<int32_t>(s) && link.To == to);
      });
      if (!known) links.push_back({static_cast<int32_t>(s), to});
    };
    for (const auto& next : stop.Forward) add(next->Stop);
    for (const auto& previous : stop.Backward)
      if (previous->Stop != nullptr && !ListsStop(previous->Stop->Forward, &stop)) add(previous->Stop);
  }
  return links;
}

std::vector<TPoint32> LinkCourse(const TMetroMapLine& line, const TLineLink& link) {
  const TMetroMapStation* from = line.Stations[static_cast<size_t>(link.From)].get();
  const TMetroMapStation* to = line.Stations[static_cast<size_t>(link.To)].get();
  const TMetroMapSegment* segment = line.FindSegment(from, to);
  if (segment == nullptr || segment->Nodes.size() < 2) return {PointOf(from->Coordinate), PointOf(to->Coordinate)};
  std::vector<TPoint32> course;
  for (const auto& node : segment->Nodes) {
    if (!node->Coordinate.Placed()) break;
    course.push_back(PointOf(node->Coordinate));
  }
  if (segment->FromStation != from) std::reverse(course.begin(), course.end());
  return course;
}

}  // namespace varnik
