// Saving a vector document as the vector editor does (its canonical text
// written atomically over the file) when the save cannot complete: the
// file on disk always reads back as the old document or the new one.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "TestFiles.h"
#include "platform/uFiles.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

namespace fs = std::filesystem;

class DocumentSaveFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = (dir.Path() / "Pictogram.vec").string();
    document.LoadFromText("Size 40x30\r\nPenColor FF0000\r\nLine 1,2, 30,20, 2\r\n");
    ASSERT_TRUE(WriteFileAtomic(path, document.SaveToText()));
    oldText = document.SaveToText();
    // The edit that the failing saves try to write: long enough that the
    // file outgrows the size limit of the killed save.
    std::string edited = "Size 40x30\r\nPenColor 00FF00\r\n";
    for (int i = 0; i < 2000; ++i) edited += "Line 1,2, 30," + std::to_string(i) + ", 2\r\n";
    document.LoadFromText(edited);
  }
  std::string OnDisk() const {
    TVectorImage reread;
    reread.LoadFromFile(path);
    return reread.SaveToText();
  }

  test::TTempDir dir;
  std::string path;
  TVectorImage document;
  std::string oldText;
};

void SaveKilledByTheSizeLimit(const std::string& path, const TVectorImage& document) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = 4096;
  setrlimit(RLIMIT_FSIZE, &limit);
  WriteFileAtomic(path, document.SaveToText());
  _exit(0);
}

TEST_F(DocumentSaveFaultTest, SaveKilledHalfWayLeavesTheOldDocument) {
  EXPECT_EXIT(SaveKilledByTheSizeLimit(path, document), ::testing::KilledBySignal(SIGXFSZ), "");
  EXPECT_EQ(OnDisk(), oldText);
  ASSERT_TRUE(WriteFileAtomic(path, document.SaveToText()));
  EXPECT_EQ(OnDisk(), document.SaveToText());
}

TEST_F(DocumentSaveFaultTest, ReadOnlyFileKeepsTheOldDocument) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_FALSE(WriteFileAtomic(path, document.SaveToText()));
  EXPECT_EQ(OnDisk(), oldText);
}

}  // namespace
}  // namespace varnik
