#pragma once
// Label rectangles for a laid-out map. Every station that has a label keeps
// its label's size; the label goes to the first side of the station (right,
// left, below, above, then the four corners) where it meets no line, no
// station, no transfer connector and no label placed before it, or else to
// the side where it meets the fewest of them.

#include "layout/uMapGeometry.h"

namespace varnik {

class TMetroMap;

// `geometry` holds the new places and segments of `map`'s stations (a
// snapshot of the same map); its label rectangles are replaced.
void PlaceLabels(const TMetroMap& map, TMapGeometry& geometry);

}  // namespace varnik
