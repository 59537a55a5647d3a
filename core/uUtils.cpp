#include "core/uUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace varnik {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string StripChar(std::string s, char c) {
  std::erase(s, c);
  return s;
}

}  // namespace

std::string_view TrimView(std::string_view s) {
  size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin])) ++begin;
  while (end > begin && IsBlank(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

std::string TrimBlank(std::string_view s) { return std::string(TrimView(s)); }

std::string_view ParseToken(std::string_view& s, std::string_view separators) {
  size_t p = s.find_first_of(separators);
  std::string_view token = s.substr(0, p);
  s.remove_prefix(p == std::string_view::npos ? s.size() : p + 1);
  return token;
}

std::string ParseToken(std::string& s, std::string_view separators) {
  std::string_view view = s;
  std::string token(ParseToken(view, separators));
  s.assign(view);
  return token;
}

int32_t ParseInt(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  uint32_t value = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) value = value * 10u + static_cast<uint32_t>(s[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

int32_t ParseHex(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && s[i] == '$') ++i;
  uint32_t value = 0;
  for (int d; i < s.size() && (d = HexDigit(s[i])) >= 0; ++i) value = value * 16u + static_cast<uint32_t>(d);
  return static_cast<int32_t>(value);
}

long double ParseFloat(std::string_view s) {
  // Collect the accepted characters into a clean number text and convert it
  // in one step (locale-independent, correctly rounded).
  std::string clean;
  size_t i = 0;
  if (!s.empty() && s[0] == '-') {
    clean += '-';
    i = 1;
  }
  bool seenPoint = false, seenDigit = false;
  for (; i < s.size(); ++i) {
    char c = s[i];
    if (IsDigit(c)) {
      clean += c;
      seenDigit = true;
    } else if (c == '.') {
      if (seenPoint) break;
      seenPoint = true;
      clean += c;
    } else if (c == 'E' || c == 'e') {
      clean += 'e' + std::to_string(ParseInt(s.substr(i + 1)));
      break;
    }
  }
  if (!seenDigit) return 0;
  if (clean[0] != '-' && clean[0] != '.' && !IsDigit(clean[0])) return 0;
  // "5." and "-.5" are numbers here; give the converter a digit on each side.
  clean = ReplaceAll(clean, ".e", ".0e");
  if (clean.back() == '.') clean += '0';
  long double value = 0;
  auto [end, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for the type: infinity or zero with its sign.
    size_t digitsStart = clean[0] == '-' ? 1 : 0;
    size_t intEnd = clean.find_first_of(".e", digitsStart);
    std::string intPart = clean.substr(digitsStart, intEnd - digitsStart);
    bool tiny = clean.find("e-") != std::string::npos ||
                intPart.find_first_not_of('0') == std::string::npos;
    value = tiny ? 0.0L : std::numeric_limits<long double>::infinity();
    if (clean[0] == '-') value = -value;
  }
  (void)end;
  return value;
}

std::string_view TTokenReader::TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

size_t TTokenReader::FindFrom(char c, size_t& cache) {
  bool& known = c == '(' ? openKnown_ : closeKnown_;
  if (!known || (cache != std::string_view::npos && cache < pos_)) {
    cache = text_.find(c, pos_);
    known = true;
  }
  return cache;
}

std::string_view TTokenReader::Take(size_t until) {
  size_t from = std::min(pos_, text_.size());
  std::string_view token = text_.substr(from, std::min(until, text_.size()) - from);
  pos_ = until == std::string_view::npos ? full_.size() : until + 1;
  return token;
}

std::string TTokenReader::Next() {
  // Reading an item trims the text at both ends first, so from now on the
  // blanks at the end are gone for good.
  full_ = text_;
  while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  if (pos_ >= text_.size()) {
    pos_ = full_.size();
    return "";
  }
  char first = text_[pos_];
  if (first == '\'') {
    ++pos_;
    return StripChar(TrimBlank(Take(text_.find(',', pos_))), '\'');
  }
  if (first == '"') {
    ++pos_;
    std::string item(Take(text_.find('"', pos_)));
    if (pos_ < text_.size() && text_[pos_] == '(') item += TrimBlank(Take(text_.find(')', pos_))) + ")";
    return item + TrimBlank(Take(text_.find(',', pos_)));
  }
  // A name with a parenthesised list stays one item. Positions count from 1
  // with 0 for "absent", and the comparison is taken as it stands (so a
  // missing "(" counts as coming first), because stored files were written
  // against exactly this rule.
  size_t comma = text_.find(',', pos_);
  if (comma == std::string_view::npos) return TrimBlank(Take(comma));
  size_t open = FindFrom('(', nextOpen_);
  bool openFirst = open == std::string_view::npos || open < comma;
  if (openFirst && FindFrom(')', nextClose_) != std::string_view::npos) {
    std::string item = TrimBlank(Take(nextClose_)) + ")";
    return item + std::string(Take(text_.find(',', pos_)));
  }
  return TrimBlank(Take(comma));
}

std::string NextToken(std::string_view& s) {
  TTokenReader reader(s);
  std::string item = reader.Next();
  s = reader.Rest();
  return item;
}

std::string NextToken(std::string& s) {
  std::string_view view = s;
  std::string item = NextToken(view);
  s.assign(view);
  return item;
}

std::string QuoteIfComma(const std::string& name) {
  return name.find(',') == std::string::npos ? name : "\"" + name + "\"";
}

int32_t NextInteger(std::string_view& s) { return ParseInt(TrimView(ParseToken(s, ","))); }

int32_t NextInteger(std::string& s) {
  std::string_view view = s;
  int32_t value = NextInteger(view);
  s.assign(view);
  return value;
}

long double NextFloat(std::string_view& s) { return ParseFloat(TrimView(ParseToken(s, ","))); }

long double NextFloat(std::string& s) {
  std::string_view view = s;
  long double value = NextFloat(view);
  s.assign(view);
  return value;
}

int32_t TimeStrToSeconds(std::string_view text) {
  int32_t minutes = ParseInt(ParseToken(text, "."));
  int32_t seconds = ParseInt(text);
  return static_cast<int32_t>(static_cast<uint32_t>(minutes) * 60u + static_cast<uint32_t>(seconds));
}

std::string SecondsToTimeStr(int32_t seconds) {
  int32_t m = seconds / 60, r = seconds % 60;
  if (r == 0) return std::to_string(m);
  if (r < 10) return std::to_string(m) + ".0" + std::to_string(r);
  return std::to_string(m) + "." + std::to_string(r);
}

TColor HexToColor(std::string_view text) {
  if (!text.empty() && text[0] == '-') return ParseInt(text);
  auto part = [&](size_t from) { return from < text.size() ? ParseHex(text.substr(from, 2)) : 0; };
  return part(0) + 256 * part(2) + 65536 * part(4);
}

std::string ColorToHex(TColor color) {
  if (color == kNoColor) return "-1";
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (int shift : {0, 8, 16}) {
    int byte = (static_cast<uint32_t>(color) >> shift) & 0xFF;
    out += digits[byte >> 4];
    out += digits[byte & 15];
  }
  return out;
}

std::string RectToStr(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(RectWidth(r)) + "," +
         std::to_string(RectHeight(r));
}

TRect NextRect(std::string_view& s) {
  TRect r;
  r.Left = NextInteger(s);
  r.Top = NextInteger(s);
  r.Right = WrapAdd(r.Left, NextInteger(s));
  r.Bottom = WrapAdd(r.Top, NextInteger(s));
  return r;
}

TRect StrToRect(std::string text) {
  std::string_view view = text;
  return NextRect(view);
}

int CompareVersions(std::string_view a, std::string_view b) {
  for (int i = 0; i < 3; ++i) {
    int32_t x = ParseInt(ParseToken(a, "."));
    int32_t y = ParseInt(ParseToken(b, "."));
    if (x < y) return -1;
    if (x > y) return 1;
  }
  return 0;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  if (from.empty()) return std::string(text);
  size_t start = 0;
  for (size_t p; (p = text.find(from, start)) != std::string_view::npos; start = p + from.size()) {
    out.append(text, start, p - start);
    out.append(to);
  }
  out.append(text.substr(start));
  return out;
}

std::string UnescapeText(std::string_view s) {
  return ReplaceAll(ReplaceAll(s, "\\n", "\r\n"), "\\t", "\t");
}

void RotatePoint(long double& x, long double& y, long double angle) {
  if (angle == 0) return;
  long double c = std::cos(angle), s = std::sin(angle);
  long double nx = x * c - y * s;
  long double ny = x * s + y * c;
  x = nx;
  y = ny;
}

int32_t RoundToInt(long double v) {
  if (std::isnan(v)) return 0;
  constexpr long double lo = std::numeric_limits<int32_t>::min();
  constexpr long double hi = std::numeric_limits<int32_t>::max();
  if (v <= lo) return std::numeric_limits<int32_t>::min();
  if (v >= hi) return std::numeric_limits<int32_t>::max();
  // Within the 32-bit range, adding 1.5 * 2^63 leaves no bits below the
  // unit in the 64-bit significand, so the sum is rounded the way the
  // hardware rounds, to nearest with ties to even, as nearbyint would; the
  // library call cost more than the drawing around it.
  constexpr long double kShift = 0x1.8p63L;
  if constexpr (std::numeric_limits<long double>::digits == 64) return static_cast<int32_t>((v + kShift) - kShift);
  return static_cast<int32_t>(std::nearbyint(v));
}

}  // namespace varnik
