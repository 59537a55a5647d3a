#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "city/uCity.h"
#include "map/uCitySaver.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

using Texts = std::vector<std::string>;

class CityTest : public ::testing::Test {
 protected:
  // Every complete city has a map; the tests about transports give it one.
  void SetUp() override { dir.Write("Metro.map", "[Options]\n"); }
  void Load(const std::optional<std::string>& argument = std::nullopt) {
    test::TScopedCurrentDir here(dir.Path());
    city.LoadFromDir(argument);
  }
  Texts MapNames() const {
    Texts names;
    for (const auto& map : city.Maps) names.push_back(map->Name);
    return names;
  }
  Texts FileNames() const {
    Texts names;
    for (const auto& t : city.Transports.Items) names.push_back(t->FileName);
    return names;
  }
  test::TTempDir dir;
  TCity city;
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
};

TEST_F(CityTest, ReadsTheCityDescription) {
  dir.Write("Town.cty",
            "[Options]\nName=Town\nRusName=Город\nCountry=Land\nCityName=Город\n"
            "MapAuthors=First\\nSecond\nDelayNames=A,B\n");
  Load();
  EXPECT_EQ(city.Name, "Town");
  EXPECT_EQ(city.RusName, Utf8ToCp1251("Город"));
  EXPECT_EQ(city.MapAuthors, "First\r\nSecond");
  EXPECT_EQ(city.DelayNames, "A,B");
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(CityTest, DelayNamesDefaultToDayAndNight) {
  for (std::string line : {"", "DelayNames=,\n"}) {
    dir.Write("Town.cty", "[Options]\n" + line);
    Load();
    EXPECT_EQ(city.DelayNames, Utf8ToCp1251("День,Ночь")) << line;
  }
}

TEST_F(CityTest, VersionCheckWarnsAndLoadsOn) {
  struct Case {
    std::string need;
    bool warns;
  } cases[] = {{"5.0", false}, {"4.9", false}, {"", false}, {"5.0.1", true}, {"5.1", true}, {"6", true}};
  dir.Write("Metro.trp", "[Line1]\nName=A\nStations=X,Y\n");
  for (const Case& c : cases) {
    messages.Entries.clear();
    dir.Write("Town.cty", "[Options]\nNeedVersion=" + c.need + "\nName=Town\n");
    Load();
    if (c.warns) {
      ASSERT_EQ(messages.Entries.size(), 1u) << c.need;
      EXPECT_EQ(messages.Entries[0].Text, Utf8ToCp1251("Требуется версия Varnik не ниже " + c.need + "!"));
      EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Warning);
    } else {
      EXPECT_TRUE(messages.Entries.empty()) << c.need;
    }
    EXPECT_EQ(city.Name, "Town");
    EXPECT_EQ(city.Transports.Items.size(), 1u);
  }
}

TEST_F(CityTest, MetroComesFirstThenOtherFilesByName) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Bus.trp", "[Line1]\nName=Bus\nStations=X\n");
  dir.Write("Metro.trp", "[Line1]\nName=M\nStations=X\n");
  dir.Write("aero.trp", "[Line1]\nName=Air\nStations=X\n");
  dir.Write("Zoo.TRP", "[Line1]\nName=Zoo\nStations=X\n");
  dir.Write("notes.txt", "[Line1]\n");
  Load();
  EXPECT_EQ(FileNames(), (Texts{"Metro.trp", "aero.trp", "Bus.trp", "Zoo.TRP"}));
  ASSERT_EQ(city.Stations.size(), 4u);
  EXPECT_EQ(city.Stations[0]->Route->Name, "M");
  EXPECT_EQ(city.Stations[3]->Route->Transport, city.Transports.Items[3].get());
}

TEST_F(CityTest, LowerCaseMetroFileIsStillTheMetro) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Bus.trp", "[Line1]\nName=Bus\nStations=X\n");
  dir.Write("metro.TRP", "[Line1]\nName=M\nStations=X\n");
  Load();
  EXPECT_EQ(FileNames(), (Texts{"metro.TRP", "Bus.trp"}));
}

