// The text commands of the vector editor: comment toggles by name and by
// selection, caret positions across replaced text, and the bytes a save
// writes.

#include <gtest/gtest.h>

#include "platform/uCodePage.h"
#include "veceditor/uTextCommands.h"

namespace varnik {
namespace {

using Lines = std::vector<std::string>;

TEST(NamedComments, ToggleEachLineByWhereTheNameStands) {
  const struct {
    const char* Name;
    const char* Before;
    const char* After;
  } table[] = {
      {"image", "Image park.png, 10, 20", ";Image park.png, 10, 20"},
      {"image", "IMAGE a.gif", ";IMAGE a.gif"},
      {"image", ";image a.gif", "image a.gif"},
      {"image", ";Image a.gif", "Image a.gif"},
      {"image", " image a.gif", "image a.gif"},
      {"image", "Imagery 1", "Imagery 1"},
      {"image", "  image a.gif", "  image a.gif"},
      {"image", ";;image a.gif", ";;image a.gif"},
      {"angle", "Angle 30", ";Angle 30"},
      {"angle", "AngleTextOut 0, Arial, 12, 1, 2, x", "AngleTextOut 0, Arial, 12, 1, 2, x"},
      // The first place the name stands decides, wherever the line came from.
      {"angle", "Xangle 5", "angle 5"},
      {"angle", "; angle 5", "; angle 5"},
      {"opaque", "Opaque 50", ";Opaque 50"},
      {"opaque", "Opaque", "Opaque"},
      {"opaque", "", ""},
  };
  for (const auto& row : table) {
    Lines lines{row.Before};
    const bool changed = ToggleNamedComments(lines, row.Name);
    EXPECT_EQ(lines, Lines{row.After}) << row.Name << " / " << row.Before;
    EXPECT_EQ(changed, std::string(row.Before) != row.After) << row.Before;
  }
}

TEST(NamedComments, TogglingTwiceRestoresTheLines) {
  const Lines original{"Size 10x10", "Image a.png", "Line 1,2, 3,4", "image b.png, 1, 2"};
  Lines lines = original;
  ToggleNamedComments(lines, "image");
  EXPECT_EQ(lines, (Lines{"Size 10x10", ";Image a.png", "Line 1,2, 3,4", ";image b.png, 1, 2"}));
  ToggleNamedComments(lines, "image");
  EXPECT_EQ(lines, original);
}

TEST(NamedComments, CyrillicTextBeforeTheNameIsLowerCasedAsWindows1251) {
  // "Я" lower-cases to "я", a different byte: the name is found at the second
  // character only after folding, and the first character goes.
  Lines lines{Utf8ToCp1251("Яimage x")};
  EXPECT_TRUE(ToggleNamedComments(lines, "image"));
  EXPECT_EQ(lines, Lines{"image x"});
}

TCaretState Selection(int startLine, int startColumn, int endLine, int endColumn) {
  return TCaretState{0, {startLine, startColumn}, {endLine, endColumn}};
}

TEST(SelectedComments, TwoOfThreeCommentedAreUncommented) {
  Lines lines{";Line 1,1, 2,2", "Line 3,3, 4,4", ";;Ellipse 0,0, 5,5"};
  TCaretState caret = Selection(0, 3, 2, 4);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{"Line 1,1, 2,2", "Line 3,3, 4,4", ";Ellipse 0,0, 5,5"}));
  EXPECT_EQ(caret, Selection(0, 2, 2, 3));
}

TEST(SelectedComments, OneOfThreeCommentedCommentsAll) {
  Lines lines{"Line 1,1, 2,2", ";Line 3,3, 4,4", "Ellipse 0,0, 5,5"};
  TCaretState caret = Selection(0, 0, 2, 5);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";Line 1,1, 2,2", ";;Line 3,3, 4,4", ";Ellipse 0,0, 5,5"}));
  // A column of 0 stays at the start of its line.
  EXPECT_EQ(caret, Selection(0, 0, 2, 6));
}

