#pragma once
// The Windows-1251 code page. Every text of the model is held as the bytes
// read from the city's files; these functions convert at the edges (window
// texts, CLI output, file names on disk) and give the two kinds of letter-case
// folding that names are compared with.

#include <string>
#include <string_view>

namespace varnik {

// UTF-8 from Windows-1251 bytes. Every byte maps to some character.
std::string Cp1251ToUtf8(std::string_view text);

// Windows-1251 bytes from UTF-8. Characters the code page lacks, and bytes
// that are not valid UTF-8, become "?".
std::string Utf8ToCp1251(std::string_view text);

// True when the code page has a byte for the Unicode character `u`.
bool Cp1251Holds(char32_t u);

// Upper- and lower-casing of Windows-1251 text: Latin and Cyrillic letters
// (Ё/ё and the other Slavic letters of the code page included).
char UpperChar1251(char c);
char LowerChar1251(char c);
std::string UpperCase1251(std::string_view text);
std::string LowerCase1251(std::string_view text);

// Equality ignoring the letter case of A-Z only; every other byte (Cyrillic
// included) must match exactly. Used for section, key and file-name matching.
bool SameTextAscii(std::string_view a, std::string_view b);

// Equality ignoring letter case the way the user's Russian locale does:
// Cyrillic letters fold too. Used for route, map and picture names.
bool SameTextLocale(std::string_view a, std::string_view b);

}  // namespace varnik
