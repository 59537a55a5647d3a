#include <gtest/gtest.h>

#include "platform/uCodePage.h"

namespace varnik {
namespace {

// "ЁЛКА" and "ёлка" in Windows-1251.
const std::string kUpperYo = "\xA8\xCB\xCA\xC0";
const std::string kLowerYo = "\xB8\xEB\xEA\xE0";

TEST(CodePage, RoundTripsEveryAssignedByte) {
  for (int b = 1; b < 256; ++b) {
    if (b == 0x98) continue;  // the one byte the code page leaves unassigned
    std::string one(1, static_cast<char>(b));
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(one)), one) << "byte " << b;
  }
}

TEST(CodePage, ConvertsCyrillicBothWays) {
  EXPECT_EQ(Cp1251ToUtf8(kUpperYo), "ЁЛКА");
  EXPECT_EQ(Utf8ToCp1251("ёлка"), kLowerYo);
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
  EXPECT_EQ(Utf8ToCp1251("a\xFF" "b"), "a?b");  // a byte that is not UTF-8
}

TEST(CodePage, CasingFoldsCyrillicIncludingYo) {
  EXPECT_EQ(UpperCase1251(kLowerYo), kUpperYo);
  EXPECT_EQ(LowerCase1251(kUpperYo), kLowerYo);
  EXPECT_EQ(UpperCase1251("abc-\xFF"), "ABC-\xDF");  // я -> Я
  EXPECT_EQ(UpperCase1251("\xB3\xBF\xBA\xB4"), "\xB2\xAF\xAA\xA5");  // і ї є ґ
}

TEST(CodePage, AsciiEqualityLeavesCyrillicCaseAlone) {
  EXPECT_TRUE(SameTextAscii("Options", "OPTIONS"));
  EXPECT_FALSE(SameTextAscii(kUpperYo, kLowerYo));
  EXPECT_FALSE(SameTextAscii("Options", "Option"));
  EXPECT_TRUE(SameTextLocale(kUpperYo, kLowerYo));
  EXPECT_TRUE(SameTextLocale("Line A", "LINE a"));
  EXPECT_FALSE(SameTextLocale("Line A", "Line B"));
}

}  // namespace
}  // namespace varnik
