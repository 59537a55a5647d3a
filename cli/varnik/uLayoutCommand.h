#pragma once
// `varnik layout`: lays the current map out on an octilinear grid, saves
// the new places, bends and labels into the map file (the transport files
// are not written) and prints the figures of the drawing before and after.

#include <cstdint>

namespace varnik {

class TCity;

struct TLayoutCommandOptions {
  int32_t GridStep = 0;  // pixels; 0: the map's default
  double Seconds = 0;    // give up after this long; 0: no limit
  bool MapNamed = false;
};

// Works on the city's current map; the exit code is 0 when the map was
// laid out and saved, 1 when the time ran out (the map is then left as it
// was) or the save failed.
int LayoutMap(TCity& city, const TLayoutCommandOptions& options);

}  // namespace varnik
