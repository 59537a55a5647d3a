// The metro map model and the reading of its .map file.
//
// A .map file is a sectioned text file:
//   [Options]        ImageFileName, Transports, CheckedTransports,
//                    StationDiameter, LinesWidth, WordWrap, UpperCase, IsVector
//   [<route name>]   Color, LabelsColor, LabelsBColor, Width,
//                    Coordinates (X,Y per stop), Heights, Rects (L,T,W,H per stop),
//                    Rect (the legend)
//   [AdditionalNodes] <segment>=Route,From,To[, X,Y]...[, spline]
//   [StationLabels]  kept as raw lines
// Lists are read leniently: a short list leaves the remaining stations at 0
// (not placed), an empty item reads as 0.

#include "map/uMetroMap.h"

#include <string_view>

#include "core/uIniStream.h"
#include "image/uImage.h"
#include "map/uSettings.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {

namespace {

void Report(const std::string& text) { ShowMessage(text, TMessageStyle::Foreground); }

}  // namespace

// --- Model objects -------------------------------------------------------

TStation* TMetroMapStation::Station() const { return Stop != nullptr ? Stop->Station : nullptr; }

void TMetroMapSegment::AddNode(int32_t x, int32_t y) {
  auto node = std::make_unique<TMetroMapNode>();
  node->Coordinate.X = x;
  node->Coordinate.Y = y;
  Nodes.push_back(std::move(node));
}

TMetroMapStation* TMetroMapLine::FindMetroMapStationFromStop(const TStop* stop) const {
  for (const auto& station : Stations) {
    if (station->Stop == stop) return station.get();
  }
  Report("TMetroMapLine.FindMetroMapStationFromStop: Stop not found");
  return nullptr;
}

TMetroMapSegment* TMetroMapLine::FindSegment(const TMetroMapStation* a, const TMetroMapStation* b) const {
  for (const auto& segment : Segments) {
    if ((segment->FromStation == a && segment->ToStation == b) ||
        (segment->FromStation == b && segment->ToStation == a)) {
      return segment.get();
    }
  }
  return nullptr;
}

bool TMetroMapLine::LegendContains(long double x, long double y) const {
  const TRect& r = LegendRect;
  if (r.Right < 1) return false;
  return r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom;
}

// --- The map -------------------------------------------------------------

TMetroMap::TMetroMap(TTransports& allTransports, TMetroMap* parentMap)
    : TMap(allTransports), ParentMap(parentMap) {}

TMetroMap::~TMetroMap() = default;

void TMetroMap::Clear() {
  Transfers.clear();
  Lines.clear();
  SegmentKeysInFile.clear();
  StationLabels.clear();
  TMap::Clear();
}

std::unique_ptr<TMetroMap> LoadMapFile(const std::string& fileName, TImageLoader onLoadImage,
                                       TMetroMap* parentMap, TTransports& allTransports) {
  TIniStream ini;
  ini.LoadFromFile(fileName);
  auto map = std::make_unique<TMetroMap>(allTransports, parentMap);
  map->SetImageLoader(std::move(onLoadImage));
  map->Name = ExtractFileName(fileName);
  map->LoadFromIni(ini);
  return map;
}

void TMetroMap::LoadFromIni(TIniStream& ini) {
  TMap::LoadFromIni(ini);  // clears the whole map first (Clear is virtual)
  ini.SelectSection("Options");
  StationDiameter = ini.ValueInteger("StationDiameter", 11);
  LinesWidth = ini.ValueInteger("LinesWidth", 9);
  WordWrap = ini.ValueBoolean("WordWrap", true);
  UpperCase = ini.ValueBoolean("UpperCase", true);
  IsVector = ini.ValueBoolean("IsVector", true);
  LoadLines(ini);
  BuildTransfers();
  LoadAdditionalNodes(ini);
  SegmentKeysInFile = SegmentKeys();
  ini.SelectSection("StationLabels");
  ini.GetSectionData(StationLabels);
  BuildDrawing(false);
}

void TMetroMap::LoadLines(TIniStream& ini) {
  for (TTransport* transport : Transports) {
    for (const auto& route : transport->Routes) {
      if (ini.SectionExists(route->Name)) LoadLine(ini, *route);
    }
  }
}

