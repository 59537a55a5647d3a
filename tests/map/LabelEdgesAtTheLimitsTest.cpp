// Label rectangles whose edges pass the limits of a 32-bit number, as a
// damaged file or a slip of the keyboard leaves them. The file stores
// Left,Top,Width,Height; the edges wrap around when read, and everything
// that measures or centres a label works from the stored width and height,
// so such a map draws with defined arithmetic (the sanitizer build checks
// that part) and is written back unchanged.

#include <gtest/gtest.h>

#include <filesystem>

#include "MapTestCity.h"
#include "map/uCitySaver.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;

class LabelEdgesTest : public test::TSavedCityTest {
 protected:
  void SetUp() override {
    CopyAndLoad(fs::path(VARNIK_TEST_DATA) / "regressions" / "label-edges-at-the-int-limits");
  }
};

TEST_F(LabelEdgesTest, WidthAndHeightAreThoseOfTheFile) {
  ASSERT_EQ(map->Lines.size(), 1u);
  const auto& stations = map->Lines[0]->Stations;
  ASSERT_EQ(stations.size(), 3u);
  const TRect& a = stations[0]->LabelRect;
  EXPECT_LT(a.Right, a.Left);  // wrapped
  EXPECT_EQ(RectWidth(a), 100);
  EXPECT_EQ(RectHeight(a), 14);
  EXPECT_EQ(stations[1]->LabelRect.Right, INT32_MIN);
  EXPECT_EQ(RectHeight(stations[2]->LabelRect), 40);
}

TEST_F(LabelEdgesTest, LabelsAreAnchoredWithoutWrapping) {
  const std::string layer = test::LayerText(*map);
  const std::string labels = layer.substr(layer.find("AngleTextOut"));
  EXPECT_EQ(labels, test::Lines({
                        // Centred on its true middle, not on a wrapped sum of its edges.
                        "AngleTextOut 0, , 0, 2147483601, 2147483607, A, 0, 1",
                        // Ends one short of its right edge, which lies at the lowest number.
                        "AngleTextOut 0, , 0, -2147483649, 95, B, 0, 3",
                        // Taller than wide by the file's numbers: written at 90 degrees.
                        "AngleTextOut 90, , 0, 120, 2147483640, C, 0, 2",
                    }));
}

TEST_F(LabelEdgesTest, SavingWritesTheRectanglesBackUnchanged) {
  const std::string before = dir.ReadBytes("Metro.map");
  EXPECT_TRUE(Save(false));
  EXPECT_EQ(dir.ReadBytes("Metro.map"), before);
  EXPECT_TRUE(messages.Entries.empty());
}

}  // namespace
}  // namespace varnik
