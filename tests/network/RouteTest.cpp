#include <gtest/gtest.h>

#include "TestFiles.h"
#include "core/uIniStream.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

using test::CityText;

// Loads one transport from a .trp text (UTF-8 here) and links it.
class RouteTest : public ::testing::Test {
 protected:
  TRoute& LoadRoute(const std::string& lineSection) {
    Load("[Line1]\nName=R\n" + lineSection);
    return *transports.Items[0]->Routes[0];
  }
  void Load(const std::string& trp) {
    ini.LoadFromText(CityText(trp));
    TNetworkReader(transports).Read(ini, "");
    transports.Link();
  }
  static std::string Names(const TNeibourList& list) {
    std::string text;
    for (const auto& n : list)
      text += (n->Reversed ? "-" : "") + n->Stop->Station->Name + ":" + std::to_string(n->Time) + " ";
    return text;
  }
  TIniStream ini;
  TTransports transports;
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
};

TEST_F(RouteTest, DefaultNeighboursTakeTheWayBackFromThePreviousStop) {
  TRoute& r = LoadRoute("Stations=A,B,D\nDriving=2,3\n");
  ASSERT_EQ(r.Stops.size(), 3u);
  EXPECT_EQ(Names(r.Stops[0]->Forward), "B:120 ");
  EXPECT_EQ(Names(r.Stops[0]->Backward), "");
  EXPECT_EQ(Names(r.Stops[1]->Backward), "A:120 ");
  EXPECT_EQ(Names(r.Stops[1]->Forward), "D:180 ");
  EXPECT_EQ(Names(r.Stops[2]->Backward), "B:180 ");
  EXPECT_EQ(Names(r.Stops[2]->Forward), "");
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(RouteTest, ExplicitPairTimesAndTakenOverBackTime) {
  TRoute& r = LoadRoute("Stations=A,B,D\nDriving=(2,2.30),3\n");
  EXPECT_EQ(Names(r.Stops[0]->Forward), "B:120 ");
  EXPECT_EQ(Names(r.Stops[0]->Backward), "");
  EXPECT_EQ(Names(r.Stops[1]->Backward), "A:120 ");
  EXPECT_EQ(r.DrivingToString(), "2,3");
}

TEST_F(RouteTest, NeighbourListOnTheFirstStopRoundTripsToPlainText) {
  TRoute& r = LoadRoute("Stations=A(B),B,D\nDriving=(1.30),2\n");
  EXPECT_EQ(Names(r.Stops[0]->Forward), "B:90 ");
  EXPECT_EQ(Names(r.Stops[0]->Backward), "");
  EXPECT_EQ(Names(r.Stops[1]->Backward), "A:90 ");
  EXPECT_EQ(r.StationsToString(), "A,B,D");
  EXPECT_EQ(r.DrivingToString(), "1.30,2");
}

TEST_F(RouteTest, RingWrittenWithNeighbourLists) {
  TRoute& r = LoadRoute("Stations=A(B,D),B,D(A,B)\nDriving=(1,2),1.30,(2,1.30)\n");
  EXPECT_EQ(Names(r.Stops[0]->Forward), "B:60 ");
  EXPECT_EQ(Names(r.Stops[0]->Backward), "D:120 ");
  EXPECT_EQ(Names(r.Stops[2]->Forward), "A:120 ");
  EXPECT_EQ(Names(r.Stops[2]->Backward), "B:90 ");
  EXPECT_EQ(r.Stops[2]->Station->Name, "D");
  EXPECT_EQ(r.StationsToString(), "A(B,D),B,D(A,B)");
  EXPECT_EQ(r.DrivingToString(), "(1,2),1.30,(2,1.30)");
  // Linking indexes both directions.
  EXPECT_EQ(Names(r.Stops[0]->ForwardFrom), "D:120 ");
  EXPECT_EQ(Names(r.Stops[0]->BackwardFrom), "B:60 ");
}

TEST_F(RouteTest, BranchRoundTripsExactly) {
  const std::string stations = "A,B,C(D,B,E),D(,C),E(,C)";
  const std::string driving = "2,1.40,(2.10,1.40,3.30),(,2.10),(,3.30)";
  TRoute& r = LoadRoute("Stations=" + stations + "\nDriving=" + driving + "\n");
  EXPECT_EQ(Names(r.Stops[2]->Forward), "D:130 E:210 ");
  EXPECT_EQ(Names(r.Stops[2]->Backward), "B:100 ");
  EXPECT_EQ(r.StationsToString(), stations);
  EXPECT_EQ(r.DrivingToString(), driving);
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(RouteTest, QuotedNamesKeepTheirCommas) {
  TRoute& r = LoadRoute("Stations=\"Park, North\",B\nDriving=1\n");
  EXPECT_EQ(r.Stops[0]->Station->Name, "Park, North");
  EXPECT_EQ(r.StationsToString(), "\"Park, North\",B");
}

TEST_F(RouteTest, ReversedNeighbourSwapsTheReverseListAndSurvivesSaving) {
  TRoute& r = LoadRoute("Stations=A(-B),B(,-A)\nDriving=(2),(,2)\n");
  TStop& a = *r.Stops[0];
  TStop& b = *r.Stops[1];
  EXPECT_EQ(Names(b.BackwardFrom), "-A:120 ");
  EXPECT_EQ(Names(a.ForwardFrom), "-B:120 ");
  EXPECT_EQ(Names(b.ForwardFrom), "");
  // The flag sits where a plain neighbour would; it is still written out.
  EXPECT_EQ(r.StationsToString(), "A(-B),B(,-A)");
  EXPECT_EQ(r.DrivingToString(), "(2),(,2)");
}

TEST_F(RouteTest, LaterStopIsFoundByTheUntrimmedTextBeforeItsList) {
  TRoute& r = LoadRoute("Stations=A(D),D (A)\n");
  EXPECT_EQ(Names(r.Stops[0]->Forward), "");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Station D not found in Route R"});
  EXPECT_EQ(r.Stops[1]->Station->Name, "D");
}

TEST_F(RouteTest, AliasesAndTheirMisses) {
  TRoute& r = LoadRoute("Stations=A,B\nAliases=A,Alpha,Z,Zeta\n");
  EXPECT_EQ(r.Stops[0]->Station->Alias, "Alpha");
  EXPECT_EQ(r.Stops[1]->Station->Alias, "B");
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Station Z (Route R) not found."});
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Plain);
}

TEST_F(RouteTest, SectionsAreReadUpToTheFirstGapAndKeysDefault) {
  Load("[Options]\nType=Metro\n[Line1]\nName=One\n[Line2]\nName=Two\nDelayDay=3\n[Line4]\nName=Four\n");
  TTransport& t = *transports.Items[0];
  EXPECT_EQ(t.Type, "Metro");
  ASSERT_EQ(t.Routes.size(), 2u);
  EXPECT_EQ(t.Routes[0]->Alias, "One");
  EXPECT_EQ(t.Routes[0]->Delays, "0,0");
  EXPECT_EQ(t.Routes[1]->Delays, "3,0");
}

TEST_F(RouteTest, SingleStopWritesBareNameAndEmptyDriving) {
  TRoute& r = LoadRoute("Stations=Only\nDriving=5\n");
  EXPECT_EQ(r.StationsToString(), "Only");
  EXPECT_EQ(r.DrivingToString(), "");
}

TEST_F(RouteTest, NegativeTimeIsTakenOverAsTheWayBackLikeAnyOther) {
  TRoute& r = LoadRoute("Stations=A,B,C\nDriving=-1,2\n");
  EXPECT_EQ(Names(r.Stops[1]->Backward), "A:-60 ");
  EXPECT_EQ(r.DrivingToString(), "-1,2");
}

TEST_F(RouteTest, StationsWithOnlyZeroTimesAreMarked) {
  TRoute& r = LoadRoute("Stations=A,B,C\nDriving=,2\n");
  EXPECT_TRUE(r.Stops[0]->Station->NoDrivingTimes);
  EXPECT_FALSE(r.Stops[1]->Station->NoDrivingTimes);
  EXPECT_FALSE(r.Stops[2]->Station->NoDrivingTimes);
  EXPECT_EQ(r.DrivingToString(), "0,2");
}

TEST_F(RouteTest, LookUpsReportExactTexts) {
  TRoute& r = LoadRoute("Stations=A,B\n");
  EXPECT_EQ(r.FindStationByName("", true), nullptr);
  EXPECT_EQ(r.FindStationByName("a", false), nullptr);
  EXPECT_TRUE(messages.Entries.empty());
  EXPECT_EQ(transports.FindRouteByName("r", true), &r);
  EXPECT_EQ(transports.FindRouteByName("Q", true), nullptr);
  EXPECT_EQ(FindStopByStation(r, nullptr), nullptr);
  TStation stray;
  EXPECT_EQ(FindStopByStation(r, &stray), nullptr);
  EXPECT_EQ(FindStopByStation(r, r.Stops[1]->Station), r.Stops[1].get());
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"TTransports.FindRouteByName: Route Q not found",
                                                         "TRoute.FindStopByStation: Station = nil (Route R)",
                                                         "TRoute.FindStopByStation: Station not found in Route R"}));
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Foreground);
}

TEST_F(RouteTest, HugeSelfNamingListLoadsQuickly) {
  // Every stop names itself in both places of its list: nothing may hang.
  std::string stations;
  for (int i = 0; i < 20000; ++i) stations += (i ? "," : "") + std::string("S") + std::to_string(i) + "(S" +
                                             std::to_string(i) + ",S" + std::to_string(i) + ")";
  TRoute& r = LoadRoute("Stations=" + stations + "\n");
  ASSERT_EQ(r.Stops.size(), 20000u);
  EXPECT_EQ(r.Stops[19999]->Forward[0]->Stop, r.Stops[19999].get());
  EXPECT_TRUE(messages.Entries.empty());
}

}  // namespace
}  // namespace varnik
