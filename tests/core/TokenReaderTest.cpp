#include <gtest/gtest.h>

#include <random>

#include "core/uUtils.h"

namespace varnik {
namespace {

// The item rule written out plainly, position arithmetic and all, to check
// the linear-time reader against on random texts.
std::string ReferenceParseToken(std::string& s, const std::string& separators) {
  size_t p = s.find_first_of(separators);
  std::string token = s.substr(0, p);
  s = p == std::string::npos ? "" : s.substr(p + 1);
  return token;
}

std::string ReferenceNextToken(std::string& s) {
  s = TrimBlank(s);
  auto pos = [&](char c) { size_t p = s.find(c); return p == std::string::npos ? 0 : p + 1; };
  if (!s.empty() && s[0] == '\'') {
    s.erase(0, 1);
    std::string item = TrimBlank(ReferenceParseToken(s, ","));
    std::erase(item, '\'');
    return item;
  }
  if (!s.empty() && s[0] == '"') {
    s.erase(0, 1);
    std::string item = ReferenceParseToken(s, "\"");
    if (!s.empty() && s[0] == '(') item += TrimBlank(ReferenceParseToken(s, ")")) + ")";
    return item + TrimBlank(ReferenceParseToken(s, ","));
  }
  if (pos('(') < pos(',') && pos(')') > 0) {
    std::string item = TrimBlank(ReferenceParseToken(s, ")")) + ")";
    return item + ReferenceParseToken(s, ",");
  }
  return TrimBlank(ReferenceParseToken(s, ","));
}

TEST(TokenReader, AgreesWithThePlainRuleOnRandomTexts) {
  std::mt19937 random(20261207);
  const std::string alphabet = "ab ,,()\"'-\t";
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = random() % 24; n > 0; --n) text += alphabet[random() % alphabet.size()];
    std::string expectedRest = text;
    TTokenReader reader(text);
    std::string_view viewRest = text;
    for (int guard = 0; guard < 40 && !expectedRest.empty(); ++guard) {
      ASSERT_FALSE(reader.AtEnd()) << "[" << text << "]";
      std::string expected = ReferenceNextToken(expectedRest);
      ASSERT_EQ(reader.Next(), expected) << "[" << text << "]";
      ASSERT_EQ(NextToken(viewRest), expected) << "[" << text << "]";
      ASSERT_EQ(std::string(reader.Rest()), expectedRest) << "[" << text << "]";
      ASSERT_EQ(std::string(viewRest), expectedRest) << "[" << text << "]";
    }
    EXPECT_TRUE(reader.AtEnd()) << "[" << text << "]";
  }
}

TEST(TokenReader, ReadsAHugeValueInLinearTime) {
  // Two hundred thousand items without any parenthesis: a reader that looked
  // at the whole rest on every item would take minutes here.
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "Name" + std::to_string(i) + ",";
  text += "Last)";
  TTokenReader reader(text);
  std::string last;
  int count = 0;
  while (!reader.AtEnd()) {
    last = reader.Next();
    ++count;
  }
  // No "(" anywhere and a ")" at the end: the first item swallows everything.
  EXPECT_EQ(count, 1);
  EXPECT_EQ(last.substr(0, 6), "Name0,");
  // The reader only looks at the text, so the text must outlive it.
  const std::string withoutParenthesis = text.substr(0, text.size() - 5);
  TTokenReader plain(withoutParenthesis);
  count = 0;
  while (!plain.AtEnd()) {
    plain.Next();
    ++count;
  }
  EXPECT_EQ(count, 200000);
}

}  // namespace
}  // namespace varnik
