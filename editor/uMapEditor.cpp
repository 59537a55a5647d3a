#include "editor/uMapEditor.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "city/uCity.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "platform/uCodePage.h"

namespace varnik {

namespace {

// One step of turning the view with the right button: this many pixels of
// horizontal pointer travel turn the map by 15 degrees.
constexpr int kTurnPixels = 60;
constexpr long double kTurnDegrees = 15;
// Each pixel of vertical travel zooms by this factor.
constexpr long double kZoomPerPixel = 1.01L;
// Pointer travel (|dx| + |dy|) up to which a press is still a click.
constexpr int kClickSlack = 3;

std::string Int(int32_t v) { return std::to_string(v); }

}  // namespace

TMapEditor::TMapEditor(TCity& city, TMemo& memo) : City(city), Memo(memo) {
  View.Geographic = false;
  View.MaxScale = 20.0L;
  View.Changed();
}

TMapEditor::~TMapEditor() = default;

TMetroMap* TMapEditor::Map() const { return City.CurrentMap; }

std::vector<TCoordinate*> TMapEditor::EditablePoints() const {
  std::vector<TCoordinate*> points;
  const TMetroMap* map = Map();
  if (map == nullptr) return points;
  if (Options.Stations) {
    for (const auto& line : map->Lines)
      for (const auto& station : line->Stations)
        if (station->Coordinate.Placed()) points.push_back(&station->Coordinate);
  }
  if (Options.Nodes) {
    for (const auto& line : map->Lines)
      for (const auto& segment : line->Segments)
        for (size_t i = 1; i + 1 < segment->Nodes.size(); ++i)
          points.push_back(&segment->Nodes[i]->Coordinate);
  }
  return points;
}

int TMapEditor::MarkerRadius() const { return RoundToInt(PointSize * View.ScaleX + 1); }

size_t TMapEditor::HitTest() {
  Hits.clear();
  const long double r = MarkerRadius();
  for (TCoordinate* point : EditablePoints()) {
    TScalePoint p = View.ToScreen(point->X, point->Y);
    const long double dx = p.X - LastPoint.X, dy = p.Y - LastPoint.Y;
    if (r * r >= dx * dx + dy * dy) Hits.push_back(point);
  }
  // Of overlapping points the one drawn last, on top, is the one picked.
  if (Hits.size() > 1) Hits.erase(Hits.begin(), Hits.end() - 1);
  return Hits.size();
}

bool TMapEditor::IsSelected(const TCoordinate* point) const {
  return std::find(Selection.begin(), Selection.end(), point) != Selection.end();
}

TScalePoint TMapEditor::ToMap(int x, int y) const { return View.ToDrawing(x, y); }

TMetroMapStation* TMapEditor::StationOfPoint(const TCoordinate* point) const {
  const TMetroMap* map = Map();
  if (map == nullptr || point == nullptr) return nullptr;
  for (const auto& line : map->Lines)
    for (const auto& station : line->Stations)
      if (&station->Coordinate == point) return station.get();
  return nullptr;
}

TMetroMapLine* TMapEditor::LineOfStation(const TMetroMapStation* station) const {
  const TMetroMap* map = Map();
  return map != nullptr ? map->FindLineByStation(station) : nullptr;
}

void TMapEditor::ClearSelection() {
  Selection.clear();
  PressCopies.clear();
  SelectedRect = nullptr;
}

void TMapEditor::ModelChanged() {
  ClearSelection();
  if (TMetroMap* map = Map()) map->BuildDrawing(true);
}

void TMapEditor::RebuildPressCopies() {
  PressCopies.clear();
  for (const TCoordinate* point : Selection) {
    auto copy = std::make_unique<TCoordinate>();
    copy->X = point->X;
    copy->Y = point->Y;
    PressCopies.push_back(std::move(copy));
  }
}

void TMapEditor::MousePress(TMouseButton button, int x, int y, bool shift) {
  // A press whose release never came (the pointer left the program) ends
  // its drag here.
  FinishDrag();
  PressedButton = button;
  PressPoint = {x, y};
  // The press is where the pointer is, whether or not a move came first.
  LastPoint = {x, y};
  DragStarted = false;
  if (!shift) ClearSelection();
  if (Map() == nullptr) return;
  if (button == TMouseButton::Left && HitTest() > 0) {
    // Picking a selected point again with Shift keeps the selection as it is.
    if (!IsSelected(Hits.front())) Selection.push_back(Hits.front());
    RebuildPressCopies();
    return;
  }
  if (button != TMouseButton::Left && button != TMouseButton::Right) return;
  const TScalePoint p = ToMap(LastPoint.X, LastPoint.Y);
  if (PickRectangle(p)) return;
  if (Options.CollectLine) CollectStation(p);
}

bool TMapEditor::PickRectangle(const TScalePoint& p) {
  TMetroMap& map = *Map();
  TRect* picked = nullptr;
  if (Options.LabelBounds) {
    std::vector<TMetroMapStation*> stations;
    map.FindStationsByLabel(p.X, p.Y, stations);
    if (!stations.empty()) picked = &stations.front()->LabelRect;
  }
  if (picked == nullptr && Options.Legends) {
    for (const auto& line : map.Lines) {
      if (line->LegendContains(p.X, p.Y)) {
        picked = &line->LegendRect;
        break;
      }
    }
  }
  if (picked == nullptr) return false;
  SelectedRect = picked;
  RectCopy = *picked;
  return true;
}

void TMapEditor::CollectStation(const TScalePoint& p) {
  std::vector<TMetroMapStation*> stations;
  Map()->FindStationsAtPoint(p.X, p.Y, stations);
  if (stations.empty()) return;
  const TMetroMapStation& s = *stations.front();
  const TRect& r = s.LabelRect;
  // The four lines become a route's Stations, Coordinates and Rects and a
  // Driving value of 2 minutes per link.
  AppendToLine(Memo, 0, QuoteIfComma(s.Station()->Name) + ",");
  AppendToLine(Memo, 1, Int(s.Coordinate.X) + "," + Int(s.Coordinate.Y) + ", ");
  AppendToLine(
      Memo, 2,
      Int(r.Left) + "," + Int(r.Top) + "," + Int(RectWidth(r)) + "," + Int(RectHeight(r)) + ", ");
  AppendToLine(Memo, 3, "2,");
}

TMoveResult TMapEditor::MouseMove(int x, int y) {
  TMoveResult result;
  if (!DragStarted && std::abs(x - PressPoint.X) + std::abs(y - PressPoint.Y) > kClickSlack)
    DragStarted = true;
  LastPoint = {x, y};
  if (Map() == nullptr) return result;
  if (PressedButton == TMouseButton::Left || PressedButton == TMouseButton::Right) {
    if (!DragStarted) return result;
    result.DragStep = true;
    if (PressedButton == TMouseButton::Left) {
      if (!Selection.empty()) {
        MoveSelection(x, y);
      } else if (SelectedRect != nullptr) {
        MoveRectangle(x, y);
      } else {
        View.SetShiftX(x + View.ShiftX - PressPoint.X);
        View.SetShiftY(y + View.ShiftY - PressPoint.Y);
        PressPoint = {x, y};
      }
    } else if (SelectedRect != nullptr) {
      ResizeRectangle(x, y);
    } else {
      ZoomAndTurn(x, y);
    }
    return result;
  }
  result.Pointer = PointerAt();
  return result;
}

void TMapEditor::DragChanges(const char* caption) {
  if (dragOperation_) return;
  dragOperation_ = true;
  if (Listener != nullptr) Listener->OperationStarted(Utf8ToCp1251(caption));
}

void TMapEditor::FinishDrag() {
  if (!dragOperation_) return;
  dragOperation_ = false;
  if (Listener != nullptr) Listener->OperationFinished();
}

void TMapEditor::MoveSelection(int x, int y) {
  DragChanges("Перемещение точек");
  const int dx = x - PressPoint.X, dy = y - PressPoint.Y;
  for (TCoordinate* point : EditablePoints()) {
    auto it = std::find(Selection.begin(), Selection.end(), point);
    if (it == Selection.end()) continue;
    const TCoordinate& copy = *PressCopies[static_cast<size_t>(it - Selection.begin())];
    TScalePoint s = View.ToScreen(copy.X, copy.Y);
    TScalePoint m = View.ToDrawing(s.X + dx, s.Y + dy);
    point->X = RoundToInt(m.X);
    point->Y = RoundToInt(m.Y);
  }
  Map()->BuildDrawing(true);
}

void TMapEditor::MoveRectangle(int x, int y) {
  DragChanges("Перемещение рамки");
  TScalePoint s = View.ToScreen(RectCopy.Left, RectCopy.Top);
  TScalePoint m = View.ToDrawing(s.X + (x - PressPoint.X), s.Y + (y - PressPoint.Y));
  TRect& r = *SelectedRect;
  r.Left = RoundToInt(m.X);
  r.Top = RoundToInt(m.Y);
  r.Right = WrapAdd(r.Left, RectWidth(RectCopy));
  r.Bottom = WrapAdd(r.Top, RectHeight(RectCopy));
  Map()->BuildDrawing(true);
}

void TMapEditor::ResizeRectangle(int x, int y) {
  DragChanges("Размер рамки");
  TScalePoint s = View.ToScreen(RectCopy.Right, RectCopy.Bottom);
  TScalePoint m = View.ToDrawing(s.X + (x - PressPoint.X), s.Y + (y - PressPoint.Y));
  SelectedRect->Right = RoundToInt(m.X);
  SelectedRect->Bottom = RoundToInt(m.Y);
  Map()->BuildDrawing(true);
}

void TMapEditor::AboutCentre(const std::function<void()>& change) {
  const long double cx = AreaWidth / 2.0L, cy = AreaHeight / 2.0L;
  const TScalePoint centre = View.ToDrawing(cx, cy);
  change();
  const TScalePoint moved = View.ToScreen(centre.X, centre.Y);
  View.SetShiftX(View.ShiftX + (cx - moved.X));
  View.SetShiftY(View.ShiftY + (cy - moved.Y));
}

void TMapEditor::ZoomAndTurn(int x, int y) {
  if (y != PressPoint.Y) {
    const int travel = y - PressPoint.Y;
    AboutCentre([&] { View.Zoom(std::pow(kZoomPerPixel, static_cast<long double>(travel))); });
    PressPoint.Y = y;
  }
  if (std::abs(x - PressPoint.X) >= kTurnPixels) {
    const int steps = (PressPoint.X - x) / kTurnPixels;
    AboutCentre(
        [&] { View.SetAngle(View.Angle + steps * kTurnDegrees * std::numbers::pi_v<long double> / 180); });
    PressPoint.X = x;
  }
}

TPointerShape TMapEditor::PointerAt() {
  if (HitTest() > 0) return TPointerShape::Hand;
  const TMetroMap& map = *Map();
  const TScalePoint p = ToMap(LastPoint.X, LastPoint.Y);
  if (Options.LabelBounds) {
    std::vector<TMetroMapStation*> stations;
    map.FindStationsByLabel(p.X, p.Y, stations);
    if (!stations.empty()) return TPointerShape::Hand;
  }
  for (const auto& line : map.Lines)
    if (line->LegendContains(p.X, p.Y)) return TPointerShape::Hand;
  return TPointerShape::Arrow;
}

void TMapEditor::MouseRelease(int x, int y) {
  FinishDrag();
  if (!DragStarted && Options.RecordCoordinates && Map() != nullptr) {
    const TScalePoint p = ToMap(x, y);
    const int32_t X = RoundToInt(p.X), Y = RoundToInt(p.Y);
    AppendToLine(Memo, 0, Int(X) + "," + Int(Y) + ", ");
    // A default label 70 by 10 to the right of the point.
    AppendToLine(Memo, 1, Int(X + 10) + "," + Int(Y - 5) + ",70,10, ");
    AppendToLine(Memo, 2, "2,");
  }
  PressedButton = TMouseButton::None;
}

TMetroMapStation* TMapEditor::StationForProperties(int x, int y) const {
  const TMetroMap* map = Map();
  if (map == nullptr || !Options.Stations) return nullptr;
  const TScalePoint p = ToMap(x, y);
  std::vector<TMetroMapStation*> stations;
  map->FindStationsAtPoint(p.X, p.Y, stations);
  if (stations.empty()) map->FindStationsByLabel(p.X, p.Y, stations);
  return stations.empty() ? nullptr : stations.front();
}

void TMapEditor::Change(const std::string& caption, const std::function<void()>& change, bool rebuild) {
  TMetroMap* map = Map();
  if (map == nullptr) return;
  if (Listener != nullptr) Listener->OperationStarted(caption);
  change();
  if (rebuild) map->BuildDrawing(true);
  if (Listener != nullptr) Listener->OperationFinished();
}

}  // namespace varnik
