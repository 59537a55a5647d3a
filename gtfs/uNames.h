#pragma once
// Names of the feed (UTF-8) as names of the city (Windows-1251). A run of
// characters the code page cannot hold is transliterated into Latin letters
// ("Any-Latin; Latin-ASCII"); what even that cannot give is left out. "("
// and ")" become "[" and "]" and double quotes go, because the city's list
// values read them as neighbour lists and quoting; a leading "-" or "'"
// goes too (a reversed neighbour, a quoted item), control characters become
// blanks, and the ends are trimmed. Every name that comes out different is
// counted and remembered.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

class TNameConverter {
 public:
  TNameConverter();
  ~TNameConverter();
  TNameConverter(const TNameConverter&) = delete;
  TNameConverter& operator=(const TNameConverter&) = delete;

  // The city's form of a feed name (Windows-1251); may be empty.
  std::string Convert(std::string_view utf8);

  // Names that came out different, original (UTF-8) -> result (UTF-8), in
  // the order first met.
  const std::vector<std::pair<std::string, std::string>>& Changes() const { return changes_; }

 private:
  std::string Transliterate(const std::u32string& run);

  struct TTransliteration;
  std::unique_ptr<TTransliteration> transliteration_;  // made on first need: slow to build
  std::map<std::string, std::string, std::less<>> done_;
  std::vector<std::pair<std::string, std::string>> changes_;
};

}  // namespace varnik
