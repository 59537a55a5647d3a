#pragma once
// A journey asked for by two station names as a user typed them: either the
// journey, or why there is none (a name the city does not have, with the
// names that look like it, or no way between the two).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journeys/uJourney.h"

namespace varnik {

class TJourneyPlanner;

enum class TJourneyStatus { Found, UnknownStart, UnknownEnd, NoJourney };

class TJourneyAnswer {
 public:
  TJourneyStatus Status = TJourneyStatus::NoJourney;
  std::optional<TJourney> Journey;   // set when Found
  std::vector<std::string> Similar;  // for an unknown name: up to five names like it
};

// Names and the result are Windows-1251; `delayColumn` as TJourneyPlanner::Find.
TJourneyAnswer AskJourney(const TJourneyPlanner& planner, std::string_view from, std::string_view to,
                          int delayColumn);

}  // namespace varnik
