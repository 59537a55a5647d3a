#pragma once
// The connections a line draws and the course each one takes, as the map
// draws them: one per pair of neighbouring stops (a link listed both ways
// counts once), between placed stations only, along the segment's nodes
// where the line has a segment for it.

#include <cstdint>
#include <vector>

#include "layout/uMapGeometry.h"

namespace varnik {

class TMetroMapLine;

struct TLineLink {
  int32_t From = 0;  // station indexes in the line
  int32_t To = 0;
};

std::vector<TLineLink> LineLinks(const TMetroMapLine& line);

// The points the link is drawn through, from `From` to `To`: the segment's
// nodes up to the first one that is not placed, or just the two stations.
std::vector<TPoint32> LinkCourse(const TMetroMapLine& line, const TLineLink& link);

}  // namespace varnik
