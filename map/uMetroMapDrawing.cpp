// The translation of a metro map into vector drawing commands. The map is
// never painted directly: its lines, stations, legends, transfers and labels
// become the commands of one vector image, which is held as the last layer
// of the map and drawn through the view like any background picture. All
// sizes here are map pixels; the vector image scales them with the view.
//
// Order matters, since later commands paint over earlier ones: connections,
// then station circles, legends, transfer corridors, and the labels last.

#include "map/uMetroMapDrawing.h"

#include <string_view>

#include "image/uImage.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0;
// The rim of every station circle: red 255, green 255, blue 0.
constexpr TColor kStationRim = 65535;

bool LacksDrivingTimes(const TMetroMapStation& station) {
  const TStation* s = station.Station();
  return s != nullptr && s->NoDrivingTimes;
}

// An Ellipse of width 1 with corners (x - r, y - r) and (x + r, y + r).
void AddCircle(TVectorImage& image, const TMetroMapStation& station, long double radius) {
  const TCoordinate& c = station.Coordinate;
  image.AddEllipse(1.0L);
  image.AddPointToLast(c.X - radius, c.Y - radius);
  image.AddPointToLast(c.X + radius, c.Y + radius);
}

}  // namespace

void AddMapConnection(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation* a,
                      const TMetroMapStation* b) {
  if (a == nullptr || b == nullptr || !a->Coordinate.Placed() || !b->Coordinate.Placed()) return;
  // A link without a driving time is not in service yet: it is dashed and
  // drawn thinner.
  const bool dashed = LacksDrivingTimes(*a) || LacksDrivingTimes(*b);
  long double width = line.Width;
  if (dashed) width *= 0.75L;
  auto addStraight = [&] { dashed ? image.AddDashed(width) : image.AddLine(width); };
  const TMetroMapSegment* segment = line.FindSegment(a, b);
  if (segment == nullptr) {
    addStraight();
    image.AddPointToLast(a->Coordinate.X, a->Coordinate.Y);
    image.AddPointToLast(b->Coordinate.X, b->Coordinate.Y);
  } else if (segment->Spline) {
    image.AddSpline(dashed ? 1 : 0, width);
    for (const auto& node : segment->Nodes) image.AddPointToLast(node->Coordinate.X, node->Coordinate.Y);
  } else {
    addStraight();
    for (const auto& node : segment->Nodes) {
      if (!node->Coordinate.Placed()) break;
      image.AddPointToLast(node->Coordinate.X, node->Coordinate.Y);
    }
  }
}

namespace {

// Every link of the line once: from the side that lists it forward, or from
// the backward side when the other end does not list it forward.
void AddConnections(TVectorImage& image, const TMetroMapLine& line) {
  image.AddPenColor(line.Color);
  for (const auto& station : line.Stations) {
    const TStop* stop = station->Stop;
    for (const auto& next : stop->Forward) {
      AddMapConnection(image, line, station.get(), line.FindMetroMapStationFromStop(next->Stop));
    }
    for (const auto& previous : stop->Backward) {
      bool listedForward = false;
      for (const auto& back : previous->Stop->Forward) listedForward = listedForward || back->Stop == stop;
      if (!listedForward) {
        AddMapConnection(image, line, station.get(), line.FindMetroMapStationFromStop(previous->Stop));
      }
    }
  }
}

}  // namespace

void AddMapStation(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation& station) {
  if (!station.Coordinate.Placed()) return;
  const long double r = station.Diameter / 2.0L;
  image.AddPenColor(kStationRim);
  image.AddBrushColor(line.Color);
  AddCircle(image, station, r);
  if (LacksDrivingTimes(station)) {
    image.AddPenColor(kWhite);
    image.AddBrushColor(kWhite);
    AddCircle(image, station, r - 4);
  }
}

