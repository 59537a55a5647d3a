#include "editor/uMapExport.h"

#include <QString>
#include <algorithm>

#include "city/uCity.h"
#include "export/gui/uExportDialog.h"
#include "map/uMetroMap.h"
#include "platform/uBitmap.h"
#include "platform/uQtText.h"
#include "vector/uScale.h"

namespace varnik {

namespace {

// Smoothing of exported drawings: the finest, as the command line draws.
constexpr int kExportSmoothing = 4;

TPageDraw MapDrawing(TCity& city) {
  return [&city](TBitmap& target) { DrawMapPage(city, target); };
}

}  // namespace

TVectorPage MapPage(TCity& city) {
  TVectorPage page;
  if (TMetroMap* map = city.CurrentMap) {
    // The extent may depend on the label layer's visibility, as on screen.
    map->UpdateLabelsVisibility();
    page.Width = std::max(1, map->Width());
    page.Height = std::max(1, map->Height());
    page.Title = Cp1251ToUtf8(map->Name);
  }
  return page;
}

void DrawMapPage(TCity& city, TBitmap& target) {
  // Drawing point (0, 0) on pixel (0, 0), unzoomed and unturned.
  TScale view;
  view.Geographic = false;
  view.Changed();
  DrawCurrentMap(city.CurrentMap, target, kExportSmoothing, view);
}

void ExportMap(QWidget* parent, TCity& city) {
  if (!city.CurrentMap) return;
  const TVectorPage page = MapPage(city);
  const QString suggested = ToQString(city.CurrentMap->Name).section(QLatin1Char('.'), 0, 0) + ".png";
  ExportWithDialog(parent, suggested, page, MapDrawing(city));
}

void PrintMap(QWidget* parent, TCity& city) {
  if (!city.CurrentMap) return;
  PrintWithDialog(parent, MapPage(city), MapDrawing(city));
}

}  // namespace varnik