TEST(SelectedComments, HalfCommentedCountsAsFewAndIsCommented) {
  Lines lines{";a", "b"};
  TCaretState caret = Selection(0, 1, 1, 1);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";;a", ";b"}));
}

TEST(SelectedComments, SelectionEndingAtALineStartLeavesThatLine) {
  Lines lines{"a", "b", "c"};
  TCaretState caret = Selection(0, 0, 2, 0);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";a", ";b", "c"}));
  EXPECT_EQ(caret, Selection(0, 0, 2, 0));
}

TEST(SelectedComments, CaretWithoutSelectionTogglesItsLine) {
  Lines lines{"a", ";b", "c"};
  TCaretState caret = Selection(1, 0, 1, 0);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{"a", "b", "c"}));
  caret = Selection(0, 1, 0, 1);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";a", "b", "c"}));
  EXPECT_EQ(caret, Selection(0, 2, 0, 2));
}

TEST(SelectedComments, EmptyLinesAreCommentedToo) {
  Lines lines{"Line 1,2, 3,4", ""};
  TCaretState caret = Selection(0, 0, 1, 0);
  // One line only: the selection ends at the start of the last line.
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";Line 1,2, 3,4", ""}));
  caret = Selection(1, 0, 1, 0);
  ToggleSelectedComments(lines, caret);
  EXPECT_EQ(lines, (Lines{";Line 1,2, 3,4", ";"}));
}

TEST(CaretPositions, ClampToTheLinesOfTheNewText) {
  const Lines lines{"Size 10x10", "Line 1,2, 3,4", ""};
  const struct {
    TTextPosition In, Out;
  } table[] = {
      {{1, 5}, {1, 5}},   {{1, 13}, {1, 13}}, {{1, 40}, {1, 13}}, {{7, 3}, {2, 0}},
      {{-1, 3}, {0, 3}},  {{0, -4}, {0, 0}},  {{2, 0}, {2, 0}},
  };
  for (const auto& row : table)
    EXPECT_EQ(ClampPosition(lines, row.In), row.Out) << row.In.Line << ":" << row.In.Column;
}

TEST(BoxText, LinesSplitAtLineFeedsAndJoinBack) {
  EXPECT_EQ(SplitBoxText(""), Lines{""});
  EXPECT_EQ(SplitBoxText("a\nb\n"), (Lines{"a", "b", ""}));
  EXPECT_EQ(JoinBoxLines({"a", "b", ""}), "a\nb\n");
}

TEST(BoxText, DocumentTextAndFileBytes) {
  EXPECT_EQ(BoxTextOfDocumentText("Size 1x1\r\nLine 1,2, 3,4\r\n"), "Size 1x1\nLine 1,2, 3,4\n");
  EXPECT_EQ(DocumentTextOfBoxText("Size 1x1\nLine 1,2, 3,4\n"), "Size 1x1\r\nLine 1,2, 3,4\r\n");
  const struct {
    const char* Box;
    const char* File;
  } table[] = {
      {"", ""},
      {"a", "a\r\n"},
      {"a\nb", "a\r\nb\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\n\n", "a\r\n\r\n"},
      {"\n", "\r\n"},
  };
  for (const auto& row : table) EXPECT_EQ(FileTextOfBoxText(row.Box), row.File) << row.Box;
}

// Files written elsewhere may end their lines with a line feed alone; the
// editor reads that as a line end too, whatever mix the file holds.
TEST(BoxText, FileBytesEndLinesAtEveryLineEnd) {
  const struct {
    const char* File;
    const char* Document;
  } table[] = {
      {"", ""},         {"a\nb\n", "a\r\nb\r\n"}, {"a\r\nb", "a\r\nb"},
      {"a\rb", "a\rb"}, {"a\n\nb", "a\r\n\r\nb"}, {"a\r\n\nb\r", "a\r\n\r\nb\r"},
      {"\n", "\r\n"},   {"a\n\rb", "a\r\n\rb"},
  };
  for (const auto& row : table) EXPECT_EQ(DocumentTextOfFileText(row.File), row.Document) << row.File;
}

}  // namespace
}  // namespace varnik
