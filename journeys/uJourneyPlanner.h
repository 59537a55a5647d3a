#pragma once
// The fastest journey between two stations of a linked network.
//
// A traveller is at a stop either on the platform or on board. On board they
// ride to each stop of the stop's Forward and Backward lists whose driving
// time is above 0 (0 means the time is unknown, and such a link is not
// ridden), or get off at no cost. On the platform they board the stop's
// route, waiting for it and counting one boarding, or walk any transfer of
// the stop's station, invisible ones too, for its time (0 allowed; a
// negative time, which only a slip in the file can give, is never walked).
// The journey starts on the platform of every stop named like the start
// and ends at the first stop named like the end that the search reaches, on
// board or not. It takes the least total time and, among equal times, the
// fewest boardings.
//
// Names match exactly; only when no station of the city has exactly that
// name do they match ignoring letter case (Cyrillic too).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journeys/uJourney.h"

namespace varnik {

class TTransports;

class TJourneyPlanner {
 public:
  // Indexes the linked network once for any number of searches. The
  // network must stay alive and unchanged while the planner is used.
  explicit TJourneyPlanner(const TTransports& transports);

  // Whether some station is named `name` by the rule above.
  bool Knows(std::string_view name) const;
  // Every station name of the network once, in transport, route, stop order.
  const std::vector<std::string>& StationNames() const { return stationNames_; }

  // The journey from `from` to `to` with the waits of the delay column
  // `delayColumn` (-1: no waits). Nothing when a name is unknown or no
  // journey joins the two.
  std::optional<TJourney> Find(std::string_view from, std::string_view to, int delayColumn) const;

 private:
  struct TLink {
    int32_t To;
    int32_t Seconds;
  };
  struct TLabel;

  // Where a name leads: the stops it matches by the rule above.
  std::vector<int32_t> MatchingStops(std::string_view name) const;
  std::vector<TLabel> Search(const std::vector<int32_t>& starts, const std::vector<char>& isEnd,
                             const std::vector<int32_t>& waits, int32_t& reached) const;
  TJourney Trace(const std::vector<TLabel>& labels, int32_t reached) const;

  std::vector<const TStop*> stops_;
  std::vector<int32_t> routeOfStop_;  // index into routes_
  std::vector<const TRoute*> routes_;
  // The rides leaving stop i are rides_[rideStart_[i] .. rideStart_[i + 1]),
  // the walks likewise.
  std::vector<int32_t> rideStart_, walkStart_;
  std::vector<TLink> rides_, walks_;
  std::vector<std::string> stationNames_;
};

}  // namespace varnik
