#include "journeys/uJourneyQuery.h"

#include "journeys/uJourneyPlanner.h"
#include "journeys/uSimilarNames.h"

namespace varnik {

TJourneyAnswer AskJourney(const TJourneyPlanner& planner, std::string_view from, std::string_view to,
                          int delayColumn) {
  TJourneyAnswer answer;
  for (auto [name, status] :
       {std::pair{from, TJourneyStatus::UnknownStart}, std::pair{to, TJourneyStatus::UnknownEnd}}) {
    if (!planner.Knows(name)) {
      answer.Status = status;
      answer.Similar = SimilarNames(planner.StationNames(), name);
      return answer;
    }
  }
  answer.Journey = planner.Find(from, to, delayColumn);
  answer.Status = answer.Journey ? TJourneyStatus::Found : TJourneyStatus::NoJourney;
  return answer;
}

}  // namespace varnik