TEST_F(CityTest, TransfersMayOnlyNameFilesLoadedBefore) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Metro.trp", "[Line1]\nName=M\nStations=Hub\n[Transfers]\n1=M,Hub,Tram,Hub,1\n");
  dir.Write("Tram.trp", "[Line1]\nName=Tram\nStations=Hub\n[Transfers]\n2=Tram,Hub,M,Hub,2\n");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TTransports.FindRouteByName: Route Tram not found"});
  TStation* hub = city.Stations[0];
  ASSERT_EQ(hub->Transfers.size(), 1u);
  EXPECT_EQ(hub->Transfers[0]->Name, "-2");
  EXPECT_EQ(hub->Transfers[0]->Station->Route->Name, "Tram");
}

TEST_F(CityTest, LoadFailuresStopWithTheirMessages) {
  std::filesystem::remove(dir.Path() / "Metro.map");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TCity.LoadFromDir: *.cty file not found."});
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Foreground);

  messages.Entries.clear();
  dir.Write("a.cty", "[Options]\nName=A\n");
  dir.Write("b.CTY", "[Options]\nName=B\n");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TCity.LoadFromDir: multiple *.cty not supported."});
  EXPECT_EQ(city.Name, "");
}

TEST_F(CityTest, SecondMetroFileStopsAfterTheDescription) {
  dir.Write("Town.cty", "[Options]\nName=Town\n");
  dir.Write("Metro.trp", "[Line1]\nName=M\nStations=X\n");
  dir.Write("METRO.trp", "[Line1]\nName=N\nStations=X\n");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TCity.LoadFromDir: multiple Metro.trp not supported."});
  EXPECT_EQ(city.Name, "Town");
  EXPECT_TRUE(city.Transports.Items.empty());
}

TEST_F(CityTest, MetroMapIsCurrentAndParentOfTheOthers) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Night.map", "[Options]\n");
  dir.Write("a.map", "[Options]\n");
  Load();
  EXPECT_EQ(MapNames(), (Texts{"Metro.map", "a.map", "Night.map"}));
  EXPECT_EQ(city.CurrentMap, city.Maps[0].get());
  EXPECT_EQ(city.Maps[0]->ParentMap, nullptr);
  EXPECT_EQ(city.Maps[2]->ParentMap, city.Maps[0].get());
  EXPECT_TRUE(messages.Entries.empty());

  Load(std::string("night.MAP"));
  EXPECT_EQ(city.CurrentMap->Name, "Night.map");
  Load(std::string("nothing.map"));
  EXPECT_EQ(city.CurrentMap->Name, "Metro.map");
  EXPECT_FALSE(city.SelectMap("nothing.map"));
  EXPECT_TRUE(city.SelectMap("A.MAP"));
  EXPECT_EQ(city.CurrentMap, city.Maps[1].get());
}

TEST_F(CityTest, WithoutMetroMapTheFirstMapIsCurrentAndNoneHasAParent) {
  std::filesystem::remove(dir.Path() / "Metro.map");
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("b.map", "[Options]\n");
  dir.Write("A.map", "[Options]\n");
  Load();
  EXPECT_EQ(MapNames(), (Texts{"A.map", "b.map"}));
  EXPECT_EQ(city.CurrentMap, city.Maps[0].get());
  EXPECT_EQ(city.Maps[1]->ParentMap, nullptr);
}

