// What the line-like and shape commands hand to the drawing primitives: each
// command is drawn through a document and compared pixel for pixel with the
// primitives called directly on the geometry the command must produce.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::PlainView;
using test::SameBitmaps;
using test::SetLines;

constexpr int kFactor = 2;

class VectorCommandGeometry : public ::testing::Test {
 protected:
  // Draws the lines as a document over white, view shifted by (10, 10).
  void DrawDocument(std::initializer_list<const char*> lines, int w = 130, int h = 50) {
    TVectorImage image;
    SetLines(image, lines);
    TScale scale;
    PlainView(scale, 1, 1, 10, 10);
    MakeBitmap(actual, w, h);
    MakeBitmap(expected, w, h);
    image.Draw(actual, {0, 0, w, h}, kFactor, scale, true);
  }
  TBitmap actual;
  TBitmap expected;
};

TEST_F(VectorCommandGeometry, StairsHatchEveryFourPixelsAlongP0P2) {
  DrawDocument({"Stairs 0,0, 10,0, 0,12"});
  for (double y : {10.0, 14.0, 18.0, 22.0}) DrawLine(expected, 0, kFactor, 10, y, 20, y, 1);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, ShortArrowHeadIsScaledDownToTheSegment) {
  // Last segment 10 long, width 1: h = 10/40, wings 2.5 back and 0.75 aside.
  DrawDocument({"Arrow 10,10, 20,10"});
  DrawLine(expected, 0, kFactor, 20, 20, 30, 20, 1);
  DrawLine(expected, 0, kFactor, 27.5, 20.75, 30, 20, 1);
  DrawLine(expected, 0, kFactor, 27.5, 19.25, 30, 20, 1);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, LongArrowHeadFollowsTheLastSegment) {
  // Width 2 on a last segment of 100: h = 2, wings 20 back and 6 aside.
  DrawDocument({"Arrow 0,0, 0,20, 100,20, 2"}, 130, 50);
  DrawPolyline(expected, {{10, 10}, {10, 30}, {110, 30}}, 2, 0, kFactor, 0, 100);
  DrawLine(expected, 0, kFactor, 90, 36, 110, 30, 2);
  DrawLine(expected, 0, kFactor, 90, 24, 110, 30, 2);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, RailwayRailsAndTies) {
  // Rails along y = 0 and y = 6; ties at x = 10, 30, ..., 90 from y = 8 to
  // y = -2.5 (all shifted by the view's 10, 10).
  DrawDocument({"Railway 6, 10, 20, 0,0, 100,0"});
  DrawLine(expected, 0, kFactor, 10, 10, 110, 10, 1);
  DrawPolyline(expected, {{10, 16}, {110, 16}}, 1, 0, kFactor, 0, 100);
  for (double x = 20; x <= 100; x += 20) DrawLine(expected, 0, kFactor, x, 18, x, 7.5, 1);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, RailwayTieSpacingRunsOnAcrossSegments) {
  // Three points are refined to 4 segments per span (here 7.5 apart on a
  // straight line); the ties keep their spacing of 20 across the pieces.
  DrawDocument({"Railway 6, 10, 20, 0,0, 30,0, 60,0"});
  std::vector<TDoublePoint> rail = SubdivideFourPoint({{10, 10}, {40, 10}, {70, 10}}, 4);
  ASSERT_EQ(rail.size(), 9u);
  DrawPolyline(expected, rail, 1, 0, kFactor, 0, 100);
  for (TDoublePoint& p : rail) p.Y += 6;
  DrawPolyline(expected, rail, 1, 0, kFactor, 0, 100);
  for (double x : {20.0, 40.0, 60.0}) DrawLine(expected, 0, kFactor, x, 18, x, 7.5, 1);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, AbsurdTieSpacingsDrawTheRailsOnly) {
  DrawDocument({"Railway 6, 10, 0, 0,0, 100,0"});
  TBitmap railsOnly;
  MakeBitmap(railsOnly, actual.Width(), actual.Height());
  DrawLine(railsOnly, 0, kFactor, 10, 10, 110, 10, 1);
  DrawPolyline(railsOnly, {{10, 16}, {110, 16}}, 1, 0, kFactor, 0, 100);
  EXPECT_TRUE(SameBitmaps(actual, railsOnly));
  for (const char* line : {"Railway 6, 10, 1e-12, 0,0, 100,0", "Railway 6, 10, -20, 0,0, 100,0"}) {
    DrawDocument({line});
    EXPECT_TRUE(SameBitmaps(actual, railsOnly)) << line;
  }
}

