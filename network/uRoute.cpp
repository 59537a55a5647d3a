#include "network/uRoute.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

std::string_view BeforeParen(std::string_view name) { return name.substr(0, name.find('(')); }

void ReportStopNotFound(const TRoute& route, const std::string& name) {
  ShowMessage("Station " + name + " not found in Route " + route.Name);
}


// The look-up of FindStopByName while a route loads, kept as an index so that
// routes of many thousands of stops load in linear time. A stop is keyed by
// its name cut before "(", which changes once its own list has been read.
class TStopIndex {
 public:
  explicit TStopIndex(const TRoute& route) : route_(route) {
    for (size_t i = 0; i < route.Stops.size(); ++i)
      byName_[std::string(BeforeParen(route.Stops[i]->Station->Name))].insert(i);
  }

  void Rename(size_t i, const std::string& oldName, const std::string& newName) {
    auto it = byName_.find(std::string(BeforeParen(oldName)));
    if (it != byName_.end()) it->second.erase(i);
    byName_[std::string(BeforeParen(newName))].insert(i);
  }

  TStop* Find(const std::string& name) const {
    if (name.empty()) return nullptr;
    auto it = byName_.find(name);
    if (it == byName_.end() || it->second.empty()) {
      ReportStopNotFound(route_, name);
      return nullptr;
    }
    return route_.Stops[*it->second.begin()].get();
  }

 private:
  const TRoute& route_;
  std::unordered_map<std::string, std::set<size_t>> byName_;
};

// Adds one neighbour entry ("-" marks it reversed); an empty or unresolved
// entry adds nothing (the look-up reports the latter).
void AddNeibour(const TStopIndex& index, TNeibourList& list, std::string entry, int32_t time) {
  if (entry.empty()) return;
  bool reversed = entry[0] == '-';
  if (reversed) entry.erase(0, 1);
  TStop* stop = index.Find(entry);
  if (!stop) return;
  auto neibour = std::make_unique<TNeibourStop>();
  neibour->Stop = stop;
  neibour->Time = time;
  neibour->Reversed = reversed;
  list.push_back(std::move(neibour));
}

void AddDefaultNeibour(TNeibourList& list, TStop* stop, int32_t time) {
  auto neibour = std::make_unique<TNeibourStop>();
  neibour->Stop = stop;
  neibour->Time = time;
  list.push_back(std::move(neibour));
}

// Drops the first and the last character (the parentheses of a list item).
std::string StripEnds(const std::string& s) { return s.size() >= 2 ? s.substr(1, s.size() - 2) : ""; }

// Time of the first entry of `from`'s forward list that leads to `to`, or -1.
int32_t ForwardTime(const TStop& from, const TStop* to) {
  for (const auto& n : from.Forward)
    if (n->Stop == to) return n->Time;
  return -1;
}

// True when the list is just `stop`, in its plain direction. A reversed
// entry never counts as a default neighbour: written without a list it would
// load back unreversed, so both texts keep it in an explicit list.
bool HoldsExactly(const TNeibourList& list, const TStop* stop) {
  return list.size() == 1 && list[0]->Stop == stop && !list[0]->Reversed;
}

// Removes "," before ")" while the text ends with ",)".
std::string CloseList(std::string text) {
  text += ")";
  while (text.size() >= 2 && text.compare(text.size() - 2, 2, ",)") == 0) text.erase(text.size() - 2, 1);
  return text;
}

std::string NeibourName(const TNeibourStop& n) {
  return (n.Reversed ? "-" : "") + QuoteIfComma(n.Stop->Station->Name);
}

std::string NeibourTime(const TNeibourStop& n) { return n.Time == 0 ? "" : SecondsToTimeStr(n.Time); }

// "(" f0 "," b0 "," f1 "," b1 "," ... ")" with ",)" reduced; `item` formats one entry.
template <typename Format>
std::string NeibourListText(const TStop& stop, Format item) {
  std::string text = "(";
  size_t count = std::max(stop.Forward.size(), stop.Backward.size());
  for (size_t k = 0; k < count; ++k) {
    if (k < stop.Forward.size()) text += item(*stop.Forward[k]);
    text += ",";
    if (k < stop.Backward.size()) text += item(*stop.Backward[k]);
    text += ",";
  }
  return CloseList(text);
}

}  // namespace

void ReportStationNotFound(const TRoute& route, const std::string& name) {
  ShowMessage("Station " + name + " (Route " + route.Name + ") not found.");
}

