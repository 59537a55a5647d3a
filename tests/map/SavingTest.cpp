#include <gtest/gtest.h>

#include "MapTestCity.h"
#include "map/uCitySaver.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

const char* kSavedMap =
    "; Map of the saving test\n"
    "[Options]\n"
    "StationDiameter=11\n"
    "LinesWidth = 9\n"
    "\n"
    "[Red]\n"
    "Color = FF0000\n"
    "Coordinates=100,100, 200,100, 300,100\n"
    "Rects=10,80,60,14\n"
    "Rect=\n"
    "; a note under Red\n"
    "\n"
    "[Notes]\n"
    "Anything=kept as written\n"
    "\n"
    "[Blue]\n"
    "Color=0000FF\n"
    "Heights=1,2,3\n"
    "Coordinates=200,50, 200,100\n"
    "Rects=\n"
    "Rect=\n"
    "\n"
    "[AdditionalNodes]\n"
    "1=Red,\"Парк, Победы\",Central, 150,90\n"
    "1=Blue,North,Central, 210,70, spline\n"
    "[StationLabels]\n"
    "Something odd\n"
    "[]\n";

class SavingTest : public test::TSavedCityTest {
 protected:
  void SetUp() override { CopyAndLoad(test::CityDir("Saving")); }
  std::string File(const char* name) const { return dir.ReadBytes(name); }
};

TEST_F(SavingTest, OnlyTheEditorsKeysChange) {
  std::string transportBefore = File("Metro.trp");
  ASSERT_TRUE(Save());
  EXPECT_EQ(File("Metro.map"), test::CityText(kSavedMap));
  // The driving times are written in their canonical form; nothing else of
  // the transport file moves.
  EXPECT_EQ(File("Metro.trp"), ReplaceAll(transportBefore, "Driving=(2,2.30),3", "Driving=2,3"));
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SavingTest, TwoSavesInARowGiveTheSameFiles) {
  ASSERT_TRUE(Save());
  std::string map1 = File("Metro.map"), transport1 = File("Metro.trp");
  ASSERT_TRUE(Save());
  EXPECT_EQ(File("Metro.map"), map1);
  EXPECT_EQ(File("Metro.trp"), transport1);
}

TEST_F(SavingTest, KeysOfSegmentsGoneSinceTheLastSaveAreRemoved) {
  // A key the load did not take (no such line) is the user's and stays.
  dir.WriteBytes("Metro.map", ReplaceAll(File("Metro.map"), "[StationLabels]", "7=Green,A,B, 1,1\r\n[StationLabels]"));
  Load();
  messages.Entries.clear();
  map->Lines[0]->Segments.clear();  // Red's "1"
  ASSERT_TRUE(Save());
  std::string saved = File("Metro.map");
  EXPECT_NE(saved.find("[AdditionalNodes]\r\n1=Blue,North,Central, 210,70, spline\r\n7=Green,A,B, 1,1\r\n["),
            std::string::npos)
      << saved;
  map->Lines[1]->Segments.clear();
  ASSERT_TRUE(Save());
  EXPECT_NE(File("Metro.map").find("[AdditionalNodes]\r\n7=Green,A,B, 1,1\r\n["), std::string::npos);
}

TEST_F(SavingTest, LegendRectsAreWrittenOnlyWhenAsked) {
  map->Lines[0]->LegendRect = TRect{5, 6, 25, 16};
  ASSERT_TRUE(Save(false));
  std::string saved = File("Metro.map");
  EXPECT_NE(saved.find("\r\nRect=\r\n; a note"), std::string::npos);
  EXPECT_EQ(saved.find("Rect=5,6,20,10"), std::string::npos);
  ASSERT_TRUE(Save(true));
  EXPECT_NE(File("Metro.map").find("\r\nRect=5,6,20,10\r\n; a note"), std::string::npos);
}

