#pragma once
// Drawing one picture on all cores: the bitmap is cut into horizontal bands
// and each band is drawn on a thread of its own. Every band runs the whole
// drawing, with its thread's context naming the band's rows (see
// TDrawContext), so the primitives work only on what reaches them; the
// pixels come out exactly as when the picture is drawn on one thread.

#include <functional>

namespace varnik {

class TBitmap;

// Calls `draw` once per band, each on some thread, with the bitmap to draw
// the whole picture into: `target` itself for one band, for the others a
// copy of it (pixels and canvas state) made before any band starts, whose
// band rows are copied back at the end. `draw` must only read what the
// bands share. The bands stop when the calling thread's drawing is stopped
// (TDrawContext::Stop). With one band, a bitmap that stands for a vector page, or one
// too low to cut, `draw(target)` is simply called.
void DrawInBands(TBitmap& target, int bands, const std::function<void(TBitmap& bitmap)>& draw);

}  // namespace varnik
