#include <gtest/gtest.h>

#include "MapTestCity.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

using test::CityDir;

struct TStationRow {
  int32_t X, Y, Height;
  TRect Label;
};

void ExpectStations(const TMetroMapLine& line, const std::vector<TStationRow>& rows) {
  ASSERT_EQ(line.Stations.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const TMetroMapStation& s = *line.Stations[i];
    EXPECT_EQ(s.Coordinate.X, rows[i].X) << "station " << i;
    EXPECT_EQ(s.Coordinate.Y, rows[i].Y) << "station " << i;
    EXPECT_EQ(s.Coordinate.Height, rows[i].Height) << "station " << i;
    EXPECT_EQ(s.LabelRect, rows[i].Label) << "station " << i;
  }
}

class MetroMapTest : public ::testing::Test {
 protected:
  void SetUp() override { city.LoadNetwork(CityDir("Drawing")); }
  TRoute* Route(const char* name) { return city.Transports.FindRouteByName(name, false); }
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  test::TMapTestCity city;
};

TEST_F(MetroMapTest, MainMapReadsOptionsLinesAndBackgroundLayers) {
  TMetroMap& map = city.LoadMap("Metro.map");
  EXPECT_EQ(map.Name, "Metro.map");
  EXPECT_EQ(map.StationDiameter, 10);
  EXPECT_EQ(map.LinesWidth, 8);
  ASSERT_EQ(map.Lines.size(), 2u);
  const TMetroMapLine& red = *map.Lines[0];
  EXPECT_EQ(red.Route, Route("Red"));
  EXPECT_EQ(red.Color, 0x0000FF);
  EXPECT_EQ(red.Width, 8);
  EXPECT_EQ(red.LegendRect, (TRect{10, 300, 70, 320}));
  ExpectStations(red, {{100, 100, 5, {}}, {200, 100, 6, {}}, {300, 100, 7, {}}});
  EXPECT_EQ(red.Stations[1]->Diameter, 10);
  const TMetroMapLine& blue = *map.Lines[1];
  EXPECT_EQ(blue.Color, 0xFF0000);
  EXPECT_EQ(blue.Width, 4);
  // A short coordinate list leaves the last station unplaced.
  ExpectStations(blue, {{200, 50, 0, {}}, {200, 100, 0, {}}, {0, 0, 0, {}}});
  EXPECT_FALSE(blue.Stations[2]->Coordinate.Placed());

  // Two pictures found, one missing name skipped silently; the map's own
  // layer comes last. Only later pictures are laid transparently.
  ASSERT_EQ(map.Layers.size(), 3u);
  EXPECT_EQ(map.Layers[0]->Image->Name, "Ground.vec");
  EXPECT_FALSE(map.Layers[0]->Image->Transparent);
  EXPECT_FALSE(map.Layers[0]->OwnsImage);
  EXPECT_EQ(map.Layers[1]->Image->Name, "Over.vec");
  EXPECT_TRUE(map.Layers[1]->Image->Transparent);
  EXPECT_TRUE(map.Layers[2]->OwnsImage);
  EXPECT_TRUE(map.Layers[2]->Image->Transparent);
  EXPECT_EQ(map.Width(), 1200);
  EXPECT_EQ(map.Height(), 900);
  map.Layers[0]->Visible = false;
  EXPECT_EQ(map.Width(), 300);
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(MetroMapTest, ChildMapInheritsColoursAndHeightsOnly) {
  TMetroMap& parent = city.LoadMap("Metro.map");
  TMetroMap& child = city.LoadMap("Night.map", &parent);
  // Without Options every default holds; Tram.trp is not among the
  // transports unless named.
  EXPECT_EQ(child.StationDiameter, 11);
  EXPECT_EQ(child.LinesWidth, 9);
  EXPECT_TRUE(child.WordWrap);
  EXPECT_TRUE(child.UpperCase);
  EXPECT_TRUE(child.IsVector);
  ASSERT_EQ(child.Transports.size(), 1u);
  EXPECT_EQ(child.Transports[0]->FileName, "Metro.trp");
  EXPECT_EQ(child.CheckedTransports, child.Transports);
  EXPECT_EQ(child.ImageFileName, "");
  ASSERT_EQ(child.Layers.size(), 1u);
  EXPECT_EQ(child.Width(), 1);  // only the map's own 1 x 1 layer

  // The section [red] names route Red.
  ASSERT_EQ(child.Lines.size(), 2u);
  const TMetroMapLine& red = *child.Lines[0];
  EXPECT_EQ(red.Color, 0x0000FF);
  EXPECT_EQ(red.LabelsColor, 0x00FF00);
  EXPECT_EQ(red.LabelsBColor, 0xFFFFFF);
  EXPECT_EQ(red.Width, 9);             // widths are not inherited
  EXPECT_EQ(red.LegendRect, TRect{});  // nor legends
  ExpectStations(red, {{10, 10, 1, {10, 20, 40, 25}}, {20, 20, 6, {}}, {0, 0, 7, {}}});
  const TMetroMapLine& blue = *child.Lines[1];
  EXPECT_EQ(blue.Color, 0xFF0000);
  EXPECT_EQ(blue.LabelsBColor, kNoColor);
  EXPECT_TRUE(child.Lines[1]->Segments.empty());

  TMetroMap& orphan = city.LoadMap("Night.map");
  EXPECT_EQ(orphan.Lines[0]->Color, 0);
  EXPECT_EQ(orphan.Lines[0]->LabelsColor, 0x00FF00);
  EXPECT_EQ(orphan.Lines[0]->Stations[1]->Coordinate.Height, 0);
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(MetroMapTest, TransportListsAndTransferConnectors) {
  TMetroMap& map = city.LoadMap("Transfers.map");
  ASSERT_EQ(map.Transports.size(), 2u);
  EXPECT_EQ(map.Transports[1]->FileName, "Tram.trp");
  ASSERT_EQ(map.Lines.size(), 3u);
  // Red-T1 Central once though the network holds both directions; Blue-T1
  // Central; nothing for the invisible Red-Blue transfer nor for the one to
  // the unplaced Depot.
  TMetroMapStation* redCentral = map.StationAt(0, 1);
  TMetroMapStation* blueCentral = map.StationAt(1, 1);
  TMetroMapStation* tramCentral = map.StationAt(2, 1);
  ASSERT_EQ(map.Transfers.size(), 2u);
  EXPECT_EQ(map.Transfers[0]->Station1, redCentral);
  EXPECT_EQ(map.Transfers[0]->Station2, tramCentral);
  EXPECT_EQ(map.Transfers[1]->Station1, blueCentral);
  EXPECT_EQ(map.Transfers[1]->Station2, tramCentral);
  EXPECT_TRUE(map.TransferExists(tramCentral, redCentral));
  EXPECT_FALSE(map.TransferExists(redCentral, blueCentral));
  EXPECT_EQ(map.FindLineByStation(tramCentral), map.Lines[2].get());
  EXPECT_EQ(map.FindLineByRoute(Route("T1")), map.Lines[2].get());
  EXPECT_EQ(map.FindLineByRoute(Route("T2")), nullptr);
  EXPECT_EQ(map.StationAt(3, 0), nullptr);
  EXPECT_EQ(map.StationAt(0, 3), nullptr);
  EXPECT_EQ(map.StationAt(-1, 0), nullptr);
}

TEST_F(MetroMapTest, AdditionalNodesAreReadAndBadEntriesReported) {
  TMetroMap& map = city.LoadMap("Segments.map");
  const TMetroMapLine& red = *map.Lines[0];
  struct TRow {
    const char* name;
    int from, to;
    bool spline;
    std::vector<std::pair<int, int>> nodes;
  } rows[] = {
      {"1", 1, 2, false, {{200, 100}, {300, 100}}},
      {"2", 1, 2, true, {{200, 100}, {100, 200}, {120, 210}, {300, 100}}},
      {"3", 2, 1, true, {{300, 100}, {100, 200}, {200, 100}}},
      {"6", 0, 1, false, {{100, 100}, {150, 90}, {200, 100}}},
  };
  ASSERT_EQ(red.Segments.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const TMetroMapSegment& s = *red.Segments[i];
    EXPECT_EQ(s.Name, rows[i].name);
    EXPECT_EQ(s.FromStation, red.Stations[rows[i].from].get()) << s.Name;
    EXPECT_EQ(s.ToStation, red.Stations[rows[i].to].get()) << s.Name;
    EXPECT_EQ(s.Spline, rows[i].spline) << s.Name;
    std::vector<std::pair<int, int>> nodes;
    for (const auto& n : s.Nodes) nodes.emplace_back(n->Coordinate.X, n->Coordinate.Y);
    EXPECT_EQ(nodes, rows[i].nodes) << s.Name;
  }
  EXPECT_EQ(red.FindSegment(red.Stations[2].get(), red.Stations[1].get()), red.Segments[0].get());
  EXPECT_EQ(red.FindSegment(red.Stations[0].get(), red.Stations[2].get()), nullptr);
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                  "TTransports.FindRouteByName: Route Green not found",
                                  "Line Green not found",
                                  "Line Blue not found in Segments.map",
                                  "Station Nowhere not found in Route Red",
                                  "TMetroMapLine.FindMetroMapStationFromStop: Stop not found",
                              }));
  // The map's own messages come to the front; the route's look-up reports
  // its miss in its own plain style.
  for (const auto& entry : messages.Entries) {
    TMessageStyle style =
        entry.Text.starts_with("Station ") ? TMessageStyle::Plain : TMessageStyle::Foreground;
    EXPECT_EQ(entry.Style, style) << entry.Text;
  }
}

