#include <gtest/gtest.h>

#include "editor/uMemo.h"

namespace varnik {
namespace {

TEST(Memo, AppendToLineAddsMissingLinesAndEndsEveryLine) {
  struct {
    const char* before;
    size_t line;
    const char* snippet;
    const char* after;
  } cases[] = {
      {"", 0, "a", "a\r\n"},
      {"", 2, "x", "\r\n\r\nx\r\n"},
      {"a\r\nb", 0, "c", "ac\r\nb\r\n"},
      // A line end at the very end starts no further line.
      {"a\r\nb\r\n", 2, "z", "a\r\nb\r\nz\r\n"},
      {"a\r\n\r\nb", 1, "m", "a\r\nm\r\nb\r\n"},
      // Line ends typed into the box may be bare.
      {"a\nb\rc", 1, "!", "a\r\nb!\r\nc\r\n"},
  };
  for (const auto& c : cases) {
    TMemoText memo;
    memo.SetText(c.before);
    AppendToLine(memo, c.line, c.snippet);
    EXPECT_EQ(memo.Text(), c.after) << c.before << " / " << c.line;
  }
}

TEST(Memo, AppendTextAddsToTheTextAsItStands) {
  TMemoText memo;
  memo.SetText("a");
  AppendText(memo, "=x\r\n");
  EXPECT_EQ(memo.Text(), "a=x\r\n");
}

}  // namespace
}  // namespace varnik
