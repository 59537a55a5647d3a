#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "PixelTestUtil.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"

namespace varnik {
namespace {

using test::kBlack;
using test::kWhite;
using test::MakeBitmap;
using test::SameBitmaps;

int32_t Grey(int a) {
  const int g = a == 0 ? 255 : test::Blend(0, 255, a);
  return g | (g << 8) | (g << 16);
}

// --- Work bitmaps and the box filter ---------------------------------------

TEST(WorkBitmaps, GrowEachSideAndNeverShrink) {
  ASSERT_TRUE(EnsureWorkBitmaps(30, 5, 3));
  ASSERT_TRUE(EnsureWorkBitmaps(7, 20, 2));
  EXPECT_GE(SmallWorkBitmap().Width(), 30);
  EXPECT_GE(SmallWorkBitmap().Height(), 20);
  EXPECT_GE(BigWorkBitmap().Width(), 90);
  EXPECT_GE(BigWorkBitmap().Height(), 40);
  const int bigW = BigWorkBitmap().Width(), smallH = SmallWorkBitmap().Height();
  ASSERT_TRUE(EnsureWorkBitmaps(1, 1, 1));
  EXPECT_EQ(BigWorkBitmap().Width(), bigW);
  EXPECT_EQ(SmallWorkBitmap().Height(), smallH);
  EXPECT_FALSE(EnsureWorkBitmaps(1000000, 1000000, 4));
  EXPECT_EQ(BigWorkBitmap().Width(), bigW);
}

TEST(WorkBitmaps, DownsampleAveragesEveryBlockTruncating) {
  for (int f : {1, 2, 3, 4}) {
    const int w = 9, h = 7;
    ASSERT_TRUE(EnsureWorkBitmaps(w, h, f));
    std::mt19937 random(f);
    TBitmap& big = BigWorkBitmap();
    for (int y = 0; y < h * f; ++y)
      for (int x = 0; x < w * f; ++x) big.SetPixel(x, y, int32_t(random() & 0xFFFFFF));
    Downsample(w, h, f);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int shift : {0, 8, 16}) {
          int sum = 0;
          for (int j = 0; j < f; ++j)
            for (int i = 0; i < f; ++i) sum += (big.Pixel(x * f + i, y * f + j) >> shift) & 0xFF;
          ASSERT_EQ((SmallWorkBitmap().Pixel(x, y) >> shift) & 0xFF, sum / (f * f))
              << "factor " << f << " pixel " << x << "," << y;
        }
  }
}

// --- Lines and curves -------------------------------------------------------

struct LineTest : ::testing::Test {
  TBitmap bitmap;
  void SetUp() override {
    MakeBitmap(bitmap, 220, 20);
    bitmap.Canvas().Pen.Color = kBlack;
  }
};

TEST_F(LineTest, WidthZeroDrawsNothing) {
  DrawLine(bitmap, 0, 4, 1, 1, 100, 10, 0);
  DrawPolyline(bitmap, {{1, 1}, {100, 10}, {50, 3}}, 0, 1, 4, 0, 100);
  DrawSpline(bitmap, {1, 100, 50}, {1, 10, 3}, 8, 4, 0, 0, 0, 100);
  EXPECT_EQ(test::CountChanged(bitmap), 0);
}

TEST_F(LineTest, FactorOneDrawsThePlainPenUnlessDashed) {
  DrawLine(bitmap, 0, 1, 10, 5, 30, 5, 1);
  EXPECT_EQ(bitmap.Pixel(20, 5), kBlack);
  EXPECT_EQ(bitmap.Pixel(20, 4), kWhite);
  DrawLine(bitmap, 1, 1, 10, 12, 30, 12, 1);
  EXPECT_EQ(bitmap.Pixel(20, 11), Grey(int(std::floor(
                                       58 * TEZLine::PatternValue(psDash, 10, 1)))));
  EXPECT_EQ(SharedEZLine().Style, psSolid);
}

TEST_F(LineTest, PartialPolylineRunsFromQuarterToThreeQuarters) {
  DrawPolyline(bitmap, {{0, 10}, {100, 10}, {200, 10}}, 1, 0, 4, 25, 75);
  EXPECT_EQ(bitmap.Pixel(48, 10), kWhite);
  EXPECT_EQ(bitmap.Pixel(49, 10), Grey(58));
  for (int x = 50; x <= 150; ++x) ASSERT_EQ(bitmap.Pixel(x, 10), Grey(255)) << x;
  EXPECT_EQ(bitmap.Pixel(151, 10), Grey(58));
  EXPECT_EQ(bitmap.Pixel(152, 10), kWhite);
}

TEST_F(LineTest, PartialRangeWithinOneSegmentAndOddPercentages) {
  DrawPolyline(bitmap, {{0, 10}, {100, 10}, {200, 10}}, 1, 0, 4, 10, 40);
  EXPECT_EQ(bitmap.Pixel(19, 10), Grey(58));
  EXPECT_EQ(bitmap.Pixel(80, 10), Grey(255));
  EXPECT_EQ(bitmap.Pixel(81, 10), Grey(58));
  EXPECT_EQ(bitmap.Pixel(82, 10), kWhite);
  MakeBitmap(bitmap, 220, 20);
  DrawPolyline(bitmap, {{0, 10}, {100, 10}, {200, 10}}, 1, 0, 4, 60, 30);  // start past end
  DrawPolyline(bitmap, {{0, 10}, {0, 10}, {0, 10}}, 1, 0, 4, 20, 30);      // no length
  // What is left is the dot of the path without length.
  for (int y = 0; y < 20; ++y)
    for (int x = 2; x < 220; ++x) ASSERT_EQ(bitmap.Pixel(x, y), kWhite) << x << "," << y;
  MakeBitmap(bitmap, 220, 20);
  DrawPolyline(bitmap, {{0, 10}, {100, 10}, {200, 10}}, 1, 0, 4, -20, 250);  // clamped: all
  EXPECT_EQ(bitmap.Pixel(200, 10), Grey(255));
  EXPECT_EQ(bitmap.Pixel(0, 10), Grey(255));
}

TEST_F(LineTest, DashedPolylineStartsItsPatternAtZero) {
  SharedEZLine().Position = 5;
  DrawPolyline(bitmap, {{10, 10}, {60, 10}, {110, 10}}, 1, 1, 1, 0, 100);
  for (int x = 10; x <= 110; ++x)
    ASSERT_EQ(bitmap.Pixel(x, 10),
              Grey(int(std::floor(255 * TEZLine::PatternValue(psDash, x - 10, 1)))))
        << x;
}

TEST(Subdivision, ThreePointsAtEightPerSpanGiveSeventeenThroughTheGivenOnes) {
  const std::vector<TDoublePoint> given = {{0, 0}, {8, 8}, {16, 0}};
  const std::vector<TDoublePoint> curve = SubdivideFourPoint(given, 8);
  ASSERT_EQ(curve.size(), 17u);
  for (size_t k = 0; k < given.size(); ++k) {
    EXPECT_EQ(curve[k * 8].X, given[k].X);
    EXPECT_EQ(curve[k * 8].Y, given[k].Y);
  }
  // First pass, end spans: (3 P0 + 6 P8 - P16) / 8.
  EXPECT_DOUBLE_EQ(curve[4].X, 4);
  EXPECT_DOUBLE_EQ(curve[4].Y, 6);
  EXPECT_DOUBLE_EQ(curve[12].X, 12);
  EXPECT_DOUBLE_EQ(curve[12].Y, 6);
}

TEST(Subdivision, InnerSpansUseFourNeighbours) {
  const std::vector<TDoublePoint> curve =
      SubdivideFourPoint({{0, 0}, {8, 8}, {16, 0}, {24, 8}}, 2);
  ASSERT_EQ(curve.size(), 7u);
  const double expected[7][2] = {{0, 0}, {4, 6}, {8, 8}, {12, 4}, {16, 0}, {20, 2}, {24, 8}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_DOUBLE_EQ(curve[size_t(i)].X, expected[i][0]) << i;
    EXPECT_DOUBLE_EQ(curve[size_t(i)].Y, expected[i][1]) << i;
  }
}

TEST(Subdivision, EvenlySpacedStraightPointsStayStraightAndEven) {
  const std::vector<TDoublePoint> curve =
      SubdivideFourPoint({{0, 0}, {4, 8}, {8, 16}, {12, 24}, {16, 32}}, 4);
  ASSERT_EQ(curve.size(), 17u);
  for (size_t i = 0; i < curve.size(); ++i) {
    EXPECT_DOUBLE_EQ(curve[i].X, double(i));
    EXPECT_DOUBLE_EQ(curve[i].Y, 2.0 * double(i));
  }
}

TEST(Subdivision, HugeInputsAreRefinedLessNotWithoutBound) {
  std::vector<TDoublePoint> many(600001);
  for (size_t i = 0; i < many.size(); ++i) many[i] = {double(i), double(i % 7)};
  const std::vector<TDoublePoint> curve = SubdivideFourPoint(many, 8);
  EXPECT_LE(curve.size(), size_t(kMaxCurvePoints));
  EXPECT_EQ(curve.size(), 4 * (many.size() - 1) + 1);
  EXPECT_EQ(SubdivideFourPoint({{0, 0}, {1, 1}}, 8).size(), 2u);
}

TEST_F(LineTest, SplineWithTwoPointsIsAStraightLine) {
  TBitmap line;
  MakeBitmap(line, 220, 20);
  line.Canvas().Pen.Color = kBlack;
  DrawSpline(bitmap, {10, 200}, {3, 15}, 8, 3, 0, 2.5, 30, 60);
  DrawLine(line, 0, 3, 10, 3, 200, 15, 2.5);
  EXPECT_TRUE(SameBitmaps(bitmap, line));
}

// --- Polygons ---------------------------------------------------------------

struct PolygonTest : ::testing::Test {
  TBitmap bitmap;
  void SetUp() override {
    MakeBitmap(bitmap, 40, 40);
    bitmap.Canvas().Pen.Color = kBlack;
    bitmap.Canvas().Brush.Color = 0x0000FF;
  }
  const std::vector<TDoublePoint> square = {{10.25, 10.25}, {30.25, 10.25}, {30.25, 30.25},
                                            {10.25, 30.25}};
};

TEST_F(PolygonTest, ThinOutlineIsOversampled) {
  DrawPolygon(bitmap, square, 4, 0.5);
  EXPECT_EQ(bitmap.Pixel(20, 20), 0x0000FF);
  EXPECT_EQ(bitmap.Pixel(5, 5), kWhite);
  EXPECT_EQ(bitmap.Pixel(35, 20), kWhite);
  // The left edge pixel mixes white, the brush and the outline: no canvas
  // colour alone.
  const int32_t edge = bitmap.Pixel(10, 20);
  EXPECT_NE(edge, kWhite);
  EXPECT_NE(edge, 0x0000FF);
  EXPECT_NE(edge, kBlack);
  EXPECT_EQ(bitmap.Pixel(10, 20), bitmap.Pixel(20, 10));
}

TEST_F(PolygonTest, WideOutlineTakesThePlainFillAndASmoothClosedOutline) {
  DrawPolygon(bitmap, square, 4, 1);
  EXPECT_EQ(bitmap.Pixel(20, 20), 0x0000FF);
  // The outline runs a quarter pixel off the pixel centres of all four
  // sides: coverage floor(255 sin^2(1.25)) = 229 over the red fill.
  for (auto [x, y] : {std::pair{20, 10}, {30, 20}, {20, 30}, {10, 20}})
    EXPECT_EQ(bitmap.Pixel(x, y), test::Blend(0, 255, 229)) << x << "," << y;
  EXPECT_EQ(bitmap.Pixel(5, 5), kWhite);
  EXPECT_EQ(bitmap.Canvas().Pen.Color, kBlack);
  EXPECT_EQ(bitmap.Canvas().Pen.Width, 1);
}

TEST_F(PolygonTest, UnfilledPolygonGetsNoEdgeInTheNoColour) {
  bitmap.Canvas().Brush.Style = bsClear;
  bitmap.Canvas().Brush.Color = -1;
  bitmap.Canvas().Pen.Color = 0x00FF00;
  DrawPolygon(bitmap, {{5, 5}, {35, 5}, {35, 35}}, 2, 1);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const int32_t c = bitmap.Pixel(x, y);
      ASSERT_TRUE(c == kWhite || (test::Red(c) == test::Blue(c) && test::Green(c) >= test::Red(c)))
          << x << "," << y << " " << std::hex << c;
    }
  EXPECT_EQ(bitmap.Pixel(30, 20), kWhite);
}

