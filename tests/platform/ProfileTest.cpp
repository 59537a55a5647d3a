#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/uFiles.h"
#include "platform/uProfile.h"

namespace varnik {
namespace {

std::string Edited(const std::string& text, std::string_view section, std::string_view key,
                   std::string_view value, int occurrence = 0) {
  TProfileFile file;
  file.LoadFromText(text);
  file.SetValue(section, key, value, occurrence);
  return file.Text();
}

TEST(Profile, WritesKeepEveryOtherByte) {
  struct {
    const char* name;
    std::string before, section, key, value, after;
  } cases[] = {
      {"replace in place keeps odd spacing elsewhere",
       "; head\r\n[Red]\r\n  Color = FF0000 \r\nCoordinates=1,2\r\n\r\n[Blue]\r\nCoordinates=3,4\r\n", "red",
       "COORDINATES", "5,6",
       "; head\r\n[Red]\r\n  Color = FF0000 \r\nCOORDINATES=5,6\r\n\r\n[Blue]\r\nCoordinates=3,4\r\n"},
      {"new key after the last filled line, before the blank line", "[Red]\r\nColor=FF0000\r\n\r\n[Blue]\r\n",
       "Red", "Rects", "1,2,3,4", "[Red]\r\nColor=FF0000\r\nRects=1,2,3,4\r\n\r\n[Blue]\r\n"},
      {"new key in an empty section goes right under the header", "[A]\r\n\r\n[B]\r\nx=1\r\n", "A", "k", "v",
       "[A]\r\nk=v\r\n\r\n[B]\r\nx=1\r\n"},
      {"missing section appended", "[A]\r\nx=1\r\n", "B", "k", "", "[A]\r\nx=1\r\n[B]\r\nk=\r\n"},
      {"missing final line end is completed", "[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
      {"empty file", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
      {"comment lines are not keys", "[A]\r\n;k=old\r\n", "A", "k", "v", "[A]\r\n;k=old\r\nk=v\r\n"},
      {"lone CR and LF line ends stay", "[A]\rk=1\n2\r\n[B]\r\n", "B", "k", "3",
       "[A]\rk=1\n2\r\n[B]\r\nk=3\r\n"},
      {"indented bracket is a key, not a section", "[A]\r\n [B]\r\n", "B", "k", "v",
       "[A]\r\n [B]\r\n[B]\r\nk=v\r\n"},
      {"first of two equal sections", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "A", "k", "9",
       "[A]\r\nk=9\r\n[a]\r\nk=2\r\n"},
      {"bytes after a zero byte stay last", std::string("[A]\r\nk=1\r\n\0junk", 15), "B", "k", "v",
       std::string("[A]\r\nk=1\r\n[B]\r\nk=v\r\n\0junk", 25)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Edited(c.before, c.section, c.key, c.value), c.after) << c.name;
  }
}

TEST(Profile, OccurrenceAddressesRepeatedKeys) {
  std::string text = "[N]\r\n1=a\r\n2=b\r\n1=c\r\n";
  EXPECT_EQ(Edited(text, "N", "1", "x", 1), "[N]\r\n1=a\r\n2=b\r\n1=x\r\n");
  EXPECT_EQ(Edited(text, "N", "1", "x", 2), "[N]\r\n1=a\r\n2=b\r\n1=c\r\n1=x\r\n");
}

TEST(Profile, RemoveTakesOneLineOfARepeatedKey) {
  TProfileFile file;
  file.LoadFromText("[N]\r\n1=a\r\n2=b\r\n1=c\r\n[M]\r\n1=d\r\n");
  file.RemoveValue("n", "1", 1);
  file.RemoveValue("N", "3");  // no such key, no such section: nothing
  file.RemoveValue("X", "1");
  EXPECT_EQ(file.Text(), "[N]\r\n1=a\r\n2=b\r\n[M]\r\n1=d\r\n");
}

TEST(Profile, ReadsValuesLikeTheSectionedReader) {
  TProfileFile file;
  file.LoadFromText(
      "[Options]\r\nFontName = 'Times' \r\nEmpty=\r\nBare\r\nQuote='\r\n[Other]\r\nFontName=X\r\n");
  EXPECT_EQ(file.Value("OPTIONS", "fontname"), "Times");
  EXPECT_EQ(file.Value("Options", "Empty"), "");
  EXPECT_EQ(file.Value("Options", "Bare"), "");
  EXPECT_EQ(file.Value("Options", "Quote"), "");
  EXPECT_EQ(file.Value("Options", "Missing"), std::nullopt);
  EXPECT_EQ(file.Value("Nowhere", "FontName"), std::nullopt);
}

TEST(Profile, IntegerRule) {
  struct {
    std::optional<std::string> value;
    int32_t expected;
  } cases[] = {{std::nullopt, 7}, {"", 0},   {"12abc", 12},    {"-3", -3},
               {"abc", 0},        {"+5", 0}, {"4294967297", 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(ProfileInteger(c.value, 7), c.expected) << c.value.value_or("<missing>");
  }
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("varnik-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const char* name) const { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(ProfileFileTest, WriteCreatesAndThenEditsTheFile) {
  std::string path = Path("a.map");
  ASSERT_TRUE(WriteProfileString(path, "Red", "Coordinates", "1,2"));
  ASSERT_TRUE(WriteProfileString(path, "Red", "Rects", ""));
  std::string data;
  ASSERT_TRUE(ReadWholeFile(path, data));
  EXPECT_EQ(data, "[Red]\r\nCoordinates=1,2\r\nRects=\r\n");
  EXPECT_EQ(ReadProfileString(path, "red", "coordinates", "-"), "1,2");
  EXPECT_EQ(ReadProfileInt(path, "Red", "Coordinates", 5), 1);
  EXPECT_EQ(ReadProfileInt(Path("none.ini"), "Red", "Coordinates", 5), 5);
}

TEST_F(ProfileFileTest, FailedWriteReportsAndKeepsTheFile) {
  // A directory in place of the file: it can be neither read nor replaced.
  std::filesystem::create_directories(dir_ / "blocked.map");
  EXPECT_FALSE(WriteProfileString(Path("blocked.map"), "A", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "blocked.map"));
  // A file in a directory that does not exist cannot be written.
  EXPECT_FALSE(WriteProfileString(Path("missing/x.map"), "A", "k", "v"));
}

}  // namespace
}  // namespace varnik
