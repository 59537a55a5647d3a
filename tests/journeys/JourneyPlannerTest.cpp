#include <gtest/gtest.h>

#include "JourneyTestNetwork.h"
#include "journeys/uJourneyPlanner.h"
#include "network/uRoute.h"

namespace varnik {
namespace {

using test::Describe;

// Red and Blue meet at C by a transfer with different times each way;
// Ring is a ring, Green a fork at M, Slow has an unknown driving time
// (0) between X and Y. Tram, a second file, reaches Ring by an invisible
// transfer.
const char* kMetro =
    "[Line1]\nName=Red\nStations=A,B,C,D\nDriving=2,3,4\nDelays=4,10\n"
    "[Line2]\nName=Blue\nStations=E,C,F\nDriving=1,1\nDelays=2\n"
    "[Line3]\nName=Ring\nStations=P(Q,S),Q,R,S(P,R)\nDriving=(1,2),1,1,(2,1)\n"
    "[Line4]\nName=Green\nStations=L,M(N,L,O),N(,M),O(,M)\nDriving=1,(2,1,3),(,2),(,3)\n"
    "[Line5]\nName=Slow\nStations=X,Y,Z\nDriving=0,1\n"
    "[Transfers]\n1=Red,C,Blue,C,1,2\n2=Red,D,Green,L,0.30\n3=Red,A,Blue,E,-1\n";
const char* kTram =
    "[Line1]\nName=Tram\nStations=Парк,Центр\nDriving=1\n"
    "[Transfers]\nT=Tram,Центр,Ring,P,0,invisible\n";

class JourneyPlannerTest : public ::testing::Test {
 protected:
  std::string Journey(const char* from, const char* to, int delayColumn = -1) {
    auto journey = planner.Find(Utf8ToCp1251(from), Utf8ToCp1251(to), delayColumn);
    return journey ? Describe(*journey) : "none";
  }
  test::TTestNetwork network{{kMetro, kTram}};
  TJourneyPlanner planner{network.transports};
};

TEST_F(JourneyPlannerTest, TheTestNetworkLoadsCleanly) { EXPECT_TRUE(network.messages.Entries.empty()); }

TEST_F(JourneyPlannerTest, FastestJourneys) {
  struct {
    const char* From;
    const char* To;
    const char* Expected;
  } cases[] = {
      // Both directions of a plain line.
      {"A", "D", "Red A,B,C,D 540 | = 540/1"},
      {"D", "B", "Red D,C,B 420 | = 420/1"},
      // A ring is ridden whichever way round is shorter.
      {"P", "S", "Ring P,S 120 | = 120/1"},
      {"Q", "S", "Ring Q,R,S 120 | = 120/1"},
      // A fork: from one branch over the fork onto the other.
      {"N", "O", "Green N,M,O 300 | = 300/1"},
      // The transfer takes 60 s from Red to Blue and 120 s back.
      {"A", "F", "Red A,B,C 300 | walk C>C 60 | Blue C,F 60 | = 420/2"},
      {"F", "A", "Blue F,C 60 | walk C>C 120 | Red C,B,A 300 | = 480/2"},
      // Invisible transfers are walked, and one of 0 s costs nothing.
      {"Парк", "Q", "Tram Парк,Центр 60 | walk Центр>P 0 | Ring P,Q 60 | = 120/2"},
      // The end is reached on the platform, after a walk.
      {"C", "L", "Red C,D 240 | walk D>L 30 | = 270/1"},
      // Several stops are named C: the journey may start at any of them.
      {"C", "E", "Blue C,E 60 | = 60/1"},
      {"A", "A", "= 0/0"},
      // X to Y has no driving time, so X is cut off; a negative walking time
      // (A to E) is not walked either.
      {"X", "Z", "none"},
      {"Y", "Z", "Slow Y,Z 60 | = 60/1"},
      {"A", "E", "Red A,B,C 300 | walk C>C 60 | Blue C,E 60 | = 420/2"},
  };
  for (const auto& c : cases) EXPECT_EQ(Journey(c.From, c.To), c.Expected) << c.From << " to " << c.To;
}

TEST_F(JourneyPlannerTest, WaitsFollowTheDelayColumn) {
  // Red waits half of 4 or 10 minutes; Blue half of 2 minutes by day and
  // nothing at night, having no night item.
  EXPECT_EQ(Journey("A", "F", 0), "wait 120 Red A,B,C 300 | walk C>C 60 | wait 60 Blue C,F 60 | = 600/2");
  EXPECT_EQ(Journey("A", "F", 1), "wait 300 Red A,B,C 300 | walk C>C 60 | Blue C,F 60 | = 720/2");
}

TEST(JourneyPlanner, EqualTimesGoToTheJourneyWithFewerBoardings) {
  // Over Short (listed first) or straight along Long: 300 s either way.
  test::TTestNetwork network{
      {"[Line1]\nName=Short\nStations=B,C\nDriving=3\n"
       "[Line2]\nName=Long\nStations=A,B,C\nDriving=2,3\n"
       "[Line3]\nName=Fast\nStations=A,B2\nDriving=1\n"
       "[Transfers]\n1=Long,B,Short,B,0\n2=Fast,B2,Short,B,0.59\n"}};
  TJourneyPlanner planner(network.transports);
  auto journey = planner.Find("A", "C", -1);
  ASSERT_TRUE(journey.has_value());
  // Over Fast and Short it would take 299 s with one boarding more: time
  // comes first.
  EXPECT_EQ(Describe(*journey), "Fast A,B2 60 | walk B2>B 59 | Short B,C 180 | = 299/2");
  network.transports.Items[0]->Routes[2]->Stops[0]->Forward[0]->Time = 61;
  journey = TJourneyPlanner(network.transports).Find("A", "C", -1);
  ASSERT_TRUE(journey.has_value());
  EXPECT_EQ(Describe(*journey), "Long A,B,C 300 | = 300/1");
}

TEST(JourneyPlanner, NamesMatchExactlyElseIgnoringLetterCase) {
  test::TTestNetwork network{{"[Line1]\nName=L\nStations=Park,PARK,Центр\nDriving=1,1\n"}};
  TJourneyPlanner planner(network.transports);
  EXPECT_EQ(Describe(*planner.Find("PARK", "Park", -1)), "L PARK,Park 60 | = 60/1");
  // No station is named "park" exactly: both Parks are starts.
  EXPECT_EQ(Describe(*planner.Find("park", Utf8ToCp1251("цЕНТР"), -1)), "L PARK,Центр 60 | = 60/1");
  EXPECT_TRUE(planner.Knows(Utf8ToCp1251("ЦЕНТР")));
  EXPECT_FALSE(planner.Knows("Parks"));
  EXPECT_FALSE(planner.Find("Parks", "Park", -1).has_value());
  EXPECT_EQ(planner.StationNames(), (std::vector<std::string>{"Park", "PARK", Utf8ToCp1251("Центр")}));
}

}  // namespace
}  // namespace varnik