TEST_F(CityTest, MapMessagesEndTheLoad) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("METRO.MAP", "[Options]\n");
  dir.Write("Other.map", "[Options]\n");
  dir.Write("back.png", "not really a picture");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TCity.LoadFromDir: multiple Metro.map not supported."});
  EXPECT_TRUE(city.Maps.empty());
  EXPECT_EQ(city.Images.size(), 1u);  // pictures were read before the maps

  messages.Entries.clear();
  std::filesystem::remove(dir.Path() / "METRO.MAP");
  std::filesystem::remove(dir.Path() / "Metro.map");
  std::filesystem::remove(dir.Path() / "Other.map");
  Load();
  EXPECT_EQ(messages.Texts(), Texts{"TCity.LoadFromDir: *.map not found"});
  EXPECT_EQ(city.CurrentMap, nullptr);
}

TEST_F(CityTest, PicturesAreListedTogetherAndFoundIgnoringCase) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("b.vec", "Size 10, 10\n");
  dir.Write("A.bmp", "junk");
  dir.Write("Фон.vec", "Size 10, 10\n");
  Load();
  ASSERT_EQ(city.Images.size(), 3u);
  // A picture that cannot be read stays in the list, empty and nameless.
  EXPECT_EQ(city.Images[0]->Name, "");
  EXPECT_EQ(city.FindImage("A.bmp"), nullptr);
  EXPECT_EQ(city.Images[1]->Name, "b.vec");
  EXPECT_EQ(city.FindImage("B.VEC"), city.Images[1].get());
  EXPECT_EQ(city.FindImage(Utf8ToCp1251("фОН.vec")), city.Images[2].get());
  EXPECT_EQ(city.FindImage("none.vec"), nullptr);
}

TEST_F(CityTest, ReloadStartsFromScratch) {
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("Metro.trp", "[Line1]\nName=M\nStations=X,Y\n");
  Load();
  Load();
  EXPECT_EQ(city.Transports.Items.size(), 1u);
  EXPECT_EQ(city.Stations.size(), 2u);
}

// Cities copied from a file system that ignores letter case often hold
// "metro.TRP" or "METRO.MAP". Saving must write the files that were read:
// a second "Metro.trp" beside the first would stop the next load.
TEST_F(CityTest, SavesGoToTheFilesThatWereRead) {
  std::filesystem::remove(dir.Path() / "Metro.map");
  dir.Write("Town.cty", "[Options]\n");
  dir.Write("metro.TRP", "[Line1]\nName=M\nStations=X,Y\nDriving=2\n");
  dir.Write("METRO.MAP", "[Options]\n[M]\nCoordinates=1,1, 2,2\n");
  Load();
  {
    test::TScopedCurrentDir here(dir.Path());
    EXPECT_TRUE(SaveCity(city.CurrentMap, city.Transports, true));
  }
  Texts files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (Texts{"METRO.MAP", "Town.cty", "metro.TRP"}));
  EXPECT_NE(dir.ReadBytes("METRO.MAP").find("Rects="), std::string::npos);
  Load();
  EXPECT_EQ(FileNames(), Texts{"metro.TRP"});
  EXPECT_EQ(MapNames(), Texts{"METRO.MAP"});
  EXPECT_EQ(messages.Texts(), Texts{});
}

TEST_F(CityTest, BinaryJunkLoadsWithoutCrashing) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
  dir.WriteBytes("Town.cty", junk);
  dir.WriteBytes("Metro.trp", "[Line1]\r\nName=M\r\nStations=" + junk.substr(0, 1000) + "\r\n" + junk);
  Load();
  EXPECT_EQ(city.Transports.Items.size(), 1u);
}

TEST(DemoCity, LoadsWithoutDiagnostics) {
  TRecordingSink messages;
  TScopedMessageSink scope(messages);
  TCity city;
  {
    test::TScopedCurrentDir here(std::string(VARNIK_EXAMPLES) + "/Zarechensk");
    city.LoadFromDir();
  }
  EXPECT_EQ(messages.Texts(), Texts{});
  ASSERT_GE(city.Transports.Items.size(), 2u);
  EXPECT_GE(city.Transports.Items[0]->Routes.size(), 5u);
}

}  // namespace
}  // namespace varnik
