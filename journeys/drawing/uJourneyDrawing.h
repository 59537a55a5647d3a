#pragma once
// A journey shown on a map: the map's picture faded towards white, and the
// journey drawn over it the way the map draws itself, so that its lines,
// stations and labels stand out from the rest. The command-line tool and the
// editor both draw journeys through here.

namespace varnik {

class TBitmap;
class TJourney;
class TMetroMap;
class TScale;
class TVectorImage;

// Appends the journey's part of the map to `image`: the connections it rides
// in their lines' colours, the circles of its stations, its walks as
// transfer connectors and the labels of its stations. Rides of routes the map
// does not draw and stations that are not placed add nothing.
void BuildJourneyDrawing(TVectorImage& image, const TMetroMap& map, const TJourney& journey);

// Brings every pixel of the bitmap most of the way to white.
void FadeBitmap(TBitmap& bitmap);

// Fades the picture already in `bitmap` (the map, drawn through `view`) and
// draws the journey over it through the same view at smoothing `level`.
void DrawJourney(TBitmap& bitmap, int level, const TScale& view, const TMetroMap& map,
                 const TJourney& journey);

}  // namespace varnik
