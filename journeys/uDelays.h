#pragma once
// The delay columns of a city: "DelayNames" captions the columns (by default
// day and night), and each route's "Delays" gives the interval between its
// trains in each column, as a time "minutes.seconds".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

class TRoute;

// The captions of the columns, in order (items of the list, trimmed).
std::vector<std::string> DelayColumns(std::string_view delayNames);

// The index of the column captioned `name` (letter case ignored, Cyrillic
// too), or -1 when none is.
int FindDelayColumn(std::string_view delayNames, std::string_view name);

// The wait for a train of `route` with the delay column `column` chosen:
// half the interval, rounded down to whole seconds. 0 with no column chosen
// (-1), for a missing item, and for a negative interval, which can only be
// a slip in the file.
int32_t RouteWait(const TRoute& route, int column);

}  // namespace varnik
