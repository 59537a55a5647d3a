#include "gtfs/uNames.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include "core/uUtils.h"
#include "platform/uCodePage.h"

namespace varnik {
namespace {

std::u32string Decode(std::string_view utf8) {
  const icu::UnicodeString text =
      icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  std::u32string out;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1))
    out += static_cast<char32_t>(text.char32At(i));
  return out;
}

std::string EncodeUtf8(const std::u32string& text) {
  icu::UnicodeString unicode;
  for (char32_t c : text) unicode.append(static_cast<UChar32>(c));
  std::string out;
  unicode.toUTF8String(out);
  return out;
}

// The characters the city's list values give a meaning of their own.
char32_t Replacement(char32_t c) {
  if (c == U'(') return U'[';
  if (c == U')') return U']';
  if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) return U' ';
  return c;
}

std::u32string Cleaned(const std::u32string& text) {
  std::u32string out;
  for (char32_t c : text) {
    if (c != U'"') out += Replacement(c);
  }
  auto blank = [](char32_t c) { return c <= U' '; };
  size_t first = 0;
  while (first < out.size() && (blank(out[first]) || out[first] == U'-' || out[first] == U'\'')) ++first;
  size_t last = out.size();
  while (last > first && blank(out[last - 1])) --last;
  return out.substr(first, last - first);
}

}  // namespace

struct TNameConverter::TTransliteration {
  // Null when ICU lacks the rules; the characters are then left out.
  std::unique_ptr<icu::Transliterator> Rules;
};

TNameConverter::TNameConverter() = default;
TNameConverter::~TNameConverter() = default;

std::string TNameConverter::Transliterate(const std::u32string& run) {
  if (!transliteration_) {
    transliteration_ = std::make_unique<TTransliteration>();
    UErrorCode status = U_ZERO_ERROR;
    transliteration_->Rules.reset(
        icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) transliteration_->Rules.reset();
  }
  icu::UnicodeString text;
  for (char32_t c : run) text.append(static_cast<UChar32>(c));
  if (transliteration_->Rules) transliteration_->Rules->transliterate(text);
  std::string out;
  text.toUTF8String(out);
  return out;
}

std::string TNameConverter::Convert(std::string_view utf8) {
  auto known = done_.find(utf8);
  if (known != done_.end()) return known->second;

  // Runs the code page lacks are transliterated; the rest stays as it is.
  const std::u32string text = Decode(utf8);
  std::u32string held;
  for (size_t i = 0; i < text.size();) {
    size_t end = i;
    while (end < text.size() && !Cp1251Holds(text[end])) ++end;
    if (end == i) {
      held += text[i++];
      continue;
    }
    for (char32_t c : Decode(Transliterate(text.substr(i, end - i)))) {
      if (Cp1251Holds(c)) held += c;
    }
    i = end;
  }
  const std::string result = EncodeUtf8(Cleaned(held));
  const std::string city = Utf8ToCp1251(result);
  if (result != TrimBlank(utf8)) changes_.emplace_back(std::string(utf8), result);
  done_.emplace(std::string(utf8), city);
  return city;
}

}  // namespace varnik
