#include <gtest/gtest.h>

#include "TestFiles.h"
#include "core/uIniStream.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

using test::CityText;

const char* kTwoLines =
    "[Line1]\nName=Line A\nStations=Central,North\n"
    "[Line2]\nName=Line B\nStations=Central,North\n";

class TransferTest : public ::testing::Test {
 protected:
  void Load(const std::string& trp) {
    ini.LoadFromText(CityText(trp));
    TNetworkReader(transports).Read(ini, "");
  }
  TStation& Station(int route, int stop) { return *transports.Items[0]->Routes[route]->Stops[stop]->Station; }
  TIniStream ini;
  TTransports transports;
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
};

TEST_F(TransferTest, OneLineMakesTwoDirectedTransfers) {
  Load(std::string(kTwoLines) + "[Transfers]\n1=Line A,Central,Line B,Central,2.30\n");
  ASSERT_EQ(Station(0, 0).Transfers.size(), 1u);
  const TTransfer& there = *Station(0, 0).Transfers[0];
  const TTransfer& back = *Station(1, 0).Transfers[0];
  EXPECT_EQ(there.Name, "1");
  EXPECT_EQ(there.Station, &Station(1, 0));
  EXPECT_EQ(there.Time, 150);
  EXPECT_EQ(back.Name, "-1");
  EXPECT_EQ(back.Station, &Station(0, 0));
  EXPECT_EQ(back.Time, 150);
  EXPECT_FALSE(there.Invisible);
  EXPECT_EQ(there.Kind, 0);
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(TransferTest, BackTimeAndInvisibility) {
  Load(std::string(kTwoLines) +
       "[Transfers]\n2=Line A,North,Line B,North,1,1.30,invisible\n3=line a,North,LINE B,North,1,INVISIBLE\n"
       "4=Line A,Central,Line B,North,1,2,visible\n");
  const auto& north = Station(0, 1).Transfers;
  ASSERT_EQ(north.size(), 2u);
  EXPECT_EQ(north[0]->Time, 60);
  EXPECT_TRUE(north[0]->Invisible);
  EXPECT_EQ(Station(1, 1).Transfers[0]->Time, 90);
  EXPECT_TRUE(Station(1, 1).Transfers[0]->Invisible);
  EXPECT_EQ(north[1]->Time, 60);
  EXPECT_TRUE(north[1]->Invisible);
  EXPECT_EQ(Station(1, 1).Transfers[1]->Time, 60);
  EXPECT_FALSE(Station(0, 0).Transfers[0]->Invisible);
  EXPECT_EQ(Station(1, 1).Transfers[2]->Time, 120);
}

TEST_F(TransferTest, UnresolvedEndsSkipTheLineWithTheirMessage) {
  Load(std::string(kTwoLines) +
       "[Transfers]\n1=Line Q,Central,Line B,Central,1\n2=Line A,Nowhere,Line B,Central,1\n"
       "3=Line A,Central,Line B,Nowhere,1\nempty=\nnoequals\n");
  EXPECT_TRUE(Station(0, 0).Transfers.empty());
  EXPECT_TRUE(Station(1, 0).Transfers.empty());
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"TTransports.FindRouteByName: Route Line Q not found",
                                                         "Station Nowhere (Route Line A) not found.",
                                                         "Station Nowhere (Route Line B) not found."}));
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Foreground);
  EXPECT_EQ(messages.Entries[1].Style, TMessageStyle::Plain);
}

TEST_F(TransferTest, OnePlatformKindsReachBothDirections) {
  Load(std::string(kTwoLines) +
       "[Transfers]\n2=Line A,North,Line B,North,1\n5=Line A,Central,Line B,Central,1\n"
       "[AdditionalInfo]\nOnePlatformTransfers=2,parallel,5,OPPOSITE,5,nonsense,9,opposite\n");
  EXPECT_EQ(Station(0, 1).Transfers[0]->Kind, 2);
  EXPECT_EQ(Station(1, 1).Transfers[0]->Kind, 2);
  EXPECT_EQ(Station(0, 0).Transfers[0]->Kind, 1);  // an unknown word leaves the kind alone
  EXPECT_EQ(Station(1, 0).Transfers[0]->Kind, 1);
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"AdditionalInfo: Transfer 9 not found"});
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Foreground);
}

TEST_F(TransferTest, QuotedStationNamesAndIndifferentKind) {
  Load("[Line1]\nName=A\nStations=\"Park, North\",X\n[Line2]\nName=B\nStations=Y,\"Park, North\"\n"
       "[Transfers]\nP=A,\"Park, North\",B,\"Park, North\",0.45\n"
       "[AdditionalInfo]\nOnePlatformTransfers=P,indifferent\n");
  ASSERT_EQ(Station(0, 0).Transfers.size(), 1u);
  EXPECT_EQ(Station(0, 0).Transfers[0]->Station, &Station(1, 1));
  EXPECT_EQ(Station(0, 0).Transfers[0]->Time, 45);
  EXPECT_EQ(Station(1, 1).Transfers[0]->Kind, 3);
}

}  // namespace
}  // namespace varnik