void TMetroMap::LoadLine(TIniStream& ini, TRoute& route) {
  auto line = std::make_unique<TMetroMapLine>();
  line->Route = &route;
  line->Width = LinesWidth;
  const TMetroMapLine* parentLine = ParentMap != nullptr ? ParentMap->FindLineByRoute(&route) : nullptr;
  if (parentLine != nullptr) {
    line->Color = parentLine->Color;
    line->LabelsColor = parentLine->LabelsColor;
    line->LabelsBColor = parentLine->LabelsBColor;
  }
  ini.SelectSection(route.Name);
  line->Color = HexToColor(ini.ValueString("Color", ColorToHex(line->Color)));
  line->LabelsColor = HexToColor(ini.ValueString("LabelsColor", ColorToHex(line->LabelsColor)));
  line->LabelsBColor = HexToColor(ini.ValueString("LabelsBColor", ColorToHex(line->LabelsBColor)));
  line->Width = ini.ValueInteger("Width", line->Width);
  const std::string coordinatesText = ini.ValueString("Coordinates", "");
  const std::string heightsText = ini.ValueString("Heights", "");
  const std::string rectsText = ini.ValueString("Rects", "");
  std::string_view coordinates = coordinatesText, heights = heightsText, rects = rectsText;

  for (size_t i = 0; i < route.Stops.size(); ++i) {
    auto station = std::make_unique<TMetroMapStation>();
    station->Stop = route.Stops[i].get();
    station->Coordinate.X = NextInteger(coordinates);
    station->Coordinate.Y = NextInteger(coordinates);
    if (!heights.empty()) {
      station->Coordinate.Height = NextInteger(heights);
    } else if (parentLine != nullptr && i < parentLine->Stations.size()) {
      station->Coordinate.Height = parentLine->Stations[i]->Coordinate.Height;
    }
    station->LabelRect = NextRect(rects);
    station->Diameter = StationDiameter;
    line->Stations.push_back(std::move(station));
  }
  line->LegendRect = StrToRect(ini.ValueString("Rect", ""));
  Lines.push_back(std::move(line));
}

void TMetroMap::BuildTransfers() {
  for (const auto& line : Lines) {
    for (const auto& station : line->Stations) {
      TStation* networkStation = station->Station();
      if (networkStation == nullptr) continue;
      for (const auto& transfer : networkStation->Transfers) {
        TStation* other = transfer->Station;
        if (other == nullptr || other->Route == nullptr) continue;
        TMetroMapLine* otherLine = FindLineByRoute(other->Route);
        if (otherLine == nullptr) continue;
        TMetroMapStation* station2 =
            otherLine->FindMetroMapStationFromStop(FindStopByStation(*other->Route, other));
        if (transfer->Invisible || station2 == nullptr || !station->Coordinate.Placed() ||
            !station2->Coordinate.Placed() || TransferExists(station.get(), station2)) {
          continue;
        }
        auto connector = std::make_unique<TMetroMapTransfer>();
        connector->Station1 = station.get();
        connector->Station2 = station2;
        Transfers.push_back(std::move(connector));
      }
    }
  }
}

TRoute* TMetroMap::FindMapRoute(const std::string& name) const {
  for (TTransport* transport : Transports) {
    for (const auto& route : transport->Routes) {
      if (SameTextLocale(route->Name, name)) return route.get();
    }
  }
  Report("TTransports.FindRouteByName: Route " + name + " not found");
  return nullptr;
}

