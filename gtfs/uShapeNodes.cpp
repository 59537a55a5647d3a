#include "gtfs/uShapeNodes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace varnik {
namespace {

// A place on the shape: segment `Segment` (from point Segment to
// Segment + 1) at the share `T` of its length.
struct TOnShape {
  size_t Segment = 0;
  double T = 0;
  double Distance = 0;
};

TPointF Lerp(const TPointF& a, const TPointF& b, double t) {
  return {a.X + (b.X - a.X) * t, a.Y + (b.Y - a.Y) * t};
}

double Distance(const TPointF& a, const TPointF& b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// The share of segment a-b nearest to p, within [minT, 1].
double NearestShare(const TPointF& a, const TPointF& b, const TPointF& p, double minT) {
  const double dx = b.X - a.X, dy = b.Y - a.Y, length2 = dx * dx + dy * dy;
  const double t = length2 > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2 : 0;
  return std::clamp(t, minT, 1.0);
}

// The nearest place to `p` at or after `from`; the first of equally near
// places, so that a ring's start is found at the start.
TOnShape Locate(const std::vector<TPointF>& shape, const TPointF& p, const TOnShape& from) {
  TOnShape best{from.Segment, from.T, std::numeric_limits<double>::infinity()};
  for (size_t s = from.Segment; s + 1 < shape.size(); ++s) {
    const double t = NearestShare(shape[s], shape[s + 1], p, s == from.Segment ? from.T : 0);
    const double d = Distance(Lerp(shape[s], shape[s + 1], t), p);
    if (d < best.Distance) best = {s, t, d};
  }
  return best;
}

// Distance of p from the line through a and b (from a when they coincide).
double Deviation(const TPointF& p, const TPointF& a, const TPointF& b) {
  const double length = Distance(a, b);
  if (length == 0) return Distance(p, a);
  return std::abs((b.X - a.X) * (a.Y - p.Y) - (a.X - p.X) * (b.Y - a.Y)) / length;
}

}  // namespace

std::vector<std::vector<TPointF>> ShapeBetweenStations(const std::vector<TPointF>& shape,
                                                       const std::vector<TPointF>& stations) {
  std::vector<std::vector<TPointF>> links(stations.size() > 0 ? stations.size() - 1 : 0);
  if (shape.size() < 2 || stations.size() < 2) return links;
  std::vector<TOnShape> places;
  TOnShape cursor;
  for (const TPointF& station : stations) places.push_back(cursor = Locate(shape, station, cursor));
  for (size_t k = 0; k + 1 < stations.size(); ++k) {
    // A shape that passes far from a station does not show this link's course.
    const double reach = std::max(30.0, Distance(stations[k], stations[k + 1]) / 2);
    if (places[k].Distance > reach || places[k + 1].Distance > reach) continue;
    // The shape's own points strictly between the two places.
    const double from = places[k].Segment + places[k].T, to = places[k + 1].Segment + places[k + 1].T;
    for (size_t v = places[k].Segment + 1; v < shape.size() && static_cast<double>(v) < to; ++v) {
      if (static_cast<double>(v) > from) links[k].push_back(shape[v]);
    }
  }
  return links;
}

std::vector<TPointF> Simplify(const std::vector<TPointF>& points, size_t maxInterior, double tolerance) {
  if (points.size() < 3) return {};
  std::vector<size_t> kept{0, points.size() - 1};  // indexes, in order
  while (kept.size() - 2 < maxInterior) {
    double worst = tolerance;
    size_t worstIndex = 0, insertAt = 0;
    for (size_t k = 0; k + 1 < kept.size(); ++k) {
      for (size_t i = kept[k] + 1; i < kept[k + 1]; ++i) {
        const double d = Deviation(points[i], points[kept[k]], points[kept[k + 1]]);
        if (d > worst) {
          worst = d;
          worstIndex = i;
          insertAt = k + 1;
        }
      }
    }
    if (insertAt == 0) break;
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(insertAt), worstIndex);
  }
  std::vector<TPointF> interior;
  for (size_t k = 1; k + 1 < kept.size(); ++k) interior.push_back(points[kept[k]]);
  return interior;
}

}  // namespace varnik
