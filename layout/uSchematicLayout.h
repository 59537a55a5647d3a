#pragma once
// Automatic octilinear layout of a map. Every placed station gets a node of
// a square grid near its geographic place (its place on the map as it is);
// every connection of a line becomes a path along the grid's horizontal,
// vertical and diagonal edges, found as the cheapest path where length,
// bends and the distance of a newly placed station from its geographic
// place all cost. The network is grown outwards from its busiest station,
// the busiest connections first; a path never shares an edge or a node with
// another and meets another line only where no path without that exists.
// Around a station the connections leave in the order they leave it on the
// map as it is. The stations of a transfer are put next to each other, the
// later ones as soon as the first is placed. Labels keep their size and go
// to the side of their station that collides with the fewest things.
//
// The map itself is not changed: the result is a snapshot to apply (the
// command applies it and saves, the editor makes it an undoable step).

#include <atomic>
#include <cstdint>
#include <functional>

#include "layout/uMapGeometry.h"

namespace varnik {

class TMetroMap;

struct TLayoutOptions {
  int32_t GridStep = 0;  // pixels; 0 or less: DefaultGridStep of the map
  // Told the number of connections laid so far and the total, after each.
  std::function<void(int32_t done, int32_t total)> Progress;
  // Set by another thread or by the progress callback to stop early.
  const std::atomic<bool>* Cancel = nullptr;
};

struct TLayoutResult {
  TMapGeometry Geometry;
  bool Cancelled = false;  // Geometry is then the map's own, unchanged
  // Connections no grid path could be found for; drawn straight.
  int32_t Unrouted = 0;
  int32_t GridStep = 0;
};

// Twice the station diameter plus the line width: two stations a step apart
// then leave room for a transfer connector between their circles.
int32_t DefaultGridStep(const TMetroMap& map);

TLayoutResult ComputeLayout(const TMetroMap& map, const TLayoutOptions& options);

}  // namespace varnik
