#include "editor/uEditorCommands.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "editor/uMapEditor.h"
#include "editor/uMemo.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "network/uRoute.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uInterfaceText.h"
#include "platform/uMessages.h"

namespace varnik {

namespace {

// Tells the user why a command did nothing, in the interface's language;
// the callers mark their texts with VARNIK_TEXT("EditorCommands", ...).
void Report(const char* utf8) {
  ShowMessage(InterfaceText("EditorCommands", utf8), TMessageStyle::Foreground);
}

// Calls `visit` for every coordinate that the whole-map commands move:
// stations, then the nodes between the ends of every segment.
template <typename TVisit>
void ForEachPoint(TMetroMap& map, TVisit visit) {
  for (const auto& line : map.Lines) {
    for (const auto& station : line->Stations) visit(station->Coordinate);
    for (const auto& segment : line->Segments)
      for (size_t i = 1; i + 1 < segment->Nodes.size(); ++i) visit(segment->Nodes[i]->Coordinate);
  }
}

// Calls `visit` for every label and legend rectangle.
template <typename TVisit>
void ForEachRect(TMetroMap& map, TVisit visit) {
  for (const auto& line : map.Lines) {
    for (const auto& station : line->Stations) visit(station->LabelRect);
    visit(line->LegendRect);
  }
}

// A whole number, blanks around it allowed, nothing else.
std::optional<int64_t> ReadWhole(const std::string& text) {
  std::string_view s = TrimView(text);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int64_t value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

// The two selected stations, or nullptr when a selected point is a node.
struct TStationPair {
  TMetroMapStation* First = nullptr;
  TMetroMapStation* Second = nullptr;
};

// Checks that exactly two points are selected (else `countMessage`) and
// that both are stations (else the common message).
std::optional<TStationPair> SelectedStations(const TMapEditor& editor, const char* countMessage) {
  if (editor.Selection.size() != 2) {
    Report(countMessage);
    return std::nullopt;
  }
  TStationPair pair{editor.StationOfPoint(editor.Selection[0]), editor.StationOfPoint(editor.Selection[1])};
  if (pair.First == nullptr || pair.Second == nullptr) {
    Report(VARNIK_TEXT("EditorCommands", "Нужно выделить две станции!"));
    return std::nullopt;
  }
  return pair;
}

bool LeadsForward(const TStop* from, const TStop* to) {
  return std::any_of(from->Forward.begin(), from->Forward.end(),
                     [to](const auto& neibour) { return neibour->Stop == to; });
}

// The route and station names of a snippet, each quoted when it holds a
// comma so that the line reads back as the same names.
std::string RouteAndName(const TMetroMapStation& station) {
  const TStation* s = station.Station();
  return QuoteIfComma(s->Route != nullptr ? s->Route->Name : std::string()) + "," + QuoteIfComma(s->Name);
}

// One more than the largest segment name of the map read as a number.
std::string NextSegmentName(const TMetroMap& map) {
  int64_t largest = 0;
  for (const auto& line : map.Lines)
    for (const auto& segment : line->Segments)
      largest = std::max(largest, ReadWhole(segment->Name).value_or(0));
  return std::to_string(largest + 1);
}

// Points moved by a computation in 64 bits stay at the edge of the 32-bit
// plane instead of wrapping to its other side.
int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

int ShiftStep(bool shift, bool ctrl) { return (shift ? 10 : 1) * (ctrl ? 10 : 1); }

void ShiftMap(TMapEditor& editor, int dx, int dy) {
  TMetroMap* map = editor.Map();
  if (map == nullptr) return;
  editor.Change(Utf8ToCp1251("Сдвиг карты"), [&] {
    ForEachPoint(*map, [&](TCoordinate& c) {
      if (!c.Placed()) return;
      c.X = WrapAdd(c.X, dx);
      c.Y = WrapAdd(c.Y, dy);
    });
    ForEachRect(*map, [&](TRect& r) {
      if (r.Left <= 0 && r.Top <= 0) return;
      r.Left = WrapAdd(r.Left, dx);
      r.Right = WrapAdd(r.Right, dx);
      r.Top = WrapAdd(r.Top, dy);
      r.Bottom = WrapAdd(r.Bottom, dy);
    });
    map->SyncSegmentEnds();
  });
}

std::optional<long double> ReadFactor(const std::string& text) {
  std::string s(TrimView(text));
  std::replace(s.begin(), s.end(), ',', '.');
  if (!s.empty() && s.front() == '+') s.erase(0, 1);
  double value = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::fixed);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

void ScaleMap(TMapEditor& editor, const std::string& factorText) {
  TMetroMap* map = editor.Map();
  const std::optional<long double> factor = ReadFactor(factorText);
  if (map == nullptr || !factor) return;
  const long double f = *factor;
  auto scale = [f](int32_t& v) { v = RoundToInt(f * v); };
  editor.Change(Utf8ToCp1251("Умножение координат"), [&] {
    ForEachPoint(*map, [&](TCoordinate& c) {
      scale(c.X);
      scale(c.Y);
    });
    ForEachRect(*map, [&](TRect& r) {
      scale(r.Left);
      scale(r.Top);
      scale(r.Right);
      scale(r.Bottom);
    });
    map->SyncSegmentEnds();
  });
}

void FitLabels(TMapEditor& editor, TCanvas& canvas) {
  TMetroMap* map = editor.Map();
  if (map == nullptr) return;
  const TSettings& settings = Settings();
  canvas.Font.Name = settings.FontName;
  canvas.Font.Height = settings.FontHeight;
  canvas.Font.Style = settings.FontStyle;
  canvas.Font.Charset = settings.FontCharset;
  canvas.Font.Escapement = 0;
  canvas.Font.Orientation = 0;
  auto width = [&](const std::string& s) { return canvas.TextExtent(s).cx; };
  auto height = [&](const std::string& s) { return canvas.TextExtent(s).cy; };
  editor.Change(
      Utf8ToCp1251("Уменьшить по шрифту"),
      [&] {
        for (const auto& line : map->Lines) {
          for (const auto& station : line->Stations) {
            const std::string name = station->Station() != nullptr ? station->Station()->Name : std::string();
            const std::string t = map->UpperCase ? UpperCase1251(name) : name;
            TRect& r = station->LabelRect;
            if (RectWidth(r) < RectHeight(r)) {
              // Written at 90 degrees: the text runs down the rectangle.
              r.Right = WrapAdd(r.Left, height(t));
              r.Bottom = WrapAdd(r.Top, width(t) + 2);
            } else if (r.Right != r.Left) {
              const size_t blank = t.find(' ');
              if (map->WordWrap && blank != std::string::npos) {
                const int32_t textHeight = height("e") + height(t) - 2;
                r.Bottom = WrapAdd(r.Top, textHeight);
                const int32_t w1 = width(t.substr(0, blank)), w2 = width(t.substr(blank + 1));
                r.Right = WrapAdd(r.Left, std::max({w1 + 2, w2, textHeight}) + 2);
              } else {
                r.Right = WrapAdd(r.Left, width(t) + 2);
                r.Bottom = WrapAdd(r.Top, height(t));
              }
            }
          }
        }
      },
      false);
}

std::optional<int> ReadGridStep(const std::string& text) {
  std::optional<int64_t> value = ReadWhole(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return static_cast<int>(*value);
}

void SnapToGrid(TMapEditor& editor, const std::string& stepText) {
  const std::optional<int> step = ReadGridStep(stepText);
  if (editor.Map() == nullptr || !step || *step <= 0) return;
  const long double g = *step;
  editor.Change(Utf8ToCp1251("Выровнять по сетке"), [&] {
    for (TCoordinate* point : editor.EditablePoints()) {
      point->X = RoundToInt(g * RoundToInt(point->X / g));
      point->Y = RoundToInt(g * RoundToInt(point->Y / g));
    }
  });
}

void AlignPoints(TMapEditor& editor) {
  if (editor.Map() == nullptr) return;
  const std::vector<TCoordinate*>& points = editor.Selection;
  if (points.size() < 2) {
    Report(VARNIK_TEXT("EditorCommands", "Выделите хотя бы две точки."));
    return;
  }
  // The mean of one measure of the points, rounded, and the largest
  // distance of a point's measure from it.
  struct TSpread {
    int32_t Mean;
    int64_t Deviation;
  };
  auto spread = [&](auto measure) {
    long double sum = 0;
    for (const TCoordinate* p : points) sum += measure(*p);
    const int32_t mean = RoundToInt(sum / points.size());
    int64_t deviation = 0;
    for (const TCoordinate* p : points)
      deviation = std::max<int64_t>(deviation, std::llabs(measure(*p) - mean));
    return TSpread{mean, deviation};
  };
  const TSpread x = spread([](const TCoordinate& c) { return int64_t(c.X); });
  const TSpread y = spread([](const TCoordinate& c) { return int64_t(c.Y); });
  const TSpread d = spread([](const TCoordinate& c) { return int64_t(c.X) - c.Y; });
  const TSpread s = spread([](const TCoordinate& c) { return int64_t(c.X) + c.Y; });
  editor.Change(Utf8ToCp1251("Выровнять точки"), [&] {
    if (std::min({y.Deviation, d.Deviation, s.Deviation}) >= x.Deviation) {
      for (TCoordinate* p : points) p->X = x.Mean;
    } else if (std::min({x.Deviation, d.Deviation, s.Deviation}) >= y.Deviation) {
      for (TCoordinate* p : points) p->Y = y.Mean;
    } else if (std::min({y.Deviation, x.Deviation, s.Deviation}) >= d.Deviation) {
      // Onto the diagonal X - Y = mean, half the way by each coordinate.
      for (TCoordinate* p : points) {
        const int64_t u = int64_t{p->X} - p->Y - d.Mean, h = u / 2;
        p->X = Saturate(p->X - h);
        p->Y = Saturate(p->Y + (u - h));
      }
    } else {
      for (TCoordinate* p : points) {
        const int64_t u = int64_t{p->X} + p->Y - s.Mean, h = u / 2;
        p->X = Saturate(p->X - h);
        p->Y = Saturate(p->Y - (u - h));
      }
    }
  });
}

void InsertNode(TMapEditor& editor, bool spline) {
  TMetroMap* map = editor.Map();
  if (map == nullptr) return;
  const std::optional<TStationPair> pair =
      SelectedStations(editor, VARNIK_TEXT("EditorCommands", "Выделите две соседние станции сначала."));
  if (!pair) return;
  TMetroMapStation& a = *pair->First;
  TMetroMapStation& b = *pair->Second;
  TMetroMapLine* line = editor.LineOfStation(&a);
  if (line == nullptr || line != editor.LineOfStation(&b) ||
      !(LeadsForward(a.Stop, b.Stop) || LeadsForward(b.Stop, a.Stop))) {
    Report(VARNIK_TEXT("EditorCommands", "Выделенные станции - не соседние!"));
    return;
  }
  editor.Change(Utf8ToCp1251(spline ? "Сплайн" : "Доп.точка"), [&] {
    TMetroMapSegment* segment = line->FindSegment(&a, &b);
    if (segment == nullptr) {
      auto made = std::make_unique<TMetroMapSegment>();
      made->Name = NextSegmentName(*map);
      made->FromStation = &a;
      made->ToStation = &b;
      made->Spline = spline;
      made->AddNode(a.Coordinate.X, a.Coordinate.Y);
      made->AddNode(b.Coordinate.X, b.Coordinate.Y);
      segment = made.get();
      line->Segments.push_back(std::move(made));
    }
    auto node = std::make_unique<TMetroMapNode>();
    node->Coordinate.X = static_cast<int32_t>((int64_t{a.Coordinate.X} + b.Coordinate.X) / 2);
    node->Coordinate.Y = static_cast<int32_t>((int64_t{a.Coordinate.Y} + b.Coordinate.Y) / 2);
    auto& nodes = segment->Nodes;
    nodes.insert(nodes.empty() ? nodes.end() : nodes.end() - 1, std::move(node));
    map->SyncSegmentEnds();
  });
}

void WriteTransferLine(TMapEditor& editor) {
  if (editor.Map() == nullptr) return;
  const std::optional<TStationPair> pair =
      SelectedStations(editor, VARNIK_TEXT("EditorCommands", "Выделите две станции сначала."));
  if (!pair) return;
  AppendText(editor.Memo, "=" + RouteAndName(*pair->First) + "," + RouteAndName(*pair->Second) + ",2\r\n");
}

void ToggleTransfer(TMapEditor& editor) {
  TMetroMap* map = editor.Map();
  if (map == nullptr) return;
  const std::optional<TStationPair> pair =
      SelectedStations(editor, VARNIK_TEXT("EditorCommands", "Выделите две пересадочные станции сначала."));
  if (!pair) return;
  TMetroMapTransfer* transfer = nullptr;
  for (const auto& candidate : map->Transfers) {
    if ((candidate->Station1 == pair->First && candidate->Station2 == pair->Second) ||
        (candidate->Station1 == pair->Second && candidate->Station2 == pair->First)) {
      transfer = candidate.get();
      break;
    }
  }
  if (transfer == nullptr) {
    Report(VARNIK_TEXT("EditorCommands", "Выделенные станции - не пересадочные!"));
    return;
  }
  editor.Change(Utf8ToCp1251("Поиск перес."), [&] { transfer->Visible = !transfer->Visible; });
  const std::string one = RouteAndName(*transfer->Station1), two = RouteAndName(*transfer->Station2);
  AppendText(editor.Memo, one + "," + two + "\r\n" + two + "," + one + "\r\n");
}

void CyclePointSize(TMapEditor& editor, bool shift) {
  int& size = editor.PointSize;
  if (shift || size > 8)
    size = 0;
  else if (size == 0)
    size = 1;
  else
    size *= 3;
}

}  // namespace varnik
