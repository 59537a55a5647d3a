// Writing fresh city directories: what is written loads back without a
// diagnostic and as it was meant, transfers included.

#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "city/uCityWriter.h"
#include "core/uUtils.h"
#include "city/uCity.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

// Loads the city written into `dir`, recording every message.
void LoadWritten(const TFreshCity& fresh, const test::TTempDir& dir, TCity& city, TRecordingSink& messages) {
  std::string error;
  ASSERT_TRUE(WriteCityFiles(dir.Path(), CityFiles(fresh), error)) << error;
  test::TScopedCurrentDir inDir(dir.Path());
  TScopedMessageSink scope(messages);
  city.LoadFromDir();
}

TRoute& AddRoute(TTransport& transport, const std::string& name, const std::vector<std::string>& stations) {
  auto route = std::make_unique<TRoute>();
  route->Name = route->Alias = Utf8ToCp1251(name);
  route->Delays = "2,5";
  for (const std::string& station : stations) {
    auto stop = std::make_unique<TStop>();
    stop->Station->Name = stop->Station->Alias = Utf8ToCp1251(station);
    route->Stops.push_back(std::move(stop));
  }
  for (size_t i = 0; i + 1 < route->Stops.size(); ++i) {
    for (auto [from, to] : {std::pair(i, i + 1), std::pair(i + 1, i)}) {
      auto neibour = std::make_unique<TNeibourStop>();
      neibour->Stop = route->Stops[to].get();
      neibour->Time = 90;
      (from < to ? route->Stops[from]->Forward : route->Stops[from]->Backward).push_back(std::move(neibour));
    }
  }
  transport.Routes.push_back(std::move(route));
  return *transport.Routes.back();
}

TTransport& AddTransport(TFreshCity& city, const std::string& file) {
  auto transport = std::make_unique<TTransport>();
  transport->FileName = file;
  city.Transports.Items.push_back(std::move(transport));
  city.Map->Transports.push_back(city.Transports.Items.back().get());
  return *city.Transports.Items.back();
}

void AddTransfer(TStation& from, TStation& to, const std::string& name, int32_t time, bool invisible = false,
                 uint8_t kind = 0) {
  auto transfer = std::make_unique<TTransfer>();
  transfer->Name = name;
  transfer->Station = &to;
  transfer->Time = time;
  transfer->Invisible = invisible;
  transfer->Kind = kind;
  from.Transfers.push_back(std::move(transfer));
}

TEST(CityWriter, AnEmptyCityLoadsWithoutADiagnostic) {
  test::TTempDir dir;
  const auto fresh = EmptyCity(Utf8ToCp1251("Новгород"), 300, 200);
  TCity city;
  TRecordingSink messages;
  LoadWritten(*fresh, dir, city, messages);
  EXPECT_TRUE(messages.Texts().empty());
  EXPECT_EQ(Cp1251ToUtf8(city.Name), "Новгород");
  EXPECT_EQ(city.DelayNames, Utf8ToCp1251("День,Ночь"));
  ASSERT_EQ(city.Transports.Items.size(), 1u);
  EXPECT_TRUE(city.Transports.Items[0]->Routes.empty());
  ASSERT_NE(city.CurrentMap, nullptr);
  EXPECT_EQ(city.CurrentMap->Width(), 300);
  EXPECT_EQ(city.CurrentMap->Height(), 200);
  EXPECT_TRUE(std::filesystem::exists(dir.Path() / "Новгород.cty"));
}

TEST(CityWriter, TransfersGoIntoTheFileLoadedLaterAndLoadBackWhole) {
  auto fresh = EmptyCity("Town", 500, 500);
  fresh->Header.MapAuthors = "'Team'\nSecond line";
  // "Metro.trp" loads first, then the others by name: Bus before Tram.
  TTransport& tram = AddTransport(*fresh, "Tram.trp");
  TTransport& bus = AddTransport(*fresh, "Bus.trp");
  TRoute& red = AddRoute(*fresh->Transports.Items[0], "Red", {"Park, North", "Central"});
  TRoute& bus7 = AddRoute(bus, "7", {"Central", "Market"});
  TRoute& tram1 = AddRoute(tram, "T1", {"Market", "Central"});
  fresh->Transports.Link();
  AddTransfer(*red.Stops[1]->Station, *bus7.Stops[0]->Station, "a", 60, true);
  AddTransfer(*bus7.Stops[0]->Station, *red.Stops[1]->Station, "-a", 90, true);
  AddTransfer(*tram1.Stops[0]->Station, *bus7.Stops[1]->Station, "b", 30, false, 2);
  AddTransfer(*bus7.Stops[1]->Station, *tram1.Stops[0]->Station, "-b", 30, false, 2);

  std::map<std::string, std::string> files;
  for (const TCityFile& file : CityFiles(*fresh)) files[file.Name] = file.Bytes;
  EXPECT_TRUE(files["Bus.trp"].ends_with("[Transfers]\r\n1=Red,Central,7,Central,1,1.30,invisible\r\n"));
  EXPECT_TRUE(
      files["Tram.trp"].ends_with("[Transfers]\r\n1=T1,Market,7,Market,0.30\r\n\r\n"
                                  "[AdditionalInfo]\r\nOnePlatformTransfers=1,parallel\r\n"));

  test::TTempDir dir;
  TCity city;
  TRecordingSink messages;
  LoadWritten(*fresh, dir, city, messages);
  EXPECT_TRUE(messages.Texts().empty());
  EXPECT_EQ(city.MapAuthors, "'Team'\r\nSecond line");
  const TRoute* loadedRed = city.Transports.FindRouteByName("Red", false);
  ASSERT_NE(loadedRed, nullptr);
  EXPECT_EQ(loadedRed->StationsToString(), "\"Park, North\",Central");
  EXPECT_EQ(loadedRed->DrivingToString(), "1.30");
  EXPECT_EQ(loadedRed->Delays, "2,5");
  const TStation& central = *loadedRed->Stops[1]->Station;
  ASSERT_EQ(central.Transfers.size(), 1u);
  EXPECT_EQ(central.Transfers[0]->Time, 60);
  EXPECT_TRUE(central.Transfers[0]->Invisible);
  const TStation& market = *city.Transports.FindRouteByName("7", false)->Stops[1]->Station;
  ASSERT_EQ(market.Transfers.size(), 1u);
  EXPECT_EQ(market.Transfers[0]->Kind, 2);
  const TStation& busCentral = *city.Transports.FindRouteByName("7", false)->Stops[0]->Station;
  EXPECT_EQ(busCentral.Transfers[0]->Time, 90);
}

TEST(CityWriter, ADirectoryIsReplacedOnlyWhenTheNewCityIsComplete) {
  test::TTempDir dir;
  const auto target = dir.Path() / "city";
  std::string error;
  ASSERT_TRUE(WriteCityDirectory(target, CityFiles(*EmptyCity("One", 100, 100)), error)) << error;
  EXPECT_TRUE(std::filesystem::exists(target / "One.cty"));
  ASSERT_TRUE(WriteCityDirectory(target, CityFiles(*EmptyCity("Two", 100, 100)), error)) << error;
  EXPECT_FALSE(std::filesystem::exists(target / "One.cty"));
  EXPECT_TRUE(std::filesystem::exists(target / "Two.cty"));
  // Nothing is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CityWriter, ANewCityWithoutADirectoryIsRefusedNotThrown) {
  std::string error;
  EXPECT_EQ(NewCityDirectory("", "X", 100, 100, error), TNewCityError::NoDirectory);
  EXPECT_EQ(error, "no directory given for the new city");
}

}  // namespace
}  // namespace varnik
