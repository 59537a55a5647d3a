// The rules of the import on the hand-made feed tests/data/gtfs/valley: a
// metro line timed by several trips (one running past midnight), a ring
// tram run by frequency, a bus calling twice at one station, a train whose
// two patterns tie, extended route types, stops joined into stations,
// transfer times both ways and one forbidden, names the code page cannot
// hold, and a shape.

#include <gtest/gtest.h>

#include "GtfsTestFeed.h"
#include "core/uUtils.h"

namespace varnik {
namespace {

using test::FileText;
using test::FindRoute;

class ValleyImport : public ::testing::Test {
 protected:
  void SetUp() override {
    run_ = test::Import(test::FeedFromDir("valley"));
    ASSERT_NE(run_.City, nullptr) << run_.Error;
  }
  const TFreshCity& City() const { return *run_.City; }
  test::TImportRun run_;
};

TEST_F(ValleyImport, RoutesGetTheirChosenPatternsTimesAndDelays) {
  struct TExpected {
    const char* Route;
    const char* Stations;
    const char* Driving;
    const char* Delays;
  };
  const TExpected expected[] = {
      // Medians of 120/150 s (the lower of an even count) and 180 s; departures
      // 07:00, 07:10 (twice), 07:25 by day, 23:50 and 24:20 by night.
      {"1", "Северная,Центр,Южная", "2,3", "10,30"},
      // A ring with neighbour lists at its ends; the headways of frequencies.txt.
      {"Ring", "Центр(Zurich [Hbf],dong jing),Zurich [Hbf],dong jing(Центр,Zurich [Hbf])", "(4,5),3,(5,3)",
       "10,30"},
      // The longer of two patterns run once each; Центр called at twice.
      {"1 (2)", "Южная,Центр,Северная,Центр #2", "5,4,5", "0,0"},
      // Two patterns of one length: the one of trip "x1"; no times at all.
      {"X", "Zurich [Hbf],Южная", "0", "0,0"},
      // A different station of the same name, 6 km away.
      {"Q", "dong jing,Центр", "30", "0,0"},
  };
  for (const TExpected& e : expected) {
    const TRoute* route = FindRoute(City(), e.Route);
    ASSERT_NE(route, nullptr) << e.Route;
    EXPECT_EQ(Cp1251ToUtf8(route->StationsToString()), e.Stations) << e.Route;
    EXPECT_EQ(route->DrivingToString(), e.Driving) << e.Route;
    EXPECT_EQ(route->Delays, e.Delays) << e.Route;
  }
  EXPECT_EQ(run_.Summary.Routes, 5);
  EXPECT_EQ(run_.Summary.Stations, 6);
}

TEST_F(ValleyImport, EachModeHasItsFileAndTransfersGoToTheLaterOne) {
  std::vector<std::string> files;
  for (const TCityFile& file : CityFiles(City())) files.push_back(Cp1251ToUtf8(file.Name));
  EXPECT_EQ(files, (std::vector<std::string>{"Valley.cty", "Metro.trp", "Bus.trp", "Other.trp", "Train.trp",
                                             "Tram.trp", "Metro.map", "Background.vec"}));
  EXPECT_NE(FileText(City(), "Other.trp").find("Type=Транспорт\r\n"), std::string::npos);
  EXPECT_NE(FileText(City(), "Valley.cty").find("DelayNames=День,Ночь\r\n"), std::string::npos);

  auto transfers = [&](const std::string& file) {
    const std::string text = FileText(City(), file);
    const size_t at = text.find("[Transfers]\r\n");
    return at == std::string::npos ? std::string() : text.substr(at + 13);
  };
  // Nothing at Южная, where transfer_type 3 forbids it; the rows between Центр's
  // two stops give 2 minutes one way and 4 the other; a row from a stop of
  // Северная to Zurich joins the bus to both routes there.
  EXPECT_EQ(transfers("Metro.trp"), "");
  EXPECT_EQ(transfers("Bus.trp"), "1=1,Северная,1 (2),Северная,3\r\n2=1,Центр,1 (2),Центр,3\r\n");
  EXPECT_EQ(transfers("Train.trp"), "1=1 (2),Северная,X,Zurich [Hbf],5\r\n");
  EXPECT_EQ(
      transfers("Tram.trp"),
      "1=1,Центр,Ring,Центр,2,4\r\n2=1 (2),Северная,Ring,Zurich [Hbf],5\r\n3=Ring,Центр,1 (2),Центр,4,2\r\n"
      "4=Ring,Zurich [Hbf],X,Zurich [Hbf],3\r\n5=Ring,dong jing,Q,dong jing,3\r\n");
  EXPECT_EQ(run_.Summary.Transfers, 8);
  EXPECT_EQ(run_.Said, "warning: transfers.txt: line 6: unknown stop NOPE; row left out\n");
}

TEST_F(ValleyImport, NamesTheCodePageCannotHoldAreTransliteratedAndListed) {
  const std::vector<std::pair<std::string, std::string>> changed{{"Zürich (Hbf)", "Zurich [Hbf]"},
                                                                 {"東京", "dong jing"}};
  EXPECT_EQ(run_.Summary.ChangedNames, changed);
}

TEST_F(ValleyImport, TheMapSpansTheCanvasWithLabelsLegendsColoursAndShapes) {
  const std::string map = FileText(City(), "Metro.map");
  EXPECT_NE(map.find("Transports=Metro.trp,Bus.trp,Other.trp,Train.trp,Tram.trp\r\n"), std::string::npos);
  // The northern and western station lies on the margin, 5 % of 4000 pixels;
  // the eastern one on the far margin; Южная is the southernmost.
  EXPECT_NE(map.find("[1]\r\nColor=E02020\r\nLabelsColor=FFFFFF\r\nLabelsBColor=E02020\r\n"
                     "Coordinates=200,200, 209,824, 200,1481\r\n"),
            std::string::npos);
  EXPECT_NE(map.find("[Q]\r\nColor="), std::string::npos);
  EXPECT_NE(map.find("Coordinates=920,840, 3800,200\r\n"), std::string::npos);
  EXPECT_EQ(City().Background.Width, 4000);
  EXPECT_EQ(City().Background.Height, 1481 + 200);
  // A label right of each station of the city, at its first line only; the
  // bus, without a colour of its own, is not given the metro's red.
  EXPECT_NE(map.find("Rects=210,192,76,16, 219,816,49,16, 210,1473,49,16\r\nRect=20,20,60,20\r\n"),
            std::string::npos);
  EXPECT_NE(map.find("[1 (2)]\r\nColor=1060D0\r\nLabelsColor=000000\r\nLabelsBColor=-1\r\n"),
            std::string::npos);
  EXPECT_NE(map.find("Rects=\r\nRect=20,46,60,20\r\n"), std::string::npos);
  // The train's shape bends south half-way between its two stations.
  EXPECT_NE(map.find("[AdditionalNodes]\r\n1=X,Zurich [Hbf],Южная, 560,1801\r\n"), std::string::npos);
}

TEST(ImportRules, TypesChooseTheModesToImport) {
  TImportOptions options;
  options.Types = {0, 2};
  const auto run = test::Import(test::FeedFromDir("valley"), options);
  ASSERT_NE(run.City, nullptr) << run.Error;
  std::vector<std::string> files;
  for (const auto& transport : run.City->Transports.Items) files.push_back(transport->FileName);
  EXPECT_EQ(files, (std::vector<std::string>{"Train.trp", "Tram.trp"}));
  EXPECT_NE(FindRoute(*run.City, "Ring"), nullptr);
}

TEST(ImportRules, TheDefaultTransferTimeIsAnOption) {
  TImportOptions options;
  options.TransferTime = 90;
  const auto run = test::Import(test::FeedFromDir("valley"), options);
  ASSERT_NE(run.City, nullptr) << run.Error;
  EXPECT_NE(FileText(*run.City, "Bus.trp").find("1=1,Северная,1 (2),Северная,1.30\r\n"), std::string::npos);
}

}  // namespace
}  // namespace varnik
