#include "editor/uNetworkEdits.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <unordered_map>

#include "city/uCity.h"
#include "city/uCityWriter.h"
#include "map/uMetroMap.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"

namespace varnik {

namespace {

// --- Reversible changes ----------------------------------------------------

class TChange {
 public:
  virtual ~TChange() = default;
  virtual void Apply(bool forward) = 0;
};

template <typename T>
class TValueChange : public TChange {
 public:
  TValueChange(T& target, T after) : target_(target), before_(target), after_(std::move(after)) {}
  void Apply(bool forward) override { target_ = forward ? after_ : before_; }

 private:
  T& target_;
  T before_, after_;
};

// An owning list put into another order, with items taken out or added.
// The items out of the list are kept here, so that the very same objects
// come back.
template <typename T>
class TListChange : public TChange {
 public:
  TListChange(std::vector<std::unique_ptr<T>>& list, std::vector<T*> after,
              std::vector<std::unique_ptr<T>> added)
      : list_(list), after_(std::move(after)) {
    for (const auto& item : list) before_.push_back(item.get());
    for (auto& item : added) spare_.emplace(item.get(), std::move(item));
  }
  void Apply(bool forward) override {
    for (auto& item : list_) {
      T* key = item.get();
      spare_.emplace(key, std::move(item));
    }
    list_.clear();
    for (T* wanted : forward ? after_ : before_) {
      auto it = spare_.find(wanted);
      list_.push_back(std::move(it->second));
      spare_.erase(it);
    }
  }

 private:
  std::vector<std::unique_ptr<T>>& list_;
  std::vector<T*> before_, after_;
  std::unordered_map<T*, std::unique_ptr<T>> spare_;
};

// Items of an owning list taken out at their places and put back there.
// Places, not pointers, say where: other steps of the history may have made
// the other items of the list anew meanwhile.
template <typename T>
class TRemoveChange : public TChange {
 public:
  TRemoveChange(std::vector<std::unique_ptr<T>>& list, std::vector<size_t> places)
      : list_(list), places_(std::move(places)) {}
  void Apply(bool forward) override {
    if (forward) {
      for (size_t k = places_.size(); k-- > 0;) {
        taken_.push_back(std::move(list_[places_[k]]));
        list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(places_[k]));
      }
    } else {
      for (size_t k = 0; k < places_.size(); ++k) {
        list_.insert(list_.begin() + static_cast<std::ptrdiff_t>(places_[k]), std::move(taken_.back()));
        taken_.pop_back();
      }
    }
  }

 private:
  std::vector<std::unique_ptr<T>>& list_;
  std::vector<size_t> places_;  // ascending
  std::vector<std::unique_ptr<T>> taken_;
};

// An item of the edit's own put into an owning list at a place.
template <typename T>
class TInsertChange : public TChange {
 public:
  TInsertChange(std::vector<std::unique_ptr<T>>& list, size_t place, std::unique_ptr<T> item)
      : list_(list), place_(place), item_(std::move(item)) {}
  void Apply(bool forward) override {
    const auto at = list_.begin() + static_cast<std::ptrdiff_t>(place_);
    if (forward) {
      list_.insert(at, std::move(item_));
    } else {
      item_ = std::move(*at);
      list_.erase(at);
    }
  }

 private:
  std::vector<std::unique_ptr<T>>& list_;
  size_t place_;
  std::unique_ptr<T> item_;
};

// A neighbour entry as a value: the station dialog and its undo make the
// entries anew, so they are set by value.
struct TNeibourValue {
  TStop* Stop = nullptr;
  int32_t Time = 0;
  bool Reversed = false;
  bool operator==(const TNeibourValue&) const = default;
};
using TNeibourValues = std::vector<TNeibourValue>;

TNeibourValues ValuesOf(const TNeibourList& list) {
  TNeibourValues values;
  for (const auto& entry : list) values.push_back({entry->Stop, entry->Time, entry->Reversed});
  return values;
}

class TNeibourChange : public TChange {
 public:
  TNeibourChange(TNeibourList& list, TNeibourValues after)
      : list_(list), before_(ValuesOf(list)), after_(std::move(after)) {}
  void Apply(bool forward) override {
    list_.clear();
    for (const TNeibourValue& v : forward ? after_ : before_) {
      auto entry = std::make_unique<TNeibourStop>();
      entry->Stop = v.Stop;
      entry->Time = v.Time;
      entry->Reversed = v.Reversed;
      list_.push_back(std::move(entry));
    }
  }

