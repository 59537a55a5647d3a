#pragma once
// The drawn course of a route between two stations, taken from the route's
// shape: the shape's points between the places where the stations lie on
// it, thinned to a few nodes.

#include <cstddef>
#include <vector>

namespace varnik {

struct TPointF {
  double X = 0, Y = 0;
};

// For each pair of consecutive stations: the shape's points between them
// (the stations themselves not included), or an empty list where the shape
// passes too far from either station to say anything about the link.
// Stations are found on the shape in order, each at or after the last.
std::vector<std::vector<TPointF>> ShapeBetweenStations(const std::vector<TPointF>& shape,
                                                       const std::vector<TPointF>& stations);

// The interior points of `points` (whose first and last points stay) that
// keep its course within `tolerance`, at most `maxInterior` of them: the
// point farthest from the course so far is added first.
std::vector<TPointF> Simplify(const std::vector<TPointF>& points, size_t maxInterior, double tolerance);

}  // namespace varnik