TStop::TStop() : OwnedStation(std::make_unique<TStation>()), Station(OwnedStation.get()) {}

int TRoute::IndexOf(const TStop* stop) const {
  for (size_t i = 0; i < Stops.size(); ++i)
    if (Stops[i].get() == stop) return static_cast<int>(i);
  return -1;
}

void TRoute::Load(TIniStream& ini) {
  Name = ini.ValueString("Name", "");
  Alias = ini.ValueString("Alias", Name);
  LineMap = ini.ValueString("LineMap", "");
  Delays = ini.ValueString("Delays", "");
  const std::string drivingText = ini.ValueString("Driving", "");
  TTokenReader driving(drivingText);
  if (Delays.empty()) Delays = ini.ValueString("DelayDay", "0") + "," + ini.ValueString("DelayNight", "0");

  const std::string stationsText = ini.ValueString("Stations", "");
  // Checked on the raw text: a value of blanks alone still makes one stop.
  TTokenReader stations(stationsText);
  for (bool more = !stationsText.empty(); more; more = !stations.AtEnd()) {
    auto stop = std::make_unique<TStop>();
    stop->Station->Name = stations.Next();
    Stops.push_back(std::move(stop));
  }

  const size_t n = Stops.size();
  TStopIndex index(*this);
  for (size_t i = 0; i < n; ++i) {
    TStop& stop = *Stops[i];
    TStation& station = *stop.Station;
    std::string d = driving.Next();
    size_t open = station.Name.find('(');
    if (open != std::string::npos) {
      // An explicit neighbour list: odd entries lead forward, even ones backward.
      // With no ")" after the "(" the list is empty.
      size_t close = station.Name.find(')');
      const std::string listText =
          close != std::string::npos && close > open ? station.Name.substr(open + 1, close - open - 1) : "";
      std::string_view list = listText;
      const std::string timesText = StripEnds(d);
      std::string_view times = timesText;
      while (!list.empty()) {
        int32_t t = TimeStrToSeconds(NextToken(times));
        AddNeibour(index, stop.Forward, NextToken(list), t);
        t = TimeStrToSeconds(NextToken(times));
        AddNeibour(index, stop.Backward, NextToken(list), t);
      }
      std::string finalName = TrimBlank(std::string_view(station.Name).substr(0, open));
      index.Rename(i, station.Name, finalName);
      station.Name = std::move(finalName);
    } else {
      int32_t forward, backward = 0;
      if (d.find('(') != std::string::npos) {
        const std::string timesText = StripEnds(d);
        std::string_view times = timesText;
        forward = TimeStrToSeconds(NextToken(times));
        backward = TimeStrToSeconds(NextToken(times));
      } else {
        forward = TimeStrToSeconds(d);
        if (i > 0) {
          // Without an explicit time, the way back takes as long as the way here.
          int32_t previous = ForwardTime(*Stops[i - 1], &stop);
          if (previous >= 0) backward = previous;
        }
      }
      if (i > 0) AddDefaultNeibour(stop.Backward, Stops[i - 1].get(), backward);
      if (i + 1 < n) AddDefaultNeibour(stop.Forward, Stops[i + 1].get(), forward);
    }
    station.Alias = station.Name;
  }

  const std::string aliasesText = ini.ValueString("Aliases", "");
  TTokenReader aliases(aliasesText);
  if (!aliasesText.empty()) {
    // Every name is final now; the first stop of a name wins, as in FindStationByName.
    std::unordered_map<std::string, TStation*> stationByName;
    for (const auto& stop : Stops) stationByName.emplace(stop->Station->Name, stop->Station);
    for (bool more = true; more; more = !aliases.AtEnd()) {
      std::string name = aliases.Next();
      std::string alias = aliases.Next();
      if (name.empty()) continue;
      auto it = stationByName.find(name);
      if (it == stationByName.end()) {
        ReportStationNotFound(*this, name);
      } else {
        it->second->Alias = alias;
      }
    }
  }

  for (auto& stop : Stops) {
    auto anyTime = [](const TNeibourList& list) {
      return std::any_of(list.begin(), list.end(), [](const auto& n) { return n->Time != 0; });
    };
    stop->Station->NoDrivingTimes = !anyTime(stop->Forward) && !anyTime(stop->Backward);
  }
}