namespace {

// A short piece of the line with a station circle in its middle.
void AddLegend(TVectorImage& image, const TMetroMapLine& line) {
  const TRect& r = line.LegendRect;
  if (line.Stations.empty() || r.Right <= 0) return;
  const long double d = line.Stations.front()->Diameter;
  const long double cy = (static_cast<long double>(r.Top) + r.Bottom) / 2;
  image.AddPenColor(line.Color);
  image.AddBrushColor(line.Color);
  image.AddLine(line.Width);
  image.AddPointToLast(r.Left + d, cy);
  image.AddPointToLast(r.Left + 3 * d, cy);
  image.AddPenColor(kStationRim);
  image.AddBrushColor(line.Color);
  image.AddEllipse(1.0L);
  image.AddPointToLast(r.Left + 1.5L * d, (static_cast<long double>(r.Top) + r.Bottom - d) / 2);
  image.AddPointToLast(r.Left + 2.5L * d + 1, (static_cast<long double>(r.Top) + r.Bottom + d) / 2 + 1);
}

struct TTransferEnd {
  const TMetroMapStation* Station;
  const TMetroMapLine* Line;
};

void AddTransferLines(TVectorImage& image, const std::vector<TStationPair>& transfers, int32_t narrowing) {
  for (const auto& [station1, station2] : transfers) {
    image.AddLine(station1->Diameter - narrowing);
    image.AddPointToLast(station1->Coordinate.X, station1->Coordinate.Y);
    image.AddPointToLast(station2->Coordinate.X, station2->Coordinate.Y);
  }
}

}  // namespace

// A white corridor with a black outline joining white-ringed stations.
void AddMapTransfers(TVectorImage& image, const TMetroMap& map, const std::vector<TStationPair>& transfers) {
  std::vector<TTransferEnd> ends;
  auto collect = [&](const TMetroMapStation* station) {
    if (!station->Coordinate.Placed()) return;
    for (const TTransferEnd& end : ends) {
      if (end.Station == station) return;
    }
    ends.push_back({station, map.FindLineByStation(station)});
  };
  for (const auto& [station1, station2] : transfers) {
    collect(station1);
    collect(station2);
  }
  image.AddPenColor(kBlack);
  image.AddBrushColor(kBlack);
  AddTransferLines(image, transfers, 2);
  for (const TTransferEnd& end : ends) AddCircle(image, *end.Station, end.Station->Diameter / 2.0L + 3);
  image.AddPenColor(kWhite);
  image.AddBrushColor(kWhite);
  for (const TTransferEnd& end : ends) AddCircle(image, *end.Station, end.Station->Diameter / 2.0L + 2);
  image.AddPenColor(kWhite);
  AddTransferLines(image, transfers, 4);
  for (const TTransferEnd& end : ends) {
    const TColor color = end.Line != nullptr ? end.Line->Color : kBlack;
    image.AddPenColor(color);
    image.AddBrushColor(color);
    AddCircle(image, *end.Station, end.Station->Diameter / 2.0L - 1);
    if (LacksDrivingTimes(*end.Station)) {
      image.AddBrushColor(kWhite);
      AddCircle(image, *end.Station, end.Station->Diameter / 2.0L - 3);
    }
  }
}

void TMetroMap::BuildLineDrawing(TVectorImage& image) const {
  for (const auto& line : Lines) AddConnections(image, *line);
  for (const auto& line : Lines)
    for (const auto& station : line->Stations) AddMapStation(image, *line, *station);
  for (const auto& line : Lines) AddLegend(image, *line);
  std::vector<TStationPair> visible;
  for (const auto& transfer : Transfers)
    if (transfer->Visible) visible.emplace_back(transfer->Station1, transfer->Station2);
  AddMapTransfers(image, *this, visible);
}

// --- Labels --------------------------------------------------------------

namespace {

int ComponentSum(TColor c) { return (c & 255) + ((c >> 8) & 255) + ((c >> 16) & 255); }

TColor Halved(TColor c) {
  return ((c & 255) >> 1) + ((((c >> 8) & 255) >> 1) << 8) + ((((c >> 16) & 255) >> 1) << 16);
}

void AddText(TVectorImage& image, TColor pen, const std::string& text, int alignment, long double angle,
             long double x, long double y) {
  image.AddPenColor(pen);
  // An empty font name and size 0 select the label font of the settings.
  image.AddAngleTextOut("", 0, text, alignment, 0, angle);
  image.AddPointToLast(x, y);
}

// Without a background a label gets a halo that keeps it readable on any
// ground: a darker copy behind light text and a white copy behind dark text.
void AddLabelText(TVectorImage& image, const TMetroMapLine& line, const std::string& text, int alignment,
                  long double angle, long double x, long double y) {
  const TColor c = line.LabelsColor;
  if (line.LabelsBColor == kNoColor && ComponentSum(c) > 100) {
    AddText(image, Halved(c), text, alignment, angle, x + 0.5L, y + 0.5L);
  }
  if (line.LabelsBColor == kNoColor && ComponentSum(c) < 650) {
    AddText(image, kWhite, text, alignment, angle, x - 0.5L, y - 0.5L);
  }
  AddText(image, c, text, alignment, angle, x, y);
}

}  // namespace

