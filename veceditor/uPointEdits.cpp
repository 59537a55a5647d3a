#include "veceditor/uPointEdits.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "core/uUtils.h"
#include "vector/uScale.h"

namespace varnik {

bool TPointLimits::Contains(const TFPoint& point) const {
  return MinX < point.X && point.X < MaxX && MinY < point.Y && point.Y < MaxY;
}

int32_t BoxInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
    if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return 0;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(value);
}

long double BoxFactor(std::string_view text) { return ParseFloat(text); }

namespace {

// Calls `change` for every point of the document inside the limits.
template <typename Change>
void ChangePointsInside(TVectorImage& document, const TScale& view, const TPointLimits& limits,
                        Change change) {
  document.ForEachPoint(view, [&](TFPoint& point, TScale&) {
    if (limits.Contains(point)) change(point);
  });
}

}  // namespace

void NudgePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, long double dx,
                 long double dy) {
  ChangePointsInside(document, view, limits, [&](TFPoint& point) {
    point.X += dx;
    point.Y += dy;
  });
}

void RotatePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, int32_t degrees) {
  const long double angle = degrees * std::numbers::pi_v<long double> / 180;
  const long double cosine = std::cos(angle);
  const long double sine = std::sin(angle);
  const long double cx = document.ImageWidth() / 2.0L;
  const long double cy = document.ImageHeight() / 2.0L;
  ChangePointsInside(document, view, limits, [&](TFPoint& point) {
    const long double dx = point.X - cx;
    const long double dy = point.Y - cy;
    point.X = RoundToInt(cx + dx * cosine + dy * sine);
    point.Y = RoundToInt(cy + dy * cosine - dx * sine);
  });
}

void ScalePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, long double factor) {
  ChangePointsInside(document, view, limits, [&](TFPoint& point) {
    point.X = RoundToInt(factor * point.X);
    point.Y = RoundToInt(factor * point.Y);
  });
  const int32_t width = document.ImageWidth();
  const int32_t height = document.ImageHeight();
  document.SetImageWidth(RoundToInt(width * factor));
  document.SetImageHeight(RoundToInt(height * factor));
}

}  // namespace varnik
