#pragma once
// "Экспорт..." and "Печать..." of the map editor: the current map as a whole
// drawing (its extent at zoom 1, without editing aids, as `varnik render`
// draws it) written as PNG, SVG or PDF, or printed on one page.

class QWidget;

namespace varnik {

class TBitmap;
class TCity;
struct TVectorPage;

// The page of the current map: its extent and its name as the title. A
// city without a map gives a page of 1 x 1.
TVectorPage MapPage(TCity& city);

// Draws the current map (nothing without one) on a target of MapPage's size.
void DrawMapPage(TCity& city, TBitmap& target);

// The dialogs; both do nothing when the city has no map.
void ExportMap(QWidget* parent, TCity& city);
void PrintMap(QWidget* parent, TCity& city);

}  // namespace varnik
