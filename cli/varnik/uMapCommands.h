#pragma once
// The map commands of `varnik`: render, save and layer. Each works on a city
// that main has loaded (and whose diagnostics it has printed); the current
// directory is the city's.

#include <string>

#include "cli/common/uRenderView.h"

namespace varnik {

class TCity;
class TJourney;

// Makes the map named `mapName` (UTF-8; empty: keep the current map) the
// city's current one. False, said on stderr, when there is no such map or
// the city has none at all.
bool ChooseMap(TCity& city, const std::string& mapName);

// Draws the current map as the editor paints it, without editing aids, into
// a PNG, SVG or PDF; with a journey, the map faded and the journey over it.
// `options.Out` must already be absolute (the current directory is the
// city's by now).
int RenderMap(TCity& city, const TRenderOptions& options, const TJourney* journey);

// Saves the city exactly as the editor does when it closes; the legend
// rectangles are written only when no map was named, as the editor writes
// them only when started without a map argument.
int SaveMap(TCity& city, bool mapNamed);

// Prints the current map's own vector layer as .vec text (Windows-1251).
int PrintLayer(TCity& city);

}  // namespace varnik
