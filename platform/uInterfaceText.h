#pragma once
// The language of the windows. Their texts are written in the code in
// Russian (UTF-8), the source language, and looked up in the translation the
// window program installs for the user's locale; without one the text stays
// as written. Diagnostics of the city and of the command-line tools are not
// interface texts: people compare and search them, so they keep their words
// under every locale.

#include <string>
#include <string_view>

// Marks `utf8` as a text of the interface in `context` for the translation
// files (lupdate reads the mark as it reads QT_TRANSLATE_NOOP) and leaves it
// as it is, so that it can stand in a constant and be looked up later with
// InterfaceText.
#define VARNIK_TEXT(context, utf8) utf8

namespace varnik {

enum class TInterfaceLanguage { Russian, English };

// The locale that names the language of messages, picked as the C library
// picks it: LC_ALL, else LC_MESSAGES, else LANG, the first that is set and
// not empty (nullptr stands for unset); "" when none is.
std::string MessagesLocale(const char* lcAll, const char* lcMessages, const char* lang);

// Russian for a Russian locale ("ru", "ru_RU.UTF-8", "ru_UA@...") and for
// none, C or POSIX (in any encoding), where the programs have always spoken
// Russian; English for a locale of any other language.
TInterfaceLanguage InterfaceLanguageOf(std::string_view locale);

// The language of the user's locale, from this process's environment.
TInterfaceLanguage UserInterfaceLanguage();

// The interface text `utf8` of `context` in the language of the translation
// installed (as it stands when none is), in Windows-1251 for the messages
// interface.
std::string InterfaceText(const char* context, const char* utf8);

}  // namespace varnik