 private:
  TNeibourList& list_;
  TNeibourValues before_, after_;
};

template <typename T>
std::vector<T*> Pointers(const std::vector<std::unique_ptr<T>>& list) {
  std::vector<T*> pointers;
  for (const auto& item : list) pointers.push_back(item.get());
  return pointers;
}

// The command of every network edit: a list of changes, each list of the
// model changed at most once, then the network linked again, the map
// connectors made as loading makes them, and the drawings rebuilt.
class TNetworkCommand : public QUndoCommand {
 public:
  TNetworkCommand(TCity& city, const char* captionUtf8)
      : QUndoCommand(QString::fromUtf8(captionUtf8)), city_(city) {}

  void redo() override {
    for (auto& change : changes_) change->Apply(true);
    Relink();
    // The connectors follow the network; worked out once, so that redoing
    // puts back the same objects.
    if (!connectorsArranged_) ArrangeConnectors();
    connectorsArranged_ = true;
    Rebuild();
  }
  void undo() override {
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) (*it)->Apply(false);
    Relink();
    Rebuild();
  }

  template <typename T>
  void Set(T& target, T after) {
    if (target != after) changes_.push_back(std::make_unique<TValueChange<T>>(target, std::move(after)));
  }
  template <typename T>
  void Arrange(std::vector<std::unique_ptr<T>>& list, std::vector<T*> after,
               std::vector<std::unique_ptr<T>> added = {}) {
    if (after != Pointers(list) || !added.empty())
      changes_.push_back(std::make_unique<TListChange<T>>(list, std::move(after), std::move(added)));
  }
  template <typename T>
  void Remove(std::vector<std::unique_ptr<T>>& list, const std::function<bool(const T&)>& gone) {
    std::vector<size_t> places;
    for (size_t i = 0; i < list.size(); ++i)
      if (gone(*list[i])) places.push_back(i);
    if (!places.empty()) changes_.push_back(std::make_unique<TRemoveChange<T>>(list, std::move(places)));
  }
  template <typename T>
  void Insert(std::vector<std::unique_ptr<T>>& list, size_t place, std::unique_ptr<T> item) {
    changes_.push_back(std::make_unique<TInsertChange<T>>(list, place, std::move(item)));
  }
  void SetNeibours(TNeibourList& list, TNeibourValues after) {
    if (after != ValuesOf(list)) changes_.push_back(std::make_unique<TNeibourChange>(list, std::move(after)));
  }

 private:
  void Relink() {
    city_.Stations.clear();
    for (const auto& transport : city_.Transports.Items) {
      for (const auto& route : transport->Routes) {
        route->Relink();
        route->Transport = transport.get();
        for (const auto& stop : route->Stops) city_.Stations.push_back(stop->Station);
      }
    }
  }

  // Keeps every connector that still joins two stations (its shown or
  // hidden state with it) and adds the new ones, in the order loading
  // would give.
  void ArrangeConnectors() {
    for (const auto& map : city_.Maps) {
      auto kept = std::move(map->Transfers);
      map->Transfers.clear();
      map->BuildTransfers();
      auto made = std::move(map->Transfers);
      map->Transfers = std::move(kept);
      std::vector<TMetroMapTransfer*> after;
      std::vector<std::unique_ptr<TMetroMapTransfer>> added;
      for (auto& connector : made) {
        auto same = std::find_if(map->Transfers.begin(), map->Transfers.end(), [&](const auto& old) {
          return (old->Station1 == connector->Station1 && old->Station2 == connector->Station2) ||
                 (old->Station1 == connector->Station2 && old->Station2 == connector->Station1);
        });
        if (same != map->Transfers.end()) {
          after.push_back(same->get());
        } else {
          after.push_back(connector.get());
          added.push_back(std::move(connector));
        }
      }
      const size_t before = changes_.size();
      Arrange(map->Transfers, std::move(after), std::move(added));
      if (changes_.size() > before) changes_.back()->Apply(true);
    }
  }

  void Rebuild() {
    for (const auto& map : city_.Maps) map->BuildDrawing(true);
  }

  TCity& city_;
  std::vector<std::unique_ptr<TChange>> changes_;
  bool connectorsArranged_ = false;
};

TNetworkEdit Refuse(std::string text) { return {nullptr, std::move(text)}; }

