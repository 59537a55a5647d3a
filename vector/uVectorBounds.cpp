// The boxes are compared in drawing units: the bitmap's corners are mapped
// back once per document (and after every turn of the view), the box of a
// turned view being the box around its four corners. A screen margin becomes
// drawing units through the smaller of the two scale factors, which can only
// widen it.
//
// The margins follow what the drawing of each command does: pens reach half
// their width beyond the points (rounded up, as the commands' own culling
// rounds), and the smooth rasteriser one pixel further. A text cell is
// bounded without measuring it: no glyph of the code page is wider than
// twice the font height, nor is a line spaced further.

#include "vector/uVectorBounds.h"

#include <algorithm>
#include <cmath>

#include "core/uTranslation.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"
#include "vector/uVectorCommands.h"
#include "vector/uVectorSink.h"

namespace varnik {

namespace {

// Texts this high are not drawn at all (see the text commands).
constexpr long double kMaxTextHeight = 10000;

bool PointsBox(const std::vector<TFPoint>& points, TCommandBounds& bounds) {
  if (points.empty() || points.size() > kMaxDrawnPoints) return false;
  bounds.Left = bounds.Right = points.front().X;
  bounds.Top = bounds.Bottom = points.front().Y;
  for (const TFPoint& p : points) {
    bounds.Left = std::min(bounds.Left, p.X);
    bounds.Right = std::max(bounds.Right, p.X);
    bounds.Top = std::min(bounds.Top, p.Y);
    bounds.Bottom = std::max(bounds.Bottom, p.Y);
  }
  return true;
}

// Half a pen of `width` drawing units in screen pixels, and the rasteriser's
// pixel beyond it.
long double PenReach(long double width, const TScale& scale) {
  return std::ceil(std::fabs(width * scale.ScaleX) / 2) + 2;
}

}  // namespace

bool TVectorCommand::Bounds(TCommandBounds&, const TScale&) const { return false; }

bool TVectorCommandLine::Bounds(TCommandBounds& bounds, const TScale& scale) const {
  bounds.WidenPixels = PenReach(Width, scale);
  return PointsBox(Points, bounds);
}

bool TVectorCommandSpline::Bounds(TCommandBounds&, const TScale&) const { return false; }

#if VARNIK_VEC_DIALECT
bool TVectorCommandSine::Bounds(TCommandBounds&, const TScale&) const { return false; }
#endif

bool TVectorCommandEllipse::Bounds(TCommandBounds& bounds, const TScale& scale) const {
  bounds.WidenPixels = PenReach(Width, scale);
  return Points.size() == 2 && PointsBox(Points, bounds);
}

bool TVectorCommandPolygon::Bounds(TCommandBounds& bounds, const TScale& scale) const {
  bounds.WidenPixels = PenReach(Width, scale);
  return PointsBox(Points, bounds);
}

bool TVectorCommandAngleTextOut::Bounds(TCommandBounds& bounds, const TScale& scale) const {
  // Two points fit the text between them: its size is not known beforehand.
  if (Points.size() != 1) return false;
  const long double size = Size != 0 || !FontName.empty() ? Size : DefaultLabelFont().Height;
  const long double font = std::max<long double>(std::fabs(size * scale.ScaleY), 1);
  if (!(font <= kMaxTextHeight)) return false;
  const std::string text = Translation().ApplyReplacements(Text);
  const long double lines = static_cast<long double>(std::count(text.begin(), text.end(), '\r')) + 1;
  // Centring moves the text by half its width and height, right alignment
  // by its width; the cells themselves reach as far again.
  bounds.WidenPixels = (static_cast<long double>(text.size()) + lines + 3) * (2 * font + 2) + 8;
  return PointsBox(Points, bounds);
}

TVisibleArea::TVisibleArea(const TBitmap& target, const TScale& scale) : target_(target) { Update(scale); }

void TVisibleArea::Update(const TScale& scale) {
  area_ = ScreenAreaInDrawing(scale, target_.Width(), target_.Height());
  enabled_ = target_.Sink() == nullptr && area_.Usable;
}

bool TVisibleArea::MayReach(const TVectorCommand& command, const TScale& scale) const {
  TCommandBounds b;
  if (!enabled_ || !command.Bounds(b, scale)) return true;
  const long double widen = std::fabs(b.Widen) + b.WidenPixels * area_.UnitsPerPixel;
  // Written so that a box with a NaN in it is drawn.
  return !(b.Right + widen < area_.Left || b.Left - widen > area_.Right || b.Bottom + widen < area_.Top ||
           b.Top - widen > area_.Bottom);
}

}  // namespace varnik
