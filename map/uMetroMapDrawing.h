#pragma once
// Pieces of the drawing a metro map builds of itself, for drawings of a part
// of the map (a journey over it) that must look exactly like the whole. Each
// appends vector commands to `image`; stations and points that are not
// placed add nothing.

#include <array>
#include <cstddef>
#include <cstdint>
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

// Where each part of a map's own drawing lies in its command list, so that
// the parts of lines that changed can be made again and the rest kept. A
// part is the drawing of one line in one layer of the picture (connections,
// stations, legend, label boxes, labels), of one transfer or transfer end in
// one layer of the corridors, or a header that sets the colours of the parts
// after it. Part k holds the commands Starts[k] .. Starts[k + 1] - 1.
struct TMapPart {
  uint8_t Kind = 0;
  uint32_t Index = 0;  // of the line, the transfer or the transfer end
};

struct TMapTransferEnd {
  const TMetroMapStation* Station = nullptr;
  const TMetroMapLine* Line = nullptr;  // nullptr: the station is on no line of the map
};

class TMapPieces {
 public:
  // Plans the parts of the drawing of `map` as it is now, in drawing order.
  explicit TMapPieces(const TMetroMap& map);

  // Appends the commands of part `k` to `image`.
  void AddPart(const TMetroMap& map, size_t k, TVectorImage& image) const;
  // The parts to make again when the points or rectangles of `lines`
  // changed; empty when the transfers drawn changed too (a transfer end
  // placed or unplaced), which only a full build handles.
  std::vector<bool> ChangedParts(const TMetroMap& map, const std::vector<TMetroMapLine*>& lines) const;

  std::vector<TMapPart> Parts;
  std::vector<size_t> Starts;                 // one more than Parts once built
  const TVectorImage* Document = nullptr;  // the document the Starts refer to
  std::vector<TStationPair> Transfers;        // the visible ones, in the map's order
  std::vector<TMapTransferEnd> Ends;

 private:
  bool vector_ = true;
  size_t lineCount_ = 0;
  std::vector<std::array<uint32_t, 2>> transferLines_;  // line indices of both ends, or -1
  std::vector<uint32_t> endLines_;
};

}  // namespace varnik