TEST_F(PolygonTest, FarCoordinatesDrawOnlyWhatIsVisible) {
  DrawPolygon(bitmap, {{-1e9, -1e9}, {1e9, -1e9}, {0, 1e9}}, 4, 0.5);
  EXPECT_EQ(bitmap.Pixel(20, 20), 0x0000FF);
  DrawPolygon(bitmap, {{-1e300, 0}, {1e300, 0}, {0, 1e300}}, 4, 0.5);
}

// --- The smooth ellipse -----------------------------------------------------

// The ring exactly as described: the whole region copied out, each row from
// the left with its mirror, the inside as one span; then copied back.
void ReferenceEllipse(TBitmap& target, double left, double top, double right, double bottom,
                      double width) {
  const double hw = width / 2;
  const int X0 = int(std::min(std::floor(left - hw), std::floor(right - hw))) - 1;
  const int X1 = int(std::max(std::ceil(left + hw), std::ceil(right + hw))) + 1;
  const int Y0 = int(std::min(std::floor(top - hw), std::floor(bottom - hw))) - 1;
  const int Y1 = int(std::max(std::ceil(top + hw), std::ceil(bottom + hw))) + 1;
  const int W = X1 - X0, H = Y1 - Y0;
  std::vector<int32_t> region(size_t(W) * H, 0);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) region[size_t(y) * W + x] = target.Pixel(X0 + x, Y0 + y);
  const double cx = ((left - X0) + (right - X0)) / 2, cy = ((top - Y0) + (bottom - Y0)) / 2;
  const double Dx = right - left, Dy = bottom - top;
  auto cover = [&](double wd, double x, double y) {
    const double F = 4 * (Dy + wd) * (Dy + wd) * (x - cx) * (x - cx) +
                     4 * (Dx + wd) * (Dx + wd) * (y - cy) * (y - cy);
    const double B = (Dx + wd) * (Dx + wd) * (Dy + wd) * (Dy + wd);
    const double A = 4 * (Dy + wd) * (Dy + wd) * std::fabs(x - cx) +
                     4 * (Dx + wd) * (Dx + wd) * std::fabs(y - cy);
    if (F <= B - A) return 1.0;
    if (F >= B + A) return 0.0;
    return ((B - F) / A + 1) / 2;
  };
  const int32_t brush = target.Canvas().Brush.Color, pen = target.Canvas().Pen.Color;
  auto mix = [&](int32_t old, double co, double ci) {
    int32_t out = 0;
    for (int shift : {0, 8, 16}) {
      const double v = (1 - co) * ((old >> shift) & 0xFF) + ci * ((brush >> shift) & 0xFF) +
                       (co - ci) * ((pen >> shift) & 0xFF);
      out |= int32_t(std::nearbyint(v)) << shift;
    }
    return out;
  };
  for (int y = 0; y < H; ++y)
    for (int x = 0; x <= (W - 1) / 2; ++x) {
      const int xm = W - x - 1;
      const double co = cover(width, x, y), com = cover(width, xm, y);
      if (co == 0 && com == 0) continue;
      const double ci = cover(-width, x, y), cim = cover(-width, xm, y);
      if (ci == 1 && co == 1) {
        for (int k = x; k <= xm; ++k) region[size_t(y) * W + k] = brush;
        break;
      }
      int32_t& p = region[size_t(y) * W + x];
      if (co != 0) p = mix(p, co, ci);
      int32_t& pm = region[size_t(y) * W + xm];
      if (com != 0 && xm != x) pm = mix(pm, com, cim);
    }
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) target.SetPixel(X0 + x, Y0 + y, region[size_t(y) * W + x]);
}