TEST_F(VectorCommandGeometry, FilledEllipseWithEqualSidesIsACircle) {
  DrawDocument({"Ellipse 0,0, 10,10, 2"});
  // Centre (15, 15) on screen, radius 5, box right and bottom one further.
  DrawCircle(expected, kFactor, 10, 10, 21, 21, 2);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, UnfilledEllipseIsA64Gon) {
  DrawDocument({"BrushColor -1", "Ellipse 0,0, 10,10"});
  expected.Canvas().Brush.Style = bsClear;
  std::vector<TDoublePoint> vertices;
  for (int i = 0; i < 64; ++i) {
    double t = i * std::numbers::pi / 32;
    vertices.push_back({10 + 4.5 + std::sin(t) * 4.5, 10 + 4.5 + std::cos(t) * 4.5});
  }
  DrawPolygon(expected, vertices, kFactor, 1);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 20);
}

TEST_F(VectorCommandGeometry, LinesOutsideTheWidenedClipAreNotDrawn) {
  const struct {
    const char* Line;
    bool Drawn;
  } table[] = {
      {"Line 0,0, 10,0", false},       // wholly left of the clip
      {"Line 0,0, 10,0, 60", true},    // its half width reaches in
      {"Line 0,0, 10,0, 40,30", true},  // the second segment reaches in
      {"Dashed 0,0, 10,0", false},
      {"Spline 0,0, 10,0, 10,5", false},
  };
  for (const auto& row : table) {
    TVectorImage image;
    SetLines(image, {row.Line});
    TScale scale;
    PlainView(scale);
    MakeBitmap(actual, 60, 40);
    image.Draw(actual, {30, 0, 60, 40}, kFactor, scale, true);
    EXPECT_EQ(test::CountChanged(actual) > 0, row.Drawn) << row.Line;
  }
}

TEST_F(VectorCommandGeometry, PartialLineRangeUsesThePolyline) {
  TVectorImage image;
  SetLines(image, {"Line 0,0, 100,0, 3"});
  static_cast<TVectorCommandLine&>(*image.Commands[0]).StartPercent = 25;
  static_cast<TVectorCommandLine&>(*image.Commands[0]).EndPercent = 75;
  TScale scale;
  PlainView(scale, 1, 1, 10, 10);
  MakeBitmap(actual, 130, 30);
  MakeBitmap(expected, 130, 30);
  image.Draw(actual, {0, 0, 130, 30}, kFactor, scale, true);
  DrawPolyline(expected, {{10, 10}, {110, 10}}, 3, 0, kFactor, 25, 75);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_EQ(actual.Pixel(20, 10), test::kWhite);
}

TEST_F(VectorCommandGeometry, WidthsScaleWithTheView) {
  TVectorImage image;
  SetLines(image, {"PenColor 0000FF", "Line 0,0, 20,0, 1.5"});
  TScale scale;
  PlainView(scale, 2, 3, 5, 5);
  MakeBitmap(actual, 60, 20);
  MakeBitmap(expected, 60, 20);
  image.Draw(actual, {0, 0, 60, 20}, kFactor, scale, true);
  expected.Canvas().Pen.Color = 0xFF0000;
  DrawLine(expected, 0, kFactor, 5, 5, 45, 5, 3);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandGeometry, TooFewPointsDrawNothing) {
  for (const char* line : {"Line 1,1", "Spline 1,1", "Arrow 1,1", "Polygon 1,1", "Railway 1, 2, 3, 1,1",
                           "Stairs 0,0, 10,0", "Ellipse 0,0", "Dashed"}) {
    DrawDocument({line});
    EXPECT_EQ(test::CountChanged(actual), 0) << line;
  }
}

TEST_F(VectorCommandGeometry, AbsurdRepeatsAndPointCountsAreNotDrawn) {
  DrawDocument({"Stairs 0,0, 10,0, 0,1e30"});
  EXPECT_EQ(test::CountChanged(actual), 0);

  TVectorImage image;
  SetLines(image, {"Spline"});
  image.Commands[0]->Points.assign(kMaxDrawnPoints + 1, TFPoint{5, 5});
  TScale scale;
  PlainView(scale);
  image.Draw(actual, {0, 0, actual.Width(), actual.Height()}, kFactor, scale, true);
  EXPECT_EQ(test::CountChanged(actual), 0);
}

}  // namespace
}  // namespace varnik
