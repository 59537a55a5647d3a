#include "cli/varnik/uMapCommands.h"

#include <cstdio>
#include <iostream>

#include "city/uCity.h"
#include "cli/common/uRenderView.h"
#include "image/uImage.h"
#include "journeys/drawing/uJourneyDrawing.h"
#include "map/uCitySaver.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {
constexpr const char* kTool = "varnik";
}  // namespace

bool ChooseMap(TCity& city, const std::string& mapName) {
  if (!mapName.empty() && !city.SelectMap(Utf8ToCp1251(mapName))) {
    std::cerr << kTool << ": the city has no map " << mapName << "\n";
    return false;
  }
  if (city.CurrentMap == nullptr) {
    std::cerr << kTool << ": the city has no map\n";
    return false;
  }
  return true;
}

int RenderMap(TCity& city, const TRenderOptions& options, const TJourney* journey) {
  TMetroMap& map = *city.CurrentMap;
  EnsureGuiApplication();
  // The extent may depend on the label layer's visibility, as in the editor.
  map.UpdateLabelsVisibility();
  return RenderToFile(kTool, options, map.Width(), map.Height(),
                      [&](TBitmap& bitmap, const TScale& view, int smooth) {
                        // The editor paints over its window background; a file gets white.
                        bitmap.Fill(0xFFFFFF);
                        DrawCurrentMap(city.CurrentMap, bitmap, smooth, view);
                        if (journey != nullptr) DrawJourney(bitmap, smooth, view, map, *journey);
                      });
}

int SaveMap(TCity& city, bool mapNamed) {
  return SaveCity(city.CurrentMap, city.Transports, !mapNamed) ? 0 : 1;
}

int PrintLayer(TCity& city) {
  const TMetroMap& map = *city.CurrentMap;
  const TLayer& layer = *map.Layers.back();
  const std::string text = layer.Image->Vector->SaveToText();
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace varnik
