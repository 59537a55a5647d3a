#include <gtest/gtest.h>

#include "MapTestCity.h"
#include "map/uSettings.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

using test::CityDir;
using test::LayerText;
using test::Lines;

class MapDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { city.LoadNetwork(CityDir("Drawing")); }
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  test::TMapTestCity city;
};

// Lines, station circles with the holes of stations without driving times,
// a dashed link, a legend, a straight segment cut at an unplaced node and a
// spline segment; colour commands that change nothing are optimised away.
TEST_F(MapDrawingTest, LinesStationsAndLegends) {
  TMetroMap& map = city.LoadMap("Metro.map");
  EXPECT_EQ(LayerText(map), Lines({
                                "Size 1x1",
                                "PenColor FF0000",
                                "Line 100,100, 150,90, 8",
                                "Spline 200,100, 250,80, 300,100, 8",
                                "PenColor 0000FF",
                                "Dashed 200,50, 200,100, 3",
                                "PenColor FFFF00",
                                "BrushColor FF0000",
                                "Ellipse 95,95, 105,105",
                                "Ellipse 195,95, 205,105",
                                "Ellipse 295,95, 305,105",
                                "BrushColor 0000FF",
                                "Ellipse 195,45, 205,55",
                                "PenColor FFFFFF",
                                "BrushColor FFFFFF",
                                "Ellipse 199,49, 201,51",
                                "PenColor FFFF00",
                                "BrushColor 0000FF",
                                "Ellipse 195,95, 205,105",
                                "PenColor FFFFFF",
                                "BrushColor FFFFFF",
                                "Ellipse 199,99, 201,101",
                                "PenColor FF0000",
                                "BrushColor FF0000",
                                "Line 20,310, 40,310, 8",
                                "PenColor FFFF00",
                                "Ellipse 25,305, 36,316",
                                "PenColor FFFFFF",
                                "BrushColor FFFFFF",
                            }));
  // The dashed flag of a spline is not part of the text.
  const auto& commands = map.Layers.back()->Image->Vector->Commands;
  auto* spline = dynamic_cast<TVectorCommandSpline*>(commands[3].get());
  ASSERT_NE(spline, nullptr);
  EXPECT_EQ(spline->Dashed, 0);
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(MapDrawingTest, DashedSplineCarriesTheFlag) {
  TMetroMap& map = city.LoadMap("Metro.map");
  TMetroMapLine& blue = *map.Lines[1];
  auto segment = std::make_unique<TMetroMapSegment>();
  segment->Name = "9";
  segment->FromStation = blue.Stations[0].get();
  segment->ToStation = blue.Stations[1].get();
  segment->Spline = true;
  segment->AddNode(0, 0);
  segment->AddNode(190, 70);
  segment->AddNode(0, 0);
  blue.Segments.push_back(std::move(segment));
  map.BuildDrawing(true);
  ASSERT_EQ(map.Layers.size(), 3u);  // the old layer was replaced, not kept
  const auto& commands = map.Layers.back()->Image->Vector->Commands;
  auto* spline = dynamic_cast<TVectorCommandSpline*>(commands[5].get());
  ASSERT_NE(spline, nullptr);
  EXPECT_EQ(spline->Dashed, 1);
  // The ends were synced to the stations before drawing.
  EXPECT_EQ(spline->SaveToString(), "Spline 200,50, 190,70, 200,100, 3");
}

// The corridor of transfers: black outline, white rings and corridor, then
// the stations in their line colours, a hollow one for Blue.
TEST_F(MapDrawingTest, TransferCorridors) {
  TMetroMap& map = city.LoadMap("Transfers.map");
  std::string text = LayerText(map);
  size_t start = text.find("PenColor 000000");
  ASSERT_NE(start, std::string::npos) << text;
  // clang-format off
  EXPECT_EQ(text.substr(start), Lines({
                                    "PenColor 000000",
                                    "BrushColor 000000",
                                    "Line 200,100, 210,110, 10",
                                    "Line 220,90, 210,110, 10",
                                    "Ellipse 191,91, 209,109",
                                    "Ellipse 201,101, 219,119",
                                    "Ellipse 211,81, 229,99",
                                    "PenColor FFFFFF",
                                    "BrushColor FFFFFF",
                                    "Ellipse 192,92, 208,108",
                                    "Ellipse 202,102, 218,118",
                                    "Ellipse 212,82, 228,98",
                                    "Line 200,100, 210,110, 8",
                                    "Line 220,90, 210,110, 8",
                                    "PenColor FF0000",
                                    "BrushColor FF0000",
                                    "Ellipse 195,95, 205,105",
                                    "PenColor 00FF00",
                                    "BrushColor 00FF00",
                                    "Ellipse 205,105, 215,115",
                                    "PenColor 0000FF",
                                    "BrushColor 0000FF",
                                    "Ellipse 215,85, 225,95",
                                    "BrushColor FFFFFF",
                                    "Ellipse 217,87, 223,93",
                                    "BrushColor FFFFFF",
                                }));
  // clang-format on
  // A transfer switched off in the editor is not drawn.
  map.Transfers[1]->Visible = false;
  map.BuildDrawing(true);
  EXPECT_EQ(LayerText(map).find("Line 220,90, 210,110"), std::string::npos);
}

// A map over its own picture: white boxes over the picture's labels, then
// every label: upper case, word wrap at the first blank, both orientations,
// anchors on either side, and the halo by text colour when there is no
// background (white text: a darker copy; grey: both copies; black: a white
// copy; with a background: none).
TEST_F(MapDrawingTest, LabelsOfAMapOverItsPicture) {
  TMetroMap& map = city.LoadMap("Labels.map");
  std::string expected = Utf8ToCp1251(Lines({
      "Size 1x1",
      "PenColor FFFFFF",
      "BrushColor FFFFFF",
      "Polygon 20,80, 90,80, 90,110, 20,110, 20,80",
      "Polygon 210,110, 270,110, 270,124, 210,124, 210,110",
      "Polygon 310,40, 324,40, 324,90, 310,90, 310,40",
      "Polygon 150,30, 190,30, 190,42, 150,42, 150,30",
      "Polygon 190,160, 204,160, 204,200, 190,200, 190,160",
      "Polygon 400,10, 450,10, 450,30, 400,30, 400,10",
      "Polygon 400,50, 450,50, 450,70, 400,70, 400,50",
      "BrushColor -1",
      "PenColor 7F7F7F",
      "AngleTextOut 0, , 0, 89.5, 80.5, \"ПАРК,\\nПОБЕДЫ\", 0, 2",
      "PenColor FFFFFF",
      "AngleTextOut 0, , 0, 89, 80, \"ПАРК,\\nПОБЕДЫ\", 0, 2",
      "PenColor 7F7F7F",
      "AngleTextOut 0, , 0, 211.5, 117.5, CENTRAL, 0, 1",
      "PenColor FFFFFF",
      "AngleTextOut 0, , 0, 211, 117, CENTRAL, 0, 1",
      "PenColor 7F7F7F",
      "AngleTextOut 90, , 0, 310.5, 90.5, EAST",
      "PenColor FFFFFF",
      "AngleTextOut 90, , 0, 310, 90, EAST",
      "PenColor 404040",
      "AngleTextOut 0, , 0, 189.5, 36.5, NORTH, 0, 3",
      "PenColor FFFFFF",
      "AngleTextOut 0, , 0, 188.5, 35.5, NORTH, 0, 3",
      "PenColor 808080",
      "AngleTextOut 0, , 0, 189, 36, NORTH, 0, 3",
      "PenColor 404040",
      "AngleTextOut 90, , 0, 190.5, 160.5, SOUTH, 0, 2",
      "PenColor FFFFFF",
      "AngleTextOut 90, , 0, 189.5, 159.5, SOUTH, 0, 2",
      "PenColor 808080",
      "AngleTextOut 90, , 0, 190, 160, SOUTH, 0, 2",
      "PenColor FFFFFF",
      "AngleTextOut 0, , 0, 400.5, 19.5, DEPOT, 0, 1",
      "PenColor 000000",
      "AngleTextOut 0, , 0, 401, 20, DEPOT, 0, 1",
      "BrushColor FFFF00",
      "PenColor 0000FF",
      "AngleTextOut 0, , 0, 401, 60, LOOP, 0, 1",
  }));
  EXPECT_EQ(LayerText(map), expected);
}

TEST_F(MapDrawingTest, WithoutWordWrapOrUpperCaseTheNameStaysAsWritten) {
  TMetroMap& map = city.LoadMap("Labels.map");
  map.WordWrap = false;
  map.UpperCase = false;
  map.BuildDrawing(true);
  std::string text = LayerText(map);
  EXPECT_NE(text.find(Utf8ToCp1251("AngleTextOut 0, , 0, 89, 95, \"Парк, Победы\", 0, 3")), std::string::npos)
      << text;
  EXPECT_NE(text.find("AngleTextOut 0, , 0, 211, 117, Central, 0, 1"), std::string::npos) << text;
}

class LabelVisibilityTest : public MapDrawingTest {
 protected:
  void TearDown() override { LoadSettings(test::CityDir("none").string()); }
};

TEST_F(LabelVisibilityTest, LabelLayerFollowsTheSettingForPictureMapsOnly) {
  test::TTempDir dir;
  std::string ini = (dir.Path() / "Varnik.ini").string();
  TMetroMap& labels = city.LoadMap("Labels.map");
  TMetroMap& metro = city.LoadMap("Metro.map");

  LoadSettings(ini);  // no file: labels of picture maps hidden
  labels.UpdateLabelsVisibility();
  metro.UpdateLabelsVisibility();
  EXPECT_FALSE(labels.Layers.back()->Visible);
  EXPECT_EQ(labels.Width(), 0);  // a hidden layer does not count for the extent
  EXPECT_TRUE(metro.Layers.back()->Visible);

  dir.Write("Varnik.ini", "[Options]\nDrawLabels=2\n");
  LoadSettings(ini);
  labels.UpdateLabelsVisibility();
  EXPECT_TRUE(labels.Layers.back()->Visible);
  EXPECT_EQ(labels.Width(), 1);
}

}  // namespace
}  // namespace varnik
