#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "PixelTestUtil.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uEZLine.h"

namespace varnik {
namespace {

using test::Blend;
using test::MakeBitmap;
using test::ReferenceCoverage;
using test::SameBitmaps;

// Black on white: a pixel of coverage a (solid pen) becomes this grey.
int GreyFor(int a) { return a == 0 ? 255 : Blend(0, 255, a); }
int32_t GreyPixel(int a) {
  const int g = GreyFor(a);
  return g | (g << 8) | (g << 16);
}

struct EZLineTest : ::testing::Test {
  TBitmap bitmap;
  TEZLine line;
  void SetUp() override {
    MakeBitmap(bitmap, 40, 24);
    line.Color = test::kBlack;
    line.Width = 1;
  }
};

TEST_F(EZLineTest, HorizontalSegmentCoversItsRowAndRampsAboveBelowAndAtTheEnds) {
  line.Line(&bitmap, 10, 10, 20, 10);
  for (int x = 10; x <= 20; ++x) {
    EXPECT_EQ(bitmap.Pixel(x, 10), GreyPixel(255)) << x;
    EXPECT_EQ(bitmap.Pixel(x, 9), GreyPixel(58)) << x;
    EXPECT_EQ(bitmap.Pixel(x, 11), GreyPixel(58)) << x;
    EXPECT_EQ(bitmap.Pixel(x, 8), test::kWhite) << x;
    EXPECT_EQ(bitmap.Pixel(x, 12), test::kWhite) << x;
  }
  EXPECT_EQ(bitmap.Pixel(9, 10), GreyPixel(58));
  EXPECT_EQ(bitmap.Pixel(21, 10), GreyPixel(58));
  EXPECT_EQ(bitmap.Pixel(8, 10), test::kWhite);
  EXPECT_EQ(bitmap.Pixel(22, 10), test::kWhite);
}

TEST_F(EZLineTest, RoundEndGivesFifteenAtDistanceOneAndAQuarter) {
  line.Line(&bitmap, 10, 10, 19.75, 10);
  EXPECT_EQ(ReferenceCoverage(1.25, 1), 15);
  EXPECT_EQ(bitmap.Pixel(21, 10), GreyPixel(15));
}

TEST(EZLineCoverage, ExamplesOfTheEdgeProfile) {
  EXPECT_EQ(TEZLine::Coverage(0, 1), 255);
  EXPECT_EQ(TEZLine::Coverage(1, 1), 58);
  EXPECT_EQ(TEZLine::Coverage(1.25, 1), 15);
  EXPECT_EQ(TEZLine::Coverage(1.5, 1), 0);
  EXPECT_EQ(TEZLine::Coverage(2, 9), 255);  // within w/2 - 0.5
  EXPECT_EQ(TEZLine::EffectiveWidth(0.75), 0.5);
  EXPECT_EQ(TEZLine::EffectiveWidth(1), 1);
  EXPECT_EQ(TEZLine::EffectiveWidth(3.5), 3.5);
}

TEST_F(EZLineTest, WidthBelowOneHundredthDrawsNothing) {
  line.Width = 0.005;
  EXPECT_DOUBLE_EQ(line.Line(&bitmap, 5, 5, 30, 17), std::hypot(25.0, 12.0));
  EXPECT_EQ(test::CountChanged(bitmap), 0);
}

TEST_F(EZLineTest, ThinLineIsLighterNotThinner) {
  line.Width = 0.75;  // effective 0.5: centre v = 2.5
  line.Line(&bitmap, 10, 10, 20, 10);
  const int centre = int(std::floor(255 * std::pow(std::sin(1.25), 2)));
  EXPECT_EQ(bitmap.Pixel(15, 10), GreyPixel(centre));
  EXPECT_EQ(bitmap.Pixel(15, 9), GreyPixel(ReferenceCoverage(1, 0.5)));
}

TEST(EZLineBlend, FullCoverageOfRedOnWhiteGivesTwoFiftyFour) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 10, 10);
  TEZLine line;
  line.Color = 255;
  line.Width = 3;
  line.Line(&bitmap, 2, 5, 8, 5);
  const int32_t c = bitmap.Pixel(5, 5);
  EXPECT_EQ(test::Red(c), 254);
  EXPECT_EQ(test::Green(c), 0);
  EXPECT_EQ(test::Blue(c), 0);
}

