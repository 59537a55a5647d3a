// What the station dialog fills in and how its texts are applied.

#include "EditorTestCity.h"
#include "editor/uStationEdit.h"
#include "map/uLayer.h"
#include "network/uRoute.h"

namespace varnik {
namespace {

using test::EditorTest;

class StationEditTest : public EditorTest {
 protected:
  TStop& Beta() { return *Station(0, 1).Stop; }
  TStationFields Fields(const char* name, const char* forwardNames, const char* forwardTimes) {
    TStationFields f;
    f.Name = Utf8ToCp1251(name);
    f.ForwardNames = Utf8ToCp1251(forwardNames);
    f.ForwardTimes = forwardTimes;
    return f;
  }
};

TEST_F(StationEditTest, FieldsListTheNeighboursWithTheirTimes) {
  const TStationFields f = StationFields(Station(0, 1));
  EXPECT_EQ(Cp1251ToUtf8(f.Name), "Бета");
  EXPECT_EQ(Cp1251ToUtf8(f.ForwardNames), "Гамма\r\n");
  EXPECT_EQ(f.ForwardTimes, "2.30\r\n");
  EXPECT_EQ(Cp1251ToUtf8(f.BackwardNames), "Альфа\r\n");
  EXPECT_EQ(f.BackwardTimes, "2\r\n");
  // The first station has no backward neighbour.
  EXPECT_EQ(StationFields(Station(0, 0)).BackwardNames, "");
}

TEST_F(StationEditTest, TimesGoByLineAndMissingOnesAreZero) {
  ApplyStationFields(editor, Station(0, 1),
                     Fields(" Бета ", "Альфа\r\nГамма\r\n-Площадь, север\r\n", "1.30\r\n"));
  EXPECT_EQ(Cp1251ToUtf8(Beta().Station->Name), "Бета");
  ASSERT_EQ(Beta().Forward.size(), 3u);
  EXPECT_EQ(Beta().Forward[0]->Time, 90);
  EXPECT_EQ(Beta().Forward[1]->Time, 0);
  EXPECT_EQ(Beta().Forward[2]->Time, 0);
  EXPECT_TRUE(Beta().Forward[2]->Reversed);
  EXPECT_EQ(Beta().Forward[2]->Stop, Station(0, 3).Stop);
  EXPECT_TRUE(Beta().Backward.empty());
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(StationEditTest, AStopOfAnotherRouteIsDroppedAfterTheRoutesMessage) {
  const TImage* layer = Map().Layers.back()->Image;
  ApplyStationFields(editor, Station(0, 1), Fields("Бета", "Дельта\r\n\r\nГамма", "1\r\n2\r\n3"));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Station Дельта not found in Route Красная"});
  ASSERT_EQ(Beta().Forward.size(), 1u);
  EXPECT_EQ(Beta().Forward[0]->Stop, Station(0, 2).Stop);
  EXPECT_EQ(Beta().Forward[0]->Time, 180);  // the time of its own line
  // The neighbour's own lists are not adjusted.
  EXPECT_EQ(Station(0, 0).Stop->Forward.size(), 1u);
  // The map is drawn anew.
  EXPECT_NE(Map().Layers.back()->Image, layer);
}

}  // namespace
}  // namespace varnik
