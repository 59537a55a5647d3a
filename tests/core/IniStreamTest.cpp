#include <gtest/gtest.h>

#include "core/uIniStream.h"
#include "core/uTranslation.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

using Lines = std::vector<std::string>;

TEST(SplitLines, CarriageReturnEndsLinesAndZeroEndsText) {
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb\nc"), (Lines{"a\nb\nc"}));
  EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a\n", "b"}));
  EXPECT_EQ(SplitLines(std::string("a\r\nb\0c\r\nd", 10)), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
}

class IniStreamTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) { ini.LoadFromText(text); }
  std::string Value(const std::string& section, const std::string& key, const std::string& def = "<default>") {
    ini.SelectSection(section);
    return ini.ValueString(key, def);
  }
  TIniStream ini;
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
};

TEST_F(IniStreamTest, SectionNamesFoldOnlyLatinLetters) {
  std::string cyrillic = Utf8ToCp1251("[Линия]\r\nk=1\r\n");
  Load("[Options]\r\nName=x\r\n" + cyrillic);
  EXPECT_EQ(Value("options", "name"), "x");
  EXPECT_EQ(Value("OPTIONS", "NAME"), "x");
  EXPECT_EQ(Value(Utf8ToCp1251("Линия"), "k"), "1");
  EXPECT_EQ(Value(Utf8ToCp1251("ЛИНИЯ"), "k"), "<default>");
}

TEST_F(IniStreamTest, OnlyAFirstColumnBracketOpensASection) {
  Load("  [Early]\r\n[Options]\r\n  [Options]\r\n  ; note\r\n# note\r\n;comment\r\n");
  ASSERT_EQ(ini.Sections.size(), 1u);
  const auto& keys = ini.Sections[0]->Keys;
  ASSERT_EQ(keys.size(), 3u);
  EXPECT_EQ(keys[0]->Name, "[Options]");
  EXPECT_EQ(keys[1]->Name, "; note");
  EXPECT_EQ(keys[2]->Name, "# note");
}

TEST_F(IniStreamTest, LastCharacterOfAHeaderIsDroppedWhateverItIs) {
  Load("[Options]  \r\n[Other\r\n[ Spaced ]\r\n[\r\n");
  ASSERT_EQ(ini.Sections.size(), 4u);
  EXPECT_EQ(ini.Sections[0]->Name, "Options]");
  EXPECT_EQ(ini.Sections[1]->Name, "Othe");
  EXPECT_EQ(ini.Sections[2]->Name, "Spaced");
  EXPECT_EQ(ini.Sections[3]->Name, "");
}

TEST_F(IniStreamTest, KeysSplitAtTheFirstEqualsSign) {
  Load("[S]\r\n a = b = c \r\nbare\r\n=v\r\n");
  EXPECT_EQ(Value("S", "a"), "b = c");
  EXPECT_EQ(Value("S", "bare", "d"), "");
  EXPECT_EQ(Value("S", ""), "v");
  EXPECT_EQ(Value("S", "missing"), "<default>");
}

TEST_F(IniStreamTest, SingleQuotesAroundAValueAreStripped) {
  Load("[S]\r\nA = 'Metro' \r\nB=''\r\nC='\r\nD='x\r\n");
  EXPECT_EQ(Value("S", "A"), "Metro");
  EXPECT_EQ(Value("S", "B"), "");
  EXPECT_EQ(Value("S", "C"), "");
  EXPECT_EQ(Value("S", "D"), "'x");
}

TEST_F(IniStreamTest, RepeatedKeysJoinAndFirstDuplicateSectionWins) {
  Load("[S]\r\nAliases=A,B\r\naliases=C,D\r\n[S]\r\nAliases=E\r\n");
  EXPECT_EQ(Value("S", "Aliases"), "A,B\\nC,D");
}

TEST_F(IniStreamTest, MissingSectionGivesDefaultButBlankNameIsReported) {
  Load("[S]\r\nk=1\r\n");
  EXPECT_EQ(Value("Nope", "k"), "<default>");
  EXPECT_TRUE(messages.Entries.empty());
  EXPECT_EQ(Value("  ", "k"), "");
  ASSERT_EQ(messages.Texts(), Lines{"ValueString: Section not assigned"});
  EXPECT_EQ(messages.Entries[0].Style, TMessageStyle::Foreground);
}

TEST_F(IniStreamTest, IntegerAndBooleanRules) {
  Load("[S]\r\ni1=  42  \r\ni2=-7x\r\ni3=abc\r\nb1=True\r\nb2=1\r\nb3=10\r\nb4=yes\r\nb5=t\r\n");
  ini.SelectSection("S");
  EXPECT_EQ(ini.ValueInteger("i1", 5), 42);
  EXPECT_EQ(ini.ValueInteger("i2", 5), -7);
  EXPECT_EQ(ini.ValueInteger("i3", 5), 0);
  EXPECT_EQ(ini.ValueInteger("absent", 5), 5);
  EXPECT_TRUE(ini.ValueBoolean("b1", false));
  EXPECT_TRUE(ini.ValueBoolean("b2", false));
  EXPECT_FALSE(ini.ValueBoolean("b3", true));
  EXPECT_FALSE(ini.ValueBoolean("b4", true));
  EXPECT_TRUE(ini.ValueBoolean("b5", false));
  EXPECT_TRUE(ini.ValueBoolean("absent", true));
}

TEST_F(IniStreamTest, LineFeedOnlyTextIsOneLine) {
  Load("[Options]\nName=x\n");
  ASSERT_EQ(ini.Sections.size(), 1u);
  EXPECT_TRUE(ini.Sections[0]->Keys.empty());
}

TEST_F(IniStreamTest, SectionDataListsKeysAsStored) {
  Load("[T]\r\n1 = A, B \r\nlone\r\n2='q'\r\n");
  ini.SelectSection("T");
  Lines lines;
  ini.GetSectionData(lines);
  EXPECT_EQ(lines, (Lines{"1=A, B", "lone", "2='q'"}));
  ini.SelectSection("none");
  ini.GetSectionData(lines);
  EXPECT_TRUE(lines.empty());
}

TEST_F(IniStreamTest, UnreadableFileGivesNoSectionsAndNoMessage) {
  ini.LoadFromFile("/nonexistent/dir/file.ini");
  EXPECT_TRUE(ini.Sections.empty());
  EXPECT_EQ(ini.FileName, "file.ini");
  EXPECT_TRUE(messages.Entries.empty());
}

TEST(Translation, ReturnsDefaultsWithEscapesExpanded) {
  TTranslation t;
  EXPECT_EQ(t.Translate("gbDelay", "rbDelayDay", "Day"), "Day");
  EXPECT_EQ(t.Translate("Messages", "X", "a\\nb"), "a\r\nb");
}

TEST(Translation, ReplacementsRepeatUntilNoSourceRemains) {
  TTranslation t;
  t.ReplaceFrom = {"ab"};
  t.ReplaceTo = {"x"};
  EXPECT_EQ(t.ApplyReplacements("ab-ab"), "ab-ab");  // off until enabled
  t.ReplacementsEnabled = true;
  EXPECT_EQ(t.ApplyReplacements("ab-ab"), "x-x");
  t.ReplaceTo = {"a"};
  EXPECT_EQ(t.ApplyReplacements("abb"), "a");
  t.ReplaceFrom2 = {"a"};
  t.ReplaceTo2 = {"z"};
  EXPECT_EQ(t.ApplyReplacements("abb"), "z");
}

}  // namespace
}  // namespace varnik
