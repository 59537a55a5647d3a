#include "platform/uInterfaceText.h"

#include <QCoreApplication>
#include <cstdlib>

#include "platform/uQtText.h"

namespace varnik {

std::string MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang})
    if (value != nullptr && *value != '\0') return value;
  return "";
}

TInterfaceLanguage InterfaceLanguageOf(std::string_view locale) {
  // A locale name is language[_territory][.codeset][@modifier].
  const std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
  if (language.empty() || language == "C" || language == "POSIX" || language == "ru")
    return TInterfaceLanguage::Russian;
  return TInterfaceLanguage::English;
}

TInterfaceLanguage UserInterfaceLanguage() {
  return InterfaceLanguageOf(
      MessagesLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")));
}

std::string InterfaceText(const char* context, const char* utf8) {
  return FromQString(QCoreApplication::translate(context, utf8));
}

}  // namespace varnik
