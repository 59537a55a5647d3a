#include <gtest/gtest.h>

#include "platform/uInterfaceText.h"

namespace varnik {
namespace {

TEST(InterfaceLanguage, RussianForRussianAndForTheCLocaleEnglishForEveryOtherLanguage) {
  const struct {
    const char* Locale;
    TInterfaceLanguage Language;
  } cases[] = {
      {"", TInterfaceLanguage::Russian},
      {"C", TInterfaceLanguage::Russian},
      {"C.UTF-8", TInterfaceLanguage::Russian},
      {"POSIX", TInterfaceLanguage::Russian},
      {"ru", TInterfaceLanguage::Russian},
      {"ru_RU.UTF-8", TInterfaceLanguage::Russian},
      {"ru_UA.KOI8-U", TInterfaceLanguage::Russian},
      {"ru@latin", TInterfaceLanguage::Russian},
      {"en_US.UTF-8", TInterfaceLanguage::English},
      {"en", TInterfaceLanguage::English},
      {"de_DE@euro", TInterfaceLanguage::English},
      {"uk_UA.UTF-8", TInterfaceLanguage::English},
      {"rus", TInterfaceLanguage::English},
      {"Cy_GB", TInterfaceLanguage::English},
  };
  for (const auto& c : cases) EXPECT_EQ(InterfaceLanguageOf(c.Locale), c.Language) << '"' << c.Locale << '"';
}

TEST(InterfaceLanguage, TheLocaleOfMessagesIsTheFirstSetOfLcAllLcMessagesLang) {
  EXPECT_EQ(MessagesLocale("de_DE", "en_US", "ru_RU"), "de_DE");
  EXPECT_EQ(MessagesLocale("", "en_US", "ru_RU"), "en_US");
  EXPECT_EQ(MessagesLocale(nullptr, nullptr, "ru_RU"), "ru_RU");
  EXPECT_EQ(MessagesLocale(nullptr, "", ""), "");
}

}  // namespace
}  // namespace varnik
