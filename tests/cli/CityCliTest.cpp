// The commands that make cities: `varnik import-gtfs` and `varnik new`.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "TestFiles.h"
#include "cli/RunTool.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

const std::string kValley = std::string(VARNIK_TEST_DATA) + "/gtfs/valley";

std::map<std::string, std::string> DirectoryBytes(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir))
    files[entry.path().filename().string()] = test::ReadAll(entry.path());
  return files;
}

TEST(ImportGtfs, TheImportedCityLoadsCleanAndASaveChangesNothing) {
  test::TTempDir dir;
  const fs::path out = dir.Path() / "valley";
  auto r = RunTool("varnik", "import-gtfs " + kValley + " " + out.string());
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("imported 5 routes, 6 stations and 8 transfers into "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("2 names changed to fit the city's code page (--verbose lists them)\n"),
            std::string::npos);

  r = RunTool("varnik", "check " + out.string());
  EXPECT_EQ(r.ExitCode, 0) << r.Out;
  EXPECT_EQ(r.Out, "");
  const auto written = DirectoryBytes(out);
  r = RunTool("varnik", "save " + out.string());
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(DirectoryBytes(out), written);
}

TEST(ImportGtfs, AnExistingDirectoryIsReplacedOnlyWithForce) {
  test::TTempDir dir;
  const fs::path out = dir.Path() / "city";
  fs::create_directory(out);
  dir.WriteBytes("city/keep.txt", "mine");
  const std::string zip = std::string(VARNIK_TEST_DATA) + "/gtfs/nested.zip";
  auto r = RunTool("varnik", "import-gtfs " + zip + " " + out.string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "varnik: " + out.string() + " already exists; --force replaces it\n");
  EXPECT_TRUE(fs::exists(out / "keep.txt"));

  r = RunTool("varnik", "import-gtfs " + zip + " " + out.string() + " --force --types 4");
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_FALSE(fs::exists(out / "keep.txt"));
  EXPECT_TRUE(fs::exists(out / "Ferry.trp"));
}

TEST(ImportGtfs, AFaultyFeedWritesNothing) {
  test::TTempDir dir;
  fs::copy(kValley, dir.Path() / "feed");
  dir.WriteBytes("feed/trips.txt", "route_id,trip_id\r\nM1,m1\r\nZZ,m2\r\n");
  const fs::path out = dir.Path() / "out";
  auto r = RunTool("varnik", "import-gtfs " + (dir.Path() / "feed").string() + " " + out.string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "varnik: trips.txt: line 3: unknown route ZZ\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);  // only the feed

  r = RunTool("varnik", "import-gtfs " + kValley + "/stops.txt " + out.string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Err.find("stops.txt: not a zip archive"), std::string::npos) << r.Err;
}

TEST(NewCity, AnEmptyCityLoadsCleanAndIsNeverWrittenOverAnother) {
  test::TTempDir dir;
  const fs::path city = dir.Path() / "town";
  auto r = RunTool("varnik", "new " + city.string() + " --name 'Новый город' --size 300x200");
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(fs::exists(city / "Новый город.cty"));
  r = RunTool("varnik", "check " + city.string());
  EXPECT_EQ(r.ExitCode, 0) << r.Out;

  r = RunTool("varnik", "new " + city.string() + " --name Other");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "varnik: " + city.string() + " is not empty; a new city needs a new or empty directory\n");
  r = RunTool("varnik", "new " + (dir.Path() / "x").string() + " --name X --size 300");
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_FALSE(fs::exists(dir.Path() / "x"));

  // An empty directory, the current one included, takes a new city.
  fs::create_directory(dir.Path() / "empty");
  r = RunTool("varnik", "new " + (dir.Path() / "empty").string() + " --name Empty");
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_TRUE(fs::exists(dir.Path() / "empty" / "Metro.map"));
}

}  // namespace
}  // namespace varnik