TStation* TRoute::FindStationByName(const std::string& name, bool report) const {
  if (name.empty()) return nullptr;
  for (const auto& stop : Stops) {
    const std::string& stationName = stop->Station->Name;
    size_t open = stationName.find('(');
    if (open == std::string::npos ? stationName == name : TrimBlank(stationName.substr(0, open)) == name)
      return stop->Station;
  }
  if (report) ReportStationNotFound(*this, name);
  return nullptr;
}

TStop* TRoute::FindStopByName(const std::string& name) const {
  if (name.empty()) return nullptr;
  for (const auto& stop : Stops) {
    const std::string& stationName = stop->Station->Name;
    // Not trimmed: a later stop still carrying its list is found by the text before "(" as written.
    if (BeforeParen(stationName) == name) return stop.get();
  }
  ReportStopNotFound(*this, name);
  return nullptr;
}

void TRoute::Link() {
  auto addTo = [](TNeibourList& list, TStop* stop, int32_t time, bool reversed) {
    auto neibour = std::make_unique<TNeibourStop>();
    neibour->Stop = stop;
    neibour->Time = time;
    neibour->Reversed = reversed;
    list.push_back(std::move(neibour));
  };
  for (auto& p : Stops) {
    for (const auto& q : p->Forward)
      addTo(q->Reversed ? q->Stop->BackwardFrom : q->Stop->ForwardFrom, p.get(), q->Time, q->Reversed);
    for (const auto& q : p->Backward)
      addTo(q->Reversed ? q->Stop->ForwardFrom : q->Stop->BackwardFrom, p.get(), q->Time, q->Reversed);
    p->Route = this;
    p->Station->Route = this;
    p->Station->Stop = p.get();
  }
}

std::string TRoute::StationsToString() const {
  const size_t n = Stops.size();
  std::string text;
  for (size_t a = 0; a < n; ++a) {
    const TStop& stop = *Stops[a];
    const TStop* previous = a > 0 ? Stops[a - 1].get() : nullptr;
    const TStop* next = a + 1 < n ? Stops[a + 1].get() : nullptr;
    bool defaultPlace =
        n == 1 || (a == 0 && stop.Backward.empty() && HoldsExactly(stop.Forward, next)) ||
        (a > 0 && a + 1 < n && HoldsExactly(stop.Forward, next) && HoldsExactly(stop.Backward, previous)) ||
        (a + 1 == n && stop.Forward.empty() && HoldsExactly(stop.Backward, previous));
    if (a > 0) text += ",";
    text += QuoteIfComma(stop.Station->Name);
    if (!defaultPlace) text += NeibourListText(stop, NeibourName);
  }
  return text;
}

std::string TRoute::DrivingToString() const {
  const size_t n = Stops.size();
  if (n == 0) return "";
  std::string text;
  for (size_t a = 0; a < n; ++a) {
    const TStop& stop = *Stops[a];
    const TStop* previous = a > 0 ? Stops[a - 1].get() : nullptr;
    const TStop* next = a + 1 < n ? Stops[a + 1].get() : nullptr;
    // The backward time may stay implicit when it equals the previous stop's forward time.
    bool backTakenOver = previous && HoldsExactly(stop.Backward, previous) &&
                         stop.Backward[0]->Time == ForwardTime(*previous, &stop);
    std::string item;
    if (n == 1) {
      item = "";
    } else if (a == 0 && stop.Backward.empty() && HoldsExactly(stop.Forward, next)) {
      item = SecondsToTimeStr(stop.Forward[0]->Time);
    } else if (a > 0 && a + 1 < n && HoldsExactly(stop.Forward, next) && backTakenOver) {
      item = SecondsToTimeStr(stop.Forward[0]->Time);
    } else if (a + 1 == n && stop.Forward.empty() && backTakenOver) {
      item = "";
    } else {
      item = NeibourListText(stop, NeibourTime);
    }
    if (a > 0) text += ",";
    text += item;
  }
  while (!text.empty() && text.back() == ',') text.pop_back();
  return text;
}

TStop* FindStopByStation(const TRoute& route, TStation* station) {
  if (!station) {
    ShowMessage("TRoute.FindStopByStation: Station = nil (Route " + route.Name + ")");
    return nullptr;
  }
  if (station->Stop) return station->Stop;
  for (const auto& stop : route.Stops) {
    if (stop->Station == station) {
      station->Stop = stop.get();
      return stop.get();
    }
  }
  ShowMessage("TRoute.FindStopByStation: Station not found in Route " + route.Name);
  return nullptr;
}

}  // namespace varnik
