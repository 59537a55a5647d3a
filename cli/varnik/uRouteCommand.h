#pragma once
// The journey planner on the command line: `varnik route` prints the
// fastest journey between two stations, and `varnik render --route` draws it
// over the map. Names are typed in UTF-8 and converted to the city's
// Windows-1251 here, at the edge.

#include <optional>
#include <string>

#include "journeys/uJourney.h"

namespace varnik {

class TCity;

// Exit codes of a journey that cannot be given.
inline constexpr int kExitNoJourney = 1;
inline constexpr int kExitUnknownName = 2;

struct TRouteRequest {
  std::string From;  // UTF-8, as typed
  std::string To;
  std::string Delay;  // a caption of the city's delay columns; empty: no waits
  bool Json = false;
};

// The journey the request asks for. When there is none the reason is said
// on stderr (an unknown station with up to five similar names, an unknown
// delay column with the city's columns, or no journey at all) and
// `exitCode` is set to kExitUnknownName or kExitNoJourney.
std::optional<TJourney> FindRequestedJourney(const TCity& city, const TRouteRequest& request, int& exitCode);

// `varnik route`: prints the journey as text or JSON on stdout.
int PrintRoute(const TCity& city, const TRouteRequest& request);

}  // namespace varnik
