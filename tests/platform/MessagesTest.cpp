#include <gtest/gtest.h>

#include <cstdio>

#include "platform/uMessages.h"

namespace varnik {
namespace {

TEST(Messages, ScopedSinkRecordsAndRestores) {
  TRecordingSink outer, inner;
  TScopedMessageSink a(outer);
  {
    TScopedMessageSink b(inner);
    ShowMessage("one", TMessageStyle::Warning);
    inner.Answer = false;
    EXPECT_FALSE(AskYesNo("Save?"));
  }
  ShowMessage("two");
  ASSERT_EQ(inner.Texts(), std::vector<std::string>{"one"});
  EXPECT_EQ(inner.Entries[0].Style, TMessageStyle::Warning);
  EXPECT_EQ(inner.Questions, std::vector<std::string>{"Save?"});
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"two"});
}

TEST(Messages, StreamSinkWritesUtf8Lines) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  TStderrSink sink(file);
  sink.Show("\xC4\xE5\xED\xFC", TMessageStyle::Plain);  // "День"
  std::rewind(file);
  char buffer[64] = {};
  size_t n = std::fread(buffer, 1, sizeof buffer - 1, file);
  std::fclose(file);
  EXPECT_EQ(std::string(buffer, n), "День\n");
}

}  // namespace
}  // namespace varnik
