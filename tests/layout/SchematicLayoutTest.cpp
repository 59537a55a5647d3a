// Small networks laid out and judged by their figures: every piece
// octilinear, no crossing the geographic drawing does not have, stations at
// least a grid step apart, the stations of a transfer at most two.

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "LayoutTestCity.h"
#include "layout/uLayoutFigures.h"
#include "layout/uLineLinks.h"
#include "layout/uSchematicLayout.h"

namespace varnik {
namespace {

constexpr int32_t kStep = 20;

struct TNetwork {
  const char* Name;
  const char* Lines;
  const char* Map;
};

// Lays the map out, applies it and gives the figures before and after.
std::pair<TLayoutFigures, TLayoutFigures> LayOut(TMetroMap& map) {
  const TMapGeometry before = CaptureGeometry(map);
  const TLayoutFigures input = MeasureLayout(map, before, kStep);
  TLayoutOptions options;
  options.GridStep = kStep;
  const TLayoutResult result = ComputeLayout(map, options);
  EXPECT_FALSE(result.Cancelled);
  EXPECT_EQ(result.Unrouted, 0);
  EXPECT_TRUE(ApplyGeometry(result.Geometry, map));
  return {input, MeasureLayout(map, before, kStep)};
}

const TNetwork kNetworks[] = {
    {"StraightLine", "[Line1]\nName=A\nStations=A1,A2,A3,A4,A5\nDriving=1,1,1,1\n",
     "[A]\nCoordinates=100,100, 160,104, 220,97, 280,103, 340,100\n"},
    {"CrossOfTwoLines",
     "[Line1]\nName=A\nStations=A1,A2,A3,A4\nDriving=1,1,1\n\n"
     "[Line2]\nName=B\nStations=B1,B2,B3,B4\nDriving=1,1,1\n",
     "[A]\nCoordinates=100,200, 170,190, 240,210, 310,200\n\n"
     "[B]\nCoordinates=200,100, 215,170, 195,240, 205,310\n"},
    {"RingWithFourSpokes",
     "[Line1]\nName=R\nStations=N(E,W),E,S,W(N,S)\nDriving=(1,1),1,1,(1,1)\n\n"
     "[Line2]\nName=P\nStations=PN,P1\nDriving=1\n\n"
     "[Line3]\nName=Q\nStations=QE,Q1\nDriving=1\n\n"
     "[Line4]\nName=T\nStations=TS,T1\nDriving=1\n\n"
     "[Line5]\nName=U\nStations=UW,U1\nDriving=1\n\n"
     "[Transfers]\n1=R,N,P,PN,1\n2=R,E,Q,QE,1\n3=R,S,T,TS,1\n4=R,W,U,UW,1\n",
     "[R]\nCoordinates=200,100, 300,200, 200,300, 100,200\n\n"
     "[P]\nCoordinates=200,100, 210,20\n\n[Q]\nCoordinates=300,200, 380,190\n\n"
     "[T]\nCoordinates=200,300, 190,380\n\n[U]\nCoordinates=100,200, 20,210\n"},
    {"Branch",
     "[Line1]\nName=A\nStations=A1,A2,F(B1,A2,C1),B1(,F),C1(,F)\nDriving=1,1,(1,1,1),(,1),(,1)\n",
     "[A]\nCoordinates=100,200, 160,200, 220,200, 280,140, 280,260\n"},
    {"TwoLinesSharingThreeStations",
     "[Line1]\nName=A\nStations=A0,X,Y,Z,A4\nDriving=1,1,1,1\n\n"
     "[Line2]\nName=B\nStations=B0,X,Y,Z,B4\nDriving=1,1,1,1\n\n"
     "[Transfers]\n1=A,X,B,X,1\n2=A,Y,B,Y,1\n3=A,Z,B,Z,1\n",
     "[A]\nCoordinates=100,100, 160,160, 220,165, 280,160, 340,100\n\n"
     "[B]\nCoordinates=100,240, 160,160, 220,165, 280,160, 340,240\n"},
    {"TransferPair",
     "[Line1]\nName=A\nStations=A1,A2,A3\nDriving=1,1\n\n"
     "[Line2]\nName=B\nStations=B1,B2,B3\nDriving=1,1\n\n"
     "[Transfers]\n1=A,A2,B,B2,1\n",
     "[A]\nCoordinates=100,200, 200,200, 300,200\n\n[B]\nCoordinates=200,100, 200,200, 200,300\n"},
};

class SchematicLayout : public ::testing::TestWithParam<TNetwork> {};

TEST_P(SchematicLayout, IsOctilinearPlanarAndSpaced) {
  test::TLayoutTestCity city(GetParam().Lines, GetParam().Map);
  const auto [input, output] = LayOut(city.Map());
  EXPECT_EQ(output.OctilinearPieces, output.Pieces);
  EXPECT_LE(output.Crossings, input.Crossings);
  EXPECT_GE(output.ClosestStations, 1.0);
  EXPECT_LE(output.LongestTransfer, 2.0);
  EXPECT_LE(output.MeanDisplacement, 1.5);
}

INSTANTIATE_TEST_SUITE_P(Networks, SchematicLayout, ::testing::ValuesIn(kNetworks),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(SchematicLayoutRules, AStraightLineStaysStraight) {
  test::TLayoutTestCity city(kNetworks[0].Lines, kNetworks[0].Map);
  EXPECT_EQ(LayOut(city.Map()).second.Bends(), 0);
}

// Two lines through one interchange must cross; they do so once, and the
// two stations stand on neighbouring nodes.
TEST(SchematicLayoutRules, TheStationsOfATransferStandSideBySide) {
  test::TLayoutTestCity city(kNetworks[5].Lines, kNetworks[5].Map);
  const auto [input, output] = LayOut(city.Map());
  EXPECT_EQ(input.Crossings, 1);
  EXPECT_EQ(output.Crossings, 1);
  EXPECT_LE(output.LongestTransfer, std::sqrt(2.0) + 1e-9);
}

// The three stations the lines share stand as pairs, each pair across
// the common way, the line B always on the same side of A.
TEST(SchematicLayoutRules, LinesSharingStationsRunSideBySide) {
  test::TLayoutTestCity city(kNetworks[4].Lines, kNetworks[4].Map);
  EXPECT_EQ(LayOut(city.Map()).second.Crossings, 0);
  const auto& a = city.Map().Lines[0]->Stations;
  const auto& b = city.Map().Lines[1]->Stations;
  for (size_t s = 1; s + 1 < 4; ++s) {
    const int32_t alongX = a[s + 1]->Coordinate.X - a[s]->Coordinate.X;
    const int32_t alongY = a[s + 1]->Coordinate.Y - a[s]->Coordinate.Y;
    auto side = [&](size_t i) {
      return alongX * (b[i]->Coordinate.Y - a[i]->Coordinate.Y) - alongY * (b[i]->Coordinate.X - a[i]->Coordinate.X);
    };
    EXPECT_GT(side(s) * side(s + 1), 0) << "stations " << s << " and " << s + 1;
  }
}

// Each branch leaves the fork on its own side, as on the map as it was.
TEST(SchematicLayoutRules, BranchesLeaveTheForkTheWayTheyDidOnTheMap) {
  test::TLayoutTestCity city(kNetworks[3].Lines, kNetworks[3].Map);
  LayOut(city.Map());
  const auto& s = city.Map().Lines[0]->Stations;
  auto course = [&](int32_t to) { return LinkCourse(*city.Map().Lines[0], {2, to}); };
  EXPECT_LT(course(3)[1].Y, s[2]->Coordinate.Y);  // B1's way leaves upwards
  EXPECT_GT(course(4)[1].Y, s[2]->Coordinate.Y);  // C1's downwards
}

TEST(SchematicLayoutRules, ACancelledLayoutLeavesTheMapAsItWas) {
  test::TLayoutTestCity city(kNetworks[2].Lines, kNetworks[2].Map);
  std::atomic<bool> cancel = false;
  int32_t calls = 0;
  TLayoutOptions options;
  options.Cancel = &cancel;
  options.Progress = [&](int32_t, int32_t) { cancel = ++calls == 2; };
  const TLayoutResult result = ComputeLayout(city.Map(), options);
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(result.Geometry, CaptureGeometry(city.Map()));
}

// Putting the old geometry back undoes a layout exactly, the segments the
// layout made for its bends included.
TEST(SchematicLayoutRules, ApplyingTheOldGeometryUndoesTheLayout) {
  test::TLayoutTestCity city(kNetworks[4].Lines, kNetworks[4].Map);
  const TMapGeometry before = CaptureGeometry(city.Map());
  LayOut(city.Map());
  ASSERT_NE(CaptureGeometry(city.Map()), before);
  ASSERT_TRUE(ApplyGeometry(before, city.Map()));
  EXPECT_EQ(CaptureGeometry(city.Map()), before);
}

}  // namespace
}  // namespace varnik
