#pragma once
// Leaving out, before any work, the commands of a document that cannot put
// a pixel on the bitmap being drawn: on a big map only a small part is on
// the screen, and mapping, culling and measuring every command each frame
// cost more than drawing the few that show.
//
// A command that can tell gives a box in drawing units holding everything
// it draws: the box of its points widened by some drawing units and some
// screen pixels (pens, rims, text cells). The box is worked out anew on each
// draw from the points, so a command edited in place stays right. Commands
// that cannot tell (curves that may overshoot their points, nested images,
// state commands) are always drawn.

#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace varnik {

class TBitmap;

struct TCommandBounds {
  long double Left = 0, Top = 0, Right = 0, Bottom = 0;
  long double Widen = 0;        // drawing units
  long double WidenPixels = 0;  // screen pixels
};

// The bitmap's area in drawing units, through a view.
class TVisibleArea {
 public:
  // Nothing is left out when drawing onto a vector page (its file keeps
  // shapes beyond the page) or through a view that flattens the drawing.
  TVisibleArea(const TBitmap& target, const TScale& scale);
  // After a command turned the view.
  void Update(const TScale& scale);
  // False only when the command certainly puts no pixel on the bitmap.
  bool MayReach(const TVectorCommand& command, const TScale& scale) const;

 private:
  const TBitmap& target_;
  bool enabled_ = false;
  TDrawingArea area_;
};

}  // namespace varnik