TNetworkEdit Ready(std::unique_ptr<TNetworkCommand> command) { return {std::move(command), {}}; }

std::string Quoted(const std::string& cp1251) { return "«" + Cp1251ToUtf8(cp1251) + "»"; }

// The user's text as the city holds it: trimmed, in the code page, without
// the characters that would break the files' lists (`forbidden`). Nothing,
// with `refusal` set, when it cannot be held.
std::optional<std::string> CityText(const std::string& utf8, std::string_view forbidden,
                                    std::string& refusal) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).trimmed();
  if (text.isEmpty()) {
    refusal = "Введите название.";
    return std::nullopt;
  }
  for (char32_t u : text.toUcs4()) {
    if (!Cp1251Holds(u)) {
      refusal = "В названии есть знак, которого нет в кодировке города: «" +
                QString::fromUcs4(&u, 1).toStdString() + "».";
      return std::nullopt;
    }
    if (u < 128 && forbidden.find(static_cast<char>(u)) != std::string_view::npos) {
      refusal = "В названии не может быть знаков " + std::string(forbidden) + ".";
      return std::nullopt;
    }
  }
  return Utf8ToCp1251(text.toStdString());
}

// Parentheses open a neighbour list and a double quote a quoted item in
// the station lists; square brackets would end a map's section header.
constexpr std::string_view kStationForbidden = "()\"";
constexpr std::string_view kLineForbidden = "()\"[]";

bool Joined(const TStation& a, const TStation& b) {
  for (const auto& transfer : a.Transfers)
    if (transfer->Station == &b) return true;
  for (const auto& transfer : b.Transfers)
    if (transfer->Station == &a) return true;
  return false;
}

// --- Geometry of a click ---------------------------------------------------

long double Distance(long double x, long double y, const TCoordinate& a, const TCoordinate& b) {
  const long double dx = b.X - a.X, dy = b.Y - a.Y;
  const long double length2 = dx * dx + dy * dy;
  long double t = length2 > 0 ? ((x - a.X) * dx + (y - a.Y) * dy) / length2 : 0;
  t = std::clamp<long double>(t, 0, 1);
  return std::hypot(x - (a.X + t * dx), y - (a.Y + t * dy));
}

long double Distance(long double x, long double y, const TCoordinate& a) {
  return std::hypot(x - a.X, y - a.Y);
}

// The distance to the drawn connection between two stations: through the
// nodes of their segment, or straight.
long double DistanceToConnection(const TMetroMapLine& line, const TMetroMapStation& a,
                                 const TMetroMapStation& b, long double x, long double y) {
  std::vector<const TCoordinate*> path = {&a.Coordinate, &b.Coordinate};
  if (const TMetroMapSegment* segment = line.FindSegment(&a, &b)) {
    path.clear();
    for (const auto& node : segment->Nodes) path.push_back(&node->Coordinate);
  }
  long double best = std::numeric_limits<long double>::max();
  for (size_t i = 0; i + 1 < path.size(); ++i) best = std::min(best, Distance(x, y, *path[i], *path[i + 1]));
  return best;
}

std::string FreeStationName(const TRoute& route) {
  for (size_t n = route.Stops.size() + 1;; ++n) {
    std::string name = Utf8ToCp1251("Станция ") + std::to_string(n);
    if (route.FindStationByName(name, false) == nullptr) return name;
  }
}

// A legend below the lowest one of the map, of the same size, 5 pixels
// apart; the first legend of a map goes to its top left corner.
TRect LegendBelow(const TMetroMap& map) {
  const TRect* lowest = nullptr;
  for (const auto& line : map.Lines)
    if (line->LegendRect != TRect{} && (lowest == nullptr || line->LegendRect.Bottom > lowest->Bottom))
      lowest = &line->LegendRect;
  if (lowest == nullptr) return {20, 20, 80, 40};
  const int32_t top = lowest->Bottom + 5;
  return {lowest->Left, top, lowest->Right, top + lowest->Bottom - lowest->Top};
}

