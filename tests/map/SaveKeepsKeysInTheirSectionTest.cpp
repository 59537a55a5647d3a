// A map file whose section header is indented (" [Blue]") reads it as an
// ordinary key of the section above. Saving trims every line, which makes
// it a header; keys the save added to the section above must still land in
// that section, not below the new header where the next load loses them.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "MapTestCity.h"
#include "map/uCitySaver.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;

class IndentedHeaderTest : public test::TSavedCityTest {
 protected:
  void SetUp() override { CopyAndLoad(fs::path(VARNIK_TEST_DATA) / "regressions" / "indented-section-header"); }
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
      files[entry.path().filename().string()] = dir.ReadBytes(entry.path().filename().string());
    return files;
  }
};

TEST_F(IndentedHeaderTest, LabelAddedAboveTheHeaderSurvivesTheNextLoad) {
  ASSERT_EQ(map->Lines.size(), 1u);  // Blue has no section as read
  map->Lines[0]->Stations[1]->LabelRect = TRect{25, 15, 65, 29};
  Save();
  EXPECT_EQ(dir.ReadBytes("Metro.map"),
            "; The Blue header is indented, so it is read as a key of Red.\r\n"
            "[Red]\r\nCoordinates=10,10, 20,20\r\nRects=0,0,0,0, 25,15,40,14\r\nRect=\r\n"
            "[Blue]\r\nCoordinates=30,30, 40,40\r\n");
  Load();
  ASSERT_EQ(map->Lines.size(), 2u);
  EXPECT_EQ(map->Lines[0]->Stations[1]->LabelRect, (TRect{25, 15, 65, 29}));
  EXPECT_EQ(map->Lines[1]->Stations[1]->Coordinate.X, 40);
}

// The editor saves on a timer without loading again in between: the second
// save must not move anything the first one wrote.
TEST_F(IndentedHeaderTest, SecondSaveRightAfterTheFirstChangesNothing) {
  Save();
  const auto first = Files();
  Save();
  EXPECT_EQ(Files(), first);
}

}  // namespace
}  // namespace varnik
