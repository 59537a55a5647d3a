#include "network/uRoute.h"

#include <algorithm>

#include "core/uUtils.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

std::string_view BeforeParen(std::string_view name) { return name.substr(0, name.find('(')); }

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

bool AnyTime(const TNeibourList& list) {
  return std::any_of(list.begin(), list.end(), [](const auto& n) { return n->Time != 0; });
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

void ReportStopNotFound(const TRoute& route, const std::string& name) {
  ShowMessage("Station " + name + " not found in Route " + route.Name);
}

void ReportStationNotFound(const TRoute& route, const std::string& name) {
  ShowMessage("Station " + name + " (Route " + route.Name + ") not found.");
}

TStop::TStop() : OwnedStation(std::make_unique<TStation>()), Station(OwnedStation.get()) {}

std::optional<int32_t> TStop::ForwardTimeTo(const TStop* to) const {
  for (const auto& n : Forward)
    if (n->Stop == to) return n->Time;
  return std::nullopt;
}

int TRoute::IndexOf(const TStop* stop) const {
  for (size_t i = 0; i < Stops.size(); ++i)
    if (Stops[i].get() == stop) return static_cast<int>(i);
  return -1;
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
    p->Station->NoDrivingTimes = !AnyTime(p->Forward) && !AnyTime(p->Backward);
  }
}

void TRoute::Relink() {
  for (auto& stop : Stops) {
    stop->ForwardFrom.clear();
    stop->BackwardFrom.clear();
  }
  Link();
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
                         previous->ForwardTimeTo(&stop) == stop.Backward[0]->Time;
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
