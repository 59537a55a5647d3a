#include "journeys/drawing/uJourneyDrawing.h"

#include <vector>

#include "journeys/uJourney.h"
#include "map/uMetroMap.h"
#include "map/uMetroMapDrawing.h"
#include "network/uRoute.h"
#include "platform/uBitmap.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {

// What is left of each colour's distance from white: 80 of 256.
constexpr int kFadeKeep = 80;

struct TPlacedStop {
  const TMetroMapLine* Line = nullptr;
  const TMetroMapStation* Station = nullptr;
};

// The stop's station on the map, if the map draws its route. Searched
// quietly: a journey may well pass routes this map leaves out.
TPlacedStop Place(const TMetroMap& map, const TStop* stop) {
  const TMetroMapLine* line = map.FindLineByRoute(stop->Route);
  if (line == nullptr) return {};
  for (const auto& station : line->Stations)
    if (station->Stop == stop) return {line, station.get()};
  return {};
}

void AddRides(TVectorImage& image, const TMetroMap& map, const TJourney& journey) {
  for (const TJourneyLeg& leg : journey.Legs) {
    if (leg.Kind != TLegKind::Ride) continue;
    const TMetroMapLine* line = map.FindLineByRoute(leg.Route);
    if (line == nullptr) continue;
    image.AddPenColor(line->Color);
    for (size_t i = 1; i < leg.Stops.size(); ++i)
      AddMapConnection(image, *line, Place(map, leg.Stops[i - 1]).Station, Place(map, leg.Stops[i]).Station);
  }
}

void AddWalks(TVectorImage& image, const TMetroMap& map, const TJourney& journey) {
  std::vector<TStationPair> walks;
  for (const TJourneyLeg& leg : journey.Legs) {
    if (leg.Kind != TLegKind::Walk) continue;
    const TPlacedStop from = Place(map, leg.Stops.front()), to = Place(map, leg.Stops.back());
    if (from.Station != nullptr && to.Station != nullptr) walks.emplace_back(from.Station, to.Station);
  }
  if (!walks.empty()) AddMapTransfers(image, map, walks);
}

// Every station the journey touches, once, in the order it gets there.
std::vector<TPlacedStop> JourneyStations(const TMetroMap& map, const TJourney& journey) {
  std::vector<TPlacedStop> stations;
  auto add = [&](const TStop* stop) {
    const TPlacedStop placed = Place(map, stop);
    if (placed.Station == nullptr) return;
    for (const TPlacedStop& known : stations)
      if (known.Station == placed.Station) return;
    stations.push_back(placed);
  };
  add(journey.Start);
  for (const TJourneyLeg& leg : journey.Legs)
    for (const TStop* stop : leg.Stops) add(stop);
  return stations;
}

}  // namespace

void BuildJourneyDrawing(TVectorImage& image, const TMetroMap& map, const TJourney& journey) {
  const std::vector<TPlacedStop> stations = JourneyStations(map, journey);
  AddRides(image, map, journey);
  for (const TPlacedStop& placed : stations) AddMapStation(image, *placed.Line, *placed.Station);
  AddWalks(image, map, journey);
  for (const TPlacedStop& placed : stations) AddMapLabel(image, map, *placed.Line, *placed.Station);
}

void FadeBitmap(TBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* pixel = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, pixel += TBitmap::kBytesPerPixel) {
      for (int c = 0; c < 3; ++c) pixel[c] = static_cast<uint8_t>(255 - (255 - pixel[c]) * kFadeKeep / 256);
    }
  }
}

void DrawJourney(TBitmap& bitmap, int level, const TScale& view, const TMetroMap& map,
                 const TJourney& journey) {
  if (bitmap.Empty()) return;
  FadeBitmap(bitmap);
  TVectorImage image;
  BuildJourneyDrawing(image, map, journey);
  image.Draw(bitmap, TRect{0, 0, bitmap.Width(), bitmap.Height()}, level, view, false);
}

}  // namespace varnik
