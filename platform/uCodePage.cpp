#include "platform/uCodePage.h"

#include <array>
#include <cstdint>

namespace varnik {
namespace {

// Unicode code points of the bytes 0x80..0xFF; 0 marks the one unassigned byte (0x98).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

char32_t ToUnicode(unsigned char b) {
  if (b < 0x80) return b;
  char16_t u = kHighHalf[b - 0x80];
  return u != 0 ? u : 0x0098;  // the unassigned byte passes through as a C1 control
}

// Upper-case partner of a Cyrillic or Latin code point, or the point itself.
char32_t UnicodeUpper(char32_t u) {
  if (u >= 'a' && u <= 'z') return u - 32;
  if (u >= 0x0430 && u <= 0x044F) return u - 0x20;
  if (u >= 0x0450 && u <= 0x045F) return u - 0x50;
  if (u == 0x0491) return 0x0490;
  return u;
}

char32_t UnicodeLower(char32_t u) {
  if (u >= 'A' && u <= 'Z') return u + 32;
  if (u >= 0x0410 && u <= 0x042F) return u + 0x20;
  if (u >= 0x0400 && u <= 0x040F) return u + 0x50;
  if (u == 0x0490) return 0x0491;
  return u;
}

struct Tables {
  std::array<char, 256> upper{};
  std::array<char, 256> lower{};
  std::array<int, 0x10000> fromUnicode{};  // -1 where the code page lacks the character
};

const Tables& GetTables() {
  static const Tables tables = [] {
    Tables t;
    t.fromUnicode.fill(-1);
    for (int b = 0; b < 256; ++b) t.fromUnicode[ToUnicode(static_cast<unsigned char>(b))] = b;
    for (int b = 0; b < 256; ++b) {
      char32_t u = ToUnicode(static_cast<unsigned char>(b));
      int up = t.fromUnicode[UnicodeUpper(u)];
      int low = t.fromUnicode[UnicodeLower(u)];
      t.upper[b] = static_cast<char>(up >= 0 ? up : b);
      t.lower[b] = static_cast<char>(low >= 0 ? low : b);
    }
    return t;
  }();
  return tables;
}

void AppendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Returns U+FFFD for a malformed one.
char32_t DecodeUtf8(std::string_view text, size_t& i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i++);
  if (lead < 0x80) return lead;
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (extra < 0 || lead >= 0xF8) return 0xFFFD;
  char32_t u = lead & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return 0xFFFD;
    u = (u << 6) | (byte(i++) & 0x3F);
  }
  return u;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char c : text) AppendUtf8(out, ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view text) {
  const Tables& t = GetTables();
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t u = DecodeUtf8(text, i);
    int b = u < 0x10000 ? t.fromUnicode[u] : -1;
    out += static_cast<char>(b >= 0 ? b : '?');
  }
  return out;
}

bool Cp1251Holds(char32_t u) { return u < 0x10000 && GetTables().fromUnicode[u] >= 0; }

char UpperChar1251(char c) { return GetTables().upper[static_cast<unsigned char>(c)]; }
char LowerChar1251(char c) { return GetTables().lower[static_cast<unsigned char>(c)]; }

std::string UpperCase1251(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar1251(c);
  return out;
}

std::string LowerCase1251(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerChar1251(c);
  return out;
}

static char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

bool SameTextLocale(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperChar1251(a[i]) != UpperChar1251(b[i])) return false;
  return true;
}

}  // namespace varnik
