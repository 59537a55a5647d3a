#include "layout/uSchematicLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <queue>
#include <string>

#include "layout/uLabelPlacer.h"
#include "layout/uLineLinks.h"
#include "layout/uOctilinearGrid.h"
#include "map/uMetroMap.h"

namespace varnik {

namespace {

// The costs are in grid steps of path length.
constexpr double kDisplacementCost = 1.5;    // per step between a new station and its geographic place
constexpr double kDirectionCost = 0.75;    // per 45 degrees between a departure and the geographic one
constexpr double kCrossingCost = 8;       // per line crossed on the way
constexpr double kFarTransferCost = 1;     // a transfer two steps long instead of one
constexpr double kBlockedPortCost = 3;     // a transfer partner put where a line will want to leave
constexpr double kWrongSideCost = 4;       // a partner on the other side of the line than the last one
constexpr double kSlantedSideCost = 1;
constexpr double kLineSidePull = 1;        // a partner towards where its own line goes     // a partner beside the line, but not square to it
constexpr int32_t kCandidateRadius = 3;    // first ring of nodes a new station may take
constexpr int32_t kRadiusAttempts = 3;     // the ring doubles this many times before lines may cross
constexpr int32_t kGridMargin = 12;        // free nodes around the geographic extent
constexpr double kDensityRadius = 3;       // steps around a station that count towards its density
constexpr double kLongestTransfer = 2;     // steps
constexpr double kEvenSpread = 0;        // share of the even spacing in the places aimed at

double AngleOf(double dx, double dy) { return std::atan2(dy, dx); }

// How far direction `d` is from `angle`, in steps of 45 degrees.
double DirectionDeviation(int32_t d, double angle) {
  double diff = std::fmod(std::abs(angle - d * std::numbers::pi / 4), 2 * std::numbers::pi);
  if (diff > std::numbers::pi) diff = 2 * std::numbers::pi - diff;
  return diff / (std::numbers::pi / 4);
}

struct TStationNode {
  int32_t Line = 0, Index = 0;
  double GeoX = 0, GeoY = 0;  // the geographic place in grid steps
  int32_t Node = -1;
  std::vector<int32_t> Edges;
  std::vector<int32_t> Partners;  // stations joined to it by a transfer
  double Density = 0;
};

struct TEdge {
  int32_t A = 0, B = 0;
  double AngleA = 0, AngleB = 0;  // geographic directions leaving A and leaving B
  int32_t PortA = -1, PortB = -1;  // grid directions leaving A and B once laid
  std::vector<int32_t> Path;       // grid nodes from A to B
  bool Laid = false;
  bool Straight = false;  // no grid path was found; drawn directly
};

int32_t NumericName(const std::string& name) {
  if (name.empty() || name.size() > 9 || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return 0;
  return std::stoi(name);
}

class TLayoutBuilder {
 public:
  TLayoutBuilder(const TMetroMap& map, int32_t step) : map_(map), step_(step), grid_(MakeGrid(map, step)) {
    CollectStations();
    SpreadEvenly();
    CollectEdges();
    CollectTransfers();
    MeasureDensity();
  }

  // False when cancelled.
  bool Run(const TLayoutOptions& options) {
    int32_t done = 0;
    for (;;) {
      if (frontier_.empty() && !SeedNext()) return true;
      const int32_t e = frontier_.top().second;
      frontier_.pop();
      if (edges_[static_cast<size_t>(e)].Laid) continue;
      if (options.Cancel != nullptr && options.Cancel->load()) return false;
      LayEdge(e);
      ++done;
      if (options.Progress) options.Progress(done, static_cast<int32_t>(edges_.size()));
    }
  }

  int32_t Unrouted() const {
    return static_cast<int32_t>(std::count_if(edges_.begin(), edges_.end(), [](const TEdge& e) { return e.Straight; }));
  }

  TMapGeometry Result() const {
    TMapGeometry geometry = CaptureGeometry(map_);
    for (const TStationNode& station : stations_)
      if (station.Node >= 0) geometry.Lines[static_cast<size_t>(station.Line)].Stations[static_cast<size_t>(station.Index)] = PixelOf(station.Node);
    int32_t nextName = 0;
    for (const auto& line : map_.Lines)
      for (const auto& segment : line->Segments) nextName = std::max(nextName, NumericName(segment->Name));
    for (const TEdge& edge : edges_) WriteSegment(edge, geometry, nextName);
    PlaceLabels(map_, geometry);
    return geometry;
  }

 private:
  static TOctilinearGrid MakeGrid(const TMetroMap& map, int32_t step) {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const auto& line : map.Lines)
      for (const auto& station : line->Stations) {
        if (!station->Coordinate.Placed()) continue;
        left = std::min(left, station->Coordinate.X / step);
        right = std::max(right, station->Coordinate.X / step + 1);
        top = std::min(top, station->Coordinate.Y / step);
        bottom = std::max(bottom, station->Coordinate.Y / step + 1);
      }
    if (left > right) return TOctilinearGrid(1, 1, 1, 1);
    // Node coordinates times the step are the pixels; nodes start at 1 so
    // that every station stays placed.
    return TOctilinearGrid(std::max(1, left - kGridMargin), std::max(1, top - kGridMargin), right + kGridMargin,
                           bottom + kGridMargin);
  }

  void CollectStations() {
    stationOf_.resize(map_.Lines.size());
    for (size_t l = 0; l < map_.Lines.size(); ++l) {
      const TMetroMapLine& line = *map_.Lines[l];
      stationOf_[l].assign(line.Stations.size(), -1);
      for (size_t s = 0; s < line.Stations.size(); ++s) {
        const TCoordinate& c = line.Stations[s]->Coordinate;
        if (!c.Placed()) continue;
        stationOf_[l][s] = static_cast<int32_t>(stations_.size());
        TStationNode station;
        station.Line = static_cast<int32_t>(l);
        station.Index = static_cast<int32_t>(s);
        station.GeoX = double(c.X) / step_;
        station.GeoY = double(c.Y) / step_;
        stations_.push_back(station);
      }
    }
  }

  // A city is dense in its centre and sparse outside, a schematic map is
  // about even. Each coordinate is moved part of the way towards where it
  // would be if the stations were evenly spaced along that axis, keeping the
  // extent; the order along each axis, and so every station's being north,
  // south, east or west of another, stays as it was.
  void SpreadEvenly() {
    SpreadAxis(&TStationNode::GeoX);
    SpreadAxis(&TStationNode::GeoY);
  }

  void SpreadAxis(double TStationNode::*axis) {
    if (stations_.size() < 2) return;
    std::vector<double> sorted;
    for (const TStationNode& station : stations_) sorted.push_back(station.*axis);
    std::sort(sorted.begin(), sorted.end());
    const double low = sorted.front(), span = sorted.back() - sorted.front();
    const double last = double(sorted.size() - 1);
    for (TStationNode& station : stations_) {
      // Stations at one coordinate share the middle of their ranks.
      const auto [first, end] = std::equal_range(sorted.begin(), sorted.end(), station.*axis);
      const double rank = ((first - sorted.begin()) + (end - sorted.begin() - 1)) / 2.0;
      station.*axis = (1 - kEvenSpread) * (station.*axis) + kEvenSpread * (low + span * rank / last);
    }
  }

  void CollectEdges() {
    for (size_t l = 0; l < map_.Lines.size(); ++l) {
      const TMetroMapLine& line = *map_.Lines[l];
      for (const TLineLink& link : LineLinks(line)) {
        std::vector<TPoint32> course = LinkCourse(line, link);
        course.erase(std::unique(course.begin(), course.end()), course.end());
        TEdge edge;
        edge.A = stationOf_[l][static_cast<size_t>(link.From)];
        edge.B = stationOf_[l][static_cast<size_t>(link.To)];
        if (course.size() >= 2) {
          const size_t n = course.size();
          edge.AngleA = AngleOf(course[1].X - course[0].X, course[1].Y - course[0].Y);
          edge.AngleB = AngleOf(course[n - 2].X - course[n - 1].X, course[n - 2].Y - course[n - 1].Y);
        }
        const int32_t e = static_cast<int32_t>(edges_.size());
        stations_[static_cast<size_t>(edge.A)].Edges.push_back(e);
        stations_[static_cast<size_t>(edge.B)].Edges.push_back(e);
        edges_.push_back(edge);
      }
    }
  }

  void CollectTransfers() {
    for (const auto& transfer : map_.Transfers) {
      const int32_t a = StationId(transfer->Station1), b = StationId(transfer->Station2);
      if (a < 0 || b < 0 || a == b) continue;
      auto& partners = stations_[static_cast<size_t>(a)].Partners;
      if (std::find(partners.begin(), partners.end(), b) != partners.end()) continue;
      partners.push_back(b);
      stations_[static_cast<size_t>(b)].Partners.push_back(a);
    }
  }

  int32_t StationId(const TMetroMapStation* station) const {
    const TMetroMapLine* line = map_.FindLineByStation(station);
    if (line == nullptr) return -1;
    for (size_t l = 0; l < map_.Lines.size(); ++l)
      if (map_.Lines[l].get() == line)
        for (size_t s = 0; s < line->Stations.size(); ++s)
          if (line->Stations[s].get() == station) return stationOf_[l][s];
    return -1;
  }

  // The busier a station's surroundings, the earlier its connections are
  // laid, while the grid around it is still free.
  void MeasureDensity() {
    for (TStationNode& station : stations_) {
      station.Density = double(station.Edges.size() + station.Partners.size());
      for (const TStationNode& other : stations_)
        station.Density += std::hypot(other.GeoX - station.GeoX, other.GeoY - station.GeoY) <= kDensityRadius;
    }
  }

  TStationNode& At(int32_t s) { return stations_[static_cast<size_t>(s)]; }
  const TStationNode& At(int32_t s) const { return stations_[static_cast<size_t>(s)]; }
  TEdge& Edge(int32_t e) { return edges_[static_cast<size_t>(e)]; }
  const TEdge& Edge(int32_t e) const { return edges_[static_cast<size_t>(e)]; }

  TPoint32 PixelOf(int32_t node) const { return {grid_.X(node) * step_, grid_.Y(node) * step_}; }

  double Distance(int32_t node, double x, double y) const { return std::hypot(grid_.X(node) - x, grid_.Y(node) - y); }
  double NodeDistance(int32_t a, int32_t b) const { return Distance(a, grid_.X(b), grid_.Y(b)); }

  // --- Order --------------------------------------------------------------

  void PushEdges(int32_t s) {
    for (int32_t e : At(s).Edges)
      if (!Edge(e).Laid) frontier_.push({std::max(At(Edge(e).A).Density, At(Edge(e).B).Density), e});
  }

  // Places the busiest station not placed yet; false when all are.
  bool SeedNext() {
    int32_t best = -1;
    for (size_t s = 0; s < stations_.size(); ++s)
      if (stations_[s].Node < 0 && (best < 0 || stations_[s].Density > At(best).Density)) best = static_cast<int32_t>(s);
    if (best < 0) return false;
    Place(best, NearestFreeNode(best));
    return true;
  }

  // The free node nearest to the station's geographic place; the grid's
  // margin makes sure there is one.
  int32_t NearestFreeNode(int32_t s) const {
    int32_t best = -1;
    double bestDistance = 0;
    for (int32_t node = 0; node < grid_.NodeCount(); ++node) {
      if (!grid_.Free(node)) continue;
      const double d = Distance(node, At(s).GeoX, At(s).GeoY);
      if (best < 0 || d < bestDistance) best = node, bestDistance = d;
    }
    return best;
  }

  // Puts the station on the node, then its transfer partners beside it.
  void Place(int32_t s, int32_t node) {
    At(s).Node = node;
    grid_.PlaceStation(node, s);
    PushEdges(s);
    for (int32_t p : At(s).Partners)
      if (At(p).Node < 0) {
        const int32_t partnerNode = PartnerNode(p, s);
        if (partnerNode >= 0) Place(p, partnerNode);
      }
  }

  // --- Transfers ------------------------------------------------------------

  bool NearPlacedPartners(int32_t s, int32_t node) const {
    for (int32_t p : At(s).Partners)
      if (At(p).Node >= 0 && NodeDistance(node, At(p).Node) > kLongestTransfer + 1e-9) return false;
    return true;
  }

  // Whether a connector from `from` to `to` (at most two steps) would run
  // over a line.
  bool ConnectorClear(int32_t from, int32_t to) const {
    for (int32_t d = 0; d < kDirections; ++d) {
      const int32_t next = grid_.Neighbour(from, d);
      if (next == to) return grid_.CanStep(from, d);
      if (next >= 0 && grid_.Neighbour(next, d) == to) return grid_.CanStep(from, d) && grid_.Free(next) && grid_.CanStep(next, d);
    }
    return true;  // a knight's move: it passes between nodes
  }

  // The node for partner `p` of the station `s` just placed: free, near
  // enough to every placed partner, clear of the ports both lines will
  // want, and beside where the partners of its line neighbours stand.
  int32_t PartnerNode(int32_t p, int32_t s) const {
    const int32_t home = At(s).Node;
    int32_t best = -1;
    double bestCost = 0;
    for (int32_t dy = -2; dy <= 2; ++dy)
      for (int32_t dx = -2; dx <= 2; ++dx) {
        const int32_t node = grid_.Node(grid_.X(home) + dx, grid_.Y(home) + dy);
        if (node < 0 || node == home || !grid_.Free(node) || !NearPlacedPartners(p, node) || !ConnectorClear(home, node))
          continue;
        const double cost = PartnerCost(p, s, node, dx, dy);
        if (best < 0 || cost < bestCost) best = node, bestCost = cost;
      }
    return best;
  }

  double PartnerCost(int32_t p, int32_t s, int32_t node, int32_t dx, int32_t dy) const {
    const double away = AngleOf(dx, dy), back = AngleOf(-dx, -dy);
    double cost = kDisplacementCost * Distance(node, At(p).GeoX, At(p).GeoY);
    if (std::hypot(dx, dy) > 1.5) cost += kFarTransferCost;
    for (int32_t e : At(s).Edges)
      if (DirectionDeviation(0, GeoAngleAt(e, s) - away) < 0.5 || PortAt(e, s) == DirectionOf(dx, dy)) cost += kBlockedPortCost;
    for (int32_t e : At(p).Edges)
      if (DirectionDeviation(0, GeoAngleAt(e, p) - back) < 0.5) cost += kBlockedPortCost;
    // The partner goes to the side its own line heads for and away from
    // where the station's line heads; where both lines head the same way the
    // two pulls cancel.
    for (int32_t e : At(p).Edges) cost -= kLineSidePull * std::cos(away - GeoAngleAt(e, p));
    for (int32_t e : At(s).Edges) cost += kLineSidePull * std::cos(away - GeoAngleAt(e, s));
    // Two lines sharing consecutive stations: the partner stays on the same
    // side of the line as the partner at the previous station, and beside the
    // line rather than ahead of it, so that the two can run side by side.
    for (int32_t f : At(s).Edges) {
      const int32_t r = Other(f, s);
      if (!Edge(f).Laid || Edge(f).Straight) continue;
      for (int32_t q : At(r).Partners)
        if (At(q).Node >= 0 && Neighbours(q, p)) cost += SideCost(f, r, q, s, dx, dy);
    }
    return cost;
  }

  // The cost of offset (dx, dy) beside station s, reached by laid connection
  // f from r, where q stands beside r.
  double SideCost(int32_t f, int32_t r, int32_t q, int32_t s, int32_t dx, int32_t dy) const {
    const int32_t leave = PortAt(f, r), arrive = Opposite(PortAt(f, s));
    const int32_t qx = grid_.X(At(q).Node) - grid_.X(At(r).Node), qy = grid_.Y(At(q).Node) - grid_.Y(At(r).Node);
    const int32_t sideThere = DirectionX(leave) * qy - DirectionY(leave) * qx;
    const int32_t sideHere = DirectionX(arrive) * dy - DirectionY(arrive) * dx;
    double cost = 0;
    if (sideHere == 0 || (sideHere > 0) != (sideThere > 0)) cost += kWrongSideCost;
    if (DirectionX(arrive) * dx + DirectionY(arrive) * dy != 0) cost += kSlantedSideCost;
    return cost;
  }

  bool Neighbours(int32_t a, int32_t b) const {
    return std::any_of(At(a).Edges.begin(), At(a).Edges.end(), [&](int32_t e) { return Other(e, a) == b; });
  }

  static int32_t DirectionOf(int32_t dx, int32_t dy) {
    for (int32_t d = 0; d < kDirections; ++d)
      if (DirectionX(d) == dx && DirectionY(d) == dy) return d;
    return -1;
  }

  // --- Laying a connection --------------------------------------------------

  int32_t Other(int32_t e, int32_t s) const { return Edge(e).A == s ? Edge(e).B : Edge(e).A; }
  double GeoAngleAt(int32_t e, int32_t s) const { return Edge(e).A == s ? Edge(e).AngleA : Edge(e).AngleB; }
  int32_t PortAt(int32_t e, int32_t s) const { return Edge(e).A == s ? Edge(e).PortA : Edge(e).PortB; }

  // Whether leaving station `s` in direction `port` for connection `e`
  // keeps the connections already laid there in their geographic order.
  bool KeepsOrder(int32_t s, int32_t e, int32_t port) const {
    std::vector<std::pair<double, int32_t>> around;
    for (int32_t f : At(s).Edges) {
      if (f == e || !Edge(f).Laid || Edge(f).Straight) continue;
      if (PortAt(f, s) == port) return false;
      around.push_back({GeoAngleAt(f, s), PortAt(f, s)});
    }
    if (around.size() < 2) return true;
    around.push_back({GeoAngleAt(e, s), port});
    std::sort(around.begin(), around.end());
    int32_t turn = 0;
    for (size_t i = 0; i < around.size(); ++i) {
      const int32_t step = (around[(i + 1) % around.size()].second - around[i].second + kDirections) % kDirections;
      if (step == 0) return false;
      turn += step;
    }
    return turn == kDirections;
  }

  // The cost of connection `e` leaving station `s` in direction `port`:
  // order around the station, the line's bend there, the geographic way.
  double PortCost(int32_t s, int32_t e, int32_t port) const {
    if (!KeepsOrder(s, e, port)) return kForbidden;
    double cost = kDirectionCost * DirectionDeviation(port, GeoAngleAt(e, s));
    if (At(s).Edges.size() == 2) {
      const int32_t other = At(s).Edges[0] == e ? At(s).Edges[1] : At(s).Edges[0];
      if (Edge(other).Laid && !Edge(other).Straight) cost += TurnCost(TurnSteps(Opposite(PortAt(other, s)), port));
    }
    return cost;
  }

  TRouteTarget TargetAt(int32_t s, int32_t e, int32_t node, double extra) const {
    TRouteTarget target{node, {}};
    for (int32_t d = 0; d < kDirections; ++d)
      target.Arrival[static_cast<size_t>(d)] = extra + PortCost(s, e, Opposite(d));
    return target;
  }

  // The nodes a connection may end at: the station's own once placed, else
  // the free nodes of a ring around its geographic place, near its placed
  // transfer partners when any is.
  std::vector<TRouteTarget> Targets(int32_t s, int32_t e, int32_t radius) const {
    if (At(s).Node >= 0) return {TargetAt(s, e, At(s).Node, 0)};
    std::vector<TRouteTarget> targets = FreeTargets(s, e, radius, true);
    return targets.empty() ? FreeTargets(s, e, radius, false) : targets;
  }

  std::vector<TRouteTarget> FreeTargets(int32_t s, int32_t e, int32_t radius, bool nearPartners) const {
    std::vector<TRouteTarget> targets;
    const int32_t cx = static_cast<int32_t>(std::lround(At(s).GeoX)), cy = static_cast<int32_t>(std::lround(At(s).GeoY));
    for (int32_t y = cy - radius; y <= cy + radius; ++y)
      for (int32_t x = cx - radius; x <= cx + radius; ++x) {
        const int32_t node = grid_.Node(x, y);
        if (node < 0 || !grid_.Free(node) || (nearPartners && !NearPlacedPartners(s, node))) continue;
        targets.push_back(TargetAt(s, e, node, kDisplacementCost * Distance(node, At(s).GeoX, At(s).GeoY)));
      }
    return targets;
  }

  std::vector<int32_t> Search(int32_t from, int32_t to, int32_t e, int32_t radius, bool crossing) {
    TRouteRequest request;
    request.Source = At(from).Node;
    for (int32_t d = 0; d < kDirections; ++d) request.Departure[static_cast<size_t>(d)] = PortCost(from, e, d);
    request.Targets = Targets(to, e, radius);
    request.AllowCrossing = crossing;
    request.CrossingCost = kCrossingCost;
    request.Margin = 4 + radius;
    if (request.Targets.empty()) return {};
    return FindRoute(grid_, request, scratch_);
  }

  void LayEdge(int32_t e) {
    int32_t from = Edge(e).A, to = Edge(e).B;
    if (At(from).Node < 0) std::swap(from, to);
    std::vector<int32_t> path;
    // A line crosses another where the map as it is makes it (priced, so
    // that it does only where going round would take it far from its way).
    for (int32_t attempt = 0, radius = kCandidateRadius; path.empty() && attempt <= kRadiusAttempts; ++attempt, radius *= 2)
      path = Search(from, to, e, radius, true);
    TEdge& edge = Edge(e);
    edge.Laid = true;
    edge.Straight = path.empty();
    const bool newStation = At(to).Node < 0;
    if (edge.Straight)
      path = {At(from).Node, newStation ? NearestFreeNode(to) : At(to).Node};
    else
      grid_.LayPath(path);
    if (edge.A != from) std::reverse(path.begin(), path.end());
    edge.Path = path;
    if (!edge.Straight) {
      edge.PortA = DirectionBetween(path[0], path[1]);
      edge.PortB = DirectionBetween(path.back(), path[path.size() - 2]);
    }
    // Placed only now: its transfer partners go beside it by the way the
    // connection arrives.
    if (newStation) Place(to, edge.A == to ? path.front() : path.back());
  }

  int32_t DirectionBetween(int32_t a, int32_t b) const {
    for (int32_t d = 0; d < kDirections; ++d)
      if (grid_.Neighbour(a, d) == b) return d;
    return -1;
  }

  // --- Result ---------------------------------------------------------------

  // The path's corners in pixels, without its ends.
  std::vector<TPoint32> Bends(const TEdge& edge) const {
    std::vector<TPoint32> bends;
    for (size_t i = 1; i + 1 < edge.Path.size(); ++i)
      if (DirectionBetween(edge.Path[i - 1], edge.Path[i]) != DirectionBetween(edge.Path[i], edge.Path[i + 1]))
        bends.push_back(PixelOf(edge.Path[i]));
    return bends;
  }

  void WriteSegment(const TEdge& edge, TMapGeometry& geometry, int32_t& nextName) const {
    const TStationNode &a = At(edge.A), &b = At(edge.B);
    TLineGeometry& line = geometry.Lines[static_cast<size_t>(a.Line)];
    std::vector<TPoint32> bends = Bends(edge);
    auto found = std::find_if(line.Segments.begin(), line.Segments.end(), [&](const TSegmentGeometry& segment) {
      return (segment.From == a.Index && segment.To == b.Index) || (segment.From == b.Index && segment.To == a.Index);
    });
    if (found == line.Segments.end()) {
      if (bends.empty()) return;
      found = line.Segments.insert(line.Segments.end(), TSegmentGeometry{std::to_string(++nextName), a.Index, b.Index, false, {}});
    }
    if (found->From != a.Index) std::reverse(bends.begin(), bends.end());
    found->Spline = false;
    found->Nodes = {line.Stations[static_cast<size_t>(found->From)]};
    found->Nodes.insert(found->Nodes.end(), bends.begin(), bends.end());
    found->Nodes.push_back(line.Stations[static_cast<size_t>(found->To)]);
  }

  const TMetroMap& map_;
  int32_t step_;
  TOctilinearGrid grid_;
  TRouteScratch scratch_;
  std::vector<TStationNode> stations_;
  std::vector<TEdge> edges_;
  std::vector<std::vector<int32_t>> stationOf_;  // per line and station index; -1 not placed
  std::priority_queue<std::pair<double, int32_t>> frontier_;
};

}  // namespace

int32_t DefaultGridStep(const TMetroMap& map) { return std::max(1, 2 * map.StationDiameter + map.LinesWidth); }

TLayoutResult ComputeLayout(const TMetroMap& map, const TLayoutOptions& options) {
  TLayoutResult result;
  result.GridStep = options.GridStep > 0 ? options.GridStep : DefaultGridStep(map);
  TLayoutBuilder builder(map, result.GridStep);
  if (!builder.Run(options)) {
    result.Cancelled = true;
    result.Geometry = CaptureGeometry(map);
    return result;
  }
  result.Geometry = builder.Result();
  result.Unrouted = builder.Unrouted();
  return result;
}

}  // namespace varnik
