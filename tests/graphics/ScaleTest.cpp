#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "vector/uScale.h"

namespace varnik {
namespace {

TEST(Scale, NewScaleIsGeographicAndFlipsY) {
  TScale scale;
  const TScalePoint p = scale.ToScreen(3, 4);
  EXPECT_NEAR(double(p.X), 3, 1e-12);
  EXPECT_NEAR(double(p.Y), -4, 1e-12);
}

TEST(Scale, PlainModeCentreScaleAndShift) {
  TScale scale;
  scale.Geographic = false;
  scale.SetCenterX(100);
  scale.ScaleX = 2;
  scale.Changed();
  scale.SetShiftX(50);
  scale.SetShiftY(7);
  const TScalePoint p = scale.ToScreen(110, 3);
  EXPECT_NEAR(double(p.X), 70, 1e-12);
  EXPECT_NEAR(double(p.Y), 10, 1e-12);
}

TEST(Scale, PositiveAngleTurnsAnticlockwiseOnScreenInBothModes) {
  for (bool geographic : {false, true}) {
    TScale scale;
    scale.Geographic = geographic;
    scale.SetAngle(std::numbers::pi / 2);
    // A point to the right of the centre ends up above it on the screen.
    const TScalePoint p = scale.ToScreen(10, 0);
    EXPECT_NEAR(double(p.X), 0, 1e-9) << geographic;
    EXPECT_NEAR(double(p.Y), -10, 1e-9) << geographic;
  }
}

TEST(Scale, SettersCallOnChangeOnlyForNewValues) {
  TScale scale;
  int calls = 0;
  scale.OnChange = [&] { ++calls; };
  scale.SetShiftX(0);
  scale.SetAngle(0);
  scale.SetCenterY(0);
  EXPECT_EQ(calls, 0);
  scale.ToScreen(1, 1);
  EXPECT_FALSE(scale.Dirty);
  scale.SetShiftX(5);
  EXPECT_EQ(calls, 1);
  EXPECT_TRUE(scale.Dirty);
  scale.SetShiftX(5);
  EXPECT_EQ(calls, 1);
  scale.Zoom(1);  // always a change
  EXPECT_EQ(calls, 2);
}

TEST(Scale, ZoomClampsBothFactorsInProportion) {
  TScale scale;
  scale.Geographic = false;
  scale.ScaleY = 2;
  scale.Zoom(10);
  EXPECT_NEAR(double(scale.ScaleX), 5, 1e-12);
  EXPECT_NEAR(double(scale.ScaleY), 10, 1e-12);
}

TEST(Scale, ZoomOutWithoutLowerLimitNeverClamps) {
  TScale scale;
  scale.Geographic = false;
  for (int i = 0; i < 40; ++i) scale.Zoom(0.5);
  EXPECT_EQ(scale.ScaleX, std::ldexp(1.0L, -40));
  scale.MinScale = 0.25;
  scale.Zoom(0.5);
  EXPECT_NEAR(double(scale.ScaleX), 0.25, 1e-12);
}

TEST(Scale, GeographicLimitsAreMetricOnScaleY) {
  TScale scale;  // geographic
  scale.MaxScale = 0.0009;  // pixels per metre: 100 per degree
  scale.Zoom(1000);
  EXPECT_NEAR(double(scale.ScaleY), 100, 1e-9);
  EXPECT_NEAR(double(scale.ScaleX), 100, 1e-9);
  scale.MinScale = 0.00045;
  scale.Zoom(0.01);
  EXPECT_NEAR(double(scale.ScaleY), 50, 1e-9);
}

TEST(Scale, ToDrawingUndoesToScreen) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> any(-1000, 1000), factor(0.05, 20), angle(-7, 7);
  for (int round = 0; round < 200; ++round) {
    TScale scale;
    scale.Geographic = round % 2 == 0;
    scale.ScaleX = factor(random);
    scale.ScaleY = factor(random);
    scale.Changed();
    scale.SetAngle(angle(random));
    scale.SetCenterX(any(random));
    scale.SetCenterY(any(random));
    scale.SetShiftX(any(random));
    scale.SetShiftY(any(random));
    const long double x = any(random), y = any(random);
    const TScalePoint back = scale.ToDrawing(scale.ToScreen(x, y));
    EXPECT_NEAR(double(back.X), double(x), 1e-9);
    EXPECT_NEAR(double(back.Y), double(y), 1e-9);
    // The cached matrix agrees with the exact transform.
    const TScalePoint fast = scale.ToScreen(x, y), exact = scale.ExactToScreen(x, y);
    EXPECT_NEAR(double(fast.X), double(exact.X), 1e-9);
    EXPECT_NEAR(double(fast.Y), double(exact.Y), 1e-9);
  }
}

TEST(Scale, AssignCopiesTheViewButNotMinScaleOrHandler) {
  TScale source;
  source.Geographic = false;
  source.Angle = 0.5;
  source.ScaleX = 3;
  source.ScaleY = 4;
  source.CenterX = 1;
  source.CenterY = 2;
  source.ShiftX = 5;
  source.ShiftY = 6;
  source.MaxScale = 9;
  source.MinScale = 2;
  int sourceCalls = 0;
  source.OnChange = [&] { ++sourceCalls; };
  TScale copy;
  int copyCalls = 0;
  copy.OnChange = [&] { ++copyCalls; };
  copy.ToScreen(0, 0);
  copy.Assign(source);
  EXPECT_EQ(copyCalls, 1);
  EXPECT_EQ(sourceCalls, 0);
  EXPECT_TRUE(copy.Dirty);
  EXPECT_EQ(copy.MinScale, 0);
  EXPECT_FALSE(copy.Geographic);
  EXPECT_EQ(copy.MaxScale, 9);
  const TScalePoint a = copy.ToScreen(7, 8), b = source.ToScreen(7, 8);
  EXPECT_EQ(a.X, b.X);
  EXPECT_EQ(a.Y, b.Y);
}

TEST(Scale, VisibleBoxCoversTheTurnedView) {
  TScale scale;
  scale.Geographic = false;
  scale.SetCenterX(100);
  scale.SetCenterY(50);
  scale.SetShiftX(40);
  scale.SetShiftY(30);
  scale.SetAngle(std::numbers::pi / 2);
  scale.Update();
  // The 80 x 60 view turned a quarter: 60 wide, 80 high around the centre.
  EXPECT_NEAR(double(scale.VisibleMinX), 70, 1e-9);
  EXPECT_NEAR(double(scale.VisibleMaxX), 130, 1e-9);
  EXPECT_NEAR(double(scale.VisibleMinY), 10, 1e-9);
  EXPECT_NEAR(double(scale.VisibleMaxY), 90, 1e-9);
}

}  // namespace
}  // namespace varnik
