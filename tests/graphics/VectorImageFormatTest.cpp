// Reading and writing .vec text in the map editor's dialect (no Sine).

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"
#include "vector/uVectorCommands.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

std::string DataFile(const std::string& name) { return std::string(VARNIK_TEST_DATA) + "/vec/" + name; }

std::string Canonical(const std::string& line) { return ReadCommandFromString(line)->SaveToString(); }

TEST(VectorImageFormat, MapDialectTypeCodesHaveNoSine) {
  const std::pair<const char*, int> table[] = {
      {"size", 0},          {"pencolor", 1},    {"brushcolor", 2}, {"line", 3},         {"spline", 4},
      {"dashed", 5},        {"stairs", 6},      {"arrow", 7},      {"ellipse", 8},      {"railway", 9},
      {"textout", 10},      {"angletextout", 11}, {"polygon", 12}, {"spotrect", 13},    {"spotcircle", 14},
      {"angle", 15},        {"opaque", 16},     {"image", 17},     {"sine", 18},        {"", 18},
  };
  for (auto [keyword, code] : table) {
    EXPECT_EQ(CodeOfKeyword(keyword), code) << keyword;
    EXPECT_EQ(ReadCommandFromString(std::string(keyword) + " 1,2").get()->TypeCode, code) << keyword;
  }
  EXPECT_EQ(CreateCommand(vcRailway)->TypeCode, 9);
  EXPECT_EQ(CreateCommand(200)->TypeCode, vcComment);
}

TEST(VectorImageFormat, MaxPointsPerClass) {
  const std::pair<uint8_t, int32_t> table[] = {
      {vcSize, 0},    {vcLine, 2147483647},    {vcStairs, 3},   {vcEllipse, 2}, {vcTextOut, 2},
      {vcAngleTextOut, 2}, {vcSpotRect, 2}, {vcSpotCircle, 1}, {vcImage, 1},   {vcComment, 0},
  };
  for (auto [code, max] : table) EXPECT_EQ(CreateCommand(code)->MaxPoints, max) << int(code);
}

TEST(VectorImageFormat, FloatFormatter) {
  const std::pair<long double, const char*> table[] = {
      {0, "0"},
      {-0.0L, "0"},
      {1.5L, "1.5"},
      {-2.5L, "-2.5"},
      {100, "100"},
      {1e20L, "100000000000000000000"},
      {1e-7L, "0.0000001"},
      {0.1L + 0.2L, "0.3"},
      {1.0L / 3, "0.333333333333333"},
      {-2.0L / 3, "-0.666666666666667"},
      {123456789012345678.0L, "123456789012346000"},
      {999999999999999.9L, "1000000000000000"},
      {0.000123456789012345678L, "0.000123456789012346"},
      {std::numeric_limits<long double>::infinity(), "0"},
  };
  for (auto [value, text] : table) EXPECT_EQ(FormatVecFloat(value), text) << double(value);
}

TEST(VectorImageFormat, CanonicalLines) {
  const std::pair<const char*, const char*> table[] = {
      {"Line 10,20, 30,40", "Line 10,20, 30,40"},
      {"Line 10,20, 30,40, 2", "Line 10,20, 30,40, 2"},
      {"Line 10,20, 30,40, 1.0005", "Line 10,20, 30,40"},
      {"Line 10,20, 30,40, 1.002", "Line 10,20, 30,40, 1.002"},
      {"Line 10,20, 30,40, 0", "Line 10,20, 30,40"},
      {"line 1e2,-.5, 3x,4", "Line 100,-0.5, 3,4"},
      // The pairs stop when no comma is left: the last number is the width.
      {"Line 10,20, 30", "Line 10,20, 30"},
      {"Ellipse 0,0, 10,10, 20,20", "Ellipse 0,0, 10,10, 20"},
      {"Stairs 1,1, 2,2, 3,3, 4,4, 5", "Stairs 1,1, 2,2, 3,3, 4"},
      {"Size  640 x 480", "Size 640x480"},
      {"PenColor 00ff80", "PenColor 00FF80"},
      {"BrushColor -1", "BrushColor -1"},
      {"Opaque  75 ", "Opaque 75"},
      {"Angle -90.50", "Angle -90.5"},
      {"Railway 6,10,20,0,0,100,0,2", "Railway 6, 10, 20, 0,0, 100,0, 2"},
      {"SpotCircle 5,10,20,name", "SpotCircle 5, 10, 20, name"},
      {"Image  a.vec ,1,2", "Image a.vec, 1, 2"},
      {"TextOut Arial, 12, 1, 2, x, 17", "TextOut Arial, 12, 1, 2, x, 1"},
      {"AngleTextOut 0, Arial, 12, 1, 2, x, 0, 4", "AngleTextOut 0, Arial, 12, 1, 2, x, 0, 4"},
      {"AngleTextOut 0, Arial, 12, 1, 2, x, 0, 0", "AngleTextOut 0, Arial, 12, 1, 2, x"},
      {"AngleTextOut 0, Arial, 12, 1, 2, a\\nb", "AngleTextOut 0, Arial, 12, 1, 2, a\\nb"},
  };
  for (auto [line, canonical] : table) EXPECT_EQ(Canonical(line), canonical) << line;
}