struct TSnapshot {
  std::vector<std::vector<int32_t>> Lines;  // per line: X, Y, label rect of each station, then the legend
  std::vector<std::string> Segments;        // the AdditionalNodes value of every segment, with its name
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snapshot(const TMetroMap& map) {
  TSnapshot s;
  for (const auto& line : map.Lines) {
    std::vector<int32_t> values;
    for (const auto& st : line->Stations) {
      const TRect& r = st->LabelRect;
      values.insert(values.end(), {st->Coordinate.X, st->Coordinate.Y, r.Left, r.Top, r.Right, r.Bottom});
    }
    const TRect& l = line->LegendRect;
    values.insert(values.end(), {l.Left, l.Top, l.Right, l.Bottom});
    s.Lines.push_back(values);
    for (const auto& segment : line->Segments) {
      s.Segments.push_back(segment->Name + "=" + line->SegmentValue(*segment));
    }
  }
  return s;
}

TEST_F(SavingTest, EditedModelSurvivesALoadSaveLoadRoundTrip) {
  TMetroMapLine& red = *map->Lines[0];
  TMetroMapLine& blue = *map->Lines[1];
  red.Stations[2]->Coordinate = {310, 120, 0};
  red.Stations[2]->LabelRect = TRect{320, 110, 330, 160};
  red.LegendRect = TRect{10, 400, 90, 420};
  blue.Stations[2]->Coordinate = {200, 180, 0};
  auto segment = std::make_unique<TMetroMapSegment>();
  segment->Name = "2";
  segment->FromStation = blue.Stations[2].get();
  segment->ToStation = blue.Stations[1].get();
  segment->Spline = true;
  segment->AddNode(0, 0);
  segment->AddNode(215, 140);
  segment->AddNode(212, 120);
  segment->AddNode(0, 0);
  blue.Segments.push_back(std::move(segment));
  map->SyncSegmentEnds();
  TSnapshot edited = Snapshot(*map);

  ASSERT_TRUE(Save());
  Load();
  EXPECT_EQ(Snapshot(*map), edited);
  EXPECT_NE(File("Metro.map").find("2=Blue,South,Central, 215,140, 212,120, spline\r\n[StationLabels]"),
            std::string::npos);
}

TEST_F(SavingTest, TransportFilesTakeTheRoutesAsEdited) {
  TRoute& blue = *city->Transports.Items[0]->Routes[1];
  blue.Stops[1]->Station->Name = "Middle";
  ASSERT_TRUE(Save());
  EXPECT_NE(File("Metro.trp").find("[Line2]\r\nName=Blue\r\nStations=North,Middle,South\r\nDriving=1,1\r\n"),
            std::string::npos);
}

// The program lies in the build tree, the city in a temporary directory:
// the map must be written beside the city's other files.
TEST_F(SavingTest, MapIsSavedIntoTheCityDirectory) {
  std::string programMap = ProgramDir() + "Metro.map";
  ASSERT_FALSE(FileExists(programMap));
  ASSERT_NE(std::filesystem::path(ProgramDir()), dir.Path() / "");
  ASSERT_TRUE(Save());
  EXPECT_FALSE(FileExists(programMap));
  EXPECT_EQ(File("Metro.map"), test::CityText(kSavedMap));
}

TEST_F(SavingTest, FailedWriteIsReportedOnceAndTheRestIsSaved) {
  std::filesystem::remove(dir.Path() / "Metro.map");
  std::filesystem::create_directory(dir.Path() / "Metro.map");
  EXPECT_FALSE(Save());
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{Utf8ToCp1251("Не удалось сохранить файл Metro.map")});
  EXPECT_NE(File("Metro.trp").find("Driving=2,3"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Metro.map"));
}

TEST_F(SavingTest, WithoutAMapOnlyTheTransportsAreSaved) {
  std::string mapBefore = File("Metro.map");
  test::TScopedCurrentDir here(dir.Path());
  ASSERT_TRUE(SaveCity(nullptr, city->Transports, true));
  EXPECT_EQ(File("Metro.map"), mapBefore);
  EXPECT_NE(File("Metro.trp").find("Driving=2,3"), std::string::npos);
}

TEST(MapCleanUp, TrimsEveryLineAndDropsWhatFollowsAnEmptySection) {
  struct {
    std::string before, after;
  } cases[] = {
      {"", ""},
      {"  [A]  \r\n\tk = v \r\n", "[A]\r\nk = v\r\n"},
      {"[A]\r\n [] \r\nk=v\r\n[B]\r\n", "[A]\r\n[]\r\n"},
      {"[A]\rk=v", "[A]\r\nk=v\r\n"},
      {"[A]\nk=v\r\n", "[A]\nk=v\r\n"},  // a LF alone does not end a line
  };
  for (const auto& c : cases) EXPECT_EQ(CleanUpMapText(c.before), c.after) << c.before;
}

}  // namespace
}  // namespace varnik
