#pragma once
// The view transform between drawing coordinates (unscaled pixels of a map or
// vector image) and screen coordinates (pixels of the bitmap drawn into): a
// centre, separate x and y scale factors, a rotation and a shift. The affine
// matrix and its inverse are rebuilt lazily after a change, so a transform
// costs two multiplications and additions per coordinate.
//
// Drawing code must not change the scale it is handed (the owner's OnChange
// would repaint from inside a paint): it copies it with Assign and changes
// the copy.

#include <functional>

namespace varnik {

// A transformed point, in extended precision.
struct TScalePoint {
  long double X = 0;
  long double Y = 0;
};

class TScale {
 public:
  TScale() = default;
  TScale(const TScale&) = delete;
  TScale& operator=(const TScale&) = delete;

  // Setters: a value equal to the stored one changes nothing and calls
  // nothing; any other value is stored and Changed is called.
  void SetAngle(long double value);
  void SetCenterX(long double value);
  void SetCenterY(long double value);
  void SetShiftX(long double value);
  void SetShiftY(long double value);

  // Multiplies both scale factors by `factor`, then clamps them together
  // (keeping their proportion) so that ScaleX stays within MinScale..MaxScale
  // (in geographic mode the limits are in pixels per metre, measured on
  // ScaleY). Always calls Changed.
  void Zoom(long double factor);

  // Transforms through the cached matrices (rebuilt first when Dirty; the
  // cache is not part of the scale's value, so these are const).
  TScalePoint ToScreen(long double x, long double y) const;
  TScalePoint ToScreen(const TScalePoint& p) const { return ToScreen(p.X, p.Y); }
  TScalePoint ToDrawing(long double x, long double y) const;
  TScalePoint ToDrawing(const TScalePoint& p) const { return ToDrawing(p.X, p.Y); }

  // Copies Angle, ScaleX, ScaleY, CenterX, CenterY, ShiftX, ShiftY, MaxScale
  // and Geographic, then calls Changed. MinScale and OnChange stay.
  void Assign(const TScale& source);

  // Marks the matrices stale and calls OnChange when set. A direct change of
  // a field that enters the transform must be followed by Changed.
  void Changed();

  // The exact transform of one drawing point, without the cached matrices.
  TScalePoint ExactToScreen(long double x, long double y) const;

  // Rotation in radians: anticlockwise as seen on the screen.
  long double Angle = 0;
  // Screen pixels per drawing unit.
  long double ScaleX = 1.0;
  long double ScaleY = 1.0;
  // The drawing point that lands on the screen point (ShiftX, ShiftY).
  long double CenterX = 0;
  long double CenterY = 0;
  long double ShiftX = 0;
  long double ShiftY = 0;
  long double MaxScale = 5.0;
  long double MinScale = 0;  // 0: no zoom-out limit
  // The y axis points up on the screen and the zoom limits are metric. Both
  // editors switch this off right after creating their views.
  bool Geographic = true;
  // Set by every change; cleared when the matrices are rebuilt.
  mutable bool Dirty = true;
  std::function<void()> OnChange;

  // Forward transform: screen x = a*x + b*y + c, screen y = d*x + e*y + f,
  // stored as {a, b, c, d, e, f}; the inverse in the same layout. Valid
  // after the next transform when Dirty.
  mutable long double Matrix[6] = {1, 0, 0, 0, 1, 0};
  mutable long double InverseMatrix[6] = {1, 0, 0, 0, 1, 0};
  // Drawing-coordinate bounding box of the screen rectangle (0, 0) to
  // (2 * ShiftX, 2 * ShiftY): the whole view when the shift is its middle.
  // Valid after the next transform when Dirty.
  mutable long double VisibleMinX = 0;
  mutable long double VisibleMinY = 0;
  mutable long double VisibleMaxX = 0;
  mutable long double VisibleMaxY = 0;

  // Rebuilds the matrices and the visible box when Dirty.
  void Update() const;

 private:
  void Rebuild() const;
};

// The screen rectangle (0, 0) to (width, height) in drawing units: the box
// around its corners mapped back through the view, and the most drawing
// units one screen pixel spans. Usable is false when the view flattens the
// drawing or the box is not finite; then the box tells nothing.
struct TDrawingArea {
  long double Left = 0, Top = 0, Right = 0, Bottom = 0;
  long double UnitsPerPixel = 0;
  bool Usable = false;
};
TDrawingArea ScreenAreaInDrawing(const TScale& view, long double width, long double height);

}  // namespace varnik
