// The map commands of varnik as a user runs them: the layer text, PNG sizes
// and paths of render, and save writing into the city's own directory.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

using test::RunTool;

std::string Quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

uint32_t BigEndian(const std::string& bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
  return v;
}

// "WxH" from a PNG header, or "" when the bytes are no PNG.
std::string PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) return "";
  return std::to_string(BigEndian(bytes, 16)) + "x" + std::to_string(BigEndian(bytes, 20));
}

class MapCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    city.Write("Town.cty", "[Options]\nName=Town\n");
    city.Write("Metro.trp", "[Line1]\nName=Синяя\nStations=Север,Юг\nDriving=2\n");
    city.Write("Back.vec", "Size 40x30\n");
    city.Write("Metro.map",
               "; keep me\n[Options]\nImageFileName=Back.vec\nStationDiameter=6\n\n[Синяя]\nColor=0000FF\n"
               "Coordinates=10,10,30 ,20\nRect=1,2,3,4,99\n");
    city.Write("Night.map", "[Синяя]\nCoordinates=5,5, 6,6\nRect=1,2,3,4\n");
  }
  std::string CityArgument() const { return Quoted(city.Path()); }
  test::TTempDir city;
  test::TTempDir work;
};

TEST_F(MapCliTest, LayerPrintsTheMapsOwnDrawing) {
  auto r = RunTool("varnik", "layer " + CityArgument());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  // A line, its two stations and its legend.
  EXPECT_EQ(r.Out, test::CityText("Size 1x1\nPenColor 0000FF\nLine 10,10, 30,20, 9\nPenColor FFFF00\n"
                                  "BrushColor 0000FF\nEllipse 7,7, 13,13\nEllipse 27,17, 33,23\n"
                                  "PenColor 0000FF\nLine 7,4, 19,4, 9\nPenColor FFFF00\nEllipse 10,1, 17,8\n"
                                  "PenColor FFFFFF\nBrushColor FFFFFF\n"));
  r = RunTool("varnik", "layer " + CityArgument() + " --map NIGHT.map");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("Line 5,5, 6,6, 9"), std::string::npos) << r.Out;
}

TEST_F(MapCliTest, RenderSizesFollowTheMapsExtentAndTheZoom) {
  struct {
    const char* options;
    const char* size;
  } cases[] = {
      {"", "40x30"}, {"--zoom 2 --smooth 1", "80x60"}, {"--size 7x5", "7x5"}, {"--map Night.map", "1x1"}};
  for (const auto& c : cases) {
    std::filesystem::remove(work.Path() / "map.png");
    auto r = RunTool(
        "varnik", "render " + CityArgument() + " --out " + Quoted(work.Path() / "map.png") + " " + c.options);
    ASSERT_EQ(r.ExitCode, 0) << c.options << r.Err;
    EXPECT_EQ(PngSize(work.ReadBytes("map.png")), c.size) << c.options;
  }
}

TEST_F(MapCliTest, RenderWritesMapPngInTheStartingDirectory) {
  test::TScopedCurrentDir here(work.Path());
  auto r = RunTool("varnik", "render " + CityArgument() + " --repeat 2");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("median draw time"), std::string::npos);
  EXPECT_EQ(PngSize(work.ReadBytes("map.png")), "40x30");
  EXPECT_FALSE(std::filesystem::exists(city.Path() / "map.png"));
}

TEST_F(MapCliTest, RenderWritesSvgAndPdfPagesOfTheMapsExtent) {
  auto r = RunTool("varnik", "render " + CityArgument() + " --out " + Quoted(work.Path() / "map.svg"));
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string svg = work.ReadBytes("map.svg");
  EXPECT_NE(svg.find("viewBox=\"0 0 40 30\""), std::string::npos);
  EXPECT_NE(svg.find("<circle"), std::string::npos) << "the station";
  r = RunTool("varnik", "render " + CityArgument() + " --out " + Quoted(work.Path() / "map.pdf") + " --zoom 2");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(work.ReadBytes("map.pdf").find("/MediaBox [0 0 60"), std::string::npos);
}

TEST_F(MapCliTest, UnknownMapIsRefused) {
  for (const char* command : {"render", "save", "layer"}) {
    auto r = RunTool("varnik", std::string(command) + " " + CityArgument() + " --map Day.map");
    EXPECT_EQ(r.ExitCode, 1) << command;
    EXPECT_EQ(r.Err, "varnik: the city has no map Day.map\n") << command;
  }
}

// Saving from elsewhere writes into the city's files; legend rectangles are
// written only when no map was named, as the editor does.
TEST_F(MapCliTest, SaveWritesTheCityDirectory) {
  test::TScopedCurrentDir here(work.Path());
  auto r = RunTool("varnik", "save " + CityArgument() + " --map Metro.map");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(city.ReadBytes("Metro.map"),
            test::CityText("; keep me\n[Options]\nImageFileName=Back.vec\nStationDiameter=6\n\n[Синяя]\n"
                           "Color=0000FF\nCoordinates=10,10, 30,20\nRect=1,2,3,4,99\nRects=\n"));
  r = RunTool("varnik", "save " + CityArgument());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(city.ReadBytes("Metro.map").find("Rect=1,2,3,4\r\nRects=\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(work.Path()));
}

}  // namespace
}  // namespace varnik
