// The parts the import is made of, each with its own rules: times, medians
// and delay windows, route types, station grouping, names, shapes and the
// projection.

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "gtfs/uFeed.h"
#include "gtfs/uImportLog.h"
#include "gtfs/uMapLayout.h"
#include "gtfs/uNames.h"
#include "gtfs/uNetworkBuilder.h"
#include "gtfs/uPatterns.h"
#include "gtfs/uShapeNodes.h"
#include "gtfs/uStationGroups.h"
#include "platform/uCodePage.h"

namespace varnik {
namespace {

constexpr int32_t H = 3600, M = 60;

TEST(ImportParts, GtfsTimes) {
  const std::pair<const char*, int32_t> good[] = {
      {"07:05:09", 7 * H + 5 * M + 9}, {"7:05:09", 7 * H + 5 * M + 9}, {"25:00:00", 25 * H}, {"", kNoTime}};
  for (const auto& [text, seconds] : good) {
    int32_t value = 0;
    EXPECT_TRUE(ParseGtfsTime(text, value)) << text;
    EXPECT_EQ(value, seconds) << text;
  }
  for (const char* bad : {"7:5:09", "07:60:00", "07:05", "ab:cd:ef", "-1:00:00", "07:05:09 x"}) {
    int32_t value = 0;
    EXPECT_FALSE(ParseGtfsTime(bad, value)) << bad;
  }
}

TEST(ImportParts, MediansTakeTheLowerMiddle) {
  const std::pair<std::vector<int32_t>, int32_t> cases[] = {
      {{}, 0}, {{5}, 5}, {{9, 1}, 1}, {{3, 1, 2}, 2}, {{4, 1, 3, 2}, 2}};
  for (auto [values, median] : cases) EXPECT_EQ(LowerMedian(values), median);
}

TEST(ImportParts, DelayWindows) {
  struct TCase {
    const char* Name;
    std::vector<int32_t> Departures;
    std::vector<std::pair<int32_t, int32_t>> Frequencies;
    int32_t Day, Night;
  };
  const TCase cases[] = {
      {"gaps of a day", {7 * H, 7 * H + 10 * M, 7 * H + 30 * M}, {}, 10 * M, 0},
      {"the day starts at 07:00", {6 * H + 59 * M, 7 * H + 10 * M}, {}, 0, 0},
      {"the day ends before 20:00", {19 * H + 50 * M, 20 * H}, {}, 0, 0},
      {"repeated departures count once", {8 * H, 8 * H, 8 * H + 5 * M}, {}, 5 * M, 0},
      {"the night runs past midnight", {23 * H + 50 * M, 10 * M}, {}, 0, 20 * M},
      {"and past 24:00", {23 * H + 50 * M, 24 * H + 10 * M}, {}, 0, 20 * M},
      {"the night starts at 22:00", {21 * H + 59 * M, 22 * H + 10 * M}, {}, 0, 0},
      {"the night ends before 05:00", {4 * H + 59 * M, 5 * H}, {}, 0, 0},
      {"frequencies stand instead",
       {8 * H, 8 * H + 2 * M},
       {{7 * H, 600}, {16 * H, 900}, {23 * H, 1200}},
       600,
       1200},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(WindowDelay(c.Departures, c.Frequencies, true), c.Day) << c.Name;
    EXPECT_EQ(WindowDelay(c.Departures, c.Frequencies, false), c.Night) << c.Name;
  }
}

TEST(ImportParts, ExtendedRouteTypesFallIntoTheBasicOnes) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 0},    {1, 1},    {3, 3},       {100, 2},   {199, 2},
                                               {200, 3},  {299, 3},  {400, 1},     {699, 1},   {700, 3},
                                               {799, 3},  {900, 0},  {999, 0},     {1000, 4},  {1099, 4},
                                               {1200, 4}, {1299, 4}, {1100, 1100}, {300, 300}, {7, 7}};
  for (const auto& [type, basic] : cases) EXPECT_EQ(BasicRouteType(type), basic) << type;
}

TEST(ImportParts, NamesFitTheCodePageAndTheListSyntax) {
  const std::pair<const char*, const char*> cases[] = {
      {"Москва", "Москва"},       {"Zürich (Hbf)", "Zurich [Hbf]"},
      {"Café Ёлка", "Cafe Ёлка"},  // only what the code page lacks is transliterated
      {"Ἀθῆναι", "Athenai"},      {"\"Quoted\" Square", "Quoted Square"},
      {"-East", "East"},          {"'Quote", "Quote"},
      {"Lake 🏊", "Lake"},         {"Tab\there", "Tab here"},
  };
  TNameConverter names;
  for (const auto& [from, to] : cases) EXPECT_EQ(Cp1251ToUtf8(names.Convert(from)), to) << from;
  EXPECT_EQ(names.Changes().size(), std::size(cases) - 1);
}

// Stops on one meridian; `metres` north of 50°N.
TGtfsStop StopAt(const std::string& id, const std::string& name, double metres, int32_t type = 0,
                 const std::string& parent = "") {
  TGtfsStop stop;
  stop.Id = id;
  stop.Name = name;
  stop.Lat = 50 + metres / 111195.0;
  stop.Lon = 10;
  stop.HasPlace = true;
  stop.LocationType = type;
  stop.ParentId = parent;
  return stop;
}

