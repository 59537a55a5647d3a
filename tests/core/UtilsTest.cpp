#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/uUtils.h"

namespace varnik {
namespace {

std::vector<std::string> AllTokens(std::string s) {
  std::vector<std::string> items;
  for (int guard = 0; !s.empty() && guard < 100; ++guard) items.push_back(NextToken(s));
  return items;
}

TEST(Utils, NextTokenCutsListsAsStoredFilesExpect) {
  struct Case {
    std::string text;
    std::vector<std::string> items;
  } cases[] = {
      {"A, B ,C", {"A", "B", "C"}},
      {"A,,B", {"A", "", "B"}},
      {"Name(A,B),C", {"Name(A,B)", "C"}},
      {"(1,2),3", {"(1,2)", "3"}},
      {"\"Park, North\"(A),B", {"Park, North(A)", "B"}},
      {"\"Park, North\",B", {"Park, North", "B"}},
      {"\"unterminated, text", {"unterminated, text"}},
      {"'O''Hare',B", {"OHare", "B"}},
      {"' spaced ',x", {"spaced ", "x"}},  // trimmed before the quotes go
      {"  lone  ", {"lone"}},
      // A ")" after the first comma still keeps the text up to it together:
      // with no "(" at all, its position counts as 0.
      {"A,B)", {"A,B)"}},
      {"A(B", {"A(B"}},
  };
  for (const Case& c : cases) EXPECT_EQ(AllTokens(c.text), c.items) << c.text;
}

TEST(Utils, NextTokenAlwaysConsumesText) {
  std::string s = ",,,";
  EXPECT_EQ(AllTokens(s), (std::vector<std::string>{"", "", ""}));
  std::string_view view = " (,) , \" ";
  int calls = 0;
  while (!view.empty() && calls < 10) {
    NextToken(view);
    ++calls;
  }
  EXPECT_TRUE(view.empty());
  EXPECT_LT(calls, 10);
}

TEST(Utils, ParseIntStopsAtFirstOtherCharacter) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {{"12abc", 12}, {"abc", 0}, {"", 0},         {"-7x", -7}, {"+5", 5},
               {" 5", 0},     {"--5", 0}, {"4294967297", 1}, {"2147483648", INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << c.text;
  EXPECT_EQ(ParseHex("$ff"), 255);
  EXPECT_EQ(ParseHex("A0g"), 160);
  EXPECT_EQ(ParseHex(""), 0);
}

TEST(Utils, ParseFloatIsLenient) {
  struct Case {
    const char* text;
    long double value;
  } cases[] = {
      {"1 000", 1000},   {"12.5", 12.5},  {"-3.25", -3.25}, {"1.2.3", 1.2L},     {"1.5e2", 150},
      {"2E-1", 0.2L},    {"x7y", 7},      {"", 0},          {"-", 0},          {"5.", 5},
      {".5", 0.5},       {"3-4", 34},     {"1e", 1},        {"0.1", 0.1L},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseFloat(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isinf(ParseFloat("1e99999")));
  EXPECT_EQ(ParseFloat("1e-99999"), 0);
}

TEST(Utils, TimesConvertBothWays) {
  EXPECT_EQ(TimeStrToSeconds("2.30"), 150);
  EXPECT_EQ(TimeStrToSeconds("2.5"), 125);
  EXPECT_EQ(TimeStrToSeconds("2"), 120);
  EXPECT_EQ(TimeStrToSeconds(".45"), 45);
  EXPECT_EQ(TimeStrToSeconds(""), 0);
  EXPECT_EQ(TimeStrToSeconds("abc"), 0);
  EXPECT_EQ(SecondsToTimeStr(65), "1.05");
  EXPECT_EQ(SecondsToTimeStr(600), "10");
  EXPECT_EQ(SecondsToTimeStr(150), "2.30");
  EXPECT_EQ(SecondsToTimeStr(0), "0");
  for (int t : {0, 1, 9, 10, 59, 60, 61, 3599, 86400}) EXPECT_EQ(TimeStrToSeconds(SecondsToTimeStr(t)), t) << t;
}

TEST(Utils, ColoursAreRedFirstInTextAndLowestInValue) {
  EXPECT_EQ(HexToColor("0000FF"), 16711680);
  EXPECT_EQ(HexToColor("FF8000"), 0x0080FF);
  EXPECT_EQ(HexToColor("ff8000"), 0x0080FF);
  EXPECT_EQ(HexToColor("-1"), -1);
  EXPECT_EQ(HexToColor("FF"), 255);
  EXPECT_EQ(HexToColor(""), 0);
  EXPECT_EQ(ColorToHex(255), "FF0000");
  EXPECT_EQ(ColorToHex(0x0080FF), "FF8000");
  EXPECT_EQ(ColorToHex(-1), "-1");
}

TEST(Utils, RectanglesTravelAsOriginAndSize) {
  TRect r = StrToRect("10,20,30,40");
  EXPECT_EQ(r, (TRect{10, 20, 40, 60}));
  EXPECT_EQ(RectToStr(r), "10,20,30,40");
  EXPECT_EQ(StrToRect(" 5 , x"), (TRect{5, 0, 5, 0}));
}

TEST(Utils, CompareVersionsLooksAtThreeComponents) {
  EXPECT_EQ(CompareVersions("5.0", "5.0.1"), -1);
  EXPECT_EQ(CompareVersions("5.0", "4.12"), 1);
  EXPECT_EQ(CompareVersions("5", "5.0.0"), 0);
  EXPECT_EQ(CompareVersions("5.0.0.9", "5.0.0.1"), 0);
  EXPECT_EQ(CompareVersions("5.0", "6"), -1);
}

TEST(Utils, UnescapeTextExpandsLineBreaksThenTabs) {
  EXPECT_EQ(UnescapeText("a\\nb"), "a\r\nb");
  EXPECT_EQ(UnescapeText("a\\tb\\n"), "a\tb\r\n");
  EXPECT_EQ(UnescapeText("plain"), "plain");
}

TEST(Utils, RotatePointLeavesZeroAngleUntouched) {
  long double x = 0.1L, y = 0.2L;
  RotatePoint(x, y, 0);
  EXPECT_EQ(x, 0.1L);
  EXPECT_EQ(y, 0.2L);
  x = 1;
  y = 0;
  RotatePoint(x, y, std::acos(-1.0L) / 2);
  EXPECT_NEAR(static_cast<double>(x), 0, 1e-15);
  EXPECT_NEAR(static_cast<double>(y), 1, 1e-15);
}

TEST(Utils, RoundToIntTiesToEvenAndClamps) {
  EXPECT_EQ(RoundToInt(0.5L), 0);
  EXPECT_EQ(RoundToInt(1.5L), 2);
  EXPECT_EQ(RoundToInt(2.5L), 2);
  EXPECT_EQ(RoundToInt(-2.5L), -2);
  EXPECT_EQ(RoundToInt(7.5L), 8);
  EXPECT_EQ(RoundToInt(1e30L), INT32_MAX);
  EXPECT_EQ(RoundToInt(-1e30L), INT32_MIN);
  EXPECT_EQ(RoundToInt(NAN), 0);
}

TEST(Utils, QuoteIfCommaQuotesOnlyNamesWithCommas) {
  EXPECT_EQ(QuoteIfComma("Park, North"), "\"Park, North\"");
  EXPECT_EQ(QuoteIfComma("Park"), "Park");
}

}  // namespace
}  // namespace varnik