TEST(VectorImageFormat, FieldsReadAsTheyStand) {
  auto line = ReadCommandFromString("Line 10,20, 30");
  EXPECT_EQ(line->Points.size(), 1u);
  EXPECT_EQ(static_cast<TVectorCommandLine&>(*line).Width, 30);

  auto text = ReadCommandFromString("AngleTextOut 45, Arial, 12, 1, 2, \"a, b\\nc\", 3, 5");
  auto& angleText = static_cast<TVectorCommandAngleTextOut&>(*text);
  EXPECT_EQ(angleText.Text, "a, b\rc");
  EXPECT_EQ(angleText.Style, 3);
  EXPECT_EQ(angleText.Alignment, 5);
  EXPECT_EQ(angleText.Angle, 45);
}

TEST(VectorImageFormat, TextQuotingRoundTrips) {
  const char* texts[] = {"plain", "a, b", "say \"hi\"", "two\rlines", "comma, and\rbreak"};
  for (const char* text : texts) {
    TVectorCommandAngleTextOut command;
    command.Text = text;
    command.Points.push_back({1, 2});
    std::string line = command.SaveToString();
    EXPECT_EQ(line.find('\r'), std::string::npos) << line;
    auto back = ReadCommandFromString(line);
    EXPECT_EQ(static_cast<TVectorCommandAngleTextOut&>(*back).Text, text) << line;
  }
}

TEST(VectorImageFormat, MapDialectTextOutKnowsOnlyDoubleQuotesAndKeepsBreaks) {
  TVectorCommandTextOut command;
  command.FontName = "Arial";
  command.Size = 10;
  command.Points.push_back({1, 2});
  command.Text = "a, b";
  EXPECT_EQ(command.SaveToString(), "TextOut Arial, 10, 1, 2, \"a, b\"");
  command.Text = "two\rlines";
  EXPECT_EQ(command.SaveToString(), "TextOut Arial, 10, 1, 2, two\rlines");
}

TEST(VectorImageFormat, FileRoundTripIsCanonicalAndKeepsComments) {
  TVectorImage image;
  ASSERT_TRUE(image.LoadFromFile(DataFile("all_commands.vec")));
  std::string expected;
  ASSERT_TRUE(ReadWholeFile(DataFile("all_commands_map.vec"), expected));
  EXPECT_EQ(image.SaveToText(), expected);
  // The canonical text reads back to itself.
  TVectorImage again;
  ASSERT_TRUE(again.LoadFromFile(DataFile("all_commands_map.vec")));
  EXPECT_EQ(again.SaveToText(), expected);
}

TEST(VectorImageFormat, KeywordsAndComments) {
  TVectorImage image;
  ASSERT_TRUE(image.LoadFromFile(DataFile("all_commands.vec")));
  ASSERT_EQ(image.Commands.size(), 29u);
  EXPECT_EQ(image.Commands[0]->TypeCode, vcComment);
  EXPECT_EQ(image.Commands[0]->SaveToString(), Utf8ToCp1251("; Схема: тестовая картинка,  с запятыми  "));
  EXPECT_EQ(image.Commands[25]->TypeCode, vcComment);  // Sine
  EXPECT_EQ(image.Commands[26]->TypeCode, vcComment);  // leading blank
  EXPECT_EQ(image.Commands[27]->TypeCode, vcComment);  // empty
  EXPECT_EQ(image.Commands[28]->TypeCode, vcLine);     // LINE
  EXPECT_EQ(image.ImageWidth(), 0);  // the first command is no Size
}

