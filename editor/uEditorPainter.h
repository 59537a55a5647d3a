#pragma once
// The picture of the editor's drawing area: the current map through the
// editor's view, then the editing aids over it (thin white lines along the
// routes, dotted label and legend outlines, point markers, the outline of
// the map's extent, the rectangle of a box selection). Composed in a bitmap that the window copies to the
// screen.

#include "core/uUtils.h"

namespace varnik {

class TBitmap;
class TJourney;
class TMapEditor;

// Paints everything into `bitmap` (the size of the drawing area) at
// smoothing `level`, on `background`. Without a current map only the
// background is filled. A `journey` is drawn over the map (the map faded)
// and under the editing aids, which stay as they are.
void PaintEditor(TMapEditor& editor, TBitmap& bitmap, int level, TColor background,
                 const TJourney* journey = nullptr);

}  // namespace varnik