// A name for a new transfer declaration: a number no transfer of the city
// has, so the new line of the file is told apart from every other.
std::string FreeTransferName(const TCity& city) {
  long long largest = 0;
  for (const TStation* station : city.Stations) {
    for (const auto& transfer : station->Transfers) {
      std::string_view name = transfer->Name;
      while (!name.empty() && name.front() == '-') name.remove_prefix(1);
      if (!name.empty() && name.size() < 18 &&
          std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        largest = std::max(largest, std::stoll(std::string(name)));
    }
  }
  return std::to_string(largest + 1);
}

// The new neighbour list of stop `x` when stop `gone` leaves the route:
// entries that led to it lead on to where it led (`through`), the two
// times added up; entries already there are not doubled.
TNeibourValues Bypass(const TNeibourList& list, const TStop* gone, const TNeibourList& through, TStop* x) {
  TNeibourValues values;
  auto has = [&](const TStop* stop) {
    return std::any_of(values.begin(), values.end(), [&](const TNeibourValue& v) { return v.Stop == stop; });
  };
  for (const auto& entry : list) {
    if (entry->Stop != gone) {
      values.push_back({entry->Stop, entry->Time, entry->Reversed});
      continue;
    }
    for (const auto& next : through)
      if (next->Stop != x && next->Stop != gone && !has(next->Stop))
        values.push_back({next->Stop, entry->Time + next->Time, entry->Reversed});
  }
  return values;
}

}  // namespace

TNetworkEdit NewLine(TCity& city, TMetroMap& map, const std::string& name, TColor color,
                     const std::string& transportFile) {
  std::string refusal;
  const std::optional<std::string> lineName = CityText(name, kLineForbidden, refusal);
  if (!lineName) return Refuse(refusal);
  if (city.Transports.FindRouteByName(*lineName, false) != nullptr)
    return Refuse("Линия " + Quoted(*lineName) + " уже есть.");
  std::optional<std::string> fileName = CityText(transportFile, "/\\:*?\"<>|", refusal);
  if (!fileName) return Refuse("Файл транспорта: " + refusal);
  if (fileName->size() < 4 || !SameTextAscii(fileName->substr(fileName->size() - 4), ".trp"))
    *fileName += ".trp";

  auto command = std::make_unique<TNetworkCommand>(city, "Новая линия");
  TTransport* transport = nullptr;
  for (const auto& existing : city.Transports.Items)
    if (SameTextAscii(existing->FileName, *fileName)) transport = existing.get();
  std::vector<TTransport*> shown = map.Transports;
  if (transport == nullptr) {
    auto made = std::make_unique<TTransport>();
    made->FileName = *fileName;
    made->Type = fileName->substr(0, fileName->size() - 4);
    transport = made.get();
    // In the order the loader reads the files, so the network reads back alike.
    size_t at = 0;
    while (at < city.Transports.Items.size() && LoadedBefore(*city.Transports.Items[at], *made)) ++at;
    command->Insert(city.Transports.Items, at, std::move(made));
  }
  if (std::find(shown.begin(), shown.end(), transport) == shown.end()) {
    shown.push_back(transport);
    std::vector<TTransport*> checked = map.CheckedTransports;
    if (std::find(checked.begin(), checked.end(), transport) == checked.end()) checked.push_back(transport);
    command->Set(map.CheckedTransports, checked);
    command->Set(map.Transports, shown);
  }

  auto route = std::make_unique<TRoute>();
  route->Name = route->Alias = *lineName;
  route->Delays = "0,0";
  route->Transport = transport;
  auto line = std::make_unique<TMetroMapLine>();
  line->Route = route.get();
  line->Color = color;
  line->Width = map.LinesWidth;
  line->LegendRect = LegendBelow(map);
  // The map's lines come in the order of its transports, then of their routes.
  const auto rank = [&](const TTransport* t) {
    return std::find(shown.begin(), shown.end(), t) - shown.begin();
  };
  size_t at = 0;
  while (at < map.Lines.size() && rank(map.Lines[at]->Route->Transport) <= rank(transport)) ++at;
  command->Insert(map.Lines, at, std::move(line));
  command->Insert(transport->Routes, transport->Routes.size(), std::move(route));
  return Ready(std::move(command));
}

size_t InsertionIndex(const TMetroMapLine& line, long double x, long double y, long double tolerance) {
  const auto& stations = line.Stations;
  if (stations.empty()) return 0;
  std::optional<size_t> between;
  long double nearest = tolerance;
  for (size_t i = 0; i + 1 < stations.size(); ++i) {
    if (!stations[i]->Coordinate.Placed() || !stations[i + 1]->Coordinate.Placed()) continue;
    const long double d = DistanceToConnection(line, *stations[i], *stations[i + 1], x, y);
    if (d <= nearest) {
      nearest = d;
      between = i + 1;
    }
  }
  if (between) return *between;
  return Distance(x, y, stations.front()->Coordinate) < Distance(x, y, stations.back()->Coordinate)
             ? 0
             : stations.size();
}

