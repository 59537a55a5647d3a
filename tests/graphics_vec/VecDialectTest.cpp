// The vector editor's dialect of .vec: the Sine command and its type codes,
// reading from text, and the TextOut writer with its escapes.

#include <gtest/gtest.h>

#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "platform/uFiles.h"
#include "vector/uDrawUtils.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::PlainView;
using test::SameBitmaps;

std::string DataFile(const std::string& name) { return std::string(VARNIK_TEST_DATA) + "/vec/" + name; }

TEST(VecDialect, TypeCodesCountSine) {
  const std::pair<const char*, int> table[] = {
      {"size", 0},     {"pencolor", 1},  {"brushcolor", 2},   {"line", 3},      {"spline", 4},
      {"sine", 5},     {"dashed", 6},    {"stairs", 7},       {"arrow", 8},     {"ellipse", 9},
      {"railway", 10}, {"textout", 11},  {"angletextout", 12}, {"polygon", 13}, {"spotrect", 14},
      {"spotcircle", 15}, {"angle", 16}, {"opaque", 17},      {"image", 18},    {"remark", 19},
  };
  for (auto [keyword, code] : table) {
    EXPECT_EQ(ReadCommandFromString(std::string(keyword) + " 1,2")->TypeCode, code) << keyword;
    if (code < 19) {
      EXPECT_EQ(CreateCommand(static_cast<uint8_t>(code))->TypeCode, code) << keyword;
    }
  }
  EXPECT_EQ(CreateCommand(vcSine)->MaxPoints, 3);
}

TEST(VecDialect, SineLineForm) {
  auto sine = ReadCommandFromString("SINE 3,0,0, 10,10, 20,0, 30,0");
  auto& command = static_cast<TVectorCommandSine&>(*sine);
  EXPECT_EQ(command.Periods, 3);
  EXPECT_EQ(command.Points.size(), 3u);
  EXPECT_EQ(command.Width, 30);
  EXPECT_EQ(command.SaveToString(), "Sine 3, 0,0, 10,10, 20,0, 30");
  EXPECT_EQ(ReadCommandFromString("Sine 2, 0,0, 1,1, 2,0")->SaveToString(), "Sine 2, 0,0, 1,1, 2,0");
  EXPECT_EQ(TVectorCommandSine().Periods, 10);
}

TEST(VecDialect, SineControlPointsRepeatThePeak) {
  const std::vector<TDoublePoint> p{{0, 0}, {5, -10}, {10, 0}};
  auto one = TVectorCommandSine::ControlPoints(p, 1);
  ASSERT_EQ(one.size(), 3u);
  auto three = TVectorCommandSine::ControlPoints(p, 3);
  const std::vector<std::pair<double, double>> expected{{0, 0},   {5, -10},  {10, 0}, {15, -10},
                                                        {20, 0}, {25, -10}, {30, 0}};
  ASSERT_EQ(three.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(three[i].X, expected[i].first) << i;
    EXPECT_EQ(three[i].Y, expected[i].second) << i;
  }
}

TEST(VecDialect, SineDrawsTheSplineThroughItsHumps) {
  TVectorImage image;
  image.LoadFromText("Sine 3, 0,0, 5,-10, 10,0, 2\r\nSine 0, 0,0, 5,-10, 10,0\r\nSine 2, 0,0, 5,-10\r\n");
  TScale scale;
  PlainView(scale, 2, 2, 10, 30);
  TBitmap actual, expected;
  MakeBitmap(actual, 80, 40);
  MakeBitmap(expected, 80, 40);
  image.Draw(actual, {0, 0, 80, 40}, 2, scale, true);
  DrawSpline(expected, {10, 20, 30, 40, 50, 60, 70}, {30, 10, 30, 10, 30, 10, 30}, 8, 2, 0, 4, 0, 100);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 100);
}

TEST(VecDialect, LoadFromTextSplitsOnCarriageReturns) {
  TVectorImage image;
  image.LoadFromText("Line 1,2, 3,4\r\nBrushColor -1\rAngle 1\n2\r");
  ASSERT_EQ(image.Commands.size(), 3u);
  EXPECT_EQ(image.Commands[1]->TypeCode, vcBrushColor);
  // A line feed alone is an ordinary character of the line (and of the
  // number, which skips it).
  EXPECT_EQ(image.SaveToText(), "Line 1,2, 3,4\r\nBrushColor -1\r\nAngle 12\r\n");
  image.LoadFromText("");
  EXPECT_TRUE(image.Commands.empty());
}

