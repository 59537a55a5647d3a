// varnik layout as a user runs it: the map file gets the new drawing, the
// transport file stays byte for byte, the figures are printed.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

TEST(LayoutCli, SavesTheMapOnlyAndPrintsTheFigures) {
  test::TTempDir city;
  city.Write("Town.cty", "[Options]\nName=Town\n");
  // Written the way the editor would not write it, so that a save of the
  // transports would show.
  const std::string transport = "[Line1]\nName=Синяя\nStations=Север,  Центр,Юг\nDriving=2, 3\n";
  city.Write("Metro.trp", transport);
  city.Write("Metro.map", "[Options]\nStationDiameter=6\nLinesWidth=4\n\n[Синяя]\nCoordinates=30,30, 75,52, 95,120\n");

  const auto r = test::RunTool("varnik", "layout '" + city.Path().string() + "' --grid 10");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("octilinear pieces: "), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("(100.0 %)"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("  Синяя: "), std::string::npos) << r.Out;
  EXPECT_EQ(city.ReadBytes("Metro.trp"), test::CityText(transport));
  // Three stations on nodes of the 10-pixel grid.
  const std::string map = city.ReadBytes("Metro.map");
  const size_t at = map.find("Coordinates=");
  ASSERT_NE(at, std::string::npos) << map;
  std::istringstream values(map.substr(at + 12, map.find('\r', at) - at - 12));
  int count = 0;
  for (std::string value; std::getline(values, value, ',');) {
    EXPECT_EQ(std::stoi(value) % 10, 0) << map;
    ++count;
  }
  EXPECT_EQ(count, 6) << map;
  EXPECT_EQ(test::RunTool("varnik", "check '" + city.Path().string() + "'").ExitCode, 0);
}

}  // namespace
}  // namespace varnik
