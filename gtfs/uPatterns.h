#pragma once
// The one pattern of stations an imported route is drawn with, and the
// times measured on its trips.
//
// A route's trips are grouped by the sequence of stations they call at.
// Among the trips with the smallest direction_id present, the most
// frequent sequence is chosen; a tie goes to the longer one, then to the
// one holding the smallest trip_id (compared as text). Driving times are
// medians over the pattern's trips; the day and night delays are medians
// of the gaps between departures from the first stop (or of the headways
// of frequencies.txt).

#include <cstdint>
#include <optional>
#include <vector>

namespace varnik {

class TGtfsFeed;
class TStationGroups;

struct TPattern {
  std::vector<int32_t> Stations;  // in visiting order; a ring ends with its first station
  std::vector<int32_t> Trips;     // every trip of the route that follows it
  // Per pair of consecutive stations: the median driving time in seconds,
  // 0 where no trip times the pair.
  std::vector<int32_t> Driving;
  int32_t DayDelay = 0, NightDelay = 0;  // seconds; 0 when not known
  // Per position: the feed's stops the trips use there.
  std::vector<std::vector<int32_t>> StopsAt;
};

// The pattern of a route whose trips are `trips`; nothing when none of
// them calls at a station.
std::optional<TPattern> ChoosePattern(const TGtfsFeed& feed, const TStationGroups& groups,
                                      const std::vector<int32_t>& trips);

// The lower middle value (of an even count, the lower of the two); 0 for
// none. Reorders `values`.
int32_t LowerMedian(std::vector<int32_t>& values);

// The delay of one time window from the departures of its trips (seconds
// after midnight, any day) and the headways of frequency rows starting in
// it. `day` picks 07:00-20:00, else 22:00-05:00.
int32_t WindowDelay(const std::vector<int32_t>& departures,
                    const std::vector<std::pair<int32_t, int32_t>>& frequencies, bool day);

}  // namespace varnik