void TMetroMap::LoadAdditionalNodes(TIniStream& ini) {
  ini.SelectSection("AdditionalNodes");
  std::vector<std::string> entries;
  ini.GetSectionData(entries);
  for (const std::string& entry : entries) {
    size_t eq = entry.find('=');
    if (eq == std::string::npos || eq + 1 == entry.size()) continue;
    std::string_view value = std::string_view(entry).substr(eq + 1);
    const std::string routeName = NextToken(value);
    TRoute* route = FindMapRoute(routeName);
    if (route == nullptr) {
      Report("Line " + routeName + " not found");
      continue;
    }
    TMetroMapLine* line = FindLineByRoute(route);
    if (line == nullptr) {
      Report("Line " + routeName + " not found in " + Name);
      continue;
    }
    TMetroMapStation* from = line->FindMetroMapStationFromStop(route->FindStopByName(NextToken(value)));
    TMetroMapStation* to = line->FindMetroMapStationFromStop(route->FindStopByName(NextToken(value)));
    // A segment cannot hang from a station the route does not have; both
    // misses were reported by the look-ups.
    if (from == nullptr || to == nullptr) continue;
    auto segment = std::make_unique<TMetroMapSegment>();
    segment->Name = TrimBlank(std::string_view(entry).substr(0, eq));
    segment->FromStation = from;
    segment->ToStation = to;
    segment->AddNode(from->Coordinate.X, from->Coordinate.Y);
    while (!value.empty()) {
      int32_t x = NextInteger(value);
      int32_t y = NextInteger(value);
      segment->AddNode(x, y);
      if (TrimView(value) == "spline") {
        segment->Spline = true;
        break;
      }
    }
    segment->AddNode(to->Coordinate.X, to->Coordinate.Y);
    line->Segments.push_back(std::move(segment));
  }
}

// --- Queries -------------------------------------------------------------

TMetroMapLine* TMetroMap::FindLineByRoute(const TRoute* route) const {
  for (const auto& line : Lines) {
    if (line->Route == route) return line.get();
  }
  return nullptr;
}

TMetroMapLine* TMetroMap::FindLineByStation(const TMetroMapStation* station) const {
  for (const auto& line : Lines) {
    for (const auto& candidate : line->Stations) {
      if (candidate.get() == station) return line.get();
    }
  }
  return nullptr;
}

TMetroMapStation* TMetroMap::StationAt(int lineIndex, int stationIndex) const {
  if (lineIndex < 0 || static_cast<size_t>(lineIndex) >= Lines.size()) return nullptr;
  const auto& stations = Lines[static_cast<size_t>(lineIndex)]->Stations;
  if (stationIndex < 0 || static_cast<size_t>(stationIndex) >= stations.size()) return nullptr;
  return stations[static_cast<size_t>(stationIndex)].get();
}

bool TMetroMap::TransferExists(const TMetroMapStation* a, const TMetroMapStation* b) const {
  for (const auto& transfer : Transfers) {
    if ((transfer->Station1 == a && transfer->Station2 == b) ||
        (transfer->Station1 == b && transfer->Station2 == a)) {
      return true;
    }
  }
  return false;
}

void TMetroMap::FindStationsAtPoint(long double x, long double y,
                                    std::vector<TMetroMapStation*>& result) const {
  for (const auto& line : Lines) {
    for (const auto& station : line->Stations) {
      const TCoordinate& c = station->Coordinate;
      if (!c.Placed()) continue;
      long double d = station->Diameter * 2.0L / 3.0L;
      if (c.X - d < x && x < c.X + d && c.Y - d < y && y < c.Y + d) result.push_back(station.get());
    }
  }
}

void TMetroMap::FindStationsByLabel(long double x, long double y,
                                    std::vector<TMetroMapStation*>& result) const {
  for (const auto& line : Lines) {
    for (const auto& station : line->Stations) {
      const TRect& r = station->LabelRect;
      if (station->Coordinate.Placed() && r.Left <= x && x <= r.Right && r.Top <= y && y <= r.Bottom) {
        result.push_back(station.get());
      }
    }
  }
}

void TMetroMap::SyncSegmentEnds() {
  for (const auto& line : Lines) {
    for (const auto& segment : line->Segments) {
      if (segment->Nodes.empty()) continue;
      TCoordinate& first = segment->Nodes.front()->Coordinate;
      TCoordinate& last = segment->Nodes.back()->Coordinate;
      first.X = segment->FromStation->Coordinate.X;
      first.Y = segment->FromStation->Coordinate.Y;
      last.X = segment->ToStation->Coordinate.X;
      last.Y = segment->ToStation->Coordinate.Y;
    }
  }
}

void TMetroMap::UpdateLabelsVisibility() {
  if (IsVector || Layers.empty()) return;
  Layers.back()->Visible = Settings().DrawLabels;
}

}  // namespace varnik