TEST(VecDialect, FileRoundTripIsCanonical) {
  std::string input, expected;
  ASSERT_TRUE(ReadWholeFile(DataFile("all_commands.vec"), input));
  ASSERT_TRUE(ReadWholeFile(DataFile("all_commands_vec.vec"), expected));
  TVectorImage image;
  image.LoadFromText(input);
  EXPECT_EQ(image.SaveToText(), expected);
  TVectorImage fromFile;
  ASSERT_TRUE(fromFile.LoadFromFile(DataFile("all_commands.vec")));
  EXPECT_EQ(fromFile.SaveToText(), expected);
}

// A line holding only its keyword (the command column inserts "Image "
// with its blank) reads every field as empty and is written without a
// blank at its end, in a form that reads back to itself.
TEST(VecDialect, ABareKeywordIsWrittenWithoutATrailingBlank) {
  const std::pair<const char*, const char*> table[] = {
      {"Size", "Size 0x0"},
      {"pencolor", "PenColor 000000"},
      {"BRUSHCOLOR", "BrushColor 000000"},
      {"Line", "Line"},
      {"Spline ", "Spline"},
      {"Sine", "Sine 0"},
      {"Dashed", "Dashed"},
      {"Stairs", "Stairs"},
      {"Arrow", "Arrow"},
      {"Ellipse", "Ellipse"},
      {"Railway", "Railway 0, 0, 0"},
      // The empty text keeps its comma; the one after it goes.
      {"TextOut", "TextOut , 0, 0, 0,"},
      {"AngleTextOut", "AngleTextOut 0, , 0, 0, 0,"},
      {"Polygon", "Polygon"},
      {"SpotRect", "SpotRect 0, 0, 0, 0"},
      {"SpotCircle", "SpotCircle 0, 0, 0"},
      {"Angle", "Angle 0"},
      {"Opaque", "Opaque 0"},
      {"Image", "Image"},
      {"Image ", "Image"},
      {"IMAGE", "Image"},
      {"iMaGe  ", "Image"},
  };
  for (auto [line, canonical] : table) {
    const std::string written = ReadCommandFromString(line)->SaveToString();
    EXPECT_EQ(written, canonical) << "[" << line << "]";
    EXPECT_EQ(ReadCommandFromString(written)->SaveToString(), written) << "[" << line << "]";
  }
}

TEST(VecDialect, TextOutWriterQuotesAndEscapes) {
  const std::pair<const char*, const char*> table[] = {
      {"plain", "TextOut Arial, 10, 1, 2, plain"},
      {"a, b", "TextOut Arial, 10, 1, 2, \"a, b\""},
      {"say \"hi\"", "TextOut Arial, 10, 1, 2, 'say \"hi\"'"},
      {"two\rlines", "TextOut Arial, 10, 1, 2, two\\nlines"},
  };
  for (auto [text, line] : table) {
    TVectorCommandTextOut command;
    command.FontName = "Arial";
    command.Size = 10;
    command.Points.push_back({1, 2});
    command.Text = text;
    EXPECT_EQ(command.SaveToString(), line) << text;
    auto back = ReadCommandFromString(line);
    EXPECT_EQ(static_cast<TVectorCommandTextOut&>(*back).Text, text) << line;
  }
}

TEST(VecDialect, LoadingHandsTheResolverToImageCommands) {
  TVectorImage image;
  int asked = 0;
  image.OnGetImage = [&](const std::string&) {
    ++asked;
    return nullptr;
  };
  image.LoadFromStrings({"Image a.vec, 1, 2", "Image b.vec"});
  TScale scale;
  PlainView(scale);
  EXPECT_FALSE(image.HitTest(scale, 1, 2, nullptr));
  EXPECT_EQ(asked, 2);
}

TEST(VecDialect, SetSmoothSwitchesTheSharedRasteriser) {
  TVectorImage::SetSmooth(false);
  EXPECT_FALSE(SharedEZLine().Smooth);
  TVectorImage::SetSmooth(true);
  EXPECT_TRUE(SharedEZLine().Smooth);
}

}  // namespace
}  // namespace varnik
