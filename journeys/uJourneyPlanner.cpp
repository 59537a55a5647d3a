// The search is Dijkstra's over the states (stop, on board): state 2i is the
// platform of stop i, state 2i + 1 its train. The network is flattened once
// into arrays of links per stop, so a search touches no pointers and no
// names until it traces the journey it found. Labels compare by seconds,
// then boardings; both only grow along a journey, so the first time a state
// leaves the queue its label is final.

#include "journeys/uJourneyPlanner.h"

#include <limits>
#include <queue>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "journeys/uDelays.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"

namespace varnik {

struct TJourneyPlanner::TLabel {
  int64_t Seconds = std::numeric_limits<int64_t>::max();
  int32_t Boardings = 0;
  int32_t Previous = -1;  // the state this one was reached from; -1 for a start
  bool Settled = false;
};

namespace {

int32_t Platform(int32_t stop) { return 2 * stop; }
int32_t OnBoard(int32_t stop) { return 2 * stop + 1; }
int32_t StopOf(int32_t state) { return state / 2; }
bool IsOnBoard(int32_t state) { return state % 2 == 1; }

struct TQueued {
  int64_t Seconds;
  int32_t Boardings;
  int32_t State;
  // The state breaks ties, so equal journeys are chosen the same way on
  // every run.
  bool operator>(const TQueued& other) const {
    return std::tie(Seconds, Boardings, State) > std::tie(other.Seconds, other.Boardings, other.State);
  }
};

}  // namespace

TJourneyPlanner::TJourneyPlanner(const TTransports& transports) {
  std::unordered_map<const TStop*, int32_t> index;
  for (const auto& transport : transports.Items) {
    for (const auto& route : transport->Routes) {
      for (const auto& stop : route->Stops) {
        index.emplace(stop.get(), static_cast<int32_t>(stops_.size()));
        stops_.push_back(stop.get());
        routeOfStop_.push_back(static_cast<int32_t>(routes_.size()));
      }
      routes_.push_back(route.get());
    }
  }
  auto indexOf = [&](const TStop* stop) {
    auto it = index.find(stop);
    return it == index.end() ? -1 : it->second;
  };
  std::unordered_set<std::string> named;
  for (const TStop* stop : stops_) {
    rideStart_.push_back(static_cast<int32_t>(rides_.size()));
    for (const TNeibourList* list : {&stop->Forward, &stop->Backward}) {
      for (const auto& next : *list) {
        const int32_t to = indexOf(next->Stop);
        if (next->Time > 0 && to >= 0) rides_.push_back({to, next->Time});
      }
    }
    walkStart_.push_back(static_cast<int32_t>(walks_.size()));
    for (const auto& transfer : stop->Station->Transfers) {
      // A negative walking time can only be a slip in the file; walking it
      // would make a journey shorter the more often it walks back and forth.
      const int32_t to = transfer->Station != nullptr ? indexOf(transfer->Station->Stop) : -1;
      if (transfer->Time >= 0 && to >= 0) walks_.push_back({to, transfer->Time});
    }
    if (named.insert(stop->Station->Name).second) stationNames_.push_back(stop->Station->Name);
  }
  rideStart_.push_back(static_cast<int32_t>(rides_.size()));
  walkStart_.push_back(static_cast<int32_t>(walks_.size()));
}

std::vector<int32_t> TJourneyPlanner::MatchingStops(std::string_view name) const {
  std::vector<int32_t> result;
  for (size_t i = 0; i < stops_.size(); ++i)
    if (stops_[i]->Station->Name == name) result.push_back(static_cast<int32_t>(i));
  if (!result.empty()) return result;
  for (size_t i = 0; i < stops_.size(); ++i)
    if (SameTextLocale(stops_[i]->Station->Name, name)) result.push_back(static_cast<int32_t>(i));
  return result;
}

bool TJourneyPlanner::Knows(std::string_view name) const { return !MatchingStops(name).empty(); }

std::optional<TJourney> TJourneyPlanner::Find(std::string_view from, std::string_view to,
                                              int delayColumn) const {
  const std::vector<int32_t> starts = MatchingStops(from);
  const std::vector<int32_t> ends = MatchingStops(to);
  if (starts.empty() || ends.empty()) return std::nullopt;
  std::vector<char> isEnd(stops_.size(), 0);
  for (int32_t stop : ends) isEnd[stop] = 1;
  std::vector<int32_t> waits;
  for (const TRoute* route : routes_) waits.push_back(RouteWait(*route, delayColumn));
  int32_t reached = -1;
  const std::vector<TLabel> labels = Search(starts, isEnd, waits, reached);
  if (reached < 0) return std::nullopt;
  return Trace(labels, reached);
}

std::vector<TJourneyPlanner::TLabel> TJourneyPlanner::Search(const std::vector<int32_t>& starts,
                                                             const std::vector<char>& isEnd,
                                                             const std::vector<int32_t>& waits,
                                                             int32_t& reached) const {
  std::vector<TLabel> labels(2 * stops_.size());
  std::priority_queue<TQueued, std::vector<TQueued>, std::greater<>> queue;
  auto reach = [&](int32_t state, int64_t seconds, int32_t boardings, int32_t previous) {
    TLabel& label = labels[state];
    if (label.Settled || std::tie(seconds, boardings) >= std::tie(label.Seconds, label.Boardings)) return;
    label.Seconds = seconds;
    label.Boardings = boardings;
    label.Previous = previous;
    queue.push({seconds, boardings, state});
  };
  for (int32_t stop : starts) reach(Platform(stop), 0, 0, -1);
  while (!queue.empty()) {
    const TQueued top = queue.top();
    queue.pop();
    TLabel& label = labels[top.State];
    if (label.Settled) continue;
    label.Settled = true;
    const int32_t stop = StopOf(top.State);
    if (isEnd[stop]) {
      reached = top.State;
      break;
    }
    if (IsOnBoard(top.State)) {
      reach(Platform(stop), top.Seconds, top.Boardings, top.State);
      for (int32_t k = rideStart_[stop]; k < rideStart_[stop + 1]; ++k)
        reach(OnBoard(rides_[k].To), top.Seconds + rides_[k].Seconds, top.Boardings, top.State);
    } else {
      reach(OnBoard(stop), top.Seconds + waits[routeOfStop_[stop]], top.Boardings + 1, top.State);
      for (int32_t k = walkStart_[stop]; k < walkStart_[stop + 1]; ++k)
        reach(Platform(walks_[k].To), top.Seconds + walks_[k].Seconds, top.Boardings, top.State);
    }
  }
  return labels;
}

// Turns the chain of states that reached the end into legs: a step from a
// platform onto the train of the same stop is a boarding (its time the
// wait), steps between trains are rides, a step off the train ends a ride,
// and a step between platforms is a walk.
TJourney TJourneyPlanner::Trace(const std::vector<TLabel>& labels, int32_t reached) const {
  std::vector<int32_t> chain;
  for (int32_t state = reached; state >= 0; state = labels[state].Previous) chain.push_back(state);
  TJourney journey;
  journey.Start = stops_[StopOf(chain.back())];
  journey.End = stops_[StopOf(reached)];
  journey.TotalSeconds = labels[reached].Seconds;
  journey.Boardings = labels[reached].Boardings;
  for (size_t k = chain.size() - 1; k > 0; --k) {
    const int32_t from = chain[k], to = chain[k - 1];
    const int64_t seconds = labels[to].Seconds - labels[from].Seconds;
    const TStop* stop = stops_[StopOf(to)];
    if (!IsOnBoard(from) && IsOnBoard(to)) {
      TJourneyLeg ride;
      ride.Route = routes_[routeOfStop_[StopOf(to)]];
      ride.Stops.push_back(stop);
      ride.WaitSeconds = seconds;
      journey.Legs.push_back(std::move(ride));
    } else if (IsOnBoard(from) && IsOnBoard(to)) {
      journey.Legs.back().Stops.push_back(stop);
      journey.Legs.back().Seconds += seconds;
    } else if (!IsOnBoard(from) && !IsOnBoard(to)) {
      TJourneyLeg walk;
      walk.Kind = TLegKind::Walk;
      walk.Stops = {stops_[StopOf(from)], stop};
      walk.Seconds = seconds;
      journey.Legs.push_back(std::move(walk));
    }
  }
  return journey;
}

}  // namespace varnik