// Progress appears only after a second, and only where it was asked for (a
// terminal): a slow import into a file or a test's stream says nothing of it.
TEST(ImportParts, ProgressIsShownOnlyWhenAskedForAfterASecond) {
  std::ostringstream quiet, shown;
  TImportLog quietLog(quiet), shownLog(shown, true);
  shownLog.Progress("reading stop_times.txt", 0.25);
  EXPECT_EQ(shown.str(), "");
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  quietLog.Progress("reading stop_times.txt", 0.5);
  shownLog.Progress("reading stop_times.txt", 0.5);
  shownLog.Finish();
  EXPECT_EQ(quiet.str(), "");
  EXPECT_EQ(shown.str(), "\rimport-gtfs: reading stop_times.txt 50%\n");
}

TEST(ImportParts, StopsJoinIntoStations) {
  TGtfsFeed feed;
  feed.Stops = {StopAt("m1", "Mill", 0),
                StopAt("m2", "Mill", 400),
                StopAt("m3", "Mill", 800),
                StopAt("far", "Mill", 1400),  // chain of 400 m steps, then a gap
                StopAt("P", "Port", 3000, 1),
                StopAt("p1", "Port", 3010, 0, "P"),
                StopAt("Q", "Port", 3900, 1),
                StopAt("near", "Port", 3450),  // 450 m from P, 450 from Q... nearer P
                StopAt("door", "Port", 3000, 2, "P")};
  feed.Stops[7].Lat -= 1 / 111195.0;  // one metre nearer P
  for (size_t i = 0; i < feed.Stops.size(); ++i) feed.StopIndex[feed.Stops[i].Id] = static_cast<int32_t>(i);
  std::ostringstream said;
  TImportLog log(said);
  const TStationGroups groups = GroupStations(feed, log);
  const auto& of = groups.StationOfStop;
  EXPECT_EQ(of[0], of[1]);
  EXPECT_EQ(of[0], of[2]);
  EXPECT_NE(of[0], of[3]);
  EXPECT_EQ(of[4], of[5]);
  EXPECT_EQ(of[4], of[7]);
  EXPECT_NE(of[4], of[6]);
  EXPECT_EQ(of[8], -1);
  const TGtfsStation& port = groups.Stations[static_cast<size_t>(of[4])];
  EXPECT_EQ(port.Name, "Port");
  EXPECT_EQ(port.Lat, feed.Stops[4].Lat);  // the parent's place, not the mean
  const TGtfsStation& mill = groups.Stations[static_cast<size_t>(of[0])];
  EXPECT_DOUBLE_EQ(mill.Lat, feed.Stops[1].Lat);  // the mean of its stops
}

TEST(ImportParts, ShapesGiveAFewNodesBetweenStations) {
  // A zigzag between two stations keeps its eight most telling points.
  std::vector<TPointF> zigzag{{0, 0}};
  for (int i = 1; i < 40; ++i) zigzag.push_back({i * 10.0, (i % 2) * (5.0 + i)});
  zigzag.push_back({400, 0});
  EXPECT_EQ(Simplify(zigzag, 8, 1.5).size(), 8u);
  EXPECT_TRUE(Simplify({{0, 0}, {5, 0.5}, {10, 0}}, 8, 1.5).empty());
  const auto one = Simplify({{0, 0}, {5, 5}, {10, 0}}, 8, 1.5);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].X, 5);

  // The shape runs A -> bend -> B -> C; the stations are found along it in
  // order, and a link holds only the points strictly between its two.
  const std::vector<TPointF> shape{{0, 0}, {50, 40}, {100, 0}, {150, 0}, {200, 0}};
  const auto links = ShapeBetweenStations(shape, {{0, 0}, {100, 0}, {200, 0}});
  ASSERT_EQ(links.size(), 2u);
  ASSERT_EQ(links[0].size(), 1u);
  EXPECT_EQ(links[0][0].Y, 40);
  EXPECT_EQ(links[1].size(), 1u);
  // A station far from the shape says nothing about its links.
  EXPECT_TRUE(ShapeBetweenStations(shape, {{0, 0}, {100, 500}})[0].empty());
}

TEST(ImportParts, TheProjectionSpansTheCanvasLessItsMargins) {
  TStationGroups groups;
  for (double lon : {0.0, 10.0, 5.0}) {
    TGtfsStation station;
    station.Lon = lon;
    station.HasPlace = true;
    groups.Stations.push_back(station);
  }
  const TMapProjection projection(groups, {0, 1, 2}, 1000);
  EXPECT_EQ(projection.Width(), 1000);
  EXPECT_EQ(projection.Height(), 100);
  double x, y;
  projection.Project(0, 10, x, y);
  EXPECT_DOUBLE_EQ(x, 950);
  EXPECT_DOUBLE_EQ(y, 50);
  projection.Project(1, 5, x, y);
  EXPECT_DOUBLE_EQ(x, 500);
  EXPECT_LT(y, 50);  // north is up
}

}  // namespace
}  // namespace varnik
