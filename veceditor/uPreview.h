#pragma once
// The preview of the vector editor without its window: the view over the
// document, the selected points and the pointer gestures that pan, zoom and
// rotate the view and pick and drag points, and the composition of a paint
// (grid, drawing, frame, limit lines, point markers) into a bitmap.
//
// The selection refers to points inside the document's commands. Every
// reload of the document replaces those points, so the window must call
// DocumentReloaded after each one; the preview then forgets them.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "vector/uScale.h"
#include "vector/uVectorImage.h"
#include "veceditor/uPointEdits.h"

namespace varnik {

class TBitmap;

enum class TPointerButton { None, Left, Right };

// A pointer event in pixels of the preview, with the key state of the moment.
struct TPointerEvent {
  int32_t X = 0;
  int32_t Y = 0;
  // The button that was pressed (for a press) or that is held.
  TPointerButton Button = TPointerButton::None;
  bool Shift = false;
  bool Ctrl = false;
  bool Alt = false;
  // Some other mouse button is held too. The Ctrl gestures need the state
  // to be exactly Ctrl with their button, and Caps Lock off.
  bool OtherButtons = false;
  // Caps Lock is toggled on.
  bool CapsLock = false;
};

// What the preview asks of the window that shows it.
class TPreviewHost {
 public:
  virtual ~TPreviewHost() = default;
  // Inserts `text` at the caret of the text box as an undoable edit; the
  // window reparses the text, so the selection is emptied before the call
  // returns.
  virtual void InsertAtCaret(const std::string& text) = 0;
  // Points were moved in the document: the text must follow and the preview
  // be repainted.
  virtual void PointsMoved() = 0;
  virtual void Repaint() = 0;
  // A drag moved: draw quickly for a while (see the settle timer).
  virtual void RestartSettleTimer() = 0;
};

struct TPixelPoint {
  int32_t X = 0;
  int32_t Y = 0;
};

class TPreview {
 public:
  // The document and the host must outlive the preview.
  TPreview(TVectorImage& document, TPreviewHost& host);
  TPreview(const TPreview&) = delete;
  TPreview& operator=(const TPreview&) = delete;

  // Owned; its OnChange is the window's (a repaint).
  TScale View;
  // Points of the document that a drag moves, each at most once.
  std::vector<TFPoint*> Selection;
  // Where the selected points were when they were selected (same order); a
  // drag computes from these, so rounding does not accumulate.
  std::vector<TFPoint> PressCopies;
  // The points found by the latest search.
  std::vector<TFPoint*> Hits;

  TPointerButton PressedButton = TPointerButton::None;
  TPixelPoint PressPoint;
  TPixelPoint LastPoint;
  int32_t RotateAnchorX = 0;
  int32_t ZoomAnchorY = 0;
  bool DragStarted = false;
  // Some point lies beyond 3000 in x or y: set by Compose, which then draws
  // nothing.
  bool TooBig = false;
  // The marker size of the "Points" button: 0 (no markers), 1, 3 or 9.
  int32_t MarkerSize = 1;
  // "Sync": a press picks every point under the pointer, not only the last.
  bool Sync = false;
  // The view was panned, zoomed or turned by the user.
  bool ViewMoved = false;

  // Plain view with the zoom limit of the editor, the middle of the image in
  // the middle of a preview of the given size.
  void SetUpView(int32_t width, int32_t height);
  // Keeps the image's place in the middle when the preview is resized before
  // the user moved the view.
  void PreviewResized(int32_t width, int32_t height);
  // Forgets every point of the replaced document.
  void DocumentReloaded();

  void Press(const TPointerEvent& event);
  void Move(const TPointerEvent& event);
  void Release();
  // One wheel event, whatever the size of the turn.
  void Wheel(bool forward, int32_t width, int32_t height);
  // The "Points" button: 1, 3, 9, 0, 1, ...; with Shift, 0.
  void CycleMarkerSize(bool shift);

  // The radius in pixels of a marker and of the picking circle.
  int32_t MarkerRadius() const;
  // Hits := the points whose screen position lies within the marker radius
  // of (x, y), in enumeration order; unless Sync, only the last of them.
  void FindPointsAt(int32_t x, int32_t y);
  // Hits := the points whose screen position lies in the rectangle between
  // the two corners (beyond the smaller coordinate, up to the larger).
  void FindPointsBetween(TPixelPoint a, TPixelPoint b);
  // Zooms or turns the view so that the image point under (x, y) stays there.
  void ZoomAbout(long double x, long double y, long double factor);
  void RotateAbout(long double x, long double y, long double degrees);

  // Composes a paint into `bitmap` (the size of the preview) with the
  // document drawn at `factor`. False when nothing but white was painted (an
  // image of size 0 x 0, or TooBig).
  bool Compose(TBitmap& bitmap, int factor, const TPointLimits& limits);

 private:
  void SelectHits(bool keepSelection);
  void MoveSelection(int32_t x, int32_t y);
  bool IsSelected(const TFPoint* point) const { return selected_.contains(point); }

  TVectorImage& document_;
  TPreviewHost& host_;
  std::unordered_set<const TFPoint*> selected_;
};

}  // namespace varnik
