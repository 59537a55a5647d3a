#pragma once
// A journey found through the transport network: the rides and walks from
// the start to the end, with their times. It refers to the network's stops
// and routes, which must outlive it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

class TRoute;
class TStop;

enum class TLegKind { Ride, Walk };

class TJourneyLeg {
 public:
  TLegKind Kind = TLegKind::Ride;
  // The route ridden; nullptr for a walk.
  const TRoute* Route = nullptr;
  // A ride: every stop passed, from the one boarded at to the one got off
  // at. A walk: the stop it leaves and the stop it reaches.
  std::vector<const TStop*> Stops;
  int64_t Seconds = 0;      // riding or walking
  int64_t WaitSeconds = 0;  // the wait for the ride, before it
};

class TJourney {
 public:
  // Where the journey starts and where it ends; the same stop for a journey
  // without legs (from a station to itself).
  const TStop* Start = nullptr;
  const TStop* End = nullptr;
  std::vector<TJourneyLeg> Legs;
  int64_t TotalSeconds = 0;  // every wait, ride and walk
  int Boardings = 0;
};

// A time as people read it: "4 min", "2 min 30 s", "45 s", with the words
// for minutes and seconds given ("min", "s" or the like).
std::string DurationText(int64_t seconds, std::string_view minutesWord, std::string_view secondsWord);

}  // namespace varnik
