#pragma once
// The grid a layout draws on: nodes one grid step apart, each joined to its
// eight neighbours (horizontally, vertically and diagonally), so that every
// path along it is octilinear. A node holds at most one station or one
// passing line; an edge carries at most one connection, and two diagonals
// of one cell never both carry one (they would cross between the nodes).
//
// Directions are numbered 0..7 counter-clockwise as seen on the screen's
// y-down axes: 0 east (+x), 2 south (+y), 4 west, 6 north; odd ones are the
// diagonals between them, so direction d points at angle 45 * d degrees.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace varnik {

inline constexpr int32_t kDirections = 8;
inline constexpr double kForbidden = std::numeric_limits<double>::infinity();

constexpr int32_t DirectionX(int32_t d) { return d == 0 || d == 1 || d == 7 ? 1 : (d >= 3 && d <= 5 ? -1 : 0); }
constexpr int32_t DirectionY(int32_t d) { return d >= 1 && d <= 3 ? 1 : (d >= 5 ? -1 : 0); }
constexpr int32_t Opposite(int32_t d) { return (d + 4) % kDirections; }
// The angle between two directions in steps of 45 degrees, 0..4.
constexpr int32_t TurnSteps(int32_t a, int32_t b) {
  const int32_t diff = ((a - b) % kDirections + kDirections) % kDirections;
  return diff > 4 ? kDirections - diff : diff;
}

class TOctilinearGrid {
 public:
  // Nodes (x, y) with left <= x <= right and top <= y <= bottom.
  TOctilinearGrid(int32_t left, int32_t top, int32_t right, int32_t bottom);

  int32_t NodeCount() const { return width_ * height_; }
  bool Inside(int32_t x, int32_t y) const;
  int32_t Node(int32_t x, int32_t y) const;  // -1 outside
  int32_t X(int32_t node) const { return left_ + node % width_; }
  int32_t Y(int32_t node) const { return top_ + node / width_; }
  int32_t Neighbour(int32_t node, int32_t direction) const;  // -1 outside

  int32_t StationAt(int32_t node) const { return station_[static_cast<size_t>(node)]; }
  bool OnPath(int32_t node) const { return onPath_[static_cast<size_t>(node)]; }
  bool Free(int32_t node) const { return StationAt(node) < 0 && !OnPath(node); }
  bool PortUsed(int32_t node, int32_t direction) const { return (ports_[static_cast<size_t>(node)] >> direction) & 1; }
  // Whether a connection may run from `node` to its neighbour in
  // `direction`: the edge is inside, unused, and no used diagonal crosses it.
  bool CanStep(int32_t node, int32_t direction) const;

  void PlaceStation(int32_t node, int32_t station);
  // Marks the edges of the path (consecutive neighbour nodes) used and its
  // inner nodes taken by a passing line.
  void LayPath(const std::vector<int32_t>& path);

 private:
  int32_t left_, top_, width_, height_;
  std::vector<int32_t> station_;
  std::vector<bool> onPath_;
  std::vector<uint8_t> ports_;
};

// One place a route may end at, with the cost of arriving there travelling
// in each direction (kForbidden where it may not).
struct TRouteTarget {
  int32_t Node = 0;
  std::array<double, kDirections> Arrival{};
};

struct TRouteRequest {
  int32_t Source = 0;
  std::array<double, kDirections> Departure{};  // cost of leaving in each direction
  std::vector<TRouteTarget> Targets;
  // Lines already laid may be crossed at a node, at `CrossingCost` each;
  // without it a route never meets another line.
  bool AllowCrossing = false;
  double CrossingCost = 0;
  // The search stays within this many nodes of the box around the source
  // and the targets.
  int32_t Margin = 8;
};

// The search's working memory, kept between routes so that each search does
// not clear arrays the size of the grid.
class TRouteScratch {
 public:
  void Prepare(size_t states);
  bool Seen(size_t state) const { return stamp_[state] == generation_; }
  void Visit(size_t state, double cost, int64_t parent);
  double Cost(size_t state) const { return Seen(state) ? cost_[state] : kForbidden; }
  int64_t Parent(size_t state) const { return parent_[state]; }
  void MarkTarget(size_t node, int32_t target);
  int32_t TargetAt(size_t node) const { return targetStamp_[node] == generation_ ? target_[node] : -1; }

 private:
  uint32_t generation_ = 0;
  std::vector<uint32_t> stamp_;
  std::vector<double> cost_;
  std::vector<int64_t> parent_;
  std::vector<int32_t> target_;
  std::vector<uint32_t> targetStamp_;
};

// The cheapest path from the source to one of the targets: its nodes, the
// source first; empty when there is none. Steps cost their length (1 along
// an axis, the square root of 2 diagonally) and a turn costs by its angle;
// a path never turns by more than 90 degrees between two of its steps.
std::vector<int32_t> FindRoute(const TOctilinearGrid& grid, const TRouteRequest& request, TRouteScratch& scratch);

// The cost of turning by `steps` * 45 degrees (at a station too, where a
// sharper turn is allowed at a high price); kForbidden for turning back.
double TurnCost(int32_t steps);

}  // namespace varnik