TNetworkEdit AddStation(TCity& city, TMetroMap& map, TMetroMapLine& line, int32_t x, int32_t y,
                        long double tolerance) {
  TRoute& route = *line.Route;
  const size_t index = InsertionIndex(line, x, y, tolerance);
  auto command = std::make_unique<TNetworkCommand>(city, "Новая станция");
  auto stop = std::make_unique<TStop>();
  TStop* added = stop.get();
  added->Station->Name = added->Station->Alias = added->Station->CitedName = FreeStationName(route);
  TStop* previous = index > 0 ? route.Stops[index - 1].get() : nullptr;
  TStop* next = index < route.Stops.size() ? route.Stops[index].get() : nullptr;
  // A link between the two neighbours now leads to the new station; an end
  // station gains a link to it.
  auto linkTo = [&](TNeibourList& list, const TStop* replaced) {
    TNeibourValues values;
    bool linked = false;
    for (const auto& entry : list) {
      const bool through = replaced != nullptr && entry->Stop == replaced;
      values.push_back(
          {through ? added : entry->Stop, through ? kNewLinkSeconds : entry->Time, entry->Reversed});
      linked = linked || through;
    }
    if (!linked) values.push_back({added, kNewLinkSeconds, false});
    command->SetNeibours(list, std::move(values));
  };
  if (previous != nullptr) linkTo(previous->Forward, next);
  if (next != nullptr) linkTo(next->Backward, previous);
  auto own = [](TNeibourList& list, TStop* to) {
    auto entry = std::make_unique<TNeibourStop>();
    entry->Stop = to;
    entry->Time = kNewLinkSeconds;
    list.push_back(std::move(entry));
  };
  if (previous != nullptr) own(added->Backward, previous);
  if (next != nullptr) own(added->Forward, next);

  for (const auto& drawing : city.Maps) {
    TMetroMapLine* drawn = drawing->FindLineByRoute(&route);
    if (drawn == nullptr) continue;
    auto station = std::make_unique<TMetroMapStation>();
    station->Stop = added;
    station->Diameter = drawing->StationDiameter;
    if (drawing.get() == &map) {
      station->Coordinate.X = x;
      station->Coordinate.Y = y;
      // The rectangle "Записывать коорд." writes for a clicked point.
      station->LabelRect = {x + 10, y - 5, x + 80, y + 5};
    }
    if (previous != nullptr && next != nullptr) {
      const TMetroMapStation* a = drawn->Stations[index - 1].get();
      const TMetroMapStation* b = drawn->Stations[index].get();
      command->Remove<TMetroMapSegment>(drawn->Segments, [&](const TMetroMapSegment& s) {
        return (s.FromStation == a && s.ToStation == b) || (s.FromStation == b && s.ToStation == a);
      });
    }
    command->Insert(drawn->Stations, index, std::move(station));
  }
  command->Insert(route.Stops, index, std::move(stop));
  return Ready(std::move(command));
}

TNetworkEdit RenameStation(TCity& city, TStation& station, const std::string& name) {
  std::string refusal;
  const std::optional<std::string> newName = CityText(name, kStationForbidden, refusal);
  if (!newName) return Refuse(refusal);
  if (*newName == station.Name) return {};
  const TRoute* route = station.Route;
  if (route->FindStationByName(*newName, false) != nullptr)
    return Refuse("На линии " + Quoted(route->Name) + " уже есть станция " + Quoted(*newName) + ".");
  auto command = std::make_unique<TNetworkCommand>(city, "Переименовать станцию");
  if (station.Alias == station.Name) command->Set(station.Alias, *newName);
  command->Set(station.Name, *newName);
  command->Set(station.CitedName, *newName);
  return Ready(std::move(command));
}