TEST(EZLineBlend, OpacityScalesTheWeightBeforeFlooring) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 30, 20, 0x204060);
  TEZLine line;
  line.Color = 0x10E0A0;
  line.Width = 1;
  line.Opacity = 0.3;
  line.Line(&bitmap, 5, 10, 25, 10);
  const int a = int(std::floor(1.0 * 255 * 0.3));
  const int edge = int(std::floor(1.0 * 58 * 0.3));
  EXPECT_EQ(bitmap.Pixel(15, 10),
            Blend(0xA0, 0x60, a) | Blend(0xE0, 0x40, a) << 8 | Blend(0x10, 0x20, a) << 16);
  EXPECT_EQ(bitmap.Pixel(15, 9),
            Blend(0xA0, 0x60, edge) | Blend(0xE0, 0x40, edge) << 8 | Blend(0x10, 0x20, edge) << 16);
}

TEST(EZLinePattern, DashRepeatsEveryTwelvePointFiveSevenWithShortGaps) {
  const double period = std::numbers::pi * 6 / 1.5;
  for (double width : {1.0, 3.0, 6.0}) {
    for (double p = 0; p < 40; p += 0.37) {
      EXPECT_NEAR(TEZLine::PatternValue(psDash, p, width),
                  TEZLine::PatternValue(psDash, p + period, width), 1e-9);
      const double sine = std::fabs(std::sin(1.5 * p / 6));
      if (sine < 1.0 / 6 - 1e-9) {
        EXPECT_EQ(TEZLine::PatternValue(psDash, p, width), 0) << p;
      }
      if (sine >= 0.5) {
        EXPECT_EQ(TEZLine::PatternValue(psDash, p, width), 1) << p;
      }
    }
  }
  // Wider dashes stretch with the width.
  EXPECT_NEAR(TEZLine::PatternValue(psDash, 1, 12), TEZLine::PatternValue(psDash, 0.5, 6), 1e-12);
}

