#pragma once
// What the station properties dialog shows and changes: the name of a
// station and the two neighbour lists of its stop with their driving times.
// The texts are Windows-1251; every line of a list box ends with CR LF.

#include <string>

namespace varnik {

class TMapEditor;
class TMetroMapStation;

struct TStationFields {
  std::string Name;
  std::string ForwardNames;   // " Туда ": one neighbour per line, "-" before a reversed one
  std::string ForwardTimes;   // driving times as minutes.seconds, one per line
  std::string BackwardNames;  // " Обратно "
  std::string BackwardTimes;
};

// The fields of a station of the map, as the dialog opens with them.
TStationFields StationFields(const TMetroMapStation& station);

// Applies edited fields as one operation of the editor: the station's name
// (trimmed), then both neighbour lists of its stop made anew from the
// non-empty name lines. A name is looked up among the stops of the
// station's own route (a miss is reported by the route and the line is
// dropped); its time is the time line of the same number, 0 when there is
// none. Only this stop changes: the neighbours' own lists stay as they are.
void ApplyStationFields(TMapEditor& editor, TMetroMapStation& station, const TStationFields& fields);

}  // namespace varnik
