#include "veceditor/uPreview.h"

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <unordered_map>

#include "core/uUtils.h"
#include "platform/uMessages.h"

namespace varnik {

namespace {

constexpr long double kMaxViewScale = 20.0L;
constexpr long double kWheelZoom = 1.2L;
// A right drag zooms by this factor per pixel of vertical movement...
constexpr long double kZoomPerPixel = 1.01L;
// ...and turns the view by kRotationStep degrees per kRotationPixels pixels
// of horizontal movement.
constexpr int32_t kRotationPixels = 60;
constexpr int32_t kRotationStep = 5;
// A press turns into a drag once the pointer has moved further than this
// (|dx| + |dy|), so a shaky click neither pans nor moves points.
constexpr int32_t kDragThreshold = 2;

TPixelPoint RoundedScreenPoint(const TScale& scale, const TFPoint& point) {
  const TScalePoint screen = scale.ToScreen(point.X, point.Y);
  return {RoundToInt(screen.X), RoundToInt(screen.Y)};
}

std::string CoordinatesText(const TScale& view, int32_t x, int32_t y, std::string_view separator) {
  const TScalePoint image = view.ToDrawing(x, y);
  return std::to_string(RoundToInt(image.X)) + std::string(separator) + std::to_string(RoundToInt(image.Y));
}

}  // namespace

TPreview::TPreview(TVectorImage& document, TPreviewHost& host) : document_(document), host_(host) {}

void TPreview::SetUpView(int32_t width, int32_t height) {
  View.Geographic = false;
  View.Changed();
  View.SetShiftX(width / 2.0L);
  View.SetShiftY(height / 2.0L);
  View.SetCenterX(document_.ImageWidth() / 2.0L);
  View.SetCenterY(document_.ImageHeight() / 2.0L);
  View.MaxScale = kMaxViewScale;
  View.Changed();
}

void TPreview::PreviewResized(int32_t width, int32_t height) {
  if (ViewMoved) return;
  View.SetShiftX(width / 2.0L);
  View.SetShiftY(height / 2.0L);
}

void TPreview::DocumentReloaded() {
  Selection.clear();
  selected_.clear();
  PressCopies.clear();
  Hits.clear();
}

void TPreview::Press(const TPointerEvent& event) {
  PressedButton = event.Button;
  PressPoint = {event.X, event.Y};
  LastPoint = PressPoint;
  RotateAnchorX = event.X;
  ZoomAnchorY = event.Y;
  DragStarted = false;
  const bool onlyCtrl = event.Ctrl && !event.Shift && !event.Alt && !event.OtherButtons && !event.CapsLock;
  if (onlyCtrl && event.Button == TPointerButton::Right) {
    PressedButton = TPointerButton::None;
    ShowMessage(CoordinatesText(View, event.X, event.Y, " "));
    return;
  }
  if (onlyCtrl && event.Button == TPointerButton::Left)
    host_.InsertAtCaret(CoordinatesText(View, event.X, event.Y, ",") + ", ");
  if (event.Button == TPointerButton::Left) {
    FindPointsAt(event.X, event.Y);
    SelectHits(event.Shift);
    host_.Repaint();
  }
}

void TPreview::Move(const TPointerEvent& event) {
  if (PressedButton == TPointerButton::None) return;
  if (!DragStarted)
    DragStarted = std::abs(event.X - PressPoint.X) + std::abs(event.Y - PressPoint.Y) > kDragThreshold;
  LastPoint = {event.X, event.Y};
  if (!DragStarted) return;

  if (PressedButton == TPointerButton::Left) {
    host_.RestartSettleTimer();
    if (event.Shift) {
      FindPointsBetween(PressPoint, LastPoint);
      SelectHits(true);
      host_.Repaint();
    } else if (Selection.empty()) {
      ViewMoved = true;
      View.SetShiftX(event.X + View.ShiftX - PressPoint.X);
      View.SetShiftY(event.Y + View.ShiftY - PressPoint.Y);
      PressPoint = LastPoint;
    } else {
      MoveSelection(event.X, event.Y);
    }
    return;
  }

  host_.RestartSettleTimer();
  if (event.Y != ZoomAnchorY) {
    ViewMoved = true;
    ZoomAbout(PressPoint.X, PressPoint.Y, std::pow(kZoomPerPixel, static_cast<long double>(event.Y - ZoomAnchorY)));
    ZoomAnchorY = event.Y;
  }
  if (event.X != PressPoint.X && std::abs(event.X - RotateAnchorX) >= kRotationPixels) {
    ViewMoved = true;
    RotateAbout(PressPoint.X, PressPoint.Y, (RotateAnchorX - event.X) / kRotationPixels * kRotationStep);
    RotateAnchorX = event.X;
  }
}

void TPreview::Release() { PressedButton = TPointerButton::None; }

void TPreview::Wheel(bool forward, int32_t width, int32_t height) {
  ViewMoved = true;
  ZoomAbout(width / 2.0L, height / 2.0L, forward ? kWheelZoom : 1 / kWheelZoom);
}

void TPreview::CycleMarkerSize(bool shift) {
  if (shift) MarkerSize = 0;
  else if (MarkerSize == 0) MarkerSize = 1;
  else if (MarkerSize <= 8) MarkerSize *= 3;
  else MarkerSize = 0;
  host_.Repaint();
}

int32_t TPreview::MarkerRadius() const { return RoundToInt(MarkerSize * View.ScaleX + 1); }

void TPreview::FindPointsAt(int32_t x, int32_t y) {
  Hits.clear();
  const int64_t radius = MarkerRadius();
  document_.ForEachPoint(View, [&](TFPoint& point, TScale& scale) {
    const TPixelPoint screen = RoundedScreenPoint(scale, point);
    const int64_t dx = int64_t{screen.X} - x;
    const int64_t dy = int64_t{screen.Y} - y;
    if (radius * radius >= dx * dx + dy * dy) Hits.push_back(&point);
  });
  if (!Sync && Hits.size() > 1) Hits.erase(Hits.begin(), Hits.end() - 1);
}

void TPreview::FindPointsBetween(TPixelPoint a, TPixelPoint b) {
  Hits.clear();
  const int32_t minX = std::min(a.X, b.X), maxX = std::max(a.X, b.X);
  const int32_t minY = std::min(a.Y, b.Y), maxY = std::max(a.Y, b.Y);
  document_.ForEachPoint(View, [&](TFPoint& point, TScale& scale) {
    const TPixelPoint screen = RoundedScreenPoint(scale, point);
    if (minX < screen.X && screen.X <= maxX && minY < screen.Y && screen.Y <= maxY) Hits.push_back(&point);
  });
}

void TPreview::ZoomAbout(long double x, long double y, long double factor) {
  const TScalePoint fixed = View.ToDrawing(x, y);
  View.Zoom(factor);
  const TScalePoint moved = View.ToScreen(fixed);
  View.SetShiftX(x + View.ShiftX - moved.X);
  View.SetShiftY(y + View.ShiftY - moved.Y);
}

void TPreview::RotateAbout(long double x, long double y, long double degrees) {
  const TScalePoint fixed = View.ToDrawing(x, y);
  View.SetAngle(View.Angle + degrees * std::numbers::pi_v<long double> / 180);
  const TScalePoint moved = View.ToScreen(fixed);
  View.SetShiftX(x + View.ShiftX - moved.X);
  View.SetShiftY(y + View.ShiftY - moved.Y);
}

void TPreview::SelectHits(bool keepSelection) {
  if (!keepSelection) {
    Selection.clear();
    selected_.clear();
  }
  // A point already selected is not added again: a rectangle drag finds the
  // same points on every movement.
  for (TFPoint* point : Hits)
    if (selected_.insert(point).second) Selection.push_back(point);
  PressCopies.clear();
  PressCopies.reserve(Selection.size());
  for (const TFPoint* point : Selection) PressCopies.push_back(*point);
}

void TPreview::MoveSelection(int32_t x, int32_t y) {
  std::unordered_map<const TFPoint*, size_t> copyIndex;
  for (size_t i = 0; i < Selection.size(); ++i) copyIndex.emplace(Selection[i], i);
  const long double dx = x - PressPoint.X;
  const long double dy = y - PressPoint.Y;
  // Each point moves in the view in force at its command, so that points
  // after an Angle line follow the pointer too.
  document_.ForEachPoint(View, [&](TFPoint& point, TScale& scale) {
    const auto found = copyIndex.find(&point);
    if (found == copyIndex.end()) return;
    const TFPoint& copy = PressCopies[found->second];
    const TScalePoint screen = scale.ToScreen(copy.X, copy.Y);
    const TScalePoint image = scale.ToDrawing(screen.X + dx, screen.Y + dy);
    point.X = RoundToInt(image.X);
    point.Y = RoundToInt(image.Y);
  });
  host_.PointsMoved();
}

}  // namespace varnik
