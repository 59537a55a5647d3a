#pragma once
// The main map of an imported city. Stations are placed by the Web
// Mercator projection of their latitude and longitude, scaled with one
// factor so that they span the canvas (`Size` pixels on its longer side)
// less a margin of 5 % on each side, y pointing down. Line colours come
// from route_color (a fixed palette where it is missing), label colours
// from route_text_color, set on the route's colour the way the feed means
// it to be read, or black. Every station gets one label to the right of its
// first line's stop, sized for its name; the legends are stacked in the
// top left corner; a route's shape gives the links their course.

#include <cstdint>
#include <string>
#include <vector>

#include "core/uUtils.h"

namespace varnik {

class TFreshCity;
class TGtfsFeed;
class TStationGroups;
struct TImportOptions;
struct TImportedLine;

// Places the stations of the feed on a canvas.
class TMapProjection {
 public:
  // Spans the places of `stations` (indexes into `groups`).
  TMapProjection(const TStationGroups& groups, const std::vector<int32_t>& stations, int32_t size);
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The canvas point of a latitude and longitude.
  void Project(double lat, double lon, double& x, double& y) const;

 private:
  static void Mercator(double lat, double lon, double& x, double& y);

  double minX_ = 0, maxY_ = 0, scale_ = 0, margin_ = 0;
  int32_t width_ = 0, height_ = 0;
};

// Builds the map, its background picture, and the Transports of the map
// (every transport of the city) into `city`, whose network `lines` are.
void BuildMap(const TGtfsFeed& feed, const TStationGroups& groups, const std::vector<TImportedLine>& lines,
              const TImportOptions& options, TFreshCity& city);

// The label rectangle of a name (Windows-1251) for a station at (x, y):
// to its right, one line high, or two when the name breaks at a blank.
TRect LabelRectFor(const std::string& name, int32_t x, int32_t y);

}  // namespace varnik
