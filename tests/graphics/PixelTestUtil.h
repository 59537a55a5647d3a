#pragma once
// Helpers shared by the drawing tests: bitmaps filled with one colour,
// channel access, and plain reference versions of the pixel rules.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>

#include "platform/uBitmap.h"

namespace varnik::test {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kBlack = 0;

inline void MakeBitmap(TBitmap& bitmap, int w, int h, int32_t color = kWhite) {
  bitmap.SetSize(w, h);
  bitmap.Fill(color);
}

inline int Red(int32_t c) { return c & 0xFF; }
inline int Green(int32_t c) { return (c >> 8) & 0xFF; }
inline int Blue(int32_t c) { return (c >> 16) & 0xFF; }

// One channel after blending pen channel k with weight a over background s.
inline int Blend(int k, int s, int a) { return (k * a + s * (255 - a)) / 256; }

// Coverage of a pixel at distance d from a line of effective width w.
inline int ReferenceCoverage(double d, double w) {
  const double v = w + 2 - 2 * d;
  if (v >= 3) return 255;
  if (v < 0) return 0;
  return int(std::floor(255 * std::pow(std::sin(v / 2), 2)));
}

// Distance from pixel centre (x, y) to the segment a-b, round beyond the ends.
inline double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double len2 = dx * dx + dy * dy;
  if (len2 == 0) return std::sqrt((x - ax) * (x - ax) + (y - ay) * (y - ay));
  const double t = ((x - ax) * dx + (y - ay) * dy) / len2;
  if (t < 0) return std::sqrt((x - ax) * (x - ax) + (y - ay) * (y - ay));
  if (t > 1) return std::sqrt((x - bx) * (x - bx) + (y - by) * (y - by));
  return std::fabs(((x - ax) * dy - (y - ay) * dx) / std::sqrt(len2));
}

// Every pixel of two bitmaps, compared; the first difference is reported
// with its position.
inline ::testing::AssertionResult SameBitmaps(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height())
    return ::testing::AssertionFailure() << "sizes differ";
  int differences = 0;
  std::ostringstream first;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) {
        if (differences++ == 0)
          first << "at (" << x << ", " << y << "): " << std::hex << a.Pixel(x, y) << " vs "
                << b.Pixel(x, y);
      }
  if (differences == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differences << " pixels differ, first " << first.str();
}

inline int CountChanged(const TBitmap& bitmap, int32_t background = kWhite) {
  int changed = 0;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) changed += bitmap.Pixel(x, y) != background;
  return changed;
}

}  // namespace varnik::test