TEST(SmoothEllipse, MatchesTheDescribedRingOnRandomBoxes) {
  std::mt19937 random(3);
  std::uniform_real_distribution<double> corner(-30, 70), size(0, 60), width(0, 6);
  for (int round = 0; round < 120; ++round) {
    const double l = corner(random), t = corner(random);
    const double r = l + size(random), b = t + (round % 4 == 0 ? r - l : size(random));
    const double w = round % 5 == 0 ? 1 : width(random);
    TBitmap real, reference;
    for (TBitmap* bitmap : {&real, &reference}) {
      MakeBitmap(*bitmap, 48, 40, 0x405060);
      bitmap->Canvas().Brush.Color = 0x00C0FF;
      bitmap->Canvas().Pen.Color = 0x300000;
    }
    DrawSmoothEllipse(real, l, t, r, b, w);
    ReferenceEllipse(reference, l, t, r, b, w);
    ASSERT_TRUE(SameBitmaps(real, reference))
        << "box " << l << "," << t << " - " << r << "," << b << " width " << w;
  }
}

TEST(SmoothEllipse, InsideIsOneSpanOfTheBrushColour) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 40, 40);
  bitmap.Canvas().Brush.Color = 0x00C0FF;
  bitmap.Canvas().Pen.Color = kBlack;
  DrawSmoothEllipse(bitmap, 5, 5, 35, 35, 2);
  for (int x = 8; x <= 32; ++x) EXPECT_EQ(bitmap.Pixel(x, 20), 0x00C0FF) << x;
  EXPECT_EQ(bitmap.Pixel(1, 20), kWhite);
  EXPECT_EQ(bitmap.Pixel(5, 20) & 0xFF, 0);  // on the ring: pen black
}