TNetworkEdit DeleteStation(TCity& city, TStation& station) {
  TRoute& route = *station.Route;
  TStop* gone = station.Stop;
  if (route.Stops.size() <= 1)
    return Refuse("Станция " + Quoted(station.Name) + " - последняя на линии " + Quoted(route.Name) +
                  ": удалите линию целиком.");
  auto command = std::make_unique<TNetworkCommand>(city, "Удалить станцию");
  const size_t index = static_cast<size_t>(route.IndexOf(gone));
  for (const auto& stop : route.Stops) {
    if (stop.get() == gone) continue;
    command->SetNeibours(stop->Forward, Bypass(stop->Forward, gone, gone->Forward, stop.get()));
    command->SetNeibours(stop->Backward, Bypass(stop->Backward, gone, gone->Backward, stop.get()));
  }
  // Its own transfers leave with it; those leading to it go.
  for (TStation* other : city.Stations)
    if (other != &station)
      command->Remove<TTransfer>(other->Transfers, [&](const TTransfer& t) { return t.Station == &station; });
  for (const auto& map : city.Maps) {
    TMetroMapLine* line = map->FindLineByRoute(&route);
    if (line == nullptr || index >= line->Stations.size()) continue;
    const TMetroMapStation* placed = line->Stations[index].get();
    command->Remove<TMetroMapSegment>(line->Segments, [&](const TMetroMapSegment& s) {
      return s.FromStation == placed || s.ToStation == placed;
    });
    command->Remove<TMetroMapStation>(line->Stations,
                                      [&](const TMetroMapStation& s) { return &s == placed; });
  }
  command->Remove<TStop>(route.Stops, [&](const TStop& s) { return &s == gone; });
  return Ready(std::move(command));
}

TNetworkEdit DeleteLine(TCity& city, TRoute& route) {
  auto command = std::make_unique<TNetworkCommand>(city, "Удалить линию");
  for (TStation* other : city.Stations)
    if (other->Route != &route)
      command->Remove<TTransfer>(other->Transfers,
                                 [&](const TTransfer& t) { return t.Station->Route == &route; });
  for (const auto& map : city.Maps)
    command->Remove<TMetroMapLine>(map->Lines, [&](const TMetroMapLine& l) { return l.Route == &route; });
  command->Remove<TRoute>(route.Transport->Routes, [&](const TRoute& r) { return &r == &route; });
  return Ready(std::move(command));
}

TNetworkEdit RenameLine(TCity& city, TRoute& route, const std::string& name) {
  std::string refusal;
  const std::optional<std::string> newName = CityText(name, kLineForbidden, refusal);
  if (!newName) return Refuse(refusal);
  if (*newName == route.Name) return {};
  const TRoute* same = city.Transports.FindRouteByName(*newName, false);
  if (same != nullptr && same != &route) return Refuse("Линия " + Quoted(*newName) + " уже есть.");
  auto command = std::make_unique<TNetworkCommand>(city, "Переименовать линию");
  if (route.Alias == route.Name) command->Set(route.Alias, *newName);
  command->Set(route.Name, *newName);
  return Ready(std::move(command));
}

TNetworkEdit SetLineColor(TCity& city, TMetroMapLine& line, TColor color) {
  if (line.Color == color) return {};
  auto command = std::make_unique<TNetworkCommand>(city, "Цвет линии");
  command->Set(line.Color, color);
  return Ready(std::move(command));
}

TNetworkEdit AddTransfer(TCity& city, TStation& a, TStation& b, int32_t seconds) {
  if (a.Route == b.Route) return Refuse("Пересадка бывает только между станциями разных линий.");
  if (Joined(a, b))
    return Refuse("Между станциями " + Quoted(a.Name) + " и " + Quoted(b.Name) + " уже есть пересадка.");
  auto command = std::make_unique<TNetworkCommand>(city, "Новая пересадка");
  const std::string name = FreeTransferName(city);
  auto there = std::make_unique<TTransfer>();
  there->Name = name;
  there->Station = &b;
  there->Time = seconds;
  auto back = std::make_unique<TTransfer>();
  back->Name = "-" + name;
  back->Station = &a;
  back->Time = seconds;
  command->Insert(a.Transfers, a.Transfers.size(), std::move(there));
  command->Insert(b.Transfers, b.Transfers.size(), std::move(back));
  return Ready(std::move(command));
}

TNetworkEdit RemoveTransfer(TCity& city, TStation& a, TStation& b) {
  if (!Joined(a, b))
    return Refuse("Между станциями " + Quoted(a.Name) + " и " + Quoted(b.Name) + " нет пересадки.");
  auto command = std::make_unique<TNetworkCommand>(city, "Удалить пересадку");
  command->Remove<TTransfer>(a.Transfers, [&](const TTransfer& t) { return t.Station == &b; });
  command->Remove<TTransfer>(b.Transfers, [&](const TTransfer& t) { return t.Station == &a; });
  return Ready(std::move(command));
}

}  // namespace varnik
