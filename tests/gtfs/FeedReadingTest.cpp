// Reading a feed: what stops an import (with the file and line named) and
// what it tolerates with a warning.

#include <gtest/gtest.h>

#include "GtfsTestFeed.h"

namespace varnik {
namespace {

using test::Import;
using test::TinyFeed;

struct TBadFeed {
  const char* Name;
  const char* File;  // replaced (or, with a null text, removed)
  const char* Text;
  const char* Error;
};

TEST(FeedReading, BadInputStopsTheImportNamingFileAndLine) {
  const TBadFeed cases[] = {
      {"missing file", "stops.txt", nullptr, "stops.txt: missing from the feed"},
      {"missing column", "stops.txt", "stop_name,stop_lat,stop_lon\nAlpha,50,10\n",
       "stops.txt: line 1: no column stop_id"},
      {"quote inside a field", "stops.txt", "stop_id,stop_name,stop_lat,stop_lon\nA,Al\"pha,50,10\n",
       "stops.txt: line 2: broken quoting"},
      {"text after a closing quote", "trips.txt", "route_id,trip_id\n\"R\"x,t1\n",
       "trips.txt: line 2: broken quoting"},
      {"quote never closed", "routes.txt", "route_id,route_short_name,route_type\nR,\"7,3\n",
       "routes.txt: line 2: broken quoting"},
      {"more fields than the header", "stop_times.txt",
       "trip_id,arrival_time,departure_time,stop_id,stop_sequence\nt1,10:00:00,10:00:00,A,1\nt1,,,B,2,9\n",
       "stop_times.txt: line 3: more fields than the header names"},
      {"a quoted line break counts its lines", "stops.txt",
       "stop_id,stop_name,stop_lat,stop_lon\nA,\"Al\npha\",50,10\nB,Beta,50.1,10.1,x\n",
       "stops.txt: line 4: more fields than the header names"},
      {"stop time of an unknown trip", "stop_times.txt",
       "trip_id,arrival_time,departure_time,stop_id,stop_sequence\nt9,10:00:00,10:00:00,A,1\n",
       "stop_times.txt: line 2: unknown trip t9"},
      {"stop time at an unknown stop", "stop_times.txt",
       "trip_id,arrival_time,departure_time,stop_id,stop_sequence\r\nt1,10:00:00,10:00:00,A,1\r\nt1,,,Q,"
       "2\r\n",
       "stop_times.txt: line 3: unknown stop Q"},
      {"trip of an unknown route", "trips.txt", "route_id,trip_id\nZ,t1\n",
       "trips.txt: line 2: unknown route Z"},
  };
  for (const TBadFeed& c : cases) {
    TMemoryFeed feed = TinyFeed();
    if (c.Text) {
      feed.Files[c.File] = c.Text;
    } else {
      feed.Files.erase(c.File);
    }
    const auto run = Import(feed);
    EXPECT_EQ(run.City, nullptr) << c.Name;
    EXPECT_EQ(run.Error, c.Error) << c.Name;
  }
}

TEST(FeedReading, ANetworkOfNoChosenTypeIsAnError) {
  TImportOptions options;
  options.Types = {1};
  EXPECT_EQ(Import(TinyFeed(), options).Error, "the feed has no route with trips to import");
}

TEST(FeedReading, ShortRecordsAreWarnedAboutTenTimesThenCounted) {
  TMemoryFeed feed = TinyFeed();
  std::string stops =
      "\xEF\xBB\xBFstop_id,stop_name,stop_lat,stop_lon\r\nA,Alpha,50.0,10.0\r\nB,Beta,50.1,10.1\r\n";
  for (int i = 0; i < 12; ++i) stops += "S" + std::to_string(i) + ",Spare\r\n";
  feed.Files["stops.txt"] = stops;
  const auto run = Import(feed);
  ASSERT_NE(run.City, nullptr) << run.Error;
  EXPECT_EQ(run.Said.substr(0, run.Said.find('\n')),
            "warning: stops.txt: line 4: fewer fields than the header names");
  EXPECT_NE(run.Said.find("warning: stops.txt: line 13: fewer fields"), std::string::npos);
  EXPECT_EQ(run.Said.find("line 14"), std::string::npos);
  EXPECT_NE(run.Said.find("warning: 2 more warnings not shown\n"), std::string::npos);
}

TEST(FeedReading, ZipArchivesAreReadFromAFolderAndNotFromTheirShadows) {
  std::string error;
  const auto zip = OpenFeed(test::kGtfsData / "nested.zip", error);
  ASSERT_NE(zip, nullptr) << error;
  const auto run = Import(*zip);
  ASSERT_NE(run.City, nullptr) << run.Error;
  EXPECT_EQ(test::FindRoute(*run.City, "F1")->StationsToString(), "Pier A,Pier B");

  EXPECT_EQ(OpenZipFeed("PK\x03\x04 but no archive", error), nullptr);
  EXPECT_TRUE(error.starts_with("not a zip archive")) << error;
  EXPECT_EQ(OpenFeed(test::kGtfsData / "valley" / "stops.txt", error), nullptr);
  EXPECT_NE(error.find("stops.txt: not a zip archive"), std::string::npos) << error;
}

}  // namespace
}  // namespace varnik