TEST(SmoothEllipse, HugeEllipseCostsOnlyTheVisiblePixels) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 50, 40);
  bitmap.Canvas().Brush.Color = 0x00C0FF;
  bitmap.Canvas().Pen.Color = kBlack;
  DrawSmoothEllipse(bitmap, -1e9, -1e9, 1e9, 1e9, 3);
  EXPECT_EQ(test::CountChanged(bitmap, 0x00C0FF), 0);
  // The ring's left edge through the bitmap, far from the region's start.
  MakeBitmap(bitmap, 50, 40);
  DrawSmoothEllipse(bitmap, 20, -1e6, 2e6, 1e6, 3);
  EXPECT_EQ(bitmap.Pixel(10, 20), kWhite);
  EXPECT_EQ(bitmap.Pixel(20, 20), kBlack);
  EXPECT_EQ(bitmap.Pixel(30, 20), 0x00C0FF);
  EXPECT_EQ(bitmap.Pixel(49, 20), 0x00C0FF);
}

TEST(SmoothEllipse, PartlyOutsideMatchesTheReference) {
  for (auto [l, t, r, b] : {std::array{-200.0, -150.0, 30.5, 20.0},
                            std::array{10.0, 12.3, 400.7, 300.0},
                            std::array{-100.0, 5.0, 140.0, 35.0}}) {
    TBitmap real, reference;
    for (TBitmap* bitmap : {&real, &reference}) {
      MakeBitmap(*bitmap, 48, 40, 0x405060);
      bitmap->Canvas().Brush.Color = 0x00C0FF;
      bitmap->Canvas().Pen.Color = 0x300000;
    }
    DrawSmoothEllipse(real, l, t, r, b, 2.5);
    ReferenceEllipse(reference, l, t, r, b, 2.5);
    EXPECT_TRUE(SameBitmaps(real, reference)) << l << "," << t << " - " << r << "," << b;
  }
}

