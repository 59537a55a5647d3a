#include "editor/uMapState.h"

#include <algorithm>
#include <unordered_map>

#include "map/uMetroMap.h"
#include "network/uRoute.h"

namespace varnik {

namespace {

TPointState PointState(const TCoordinate& c) { return {c.X, c.Y, c.Height}; }

void PutPoint(TCoordinate& c, const TPointState& s) {
  c.X = s.X;
  c.Y = s.Y;
  c.Height = s.Height;
}

// Places of the stops of one route, so that a neighbour is found at once
// however long the route is.
using TStopPlaces = std::unordered_map<const TStop*, int>;

TStopPlaces StopPlaces(const TRoute* route) {
  TStopPlaces places;
  if (route == nullptr) return places;
  for (size_t i = 0; i < route->Stops.size(); ++i) places[route->Stops[i].get()] = static_cast<int>(i);
  return places;
}

std::vector<TNeibourState> NeibourStates(const TNeibourList& list, const TStopPlaces& places) {
  std::vector<TNeibourState> states;
  for (const auto& neibour : list) {
    auto place = places.find(neibour->Stop);
    states.push_back({place != places.end() ? place->second : -1, neibour->Time, neibour->Reversed});
  }
  return states;
}

int StationIndex(const TMetroMapLine& line, const TMetroMapStation* station) {
  for (size_t i = 0; i < line.Stations.size(); ++i)
    if (line.Stations[i].get() == station) return static_cast<int>(i);
  return -1;
}

TLineState LineState(const TMetroMapLine& line) {
  TLineState state;
  state.LegendRect = line.LegendRect;
  const TStopPlaces places = StopPlaces(line.Route);
  for (const auto& station : line.Stations) {
    TStationState& s = state.Stations.emplace_back();
    s.Coordinate = PointState(station->Coordinate);
    s.LabelRect = station->LabelRect;
    if (const TStop* stop = station->Stop) {
      s.Name = stop->Station->Name;
      s.Forward = NeibourStates(stop->Forward, places);
      s.Backward = NeibourStates(stop->Backward, places);
    }
  }
  for (const auto& segment : line.Segments) {
    TSegmentState& s = state.Segments.emplace_back();
    s.Name = segment->Name;
    s.From = StationIndex(line, segment->FromStation);
    s.To = StationIndex(line, segment->ToStation);
    s.Spline = segment->Spline;
    for (const auto& node : segment->Nodes) s.Nodes.push_back(PointState(node->Coordinate));
  }
  return state;
}

// A neighbour list is made anew only when it differs: its entries are
// owned by the stop and nothing else refers to them.
void PutNeibours(TNeibourList& list, const std::vector<TNeibourState>& states, const TRoute& route,
                 const TStopPlaces& places) {
  if (NeibourStates(list, places) == states) return;
  list.clear();
  for (const TNeibourState& s : states) {
    auto neibour = std::make_unique<TNeibourStop>();
    neibour->Stop =
        s.Stop >= 0 && static_cast<size_t>(s.Stop) < route.Stops.size() ? route.Stops[s.Stop].get() : nullptr;
    neibour->Time = s.Time;
    neibour->Reversed = s.Reversed;
    list.push_back(std::move(neibour));
  }
}

TMetroMapStation* StationAt(const TMetroMapLine& line, int index) {
  return index >= 0 && static_cast<size_t>(index) < line.Stations.size() ? line.Stations[index].get()
                                                                         : nullptr;
}

void PutSegments(TMetroMapLine& line, const std::vector<TSegmentState>& states) {
  auto& segments = line.Segments;
  segments.resize(std::min(segments.size(), states.size()));
  while (segments.size() < states.size()) segments.push_back(std::make_unique<TMetroMapSegment>());
  for (size_t i = 0; i < states.size(); ++i) {
    TMetroMapSegment& segment = *segments[i];
    const TSegmentState& s = states[i];
    segment.Name = s.Name;
    segment.FromStation = StationAt(line, s.From);
    segment.ToStation = StationAt(line, s.To);
    segment.Spline = s.Spline;
    segment.Nodes.resize(std::min(segment.Nodes.size(), s.Nodes.size()));
    while (segment.Nodes.size() < s.Nodes.size()) segment.Nodes.push_back(std::make_unique<TMetroMapNode>());
    for (size_t n = 0; n < s.Nodes.size(); ++n) PutPoint(segment.Nodes[n]->Coordinate, s.Nodes[n]);
  }
}

void PutLine(TMetroMapLine& line, const TLineState& state) {
  line.LegendRect = state.LegendRect;
  const TStopPlaces places = StopPlaces(line.Route);
  const size_t count = std::min(line.Stations.size(), state.Stations.size());
  for (size_t i = 0; i < count; ++i) {
    TMetroMapStation& station = *line.Stations[i];
    const TStationState& s = state.Stations[i];
    PutPoint(station.Coordinate, s.Coordinate);
    station.LabelRect = s.LabelRect;
    TStop* stop = station.Stop;
    if (stop == nullptr || stop->Route == nullptr) continue;
    stop->Station->Name = s.Name;
    PutNeibours(stop->Forward, s.Forward, *stop->Route, places);
    PutNeibours(stop->Backward, s.Backward, *stop->Route, places);
  }
  PutSegments(line, state.Segments);
}

}  // namespace

TMapState CaptureMapState(const TMetroMap& map) {
  TMapState state;
  for (const auto& line : map.Lines) state.Lines.push_back(LineState(*line));
  for (const auto& transfer : map.Transfers) state.TransfersVisible.push_back(transfer->Visible);
  return state;
}

TMapChange DiffMapStates(const TMapState& before, const TMapState& after) {
  TMapChange change;
  const size_t lines = std::min(before.Lines.size(), after.Lines.size());
  for (size_t i = 0; i < lines; ++i)
    if (!(before.Lines[i] == after.Lines[i])) change.Lines.push_back({i, before.Lines[i], after.Lines[i]});
  if (before.TransfersVisible != after.TransfersVisible) {
    change.TransfersBefore = before.TransfersVisible;
    change.TransfersAfter = after.TransfersVisible;
  }
  return change;
}

void ApplyMapChange(TMetroMap& map, const TMapChange& change, bool forward) {
  for (const TMapChange::TLineChange& line : change.Lines)
    if (line.Index < map.Lines.size()) PutLine(*map.Lines[line.Index], forward ? line.After : line.Before);
  const std::optional<std::vector<bool>>& visible = forward ? change.TransfersAfter : change.TransfersBefore;
  if (!visible) return;
  for (size_t i = 0; i < std::min(visible->size(), map.Transfers.size()); ++i)
    map.Transfers[i]->Visible = (*visible)[i];
}

}  // namespace varnik
