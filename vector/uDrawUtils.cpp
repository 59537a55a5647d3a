#include "vector/uDrawUtils.h"

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"

namespace varnik {

TEZLine& SharedEZLine() {
  static TEZLine line;
  return line;
}
TBitmap& SmallWorkBitmap() {
  static TBitmap bitmap(1, 1);
  return bitmap;
}
TBitmap& BigWorkBitmap() {
  static TBitmap bitmap(1, 1);
  return bitmap;
}
bool EnsureWorkBitmaps(int, int, int) { return true; }
void Downsample(int, int, int) {}
void DrawLine(TBitmap&, uint8_t, int, double, double, double, double, double) {}
void DrawPolyline(TBitmap&, const std::vector<TDoublePoint>&, double, uint8_t, int, int, int) {}
std::vector<TDoublePoint> SubdivideFourPoint(const std::vector<TDoublePoint>& points, int) {
  return points;
}
void DrawSpline(TBitmap&, const std::vector<double>&, const std::vector<double>&, int, int,
                uint8_t, double, int, int) {}
void DrawPolygon(TBitmap&, const std::vector<TDoublePoint>&, int, double) {}
void DrawCircle(TBitmap&, int, double, double, double, double, double) {}
void DrawSmoothEllipse(TBitmap&, double, double, double, double, double) {}
void DrawText(double, TCanvas&, const std::string&, double, double, double, const TRect&, int,
              int) {}

}  // namespace varnik