void AddMapLabel(TVectorImage& image, const TMetroMap& map, const TMetroMapLine& line,
                 const TMetroMapStation& station) {
  image.AddBrushColor(line.LabelsBColor);
  const TRect& r = station.LabelRect;
  if (r.Left <= 0) return;
  const TStation* networkStation = station.Station();
  std::string text = networkStation != nullptr ? networkStation->Name : std::string();
  if (map.UpperCase) text = UpperCase1251(text);
  const bool vertical = RectWidth(r) < RectHeight(r);
  bool twoLines = false;
  if (map.WordWrap && !vertical) {
    size_t blank = text.find(' ');
    if (blank != std::string::npos) {
      text[blank] = '\r';
      twoLines = true;
    }
  }
  const TCoordinate& c = station.Coordinate;
  if (vertical) {
    // Bit 1 of the alignment puts the end of the text at the anchor, so the
    // label grows away from a station below it.
    if (c.Y < r.Top) {
      AddLabelText(image, line, text, 2, 90, r.Left, r.Top);
    } else {
      AddLabelText(image, line, text, 0, 90, r.Left, r.Bottom);
    }
    return;
  }
  // Bit 0 centres a single line vertically on the anchor.
  int alignment = twoLines ? 0 : 1;
  const int64_t y = twoLines ? r.Top : (int64_t{r.Top} + r.Bottom) / 2;
  int64_t x = int64_t{r.Left} + 1;
  if (c.X >= r.Left) {
    alignment += 2;
    x = int64_t{r.Right} - 1;
  }
  AddLabelText(image, line, text, alignment, 0, x, y);
}

void TMetroMap::BuildLabelDrawing(TVectorImage& image) const {
  if (!IsVector) {
    // White boxes over the labels printed in the background picture.
    image.AddPenColor(kWhite);
    image.AddBrushColor(kWhite);
    for (const auto& line : Lines) {
      for (const auto& station : line->Stations) {
        const TRect& r = station->LabelRect;
        if (r.Left <= 0 && r.Top <= 0) continue;
        image.AddPolygon(1.0L);
        image.AddPointToLast(r.Left, r.Top);
        image.AddPointToLast(r.Right, r.Top);
        image.AddPointToLast(r.Right, r.Bottom);
        image.AddPointToLast(r.Left, r.Bottom);
        image.AddPointToLast(r.Left, r.Top);
      }
    }
  }
  for (const auto& line : Lines) {
    for (const auto& station : line->Stations) AddMapLabel(image, *this, *line, *station);
  }
}

void TMetroMap::BuildDrawing(bool replace) {
  // The labels are drawn in the settings' font, which must be in place first.
  Settings();
  // The replaced layer is freed only once the new one is made, so the new
  // picture never takes the old one's place in memory: whoever held on to
  // the old picture can tell that the map was drawn anew.
  std::unique_ptr<TLayer> replaced;
  if (replace && !Layers.empty()) {
    replaced = std::move(Layers.back());
    Layers.pop_back();
    SyncSegmentEnds();
  }
  auto document = std::make_unique<TVectorImage>();
  // The extent of the map comes from its pictures, not from this layer.
  document->AddSize(1, 1);
  if (IsVector) BuildLineDrawing(*document);
  BuildLabelDrawing(*document);
  document->Optimize();
  auto picture = std::make_unique<TImage>();
  picture->SetVector(std::move(document));
  picture->Transparent = true;
  Layers.push_back(std::make_unique<TLayer>(std::move(picture), 100));
}

}  // namespace varnik
