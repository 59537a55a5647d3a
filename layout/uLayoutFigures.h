#pragma once
// The figures by which a layout is judged, measured on a map as it is drawn:
// how many pieces of line are octilinear (horizontal, vertical or at 45
// degrees), how many times pieces of different lines cross, how often each
// line bends, how far stations moved from where they were, how far apart
// the stations of a transfer are and how close any two stations come.
// Distances are in grid steps.

#include <cstdint>
#include <string>
#include <vector>

#include "layout/uMapGeometry.h"

namespace varnik {

class TMetroMap;

struct TLayoutFigures {
  int32_t Pieces = 0;
  int32_t OctilinearPieces = 0;
  // Pairs of pieces of different lines whose ends lie strictly on both sides
  // of each other, and pairs of lines passing through one point from one
  // side of each other to the other; lines that only touch or run on top of
  // each other do not count.
  int32_t Crossings = 0;
  // Per line: changes of direction inside its connections and at stations
  // where exactly two of its connections meet.
  std::vector<int32_t> BendsPerLine;
  double MeanDisplacement = 0;  // placed stations against `before`
  double LongestTransfer = 0;   // 0 without transfers
  double ClosestStations = 0;   // 0 with fewer than two placed stations

  double OctilinearShare() const { return Pieces == 0 ? 1.0 : double(OctilinearPieces) / Pieces; }
  int32_t Bends() const;
};

// `before` is a snapshot of the same map (the geographic places); a station
// placed in only one of the two is left out of the displacement.
TLayoutFigures MeasureLayout(const TMetroMap& map, const TMapGeometry& before, int32_t gridStep);

// The figures as the layout command prints them: one "name: value" line each
// (UTF-8 line names), the input's figures given for comparison.
std::string FiguresReport(const TMetroMap& map, const TLayoutFigures& input, const TLayoutFigures& output);

}  // namespace varnik
