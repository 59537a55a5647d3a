// The toolbar's point edits inside the limit box, the reading of its number
// boxes, and the start-up options of the vector editor.

#include <gtest/gtest.h>

#include <limits>

#include "TestFiles.h"
#include "vector/uScale.h"
#include "veceditor/uPointEdits.h"
#include "veceditor/uVecOptions.h"

namespace varnik {
namespace {

std::string Text(const TVectorImage& document) { return document.SaveToText(); }

class PointEdits : public ::testing::Test {
 protected:
  void Load(const std::string& lines) { document.LoadFromText(lines); }
  TVectorImage document;
  TScale view;
  TPointLimits limits;
};

TEST(BoxNumbers, IntegerBoxesHoldWholeNumbersOnly) {
  const struct {
    const char* Text;
    int32_t Value;
  } table[] = {
      {"12", 12},          {"-1000", -1000},    {"+5", 5},          {" 7", 7},
      {"7 ", 0},           {"1e3", 0},          {"2.5", 0},         {"abc", 0},
      {"", 0},             {"-", 0},            {"2147483647", 2147483647},
      {"2147483648", 0},   {"-2147483648", std::numeric_limits<int32_t>::min()},
      {"99999999999", 0},
  };
  for (const auto& row : table) EXPECT_EQ(BoxInteger(row.Text), row.Value) << '"' << row.Text << '"';
}

TEST(BoxNumbers, FactorReadsLeniently) {
  const struct {
    const char* Text;
    long double Value;
  } table[] = {
      {"2", 2}, {"0.5", 0.5L}, {"-.5", -0.5L}, {"1.5.7", 1.5L}, {"2e1", 20}, {"1x5", 15}, {"abc", 0}, {"", 0},
  };
  for (const auto& row : table) EXPECT_EQ(BoxFactor(row.Text), row.Value) << '"' << row.Text << '"';
}

TEST_F(PointEdits, NudgeMovesOnlyPointsStrictlyInside) {
  limits = {0, 0, 100, 50};
  Load("Size 200x100\r\nLine 10,20, 0,20, 100,20, 50,50, 99.5,49.5\r\n");
  NudgePoints(document, view, limits, -10, 0);
  EXPECT_EQ(Text(document), "Size 200x100\r\nLine 0,20, 0,20, 100,20, 50,50, 89.5,49.5\r\n");
  NudgePoints(document, view, limits, 0, 10);
  EXPECT_EQ(Text(document), "Size 200x100\r\nLine 0,20, 0,20, 100,20, 50,50, 89.5,59.5\r\n");
}

TEST_F(PointEdits, NudgeReachesPointsAfterAnAngleLine) {
  Load("Size 200x100\r\nAngle 45\r\nEllipse 10,10, 20,20\r\n");
  NudgePoints(document, view, limits, 1, 1);
  EXPECT_EQ(Text(document), "Size 200x100\r\nAngle 45\r\nEllipse 11,11, 21,21\r\n");
}

TEST_F(PointEdits, RotationTurnsAnticlockwiseAboutTheImageMiddle) {
  Load("Size 200x100\r\nLine 150,50, 100,20, -2000,0\r\n");
  RotatePoints(document, view, limits, 90);
  EXPECT_EQ(Text(document), "Size 200x100\r\nLine 100,0, 70,50, -2000,0\r\n");
  Load("Size 200x100\r\nLine 150,50, 100,50\r\n");
  RotatePoints(document, view, limits, 30);
  // 100 + 50 cos 30 = 143.3, 50 - 50 sin 30 = 25; the middle stays.
  EXPECT_EQ(Text(document), "Size 200x100\r\nLine 143,25, 100,50\r\n");
}

TEST_F(PointEdits, ScaleHalvesInsideTheLimitsAndTheSize) {
  Load("Size 201x100\r\nLine 10,20, 31,41, -1000,50, 10000,3\r\n");
  ScalePoints(document, view, limits, 0.5L);
  // 15.5 and 100.5 round to the even neighbour; points on a limit stay.
  EXPECT_EQ(Text(document), "Size 100x50\r\nLine 5,10, 16,20, -1000,50, 10000,3\r\n");
}

TEST_F(PointEdits, ScaleByZeroWhenTheFactorIsNoNumber) {
  Load("Size 20x10\r\nLine 3,4, 5,6\r\n");
  ScalePoints(document, view, limits, BoxFactor("x"));
  EXPECT_EQ(Text(document), "Size 0x0\r\nLine 0,0, 0,0\r\n");
}

TEST_F(PointEdits, ScaleWithoutASizeLineChangesOnlyPoints) {
  Load("Line 3,4, 5,6\r\nSize 20x10\r\n");
  ScalePoints(document, view, limits, 2);
  EXPECT_EQ(Text(document), "Line 6,8, 10,12\r\nSize 20x10\r\n");
}

TEST(VecOptions, SmoothLevelIsClampedWithDefaultFour) {
  test::TTempDir dir;
  const std::string path = (dir.Path() / "Varnik.ini").string();
  EXPECT_EQ(ReadSmoothLevel(path), 4);
  const struct {
    const char* File;
    int32_t Level;
  } table[] = {
      {"[Options]\nSmooth=2\n", 2}, {"[Options]\nSmooth=0\n", 1}, {"[Options]\nSmooth=9\n", 4},
      {"[Options]\nSmooth=-3\n", 1}, {"[options]\nsmooth=3\n", 3}, {"[Other]\nSmooth=2\n", 4},
      {"[Options]\nSmooth=abc\n", 1},
  };
  for (const auto& row : table) {
    dir.Write("Varnik.ini", row.File);
    EXPECT_EQ(ReadSmoothLevel(path), row.Level) << row.File;
  }
}

TEST(VecOptions, AutoSaveSwitchAnywhereInAnyCase) {
  using Args = std::vector<std::string>;
  EXPECT_TRUE(AutoSaveFromArguments(Args{}));
  EXPECT_TRUE(AutoSaveFromArguments(Args{"a.vec"}));
  EXPECT_FALSE(AutoSaveFromArguments(Args{"a.vec", "/-AutoSave"}));
  EXPECT_FALSE(AutoSaveFromArguments(Args{"/-autosave"}));
  EXPECT_FALSE(AutoSaveFromArguments(Args{"/-AUTOSAVE", "a.vec"}));
  EXPECT_TRUE(AutoSaveFromArguments(Args{"a.vec", "/-AutoSave=0"}));
  EXPECT_TRUE(AutoSaveFromArguments(Args{"a.vec", "-AutoSave"}));
  EXPECT_TRUE(AutoSaveFromArguments(Args{"a.vec", "/-AutoSave "}));
}

}  // namespace
}  // namespace varnik
