#pragma once
// Pieces of the drawing a metro map builds of itself, for drawings of a part
// of the map (a journey over it) that must look exactly like the whole. Each
// appends vector commands to `image`; stations and points that are not
// placed add nothing.

#include <utility>
#include <vector>

namespace varnik {

class TMetroMap;
class TMetroMapLine;
class TMetroMapStation;
class TVectorImage;

using TStationPair = std::pair<const TMetroMapStation*, const TMetroMapStation*>;

// The connection between two stations of `line`, along their segment when
// there is one; dashed and thinner when either lacks driving times. The pen
// colour is the caller's to set.
void AddMapConnection(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation* a,
                      const TMetroMapStation* b);
// The station's circle in the line's colour.
void AddMapStation(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation& station);
// Transfer connectors between the pairs (whose ends are stations of `map`):
// a white corridor with a black outline joining white-ringed stations.
void AddMapTransfers(TVectorImage& image, const TMetroMap& map, const std::vector<TStationPair>& transfers);
// The station's name label, as the map's settings write it.
void AddMapLabel(TVectorImage& image, const TMetroMap& map, const TMetroMapLine& line,
                 const TMetroMapStation& station);

}  // namespace varnik
