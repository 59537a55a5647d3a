#include "vector/uScale.h"

#include <algorithm>
#include <cmath>

namespace varnik {

namespace {

// The matrices are fitted by transforming points this far apart, so that the
// trigonometry runs once per change.
constexpr long double kProbe = 10000;

// A degree of latitude counted as this many metres: the geographic zoom
// limits are in pixels per metre.
constexpr long double kMetresPerDegree = 10000000.0L / 90;

}  // namespace

void TScale::SetAngle(long double value) {
  if (value == Angle) return;
  Angle = value;
  Changed();
}

void TScale::SetCenterX(long double value) {
  if (value == CenterX) return;
  CenterX = value;
  Changed();
}

void TScale::SetCenterY(long double value) {
  if (value == CenterY) return;
  CenterY = value;
  Changed();
}

void TScale::SetShiftX(long double value) {
  if (value == ShiftX) return;
  ShiftX = value;
  Changed();
}

void TScale::SetShiftY(long double value) {
  if (value == ShiftY) return;
  ShiftY = value;
  Changed();
}

void TScale::Zoom(long double factor) {
  ScaleX *= factor;
  ScaleY *= factor;
  const long double upper =
      Geographic ? MaxScale * kMetresPerDegree / ScaleY : MaxScale / ScaleX;
  if (upper < 1) {
    ScaleX *= upper;
    ScaleY *= upper;
  }
  const long double lower =
      Geographic ? MinScale * kMetresPerDegree / ScaleY : MinScale / ScaleX;
  if (lower > 1) {
    ScaleX *= lower;
    ScaleY *= lower;
  }
  Changed();
}

void TScale::Assign(const TScale& source) {
  Angle = source.Angle;
  ScaleX = source.ScaleX;
  ScaleY = source.ScaleY;
  CenterX = source.CenterX;
  CenterY = source.CenterY;
  ShiftX = source.ShiftX;
  ShiftY = source.ShiftY;
  MaxScale = source.MaxScale;
  Geographic = source.Geographic;
  Changed();
}

void TScale::Changed() {
  Dirty = true;
  if (OnChange) OnChange();
}

TScalePoint TScale::ExactToScreen(long double x, long double y) const {
  x = (x - CenterX) * ScaleX;
  y = (y - CenterY) * ScaleY;
  if (Angle != 0) {
    const long double r = Geographic ? Angle : -Angle;
    const long double c = std::cos(r);
    const long double s = std::sin(r);
    const long double rx = x * c - y * s;
    const long double ry = y * c + x * s;
    x = rx;
    y = ry;
  }
  return {x + ShiftX, Geographic ? ShiftY - y : y + ShiftY};
}

void TScale::Update() const {
  if (Dirty) Rebuild();
}

void TScale::Rebuild() const {
  long double* m = Matrix;
  const TScalePoint origin = ExactToScreen(0, 0);
  const TScalePoint alongX = ExactToScreen(kProbe, 0);
  const TScalePoint alongY = ExactToScreen(0, kProbe);
  m[2] = origin.X;
  m[5] = origin.Y;
  m[0] = (alongX.X - m[2]) / kProbe;
  m[3] = (alongX.Y - m[5]) / kProbe;
  m[1] = (alongY.X - m[2]) / kProbe;
  m[4] = (alongY.Y - m[5]) / kProbe;
  const long double k = 1 / (m[4] * m[0] - m[1] * m[3]);
  long double* inv = InverseMatrix;
  inv[0] = k * m[4];
  inv[1] = -k * m[1];
  inv[2] = k * (m[1] * m[5] - m[4] * m[2]);
  inv[3] = -k * m[3];
  inv[4] = k * m[0];
  inv[5] = -k * (m[0] * m[5] - m[3] * m[2]);
  Dirty = false;

  const TDrawingArea visible = ScreenAreaInDrawing(*this, 2 * ShiftX, 2 * ShiftY);
  VisibleMinX = visible.Left;
  VisibleMaxX = visible.Right;
  VisibleMinY = visible.Top;
  VisibleMaxY = visible.Bottom;
}

TScalePoint TScale::ToScreen(long double x, long double y) const {
  Update();
  return {Matrix[0] * x + Matrix[1] * y + Matrix[2], Matrix[3] * x + Matrix[4] * y + Matrix[5]};
}

TScalePoint TScale::ToDrawing(long double x, long double y) const {
  Update();
  const long double* m = InverseMatrix;
  return {m[0] * x + m[1] * y + m[2], m[3] * x + m[4] * y + m[5]};
}

TDrawingArea ScreenAreaInDrawing(const TScale& view, long double width, long double height) {
  const TScalePoint corners[4] = {view.ToDrawing(0, 0), view.ToDrawing(0, height), view.ToDrawing(width, height),
                                  view.ToDrawing(width, 0)};
  TDrawingArea area;
  area.Left = area.Right = corners[0].X;
  area.Top = area.Bottom = corners[0].Y;
  for (const TScalePoint& p : corners) {
    area.Left = std::min(area.Left, p.X);
    area.Right = std::max(area.Right, p.X);
    area.Top = std::min(area.Top, p.Y);
    area.Bottom = std::max(area.Bottom, p.Y);
  }
  const long double smaller = std::min(std::fabs(view.ScaleX), std::fabs(view.ScaleY));
  area.UnitsPerPixel = smaller > 0 ? 1 / smaller : 0;
  area.Usable = smaller > 0 && std::isfinite(area.Left + area.Right + area.Top + area.Bottom + area.UnitsPerPixel);
  return area;
}

}  // namespace varnik