TEST(VectorImageFormat, ImageSizeComesOnlyFromALeadingSize) {
  TVectorImage image;
  image.AddSize(200, 100);
  image.AddLine(1);
  EXPECT_EQ(image.ImageWidth(), 200);
  EXPECT_EQ(image.ImageHeight(), 100);
  image.SetImageWidth(300);
  image.SetImageHeight(50);
  EXPECT_EQ(image.Commands[0]->SaveToString(), "Size 300x50");

  TVectorImage late;
  late.AddLine(1);
  late.AddSize(200, 100);
  EXPECT_EQ(late.ImageWidth(), 0);
  EXPECT_EQ(late.ImageHeight(), 0);
  late.SetImageWidth(5);
  EXPECT_EQ(late.Commands[1]->SaveToString(), "Size 200x100");
}

TEST(VectorImageFormat, MissingOrEmptyFileGivesEmptyImage) {
  TVectorImage image;
  image.AddLine(1);
  EXPECT_FALSE(image.LoadFromFile(DataFile("no_such_file.vec")));
  EXPECT_TRUE(image.Commands.empty());
}

TEST(VectorImageFormat, AddPointBeyondLimitComplainsAndAppends) {
  TRecordingSink sink;
  TScopedMessageSink scoped(sink);
  TVectorCommandEllipse ellipse;
  ellipse.AddPoint(1, 2);
  ellipse.AddPoint(3, 4);
  EXPECT_TRUE(sink.Entries.empty());
  ellipse.AddPoint(5, 6);
  EXPECT_EQ(ellipse.Points.size(), 3u);
  ASSERT_EQ(sink.Texts(), std::vector<std::string>{"TVectorCommand.AddPoint: error count"});
}

TEST(VectorImageFormat, BuilderOperations) {
  TVectorImage image;
  image.AddPointToLast(1, 1);  // nothing to add to
  image.AddSpline(1, 2.5L);
  image.AddPointToLast(0, 0);
  image.AddPointToLast(10, 5);
  image.SetLineRange(25, 75);
  auto& spline = static_cast<TVectorCommandSpline&>(*image.Commands.back());
  EXPECT_EQ(spline.Dashed, 1);
  EXPECT_EQ(spline.StartPercent, 25);
  EXPECT_EQ(spline.EndPercent, 75);
  image.AddAngleTextOut("", 1, "Name", 3, 0, 90);
  image.AddPointToLast(5, 6);
  image.SetLineRange(10, 20);  // not a line: ignored
  image.AddPolygon(0);
  EXPECT_EQ(image.SaveToText(),
            "Spline 0,0, 10,5, 2.5\r\nAngleTextOut 90, , 0, 5, 6, Name, 1, 3\r\nPolygon 0\r\n");
}

TEST(VectorImageFormat, OptimizeDropsColourCommandsThatChangeNothing) {
  TVectorImage image;
  image.AddPenColor(1);
  image.AddBrushColor(7);
  image.AddPenColor(2);  // overrides pen 1 with only colours between
  image.AddLine(1);
  image.AddPenColor(2);  // repeats the pen in force
  image.AddBrushColor(8);
  image.AddLine(1);
  image.AddBrushColor(8);  // repeats, but the last command is never removed
  image.Optimize();
  EXPECT_EQ(image.SaveToText(),
            "BrushColor 070000\r\nPenColor 020000\r\nLine\r\nBrushColor 080000\r\nLine\r\n"
            "BrushColor 080000\r\n");
}

TEST(VectorImageFormat, OptimizeTakesMinusOneAsTheStartingColour) {
  TVectorImage image;
  image.AddBrushColor(-1);
  image.AddPolygon(1);
  image.AddBrushColor(-1);
  image.AddPolygon(1);
  image.Optimize();
  EXPECT_EQ(image.SaveToText(), "Polygon\r\nPolygon\r\n");
}

TEST(VectorImageFormat, LongPointListsReadInLinearTime) {
  // 200000 pairs in one line: reading must not copy the rest of the line
  // for every field.
  std::string line = "Line ";
  for (int i = 0; i < 200000; ++i) line += std::to_string(i) + "," + std::to_string(i % 7) + ", ";
  auto command = ReadCommandFromString(line);
  ASSERT_EQ(command->Points.size(), 200000u);
  EXPECT_EQ(command->Points.back().X, 199999);
  EXPECT_EQ(command->Points.back().Y, 199999 % 7);
}

}  // namespace
}  // namespace varnik