TEST(EZLinePattern, ValuesOfTheOtherStyles) {
  struct Case {
    uint8_t style;
    double p;
    double expected;
  } cases[] = {
      {psSolid, 3, 1},
      {psInsideFrame, 3, 1},
      {psClear, 3, 0},
      {7, 3, 0},
      {psSolid | 0x80, 3, 1},  // only the low 7 bits count
      {psDot, std::numbers::pi / 2, 1},
      {psDot, 0.25, 2 * std::sin(0.25)},
      {psDot, 4, 0},
      {psDashDot, std::numbers::pi * 1.5, 1},
      {psDashDot, 0.3, 3 * std::sin(0.1)},
      {psDashDot, 3 * std::numbers::pi + 1, std::max(std::sin(3 * std::numbers::pi + 1), 0.0)},
      {psDashDot, 4 * std::numbers::pi + 1, std::sin(1)},
      {psDashDotDot, 2 * std::numbers::pi, 1},
      {psDashDotDot, 4 * std::numbers::pi + 3, std::sin(4 * std::numbers::pi + 1)},
      {psDashDotDot, 4 * std::numbers::pi + 5.5, 0},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(TEZLine::PatternValue(c.style, c.p, 1), c.expected, 1e-12)
        << int(c.style) << " at " << c.p;
}

TEST_F(EZLineTest, DashedLineLeavesGapsWherePatternIsZero) {
  line.Style = psDash;
  line.Width = 1;
  line.Position = 0;
  line.Line(&bitmap, 2, 10, 37, 10);
  // Pixel x on the line is at pattern position x - 2.
  for (int x = 2; x <= 37; ++x) {
    const double f = TEZLine::PatternValue(psDash, x - 2, 1);
    EXPECT_EQ(bitmap.Pixel(x, 10), GreyPixel(int(std::floor(f * 255)))) << x;
  }
}

TEST_F(EZLineTest, LineReturnsEndPositionAndKeepsPosition) {
  line.Position = 4;
  EXPECT_DOUBLE_EQ(line.Line(&bitmap, 0, 0, 3, 4), 9);
  EXPECT_EQ(line.Position, 4);
  EXPECT_DOUBLE_EQ(line.Line(nullptr, 0, 0, 3, 4), 4);
  TBitmap empty;
  EXPECT_DOUBLE_EQ(line.Line(&empty, 0, 0, 3, 4), 4);
}

TEST_F(EZLineTest, PolylineCarriesAndStoresThePatternPosition) {
  line.Position = 1;
  EXPECT_DOUBLE_EQ(line.Polyline({{0, 0}, {3, 4}, {3, 10}}, &bitmap), 12);
  EXPECT_DOUBLE_EQ(line.Position, 12);
}

TEST_F(EZLineTest, DashPatternRunsOnAcrossVertices) {
  TBitmap whole;
  MakeBitmap(whole, 40, 24);
  line.Style = psDash;
  line.Position = 0;
  line.Polyline({{2, 10}, {12, 10}, {25, 10}, {37, 10}}, &bitmap);
  line.Position = 0;
  line.Line(&whole, 2, 10, 37, 10);
  EXPECT_TRUE(SameBitmaps(bitmap, whole));
}

TEST_F(EZLineTest, CollinearPolylineBlendsEveryPixelAroundTheVertexOnce) {
  TBitmap single;
  MakeBitmap(single, 40, 24);
  line.Width = 3.3;
  line.Polyline({{5, 11.5}, {18.3, 11.5}, {33, 11.5}}, &bitmap);
  line.Line(&single, 5, 11.5, 33, 11.5);
  EXPECT_TRUE(SameBitmaps(bitmap, single));
}

TEST_F(EZLineTest, WithoutClipJoinsTheVertexIsBlendedTwice) {
  TBitmap separate;
  MakeBitmap(separate, 40, 24);
  line.ClipJoins = false;
  line.Polyline({{5, 10}, {18, 10}, {33, 10}}, &bitmap);
  line.Line(&separate, 5, 10, 18, 10);
  line.Line(&separate, 18, 10, 33, 10);
  EXPECT_TRUE(SameBitmaps(bitmap, separate));
  EXPECT_LT(bitmap.Pixel(18, 10) & 0xFF, GreyFor(255) + 1);
}

TEST_F(EZLineTest, LeftOfTheVertexBelongsToTheFirstSegment) {
  // A gray line with the first segment drawn in a different colour shows
  // which segment owned each pixel.
  line.Width = 3;
  line.Color = 0x0000FF;
  line.Polyline({{5, 10}, {18, 10}, {33, 10}}, &bitmap);
  for (int x = 4; x <= 34; ++x) EXPECT_EQ(bitmap.Pixel(x, 10), 0x0000FE) << x;
}

// Every pixel near the corner of a bent polyline is blended by exactly one
// of the two segments: the one on whose side of the bisector it lies.
TEST(EZLineCorners, BentPolylineSplitsPixelsAlongTheBisector) {
  std::mt19937 random(20240601);
  std::uniform_real_distribution<double> coord(4, 36), width(0.6, 7);
  for (int round = 0; round < 60; ++round) {
    const double ax = coord(random), ay = coord(random), jx = coord(random), jy = coord(random);
    const double bx = coord(random), by = coord(random);
    const double w = width(random);
    const double ux = (jx - ax) / std::hypot(jx - ax, jy - ay);
    const double uy = (jy - ay) / std::hypot(jx - ax, jy - ay);
    const double vx = (bx - jx) / std::hypot(bx - jx, by - jy);
    const double vy = (by - jy) / std::hypot(bx - jx, by - jy);
    const double nx = ux + vx, ny = uy + vy;
    if (std::hypot(nx, ny) < 0.05) continue;  // nearly a full turn back
    TBitmap bitmap;
    MakeBitmap(bitmap, 40, 40);
    TEZLine line;
    line.Color = test::kBlack;
    line.Width = w;
    line.Polyline({{ax, ay}, {jx, jy}, {bx, by}}, &bitmap);
    const double we = TEZLine::EffectiveWidth(w);
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x) {
        const double side = (x - jx) * nx + (y - jy) * ny;
        if (std::fabs(side) < 1e-6) continue;  // on the line itself: either segment
        const double d = side < 0 ? test::SegmentDistance(x, y, ax, ay, jx, jy)
                                  : test::SegmentDistance(x, y, jx, jy, bx, by);
        ASSERT_EQ(bitmap.Pixel(x, y) & 0xFF, GreyFor(ReferenceCoverage(d, we)))
            << "round " << round << " pixel (" << x << ", " << y << ") width " << w;
      }
  }
}

