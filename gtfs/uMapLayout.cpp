#include "gtfs/uMapLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "city/uCityWriter.h"
#include "gtfs/uFeed.h"
#include "gtfs/uImportOptions.h"
#include "gtfs/uNetworkBuilder.h"
#include "gtfs/uShapeNodes.h"
#include "gtfs/uStationGroups.h"

namespace varnik {
namespace {

constexpr double kMarginShare = 0.05;
constexpr double kMaxLatitude = 85.05112878;  // where Web Mercator ends

// Label sizes for the map's default label font (bold, 12 pixels high,
// upper case): a generous average width per character.
constexpr int32_t kCharWidth = 9;
constexpr int32_t kLineHeight = 16;
constexpr int32_t kLabelGap = 10;  // from the station's centre to the label

constexpr int32_t kLegendLeft = 20, kLegendTop = 20, kLegendWidth = 60, kLegendHeight = 20;
constexpr int32_t kLegendRowStep = 26, kLegendColumnStep = 80;

constexpr size_t kMaxNodesPerLink = 8;
constexpr double kShapeTolerance = 1.5;  // pixels

constexpr TColor kBlack = 0;
constexpr std::array<TColor, 12> kPalette{0x2020E0, 0xD06010, 0x50A010, 0x00B0E0, 0x2B5A8B, 0xC03090,
                                          0x0070F0, 0xA0A000, 0x9040D0, 0x807060, 0x00A080, 0xA03000};

// A route_color or route_text_color: six hexadecimal digits, red first.
bool ParseFeedColor(const std::string& text, TColor& color) {
  if (text.size() != 6 || !std::all_of(text.begin(), text.end(),
                                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
    return false;
  color = HexToColor(text);
  return true;
}

// Hands out the palette's colours to routes without one of their own,
// passing over those that routes of the feed have, while others are left.
class TPalette {
 public:
  explicit TPalette(const TGtfsFeed& feed) {
    for (const TGtfsRoute& route : feed.Routes) {
      TColor color;
      if (ParseFeedColor(route.Color, color)) taken_.push_back(color);
    }
  }
  TColor Next() {
    for (size_t tried = 0; tried < kPalette.size(); ++tried) {
      const TColor color = kPalette[next_++ % kPalette.size()];
      if (std::find(taken_.begin(), taken_.end(), color) == taken_.end()) return color;
    }
    return kPalette[next_++ % kPalette.size()];
  }

 private:
  std::vector<TColor> taken_;
  size_t next_ = 0;
};

void ColourLine(const TGtfsRoute& route, TPalette& palette, TMetroMapLine& line) {
  if (!ParseFeedColor(route.Color, line.Color)) line.Color = palette.Next();
  TColor text;
  if (ParseFeedColor(route.TextColor, text)) {
    // The feed's text colour is meant to be read on the route's colour.
    line.LabelsColor = text;
    line.LabelsBColor = line.Color;
  } else {
    line.LabelsColor = kBlack;
    line.LabelsBColor = kNoColor;
  }
}

TRect LegendRect(int index, int32_t canvasHeight) {
  const int rows = std::max(1, (canvasHeight - 2 * kLegendTop) / kLegendRowStep);
  const int32_t left = kLegendLeft + (index / rows) * kLegendColumnStep;
  const int32_t top = kLegendTop + (index % rows) * kLegendRowStep;
  return {left, top, left + kLegendWidth, top + kLegendHeight};
}

// The shape the line is drawn along: that of its first trip (by id) with one.
const std::vector<TGtfsShapePoint>* LineShape(const TGtfsFeed& feed, const TImportedLine& line) {
  const TGtfsTrip* chosen = nullptr;
  for (int32_t t : line.Pattern.Trips) {
    const TGtfsTrip& trip = feed.Trips[static_cast<size_t>(t)];
    auto shape = feed.Shapes.find(trip.ShapeId);
    if (shape == feed.Shapes.end() || shape->second.size() < 2) continue;
    if (chosen == nullptr || trip.Id < chosen->Id) chosen = &trip;
  }
  return chosen == nullptr ? nullptr : &feed.Shapes.at(chosen->ShapeId);
}

class TMapBuilder {
 public:
  TMapBuilder(const TGtfsFeed& feed, const TStationGroups& groups, const TMapProjection& projection,
              TMetroMap& map)
      : feed_(feed),
        groups_(groups),
        projection_(projection),
        map_(map),
        labelled_(groups.Stations.size(), false),
        palette_(feed) {}

  void AddLine(const TImportedLine& imported) {
    auto line = std::make_unique<TMetroMapLine>();
    line->Route = imported.Network;
    line->Width = map_.LinesWidth;
    ColourLine(feed_.Routes[static_cast<size_t>(imported.Route)], palette_, *line);
    for (size_t k = 0; k < imported.Network->Stops.size(); ++k) AddStation(imported, k, *line);
    line->LegendRect = LegendRect(static_cast<int>(map_.Lines.size()), projection_.Height());
    AddSegments(imported, *line);
    map_.Lines.push_back(std::move(line));
  }

 private:
  void AddStation(const TImportedLine& imported, size_t k, TMetroMapLine& line) {
    auto station = std::make_unique<TMetroMapStation>();
    station->Stop = imported.Network->Stops[k].get();
    station->Diameter = map_.StationDiameter;
    const size_t s = static_cast<size_t>(imported.StationOfStop[k]);
    const TGtfsStation& place = groups_.Stations[s];
    if (place.HasPlace) {
      double x, y;
      projection_.Project(place.Lat, place.Lon, x, y);
      station->Coordinate.X = RoundToInt(x);
      station->Coordinate.Y = RoundToInt(y);
      // One label per station of the city, at its first line.
      if (!labelled_[s]) {
        station->LabelRect =
            LabelRectFor(station->Stop->Station->Name, station->Coordinate.X, station->Coordinate.Y);
        labelled_[s] = true;
      }
    }
    line.Stations.push_back(std::move(station));
  }

  // The course of each link along the route's shape, where the feed has one.
  void AddSegments(const TImportedLine& imported, TMetroMapLine& line) {
    const std::vector<TGtfsShapePoint>* shape = LineShape(feed_, imported);
    if (shape == nullptr) return;
    std::vector<TPointF> shapePoints, stationPoints;
    for (const TGtfsShapePoint& point : *shape) shapePoints.push_back(Projected(point.Lat, point.Lon));
    for (int32_t s : imported.Pattern.Stations) {
      const TGtfsStation& station = groups_.Stations[static_cast<size_t>(s)];
      if (!station.HasPlace) return;
      stationPoints.push_back(Projected(station.Lat, station.Lon));
    }
    const auto links = ShapeBetweenStations(shapePoints, stationPoints);
    for (size_t p = 0; p < links.size(); ++p) {
      TMetroMapStation* from = line.Stations[static_cast<size_t>(imported.StopOfPosition[p])].get();
      TMetroMapStation* to = line.Stations[static_cast<size_t>(imported.StopOfPosition[p + 1])].get();
      std::vector<TPointF> course{stationPoints[p]};
      course.insert(course.end(), links[p].begin(), links[p].end());
      course.push_back(stationPoints[p + 1]);
      AddSegment(Simplify(course, kMaxNodesPerLink, kShapeTolerance), from, to, line);
    }
  }

  void AddSegment(const std::vector<TPointF>& interior, TMetroMapStation* from, TMetroMapStation* to,
                  TMetroMapLine& line) {
    auto segment = std::make_unique<TMetroMapSegment>();
    segment->FromStation = from;
    segment->ToStation = to;
    segment->AddNode(from->Coordinate.X, from->Coordinate.Y);
    for (const TPointF& point : interior) {
      const TCoordinate& last = segment->Nodes.back()->Coordinate;
      const int32_t x = RoundToInt(point.X), y = RoundToInt(point.Y);
      if ((x != last.X || y != last.Y) && (x != to->Coordinate.X || y != to->Coordinate.Y))
        segment->AddNode(x, y);
    }
    if (segment->Nodes.size() < 2) return;  // a straight link needs no segment
    segment->AddNode(to->Coordinate.X, to->Coordinate.Y);
    segment->Name = std::to_string(++segments_);
    line.Segments.push_back(std::move(segment));
  }

  TPointF Projected(double lat, double lon) const {
    TPointF point;
    projection_.Project(lat, lon, point.X, point.Y);
    return point;
  }

  const TGtfsFeed& feed_;
  const TStationGroups& groups_;
  const TMapProjection& projection_;
  TMetroMap& map_;
  std::vector<bool> labelled_;  // per station of the feed
  TPalette palette_;
  int segments_ = 0;
};

}  // namespace

TMapProjection::TMapProjection(const TStationGroups& groups, const std::vector<int32_t>& stations,
                               int32_t size) {
  double minX = std::numeric_limits<double>::infinity(), maxX = -minX, minY = minX, maxY = -minX;
  for (int32_t s : stations) {
    const TGtfsStation& station = groups.Stations[static_cast<size_t>(s)];
    if (!station.HasPlace) continue;
    double x, y;
    Mercator(station.Lat, station.Lon, x, y);
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  margin_ = size * kMarginShare;
  const double span = std::max(maxX - minX, maxY - minY);
  if (!(span > 0)) {
    // One place (or none): it goes in the middle of a square canvas.
    width_ = height_ = size;
    minX_ = std::isfinite(minX) ? minX - (size / 2.0 - margin_) : 0;
    maxY_ = std::isfinite(maxY) ? maxY + (size / 2.0 - margin_) : 0;
    scale_ = 1;
    return;
  }
  scale_ = (size - 2 * margin_) / span;
  minX_ = minX;
  maxY_ = maxY;
  width_ = RoundToInt((maxX - minX) * scale_ + 2 * margin_);
  height_ = RoundToInt((maxY - minY) * scale_ + 2 * margin_);
}

void TMapProjection::Mercator(double lat, double lon, double& x, double& y) {
  const double rad = M_PI / 180;
  x = lon * rad;
  y = std::log(std::tan(M_PI / 4 + std::clamp(lat, -kMaxLatitude, kMaxLatitude) * rad / 2));
}

void TMapProjection::Project(double lat, double lon, double& x, double& y) const {
  double mx, my;
  Mercator(lat, lon, mx, my);
  x = margin_ + (mx - minX_) * scale_;
  y = margin_ + (maxY_ - my) * scale_;
}

TRect LabelRectFor(const std::string& name, int32_t x, int32_t y) {
  const size_t blank = name.find(' ');
  const bool twoLines = blank != std::string::npos;
  const size_t longest = twoLines ? std::max(blank, name.size() - blank - 1) : name.size();
  const int32_t width = static_cast<int32_t>(longest) * kCharWidth + 4;
  const int32_t height = twoLines ? 2 * kLineHeight : kLineHeight;
  const int32_t left = x + kLabelGap, top = y - height / 2;
  // The map draws a two-line label only in a rectangle at least as wide as high.
  return {left, top, left + std::max(width, height), top + height};
}

void BuildMap(const TGtfsFeed& feed, const TStationGroups& groups, const std::vector<TImportedLine>& lines,
              const TImportOptions& options, TFreshCity& city) {
  std::vector<int32_t> used;
  for (const TImportedLine& line : lines)
    used.insert(used.end(), line.StationOfStop.begin(), line.StationOfStop.end());
  const TMapProjection projection(groups, used, options.Size);

  city.Background = {"Background.vec", projection.Width(), projection.Height()};
  city.Map = std::make_unique<TMetroMap>(city.Transports, nullptr);
  TMetroMap& map = *city.Map;
  map.Name = "Metro.map";
  map.ImageFileName = city.Background.FileName;
  for (const auto& transport : city.Transports.Items) map.Transports.push_back(transport.get());
  map.CheckedTransports = map.Transports;

  // Lines in the order the map reads them: by transport, then by route.
  std::unordered_map<const TRoute*, const TImportedLine*> lineOfRoute;
  for (const TImportedLine& line : lines) lineOfRoute[line.Network] = &line;
  TMapBuilder builder(feed, groups, projection, map);
  for (const auto& transport : city.Transports.Items) {
    for (const auto& route : transport->Routes) builder.AddLine(*lineOfRoute.at(route.get()));
  }
}

}  // namespace varnik