TEST_F(MetroMapTest, WritingASegmentQuotesNamesWithCommas) {
  TMetroMap& map = city.LoadMap("Segments.map");
  const TMetroMapLine& red = *map.Lines[0];
  EXPECT_EQ(red.SegmentValue(*red.Segments[1]), "Red,Central,East, 100,200, 120,210, spline");
  EXPECT_EQ(red.SegmentValue(*red.Segments[3]), Utf8ToCp1251("Red,\"Парк, Победы\",Central, 150,90"));
}

TEST_F(MetroMapTest, HitTestsOnStationsLabelsAndLegends) {
  TMetroMap& map = city.LoadMap("Labels.map");
  std::vector<TMetroMapStation*> found;
  // Diameter 11: the neighbourhood is 7.33 either way, open at the bounds.
  // Red and Blue share the point (200, 100); both are found, in line order.
  map.FindStationsAtPoint(207, 93, found);
  map.FindStationsAtPoint(207.4L, 100, found);
  map.FindStationsAtPoint(0, 0, found);  // unplaced stations are never hit
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0], map.StationAt(0, 1));
  EXPECT_EQ(found[1], map.StationAt(1, 1));
  found.clear();
  map.FindStationsByLabel(310, 90, found);  // the corner of East's rectangle
  map.FindStationsByLabel(425, 20, found);  // Depot's label: its station is not placed
  map.FindStationsByLabel(309, 90, found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], map.StationAt(0, 2));

  TMetroMap& metro = city.LoadMap("Metro.map");
  EXPECT_TRUE(metro.Lines[0]->LegendContains(70, 320));
  EXPECT_FALSE(metro.Lines[0]->LegendContains(70.5L, 320));
  EXPECT_FALSE(metro.Lines[1]->LegendContains(0, 0));
}

TEST_F(MetroMapTest, SyncSegmentEndsFollowsTheStations) {
  TMetroMap& map = city.LoadMap("Segments.map");
  TMetroMapLine& red = *map.Lines[0];
  red.Stations[1]->Coordinate.X = 222;
  red.Stations[2]->Coordinate.Y = 111;
  map.SyncSegmentEnds();
  const TMetroMapSegment& reversed = *red.Segments[2];  // East to Central
  EXPECT_EQ(reversed.Nodes.front()->Coordinate.Y, 111);
  EXPECT_EQ(reversed.Nodes.back()->Coordinate.X, 222);
  EXPECT_EQ(reversed.Nodes[1]->Coordinate.X, 100);
}

TEST_F(MetroMapTest, MissingMapFileGivesAnEmptyMap) {
  TMetroMap& map = city.LoadMap("Absent.map");
  EXPECT_EQ(map.Name, "Absent.map");
  EXPECT_TRUE(map.Lines.empty());
  ASSERT_EQ(map.Transports.size(), 1u);
  EXPECT_EQ(map.Layers.size(), 1u);
}

}  // namespace
}  // namespace varnik
