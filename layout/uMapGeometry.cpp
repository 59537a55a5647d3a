#include "layout/uMapGeometry.h"

#include <algorithm>
#include <memory>

#include "map/uMetroMap.h"

namespace varnik {

namespace {

int32_t StationIndex(const TMetroMapLine& line, const TMetroMapStation* station) {
  for (size_t i = 0; i < line.Stations.size(); ++i)
    if (line.Stations[i].get() == station) return static_cast<int32_t>(i);
  return -1;
}

TSegmentGeometry CaptureSegment(const TMetroMapLine& line, const TMetroMapSegment& segment) {
  TSegmentGeometry result{segment.Name, StationIndex(line, segment.FromStation),
                          StationIndex(line, segment.ToStation), segment.Spline, {}};
  for (const auto& node : segment.Nodes) result.Nodes.push_back({node->Coordinate.X, node->Coordinate.Y});
  return result;
}

bool SameShape(const TMapGeometry& geometry, const TMetroMap& map) {
  if (geometry.Lines.size() != map.Lines.size()) return false;
  for (size_t l = 0; l < map.Lines.size(); ++l) {
    const TLineGeometry& line = geometry.Lines[l];
    const size_t count = map.Lines[l]->Stations.size();
    if (line.Stations.size() != count || line.Labels.size() != count) return false;
    for (const TSegmentGeometry& segment : line.Segments)
      if (segment.From < 0 || segment.To < 0 || static_cast<size_t>(segment.From) >= count ||
          static_cast<size_t>(segment.To) >= count)
        return false;
  }
  return true;
}

// Nodes that stay are moved rather than made anew, so that whatever refers
// to them (the editor's selection) stays valid.
void SetNodes(TMetroMapSegment& segment, const std::vector<TPoint32>& nodes) {
  segment.Nodes.resize(std::min(segment.Nodes.size(), nodes.size()));
  for (size_t n = 0; n < segment.Nodes.size(); ++n) {
    segment.Nodes[n]->Coordinate.X = nodes[n].X;
    segment.Nodes[n]->Coordinate.Y = nodes[n].Y;
  }
  for (size_t n = segment.Nodes.size(); n < nodes.size(); ++n) segment.AddNode(nodes[n].X, nodes[n].Y);
}

void ApplySegments(const TLineGeometry& geometry, TMetroMapLine& line) {
  std::vector<bool> inSnapshot(line.Segments.size(), false);
  for (const TSegmentGeometry& wanted : geometry.Segments) {
    TMetroMapStation* from = line.Stations[static_cast<size_t>(wanted.From)].get();
    TMetroMapStation* to = line.Stations[static_cast<size_t>(wanted.To)].get();
    auto found = std::find_if(line.Segments.begin(), line.Segments.end(), [&](const auto& segment) {
      return segment->Name == wanted.Name && segment->FromStation == from && segment->ToStation == to;
    });
    if (found == line.Segments.end()) {
      auto made = std::make_unique<TMetroMapSegment>();
      made->Name = wanted.Name;
      made->FromStation = from;
      made->ToStation = to;
      line.Segments.push_back(std::move(made));
      inSnapshot.push_back(false);
      found = line.Segments.end() - 1;
    }
    inSnapshot[static_cast<size_t>(found - line.Segments.begin())] = true;
    (*found)->Spline = wanted.Spline;
    SetNodes(**found, wanted.Nodes);
  }
  // Segments are only ever appended above, so the flags still match. One
  // whose ends are not stations of the line was never in a snapshot and
  // stays.
  size_t kept = 0;
  for (size_t s = 0; s < line.Segments.size(); ++s) {
    const TMetroMapSegment& segment = *line.Segments[s];
    const bool unknownEnds = StationIndex(line, segment.FromStation) < 0 || StationIndex(line, segment.ToStation) < 0;
    if (inSnapshot[s] || unknownEnds) line.Segments[kept++] = std::move(line.Segments[s]);
  }
  line.Segments.resize(kept);
}

}  // namespace

TMapGeometry CaptureGeometry(const TMetroMap& map) {
  TMapGeometry result;
  for (const auto& line : map.Lines) {
    TLineGeometry& captured = result.Lines.emplace_back();
    for (const auto& station : line->Stations) {
      captured.Stations.push_back({station->Coordinate.X, station->Coordinate.Y});
      captured.Labels.push_back(station->LabelRect);
    }
    for (const auto& segment : line->Segments) {
      // A segment whose end is missing (a file naming a stop the line lacks)
      // cannot be put back by index; it is left as it is.
      TSegmentGeometry segmentGeometry = CaptureSegment(*line, *segment);
      if (segmentGeometry.From >= 0 && segmentGeometry.To >= 0) captured.Segments.push_back(segmentGeometry);
    }
  }
  return result;
}

bool ApplyGeometry(const TMapGeometry& geometry, TMetroMap& map) {
  if (!SameShape(geometry, map)) return false;
  for (size_t l = 0; l < map.Lines.size(); ++l) {
    const TLineGeometry& line = geometry.Lines[l];
    TMetroMapLine& target = *map.Lines[l];
    for (size_t s = 0; s < target.Stations.size(); ++s) {
      target.Stations[s]->Coordinate.X = line.Stations[s].X;
      target.Stations[s]->Coordinate.Y = line.Stations[s].Y;
      target.Stations[s]->LabelRect = line.Labels[s];
    }
    ApplySegments(line, target);
  }
  return true;
}

}  // namespace varnik
