#include "layout/uOctilinearGrid.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace varnik {

TOctilinearGrid::TOctilinearGrid(int32_t left, int32_t top, int32_t right, int32_t bottom)
    : left_(left), top_(top), width_(std::max(1, right - left + 1)), height_(std::max(1, bottom - top + 1)) {
  const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
  station_.assign(count, -1);
  onPath_.assign(count, false);
  ports_.assign(count, 0);
}

bool TOctilinearGrid::Inside(int32_t x, int32_t y) const {
  return x >= left_ && y >= top_ && x < left_ + width_ && y < top_ + height_;
}

int32_t TOctilinearGrid::Node(int32_t x, int32_t y) const {
  return Inside(x, y) ? (y - top_) * width_ + (x - left_) : -1;
}

int32_t TOctilinearGrid::Neighbour(int32_t node, int32_t direction) const {
  return Node(X(node) + DirectionX(direction), Y(node) + DirectionY(direction));
}

bool TOctilinearGrid::CanStep(int32_t node, int32_t direction) const {
  const int32_t next = Neighbour(node, direction);
  if (next < 0 || PortUsed(node, direction)) return false;
  const int32_t dx = DirectionX(direction), dy = DirectionY(direction);
  if (dx == 0 || dy == 0) return true;
  // The other diagonal of the same cell runs from (x + dx, y) to (x, y + dy).
  const int32_t corner = Node(X(node) + dx, Y(node));
  for (int32_t d = 0; d < kDirections; ++d)
    if (DirectionX(d) == -dx && DirectionY(d) == dy) return !PortUsed(corner, d);
  return true;
}

void TOctilinearGrid::PlaceStation(int32_t node, int32_t station) { station_[static_cast<size_t>(node)] = station; }

void TOctilinearGrid::LayPath(const std::vector<int32_t>& path) {
  for (size_t i = 1; i < path.size(); ++i) {
    for (int32_t d = 0; d < kDirections; ++d) {
      if (Neighbour(path[i - 1], d) != path[i]) continue;
      ports_[static_cast<size_t>(path[i - 1])] |= uint8_t(1u << d);
      ports_[static_cast<size_t>(path[i])] |= uint8_t(1u << Opposite(d));
    }
    if (i + 1 < path.size()) onPath_[static_cast<size_t>(path[i])] = true;
  }
}

void TRouteScratch::Prepare(size_t states) {
  if (stamp_.size() < states) {
    stamp_.assign(states, 0);
    cost_.resize(states);
    parent_.resize(states);
    target_.assign(states / kDirections + 1, 0);
    targetStamp_.assign(states / kDirections + 1, 0);
    generation_ = 0;
  }
  ++generation_;
}

void TRouteScratch::MarkTarget(size_t node, int32_t target) {
  targetStamp_[node] = generation_;
  target_[node] = target;
}

void TRouteScratch::Visit(size_t state, double cost, int64_t parent) {
  stamp_[state] = generation_;
  cost_[state] = cost;
  parent_[state] = parent;
}

double TurnCost(int32_t steps) {
  static constexpr std::array<double, 5> kCost{0, 1, 2.5, 8, kForbidden};
  return kCost[static_cast<size_t>(std::clamp(steps, 0, 4))];
}

namespace {

constexpr int32_t kSharpestTurnOnTheWay = 2;

double StepLength(int32_t direction) { return direction % 2 == 0 ? 1.0 : std::sqrt(2.0); }

// The box a search may use: around the source and the targets.
struct TWindow {
  int32_t Left, Top, Right, Bottom;
  bool Holds(int32_t x, int32_t y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }
};

TWindow SearchWindow(const TOctilinearGrid& grid, const TRouteRequest& request) {
  TWindow w{grid.X(request.Source), grid.Y(request.Source), grid.X(request.Source), grid.Y(request.Source)};
  for (const TRouteTarget& target : request.Targets) {
    w.Left = std::min(w.Left, grid.X(target.Node));
    w.Right = std::max(w.Right, grid.X(target.Node));
    w.Top = std::min(w.Top, grid.Y(target.Node));
    w.Bottom = std::max(w.Bottom, grid.Y(target.Node));
  }
  return {w.Left - request.Margin, w.Top - request.Margin, w.Right + request.Margin, w.Bottom + request.Margin};
}

struct TQueued {
  double Cost;
  int64_t State;
  bool operator>(const TQueued& other) const { return Cost > other.Cost; }
};

}  // namespace

std::vector<int32_t> FindRoute(const TOctilinearGrid& grid, const TRouteRequest& request, TRouteScratch& scratch) {
  // States are (node, direction of the step that reached it).
  scratch.Prepare(static_cast<size_t>(grid.NodeCount()) * kDirections);
  for (size_t t = 0; t < request.Targets.size(); ++t)
    scratch.MarkTarget(static_cast<size_t>(request.Targets[t].Node), static_cast<int32_t>(t));
  auto targetIndex = [&](int32_t node) { return scratch.TargetAt(static_cast<size_t>(node)); };
  const TWindow window = SearchWindow(grid, request);
  std::priority_queue<TQueued, std::vector<TQueued>, std::greater<>> queue;
  double best = kForbidden;
  int32_t bestNode = -1;
  int64_t bestFrom = -1;  // the state the best target was reached from

  auto step = [&](int32_t from, int64_t fromState, int32_t direction, double cost) {
    if (!grid.CanStep(from, direction)) return;
    const int32_t next = grid.Neighbour(from, direction);
    if (!window.Holds(grid.X(next), grid.Y(next))) return;
    cost += StepLength(direction);
    const int32_t target = grid.StationAt(next) >= 0 || grid.Free(next) ? targetIndex(next) : -1;
    if (target >= 0) {
      const double total = cost + request.Targets[static_cast<size_t>(target)].Arrival[static_cast<size_t>(direction)];
      if (total < best) {
        best = total;
        bestNode = next;
        bestFrom = fromState;
      }
    }
    if (grid.StationAt(next) >= 0) return;  // a station is never passed through
    if (grid.OnPath(next)) {
      if (!request.AllowCrossing) return;
      cost += request.CrossingCost;
    }
    const int64_t nextState = int64_t(next) * kDirections + direction;
    if (cost < scratch.Cost(static_cast<size_t>(nextState)) && cost < best) {
      scratch.Visit(static_cast<size_t>(nextState), cost, fromState);
      queue.push({cost, nextState});
    }
  };

  for (int32_t d = 0; d < kDirections; ++d)
    if (request.Departure[static_cast<size_t>(d)] < kForbidden)
      step(request.Source, -1, d, request.Departure[static_cast<size_t>(d)]);
  while (!queue.empty()) {
    const TQueued top = queue.top();
    queue.pop();
    if (top.Cost >= best) break;
    if (top.Cost > scratch.Cost(static_cast<size_t>(top.State))) continue;
    const int32_t node = static_cast<int32_t>(top.State / kDirections);
    const int32_t arrived = static_cast<int32_t>(top.State % kDirections);
    for (int32_t d = 0; d < kDirections; ++d)
      if (TurnSteps(arrived, d) <= kSharpestTurnOnTheWay) step(node, top.State, d, top.Cost + TurnCost(TurnSteps(arrived, d)));
  }
  if (best == kForbidden) return {};
  std::vector<int32_t> path{bestNode};
  for (int64_t state = bestFrom; state >= 0; state = scratch.Parent(static_cast<size_t>(state)))
    path.push_back(static_cast<int32_t>(state / kDirections));
  path.push_back(request.Source);
  std::reverse(path.begin(), path.end());
  return path;
}

}  // namespace varnik