TEST(Circle, FactorOneUsesTheCanvasEllipseWithRoundedBox) {
  TBitmap bitmap;
  MakeBitmap(bitmap, 40, 40);
  bitmap.Canvas().Pen.Color = kBlack;
  bitmap.Canvas().Brush.Color = 0x00C0FF;
  DrawCircle(bitmap, 1, 9.6, 9.6, 30.4, 30.4, 2.6);
  EXPECT_EQ(bitmap.Canvas().Pen.Width, 3);
  EXPECT_EQ(bitmap.Pixel(20, 20), 0x00C0FF);
  EXPECT_EQ(bitmap.Pixel(11, 20), kBlack);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const int32_t c = bitmap.Pixel(x, y);
      ASSERT_TRUE(c == kWhite || c == kBlack || c == 0x00C0FF) << "plain pixels only";
    }
}

// --- Text -------------------------------------------------------------------

struct TextTest : ::testing::Test {
  TBitmap bitmap;
  const TRect clip{0, 0, 160, 120};
  void SetUp() override { Reset(bitmap); }
  static void Reset(TBitmap& b) {
    MakeBitmap(b, 160, 120);
    b.Canvas().Font.Name = "Arial";
    b.Canvas().Font.Color = kBlack;
    b.Canvas().Brush.Style = bsClear;
  }
};

