#pragma once
// The editable state of a map as plain values: what a drag, a panel command
// or the station dialog can change. Per line: the legend rectangle; per
// station its position, label rectangle, and the name and neighbour lists of
// its stop; the segments with their nodes. Per transfer of the map: whether
// it is drawn.
//
// Objects are named by their places (line, station, segment index; a
// neighbour by the index of its stop in the route), never by pointers, so a
// state taken now can be put back after the objects were made anew.
// Everything else of the map and the network (colours, transfers of the
// transport files, aliases) is left out: the editing rules never change it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/uGraphicsTypes.h"

namespace varnik {

class TMetroMap;

struct TPointState {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Height = 0;
  bool operator==(const TPointState&) const = default;
};

struct TNeibourState {
  int Stop = -1;  // index in the route's stops
  int32_t Time = 0;
  bool Reversed = false;
  bool operator==(const TNeibourState&) const = default;
};

struct TStationState {
  TPointState Coordinate;
  TRect LabelRect;
  // Of the station's stop; a station without a stop keeps them empty.
  std::string Name;
  std::vector<TNeibourState> Forward, Backward;
  bool operator==(const TStationState&) const = default;
};

struct TSegmentState {
  std::string Name;
  int From = -1;  // index of the station in its line
  int To = -1;
  bool Spline = false;
  std::vector<TPointState> Nodes;
  bool operator==(const TSegmentState&) const = default;
};

struct TLineState {
  TRect LegendRect;
  std::vector<TStationState> Stations;
  std::vector<TSegmentState> Segments;
  bool operator==(const TLineState&) const = default;
};

struct TMapState {
  std::vector<TLineState> Lines;
  std::vector<bool> TransfersVisible;
};

// The state of `map` now.
TMapState CaptureMapState(const TMetroMap& map);

// What one operation changed: the lines that differ and the transfers'
// flags when any of them differs, each as it was before and after.
struct TMapChange {
  struct TLineChange {
    size_t Index = 0;
    TLineState Before, After;
  };
  std::vector<TLineChange> Lines;
  std::optional<std::vector<bool>> TransfersBefore, TransfersAfter;

  bool Empty() const { return Lines.empty() && !TransfersBefore; }
};

// The difference of two states of the same map. The editing rules never add
// or remove lines or transfers, so only places held by both are compared.
TMapChange DiffMapStates(const TMapState& before, const TMapState& after);

// Puts the After values of `change` into `map` (with `forward`), else the
// Before values. Objects already there are kept and given the values;
// segments and nodes are made or removed as the counts require, so a
// pointer to a node may be left dangling: the caller drops the selection.
// The drawing is not rebuilt.
void ApplyMapChange(TMetroMap& map, const TMapChange& change, bool forward);

}  // namespace varnik
