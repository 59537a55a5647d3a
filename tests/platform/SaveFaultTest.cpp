// Saving under faults: a save that dies or fails half-way, a read-only
// file, a file with its own permissions, a file reached through a link. In
// every case the file on disk is either the old one or the new one, whole.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "platform/uFiles.h"
#include "platform/uProfile.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;

// Larger than the file-size limit the faulty saves run under, so that the
// write stops in the middle.
const std::string kNewContent(256 * 1024, 'n');
constexpr rlim_t kSizeLimit = 64 * 1024;

// Saves with the file size limited, so the kernel kills the process with
// SIGXFSZ in the middle of writing; returns only if it was not killed.
void SaveUnderSizeLimit(const std::string& path) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = kSizeLimit;
  setrlimit(RLIMIT_FSIZE, &limit);
  WriteFileAtomic(path, kNewContent);
  _exit(0);
}

class SaveFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = (dir.Path() / "Metro.map").string();
    ASSERT_TRUE(WriteFileAtomic(path, kOld));
  }
  std::string Content() const {
    std::string data;
    ReadWholeFile(path, data);
    return data;
  }
  size_t EntryCount() const { return std::distance(fs::directory_iterator(dir.Path()), {}); }
  fs::perms Permissions() const { return fs::status(path).permissions(); }

  const std::string kOld = "[Options]\r\nStationDiameter=11\r\n";
  test::TTempDir dir;
  std::string path;
};

// The process dies in the middle of writing (the kernel kills it when the
// file outgrows the size limit): the old file is untouched.
TEST_F(SaveFaultTest, SaveKilledHalfWayLeavesTheOldFile) {
  EXPECT_EXIT(SaveUnderSizeLimit(path), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(Content(), kOld);
  // The next save goes through and replaces the file whole.
  ASSERT_TRUE(WriteFileAtomic(path, kNewContent));
  EXPECT_EQ(Content(), kNewContent);
}

// The write fails half-way and the process lives on: the save reports the
// failure, the old file is untouched and no partial file stays behind.
TEST_F(SaveFaultTest, WriteFailingHalfWayIsReportedAndCleanedUp) {
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = saved;
  limit.rlim_cur = kSizeLimit;
  setrlimit(RLIMIT_FSIZE, &limit);
  const bool written = WriteFileAtomic(path, kNewContent);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(Content(), kOld);
  EXPECT_EQ(EntryCount(), 1u);
}

// Renaming over a read-only file would succeed (only the directory's rights
// count for a rename), silently overriding the user's protection.
TEST_F(SaveFaultTest, ReadOnlyFileIsNeitherReplacedNorEdited) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(WriteFileAtomic(path, "new"));
  EXPECT_FALSE(WriteProfileString(path, "Options", "StationDiameter", "7"));
  EXPECT_EQ(Content(), kOld);
  EXPECT_EQ(Permissions(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(SaveFaultTest, ReplacedFileKeepsItsPermissions) {
  for (fs::perms perms : {fs::perms::owner_read | fs::perms::owner_write,
                          fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read}) {
    fs::permissions(path, perms);
    ASSERT_TRUE(WriteFileAtomic(path, "new"));
    EXPECT_EQ(Permissions(), perms);
  }
}

TEST_F(SaveFaultTest, LinkIsWrittenThroughAndStaysALink) {
  const fs::path link = dir.Path() / "Link.map";
  fs::create_symlink(path, link);
  ASSERT_TRUE(WriteFileAtomic(link.string(), "through"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Content(), "through");
  // A link that leads nowhere is not replaced by a file.
  fs::create_symlink(dir.Path() / "none" / "x.map", dir.Path() / "Dangling.map");
  EXPECT_FALSE(WriteFileAtomic((dir.Path() / "Dangling.map").string(), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "Dangling.map"));
}

}  // namespace
}  // namespace varnik