TEST_F(TextTest, LargeTextLowersTheFactorToTwo) {
  TBitmap atTwo;
  Reset(atTwo);
  DrawText(0, bitmap.Canvas(), "Ag", 10, 10, 30, clip, 4, 0);
  DrawText(0, atTwo.Canvas(), "Ag", 10, 10, 30, clip, 2, 0);
  EXPECT_TRUE(SameBitmaps(bitmap, atTwo));
  EXPECT_GT(test::CountChanged(bitmap), 50);
  // Small text keeps factor 4, which smooths differently.
  Reset(bitmap);
  Reset(atTwo);
  DrawText(0, bitmap.Canvas(), "Ag", 10, 10, 10, clip, 4, 0);
  DrawText(0, atTwo.Canvas(), "Ag", 10, 10, 10, clip, 2, 0);
  EXPECT_FALSE(SameBitmaps(bitmap, atTwo));
}

TEST_F(TextTest, CentredAtNinetyDegreesMovesDownByHalfTheWidth) {
  TBitmap shifted;
  Reset(shifted);
  bitmap.Canvas().Font.Height = -16;
  const double w = bitmap.Canvas().TextWidth("Text");
  DrawText(90, bitmap.Canvas(), "Text", 50, 20, -16, clip, 1, taCenterHorizontally);
  DrawText(90, shifted.Canvas(), "Text", 50, 20 + w / 2, -16, clip, 1, 0);
  EXPECT_TRUE(SameBitmaps(bitmap, shifted));
  EXPECT_GT(test::CountChanged(bitmap), 20);
}

TEST_F(TextTest, LinesFollowEachOtherByTheHeightOfE) {
  TBitmap separate;
  Reset(separate);
  separate.Canvas().Font.Height = -12;
  const int h = separate.Canvas().TextHeight("e");
  DrawText(0, bitmap.Canvas(), "One\rTwo", 10, 10, -12, clip, 1, 0);
  DrawText(0, separate.Canvas(), "One", 10, 10, -12, clip, 1, 0);
  DrawText(0, separate.Canvas(), "Two", 10, 10 + h, -12, clip, 1, 0);
  EXPECT_TRUE(SameBitmaps(bitmap, separate));
}

TEST_F(TextTest, RightAlignedLinesEndAtTheAnchor) {
  TBitmap plain;
  Reset(plain);
  plain.Canvas().Font.Height = -12;
  const int w = plain.Canvas().TextWidth("Right");
  DrawText(0, bitmap.Canvas(), "Right", 100, 30, -12, clip, 1, taRightAligned);
  DrawText(0, plain.Canvas(), "Right", 100 - w, 30, -12, clip, 1, 0);
  EXPECT_TRUE(SameBitmaps(bitmap, plain));
}

TEST_F(TextTest, VerticalCentringMovesTheBlockUpByHalfALine) {
  TBitmap plain;
  Reset(plain);
  plain.Canvas().Font.Height = -12;
  const double h = plain.Canvas().TextHeight("e");
  // One line: n = 2, so the block moves up by h / 2.
  DrawText(0, bitmap.Canvas(), "Mid", 40, 40, -12, clip, 1, taCenterVertically);
  DrawText(0, plain.Canvas(), "Mid", 40, 40 - h / 2, -12, clip, 1, 0);
  EXPECT_TRUE(SameBitmaps(bitmap, plain));
}

TEST_F(TextTest, OversampledTextIsSmoothAndKeepsTheBrushBox) {
  bitmap.Canvas().Brush.Style = bsSolid;
  bitmap.Canvas().Brush.Color = 0x00FFFF;
  DrawText(0, bitmap.Canvas(), "Box", 20, 20, -14, clip, 3, 0);
  int yellow = 0, between = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      const int32_t c = bitmap.Pixel(x, y);
      yellow += c == 0x00FFFF;
      between += c != 0x00FFFF && c != kWhite && c != kBlack;
    }
  EXPECT_GT(yellow, 100);
  EXPECT_GT(between, 10);
  EXPECT_EQ(bitmap.Canvas().Brush.Style, bsSolid);
  EXPECT_EQ(bitmap.Canvas().Font.Escapement, 0);
}

