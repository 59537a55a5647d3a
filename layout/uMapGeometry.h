#pragma once
// The part of a map that a layout changes: station places, label
// rectangles and the shaped connections (segments with their nodes). A
// snapshot is taken from a map and put back into it whole, so that a layout
// (or its undo) is one step. Stations and segments are referred to by their
// index in the line, not by pointer, so a snapshot outlives any edit.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/uGraphicsTypes.h"

namespace varnik {

class TMetroMap;

struct TPoint32 {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint32&) const = default;
};

struct TSegmentGeometry {
  std::string Name;
  int32_t From = 0;  // station index in the line
  int32_t To = 0;
  bool Spline = false;
  std::vector<TPoint32> Nodes;  // all of them, the ends included
  bool operator==(const TSegmentGeometry&) const = default;
};

struct TLineGeometry {
  std::vector<TPoint32> Stations;  // one per station of the line
  std::vector<TRect> Labels;       // one per station
  std::vector<TSegmentGeometry> Segments;
  bool operator==(const TLineGeometry&) const = default;
};

struct TMapGeometry {
  std::vector<TLineGeometry> Lines;  // one per line of the map
  bool operator==(const TMapGeometry&) const = default;
};

TMapGeometry CaptureGeometry(const TMetroMap& map);

// Puts `geometry` into `map`: places and labels of every station, and each
// line's segments made to be exactly those of the snapshot (a segment of the
// same name and ends is kept and given the snapshot's nodes, others are made
// or removed; the save drops the keys of removed ones). A snapshot of
// another shape of map (other line or station counts) leaves the map
// untouched and gives false. Does not rebuild the drawing.
bool ApplyGeometry(const TMapGeometry& geometry, TMetroMap& map);

}  // namespace varnik
