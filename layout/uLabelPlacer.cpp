#include "layout/uLabelPlacer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "layout/uLineLinks.h"
#include "map/uMetroMap.h"

namespace varnik {

namespace {

constexpr int32_t kGap = 2;  // pixels between a station's circle and its label

struct TSegmentF {
  double X1, Y1, X2, Y2;
};

// Whether the segment enters the rectangle (Liang-Barsky clipping).
bool SegmentMeetsRect(const TSegmentF& s, const TRect& r) {
  double t0 = 0, t1 = 1;
  const double dx = s.X2 - s.X1, dy = s.Y2 - s.Y1;
  const std::array<double, 4> p{-dx, dx, -dy, dy};
  const std::array<double, 4> q{s.X1 - r.Left, r.Right - s.X1, s.Y1 - r.Top, r.Bottom - s.Y1};
  for (size_t i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

bool RectsMeet(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

TRect Grown(const TRect& r, int32_t by) { return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by}; }

class TLabelPlacer {
 public:
  TLabelPlacer(const TMetroMap& map, TMapGeometry& geometry) : map_(map), geometry_(geometry) {
    CollectLines();
    CollectStations();
    CollectTransfers();
  }

  void Run() {
    for (size_t l = 0; l < map_.Lines.size(); ++l)
      for (size_t s = 0; s < map_.Lines[l]->Stations.size(); ++s) PlaceLabel(l, s);
  }

 private:
  void CollectLines() {
    for (size_t l = 0; l < map_.Lines.size(); ++l) {
      const TMetroMapLine& line = *map_.Lines[l];
      const TLineGeometry& placed = geometry_.Lines[l];
      const double halfWidth = line.Width / 2.0;
      for (const TLineLink& link : LineLinks(line)) {
        std::vector<TPoint32> course{placed.Stations[static_cast<size_t>(link.From)], placed.Stations[static_cast<size_t>(link.To)]};
        for (const TSegmentGeometry& segment : placed.Segments)
          if ((segment.From == link.From && segment.To == link.To) || (segment.From == link.To && segment.To == link.From))
            course = segment.Nodes;
        for (size_t i = 1; i < course.size(); ++i) AddPiece(course[i - 1], course[i], halfWidth);
      }
    }
  }

  void AddPiece(const TPoint32& a, const TPoint32& b, double halfWidth) {
    pieces_.push_back({double(a.X), double(a.Y), double(b.X), double(b.Y)});
    pieceWidths_.push_back(static_cast<int32_t>(std::ceil(halfWidth)));
  }

  void CollectStations() {
    for (size_t l = 0; l < map_.Lines.size(); ++l)
      for (size_t s = 0; s < map_.Lines[l]->Stations.size(); ++s)
        if (map_.Lines[l]->Stations[s]->Coordinate.Placed()) circles_.push_back(CircleBox(l, s));
  }

  void CollectTransfers() {
    for (const auto& transfer : map_.Transfers) {
      const TPoint32* a = Place(transfer->Station1);
      const TPoint32* b = Place(transfer->Station2);
      if (a != nullptr && b != nullptr) AddPiece(*a, *b, transfer->Station1->Diameter / 2.0);
    }
  }

  const TPoint32* Place(const TMetroMapStation* station) const {
    for (size_t l = 0; l < map_.Lines.size(); ++l)
      for (size_t s = 0; s < map_.Lines[l]->Stations.size(); ++s)
        if (map_.Lines[l]->Stations[s].get() == station) return &geometry_.Lines[l].Stations[s];
    return nullptr;
  }

  TRect CircleBox(size_t l, size_t s) const {
    const TPoint32& c = geometry_.Lines[l].Stations[s];
    const int32_t r = (map_.Lines[l]->Stations[s]->Diameter + 1) / 2;
    return {c.X - r, c.Y - r, c.X + r, c.Y + r};
  }

  int32_t Collisions(const TRect& label, const TRect& own) const {
    int32_t count = 0;
    for (size_t i = 0; i < pieces_.size(); ++i) count += SegmentMeetsRect(pieces_[i], Grown(label, pieceWidths_[i]));
    for (const TRect& circle : circles_) count += circle != own && RectsMeet(circle, label);
    for (const TRect& other : labels_) count += RectsMeet(other, label);
    return count;
  }

  void PlaceLabel(size_t l, size_t s) {
    const TRect was = map_.Lines[l]->Stations[s]->LabelRect;
    const int32_t w = RectWidth(was), h = RectHeight(was);
    if (was.Left <= 0 || w <= 0 || h <= 0 || !map_.Lines[l]->Stations[s]->Coordinate.Placed()) return;
    const TRect own = CircleBox(l, s);
    const int32_t east = own.Right + kGap, west = own.Left - kGap - w;
    const int32_t south = own.Bottom + kGap, north = own.Top - kGap - h;
    const TPoint32& c = geometry_.Lines[l].Stations[s];
    const std::array<TPoint32, 8> corners{{{east, c.Y - h / 2},
                                           {west, c.Y - h / 2},
                                           {c.X - w / 2, south},
                                           {c.X - w / 2, north},
                                           {own.Right, north},
                                           {own.Right, south},
                                           {west + kGap, south},
                                           {west + kGap, north}}};
    TRect best{};
    int32_t fewest = -1;
    for (const TPoint32& corner : corners) {
      const TRect candidate{corner.X, corner.Y, corner.X + w, corner.Y + h};
      if (candidate.Left <= 0) continue;  // a label there would not be drawn
      const int32_t count = Collisions(candidate, own);
      if (fewest < 0 || count < fewest) best = candidate, fewest = count;
      if (count == 0) break;
    }
    if (fewest < 0) return;
    geometry_.Lines[l].Labels[s] = best;
    labels_.push_back(best);
  }

  const TMetroMap& map_;
  TMapGeometry& geometry_;
  std::vector<TSegmentF> pieces_;
  std::vector<int32_t> pieceWidths_;
  std::vector<TRect> circles_;
  std::vector<TRect> labels_;
};

}  // namespace

void PlaceLabels(const TMetroMap& map, TMapGeometry& geometry) { TLabelPlacer(map, geometry).Run(); }

}  // namespace varnik