// The real rasteriser against a full scan of every pixel on seeded random
// segments, including segments reaching far outside and bitmaps narrower
// than the band.
TEST(EZLineReference, RandomSegmentsMatchAFullScan) {
  std::mt19937 random(7);
  struct Size {
    int w, h;
  } sizes[] = {{64, 48}, {3, 50}, {50, 2}, {1, 1}, {9, 9}};
  for (const Size& size : sizes) {
    std::uniform_real_distribution<double> xs(-20, size.w + 20), ys(-20, size.h + 20);
    std::uniform_real_distribution<double> widths(0.02, 14);
    for (int round = 0; round < 150; ++round) {
      double x1 = xs(random), y1 = ys(random), x2 = xs(random), y2 = ys(random);
      if (round % 10 == 0) y2 = y1;  // horizontal
      if (round % 10 == 1) x2 = x1;  // vertical
      if (round % 10 == 2) x2 = std::floor(x1), x1 = x2, y1 = std::floor(y1), y2 = y1;  // a dot
      const double w = widths(random);
      TBitmap bitmap;
      MakeBitmap(bitmap, size.w, size.h, 0x8090A0);
      TEZLine line;
      line.Color = 0x102030;
      line.Width = w;
      line.Line(&bitmap, x1, y1, x2, y2);
      const double we = TEZLine::EffectiveWidth(w);
      for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x) {
          const int a = ReferenceCoverage(test::SegmentDistance(x, y, x1, y1, x2, y2), we);
          const int32_t expected =
              Blend(0x30, 0xA0, a) | Blend(0x20, 0x90, a) << 8 | Blend(0x10, 0x80, a) << 16;
          ASSERT_EQ(bitmap.Pixel(x, y), a == 0 ? 0x8090A0 : expected)
              << size.w << "x" << size.h << " segment (" << x1 << ", " << y1 << ") - (" << x2
              << ", " << y2 << ") width " << w << " pixel (" << x << ", " << y << ")";
        }
    }
  }
}

TEST(EZLineBounds, HugeCoordinatesStayCheapAndInside) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 30, 20);
  TEZLine line;
  line.Color = test::kBlack;
  line.Width = 5;
  line.Line(&bitmap, -1e12, 10, 1e12, 10.5);
  EXPECT_EQ(bitmap.Pixel(15, 10), GreyPixel(255));
  EXPECT_EQ(bitmap.Pixel(15, 4), test::kWhite);
  MakeBitmap(bitmap, 30, 20);
  line.Line(&bitmap, 1e300, -1e300, std::nan(""), 3);
  EXPECT_EQ(test::CountChanged(bitmap), 0);
  line.Polyline({{-1e9, -1e9}, {15, 10}, {1e9, -1e9}}, &bitmap);
  EXPECT_EQ(bitmap.Pixel(15, 10), GreyPixel(255));
  EXPECT_EQ(bitmap.Pixel(15, 16), test::kWhite);
}

TEST(EZLineBounds, TenMillionPointsAreWalkedOnce) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 30, 20);
  // Back and forth between x = 1000 and 1010 on row 10, right of the bitmap:
  // every segment is 10 long. Two points in the middle go to (15, 10).
  std::vector<TDoublePoint> points(10'000'000);
  for (size_t i = 0; i < points.size(); ++i) points[i] = {i % 2 ? 1010.0 : 1000.0, 10};
  points[5'000'000] = {15, 10};
  points[5'000'001] = {15, 10};  // a repeat: no length, no corner of its own
  TEZLine line;
  line.Width = 3;
  line.Color = test::kBlack;
  line.Polyline(points, &bitmap);
  EXPECT_EQ(bitmap.Pixel(15, 10), GreyPixel(255));
  // 9 999 999 segments of 10, less the three around the middle points,
  // which are 995 (from 1010), 0 and 985 (to 1000) long; every length and
  // sum is a whole number, exact in a double. Walking any part twice adds
  // its length again.
  EXPECT_EQ(line.Position, 99'999'990.0 - 30 + 995 + 0 + 985);
}

TEST_F(EZLineTest, PlainPathUsesTheCanvasPen) {
  line.Smooth = false;
  line.Width = 1.9;  // floor: a one-pixel pen
  line.Color = 0x00FF00;
  line.Line(&bitmap, 4.4, 5, 12.6, 5);
  for (int x = 4; x < 13; ++x) EXPECT_EQ(bitmap.Pixel(x, 5), 0x00FF00) << x;
  EXPECT_EQ(bitmap.Pixel(13, 5), test::kWhite);  // the end pixel is left out
  EXPECT_EQ(bitmap.Pixel(8, 4), test::kWhite);
  EXPECT_EQ(bitmap.Pixel(8, 6), test::kWhite);
  EXPECT_EQ(bitmap.Canvas().Pen.Color, 0x00FF00);
}

TEST_F(EZLineTest, PlainPolylineRoundsTheVertices) {
  line.Smooth = false;
  line.Width = 1;
  line.Polyline({{2.4, 2}, {9.6, 2}, {9.6, 8.4}}, &bitmap);
  EXPECT_EQ(bitmap.Pixel(2, 2), test::kBlack);
  EXPECT_EQ(bitmap.Pixel(10, 2), test::kBlack);
  EXPECT_EQ(bitmap.Pixel(10, 7), test::kBlack);
  EXPECT_EQ(bitmap.Pixel(9, 3), test::kWhite);
}

}  // namespace
}  // namespace varnik