// Oversampled text is the text written on the picture enlarged `factor`
// times (every pixel a block), each block then reduced to the truncated
// mean of each channel; on a busy background, upright and turned, and
// across the bitmap's edge.
TEST_F(TextTest, OversampledTextIsTheReducedTextOfTheEnlargedPicture) {
  auto enlarge = [](const TBitmap& from, int f, TBitmap& to) {
    MakeBitmap(to, from.Width() * f, from.Height() * f);
    for (int y = 0; y < to.Height(); ++y)
      for (int x = 0; x < to.Width(); ++x) to.SetPixel(x, y, from.Pixel(x / f, y / f));
  };
  auto reduce = [](const TBitmap& from, int f, TBitmap& to) {
    for (int y = 0; y < to.Height(); ++y)
      for (int x = 0; x < to.Width(); ++x) {
        int32_t mean = 0;
        for (int shift : {0, 8, 16}) {
          int sum = 0;
          for (int k = 0; k < f * f; ++k) sum += (from.Pixel(x * f + k % f, y * f + k / f) >> shift) & 0xFF;
          mean |= (sum / (f * f)) << shift;
        }
        to.SetPixel(x, y, mean);
      }
  };
  std::mt19937 random(7);
  for (int factor : {2, 3, 4})
    for (int angle : {0, 90})
      for (int x : {30, -6}) {
        SCOPED_TRACE(testing::Message() << "factor " << factor << " angle " << angle << " x " << x);
        Reset(bitmap);
        for (int row = 0; row < bitmap.Height(); ++row)
          for (int col = 0; col < bitmap.Width(); ++col) bitmap.SetPixel(col, row, int32_t(random() & 0xFFFFFF));
        bitmap.Canvas().Font.Color = 0x2080E0;
        TBitmap expected, big;
        MakeBitmap(expected, bitmap.Width(), bitmap.Height());
        enlarge(bitmap, factor, big);
        big.Canvas().Font = bitmap.Canvas().Font;
        big.Canvas().Font.Height = -9 * factor;
        big.Canvas().Font.Escapement = angle * 10;
        big.Canvas().Brush.Style = bsClear;
        big.Canvas().TextOut(x * factor, 70 * factor, "Hello");
        reduce(big, factor, expected);

        DrawText(angle, bitmap.Canvas(), "Hello", x, 70, -9, clip, factor, 0);
        ASSERT_TRUE(SameBitmaps(bitmap, expected));
      }
}

TEST_F(TextTest, LinesOutsideTheClipAreNotDrawnWhenOversampled) {
  DrawText(0, bitmap.Canvas(), "Away", 10, 10, -12, {100, 100, 150, 110}, 2, 0);
  EXPECT_EQ(test::CountChanged(bitmap), 0);
}

TEST_F(TextTest, EndsWithEscapementZeroAndSolidBrush) {
  DrawText(45, bitmap.Canvas(), "Turn", 40, 80, -12, clip, 1, 0);
  EXPECT_EQ(bitmap.Canvas().Font.Escapement, 0);
  EXPECT_EQ(bitmap.Canvas().Brush.Style, bsSolid);
  EXPECT_EQ(bitmap.Canvas().Font.Height, -12);
}

// How long these take is measured by bench_absurd_sizes; here, what shows.
TEST_F(TextTest, AbsurdSizesAreBounded) {
  DrawText(0, bitmap.Canvas(), "Huge", 0, 0, 1e9, clip, 2, 5);
  Reset(bitmap);
  DrawText(30, bitmap.Canvas(), "Huge", 1e12, -1e12, -1e9, clip, 4, 0);
  EXPECT_EQ(test::CountChanged(bitmap), 0);
  // A size below one pixel is one pixel: the word stays at its anchor.
  Reset(bitmap);
  DrawText(0, bitmap.Canvas(), "Tiny", 10, 10, 0.2, clip, 4, 0);
  int changed = 0, nearTheAnchor = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      if (bitmap.Pixel(x, y) == kWhite) continue;
      ++changed;
      nearTheAnchor += x >= 10 && x < 16 && y >= 10 && y < 13;
    }
  EXPECT_GT(changed, 0);
  EXPECT_EQ(nearTheAnchor, changed);
}

}  // namespace
}  // namespace varnik
