#include <gtest/gtest.h>

#include <filesystem>

#include "TestFiles.h"
#include "platform/uFiles.h"

namespace varnik {
namespace {

using Names = std::vector<std::string>;

TEST(Files, MaskMatchingIgnoresLetterCase) {
  struct Case {
    const char* name;
    const char* mask;
    bool matches;
  } cases[] = {
      {"Metro.trp", "Metro.trp", true}, {"metro.TRP", "Metro.trp", true}, {"Bus.trp", "*.trp", true},
      {"Bus.trpx", "*.trp", false},     {"Bus.trp", "B?s.*", true},       {".trp", "*.trp", true},
      {"a.b.trp", "*.trp", true},       {"Metro.trp", "*.map", false},    {"", "*", true},
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches) << c.name << " " << c.mask;
  std::string upperCyrillic = Utf8ToCp1251("ФОН.vec"), lowerCyrillic = Utf8ToCp1251("фон.VEC");
  EXPECT_TRUE(MatchesMask(lowerCyrillic, upperCyrillic));
}

TEST(Files, ListingSortsLatinCaseInsensitivelyAcrossMasks) {
  test::TTempDir dir;
  for (const char* name : {"b.png", "A.vec", "c.GIF", "_x.bmp", "Z.vec", "skip.txt"}) dir.WriteBytes(name, "x");
  dir.WriteBytes("Фон.vec", "x");
  std::filesystem::create_directory(dir.Path() / "dir.vec");
  test::TScopedCurrentDir here(dir.Path());
  Names names;
  for (const char* mask : {"*.vec", "*.gif", "*.png", "*.bmp"}) ListFiles(mask, names);
  // "_" (95) sorts after the lowered letters' digits but before "a" (97);
  // Cyrillic bytes sort by their code, after every Latin letter.
  EXPECT_EQ(names, (Names{"_x.bmp", "A.vec", "b.png", "c.GIF", "Z.vec", Utf8ToCp1251("Фон.vec")}));
}

TEST(Files, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
  test::TTempDir dir;
  std::string path = Utf8ToCp1251((dir.Path() / "Метро.map").string());
  ASSERT_TRUE(WriteFileAtomic(path, "first"));
  ASSERT_TRUE(WriteFileAtomic(path, std::string("second\0bytes", 12)));
  std::string data;
  ASSERT_TRUE(ReadWholeFile(path, data));
  EXPECT_EQ(data, std::string("second\0bytes", 12));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Files, FailedWriteKeepsTheOldFile) {
  test::TTempDir dir;
  std::string path = (dir.Path() / "keep.map").string();
  ASSERT_TRUE(WriteFileAtomic(path, "old"));
  EXPECT_FALSE(WriteFileAtomic((dir.Path() / "missing" / "x.map").string(), "new"));
  // A directory standing where the file should go cannot be replaced.
  std::filesystem::create_directory(dir.Path() / "taken");
  std::filesystem::create_directory(dir.Path() / "taken" / "inside");
  EXPECT_FALSE(WriteFileAtomic((dir.Path() / "taken").string(), "new"));
  std::string data;
  ReadWholeFile(path, data);
  EXPECT_EQ(data, "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

TEST(Files, ReadingMissingFilesAndDirectoriesFails) {
  test::TTempDir dir;
  std::string data = "stale";
  EXPECT_FALSE(ReadWholeFile((dir.Path() / "none").string(), data));
  EXPECT_EQ(data, "");
  EXPECT_FALSE(ReadWholeFile(dir.Path().string(), data));
  EXPECT_FALSE(FileExists(dir.Path().string()));
}

TEST(Files, NamesAndDirectories) {
  EXPECT_EQ(ExtractFileName("a/b\\c.map"), "c.map");
  EXPECT_EQ(ExtractFileName("c.map"), "c.map");
  EXPECT_EQ(ProgramDir().back(), '/');
  EXPECT_FALSE(SetCurrentDir("/nonexistent/dir"));
}

}  // namespace
}  // namespace varnik
