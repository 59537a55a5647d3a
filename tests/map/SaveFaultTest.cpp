// Saving a city when files cannot be written: each file that fails is
// reported once and left as it was, and every other file is still saved;
// a save that dies half-way leaves every file whole.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "MapTestCity.h"
#include "map/uCitySaver.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;

constexpr fs::perms kReadOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

class CitySaveFaultTest : public test::TSavedCityTest {
 protected:
  void SetUp() override {
    CopyAndLoad(test::CityDir("Saving"));
    mapBefore = dir.ReadBytes("Metro.map");
    transportBefore = dir.ReadBytes("Metro.trp");
  }
  static std::string Failure(const char* file) { return Utf8ToCp1251("Не удалось сохранить файл ") + file; }
  // The first save of this city rewrites both files (new driving times in
  // the transport, cleaned-up lines in the map).
  bool MapSaved() const { return dir.ReadBytes("Metro.map") != mapBefore; }
  bool TransportSaved() const { return dir.ReadBytes("Metro.trp").find("Driving=2,3") != std::string::npos; }

  std::string mapBefore, transportBefore;
};

TEST_F(CitySaveFaultTest, ReadOnlyMapIsReportedOnceAndTheTransportIsSaved) {
  fs::permissions(dir.Path() / "Metro.map", kReadOnly);
  EXPECT_FALSE(Save());
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{Failure("Metro.map")});
  EXPECT_EQ(dir.ReadBytes("Metro.map"), mapBefore);
  EXPECT_TRUE(TransportSaved());
}

TEST_F(CitySaveFaultTest, ReadOnlyTransportIsReportedOnceAndTheMapIsSaved) {
  fs::permissions(dir.Path() / "Metro.trp", kReadOnly);
  EXPECT_FALSE(Save());
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{Failure("Metro.trp")});
  EXPECT_EQ(dir.ReadBytes("Metro.trp"), transportBefore);
  EXPECT_TRUE(MapSaved());
}

TEST_F(CitySaveFaultTest, EveryReadOnlyFileIsReportedOnce) {
  fs::permissions(dir.Path() / "Metro.map", kReadOnly);
  fs::permissions(dir.Path() / "Metro.trp", kReadOnly);
  EXPECT_FALSE(Save());
  EXPECT_EQ(messages.Texts(), (std::vector<std::string>{Failure("Metro.map"), Failure("Metro.trp")}));
  EXPECT_EQ(dir.ReadBytes("Metro.map"), mapBefore);
  EXPECT_EQ(dir.ReadBytes("Metro.trp"), transportBefore);
}

// Once the file is writable again the next save goes through.
TEST_F(CitySaveFaultTest, SaveAfterTheFileIsWritableAgainSucceeds) {
  fs::permissions(dir.Path() / "Metro.map", kReadOnly);
  EXPECT_FALSE(Save());
  fs::permissions(dir.Path() / "Metro.map", fs::perms::owner_write, fs::perm_options::add);
  messages.Entries.clear();
  EXPECT_TRUE(Save());
  EXPECT_TRUE(messages.Entries.empty());
  EXPECT_TRUE(MapSaved());
}

// The kernel kills the saving process as soon as a file outgrows the size
// limit, which is smaller than either file: both stay as they were.
void SaveKilledByTheSizeLimit(const fs::path& dir, TMetroMap* map, const TTransports& transports) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = 64;
  setrlimit(RLIMIT_FSIZE, &limit);
  test::TScopedCurrentDir here(dir);
  SaveCity(map, transports, true);
  _exit(0);
}

TEST_F(CitySaveFaultTest, SaveKilledHalfWayLeavesEveryFileWhole) {
  EXPECT_EXIT(SaveKilledByTheSizeLimit(dir.Path(), map, city->Transports), ::testing::KilledBySignal(SIGXFSZ),
              "");
  EXPECT_EQ(dir.ReadBytes("Metro.map"), mapBefore);
  EXPECT_EQ(dir.ReadBytes("Metro.trp"), transportBefore);
}

}  // namespace
}  // namespace varnik
