#pragma once
// The small conversions every text format shares: how a list value is cut
// into items, how numbers, times, colours and rectangles are written, how
// versions compare. The files depend on the exact leniency of each function
// (what it accepts and how it fails), so none of them may be made stricter.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/uGraphicsTypes.h"

namespace varnik {

// --- String primitives ---------------------------------------------------

// Removes every character of code 32 or below from both ends.
std::string TrimBlank(std::string_view s);
std::string_view TrimView(std::string_view s);

// Returns the text of `s` before the first of the `separators` and removes it
// and that separator from `s`; with no separator, returns all of `s` and
// leaves it empty. The string_view forms advance a view over the text, so
// walking a long list value item by item stays linear.
std::string_view ParseToken(std::string_view& s, std::string_view separators);
std::string ParseToken(std::string& s, std::string_view separators);

// Optional sign, then decimal digits up to the first other character. No
// blanks are skipped; no digits gives 0; overflow wraps at 32 bits.
int32_t ParseInt(std::string_view s);

// Optional "$", then hexadecimal digits up to the first other character.
int32_t ParseHex(std::string_view s);

// An optional "-" first; digits around at most one "."; "E"/"e" ends the
// number and the rest is a power of ten read with ParseInt; a second "."
// ends it too; any other character is skipped ("1 000" is 1000).
long double ParseFloat(std::string_view s);

// --- List items ----------------------------------------------------------

// Removes the next comma-separated item from `s` and returns it. Honours
// single- and double-quoted items and keeps "Name(A,B)" together. Every call
// consumes at least one character of a non-blank `s`.
std::string NextToken(std::string_view& s);
std::string NextToken(std::string& s);

// Reads a whole list value item by item with NextToken's rules. It remembers
// where the next parentheses are, so reading a value of any length item by
// item takes linear time (NextToken alone looks at the rest of the text on
// every call). The text must outlive the reader.
class TTokenReader {
 public:
  explicit TTokenReader(std::string_view text) : full_(text), text_(TrimEnd(text)) {}
  // True when nothing at all is left, not even blanks.
  bool AtEnd() const { return pos_ >= full_.size(); }
  std::string Next();
  std::string_view Rest() const { return full_.substr(pos_); }

 private:
  static std::string_view TrimEnd(std::string_view text);
  size_t FindFrom(char c, size_t& cache);
  std::string_view Take(size_t until);  // the text up to `until`, skipping the separator there

  std::string_view full_;  // the text as given; after the first item, the same as text_
  std::string_view text_;  // without the blanks at the end, which never belong to an item
  size_t pos_ = 0;
  size_t nextOpen_ = 0, nextClose_ = 0;  // cached positions of "(" and ")", valid when >= pos_
  bool openKnown_ = false, closeKnown_ = false;
};

// The name in double quotes when it holds a comma, else unchanged.
std::string QuoteIfComma(const std::string& name);

int32_t NextInteger(std::string_view& s);
int32_t NextInteger(std::string& s);
long double NextFloat(std::string_view& s);
long double NextFloat(std::string& s);

// --- Times (whole seconds; text "minutes.seconds") -----------------------

int32_t TimeStrToSeconds(std::string_view text);
std::string SecondsToTimeStr(int32_t seconds);

// --- Colours, rectangles, font styles ------------------------------------

TColor HexToColor(std::string_view text);
std::string ColorToHex(TColor color);

// Whole numbers of the files are 32-bit and their sums wrap around, as
// the reading of a number does: a rectangle is stored as Left,Top,Width,
// Height, and any one a file holds, even with edges near the limits, must
// come back unchanged when written.
constexpr int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr int32_t RectWidth(const TRect& r) { return WrapSub(r.Right, r.Left); }
constexpr int32_t RectHeight(const TRect& r) { return WrapSub(r.Bottom, r.Top); }

// "Left,Top,width,height".
std::string RectToStr(const TRect& r);
TRect StrToRect(std::string text);
// Reads the four list items of one rectangle from the front of `s`.
TRect NextRect(std::string_view& s);

// Font styles travel as a bit set; bits above the four styles are dropped.
inline int FontStyleToInt(int style) { return style & 15; }
inline int IntToFontStyle(int n) { return n & 15; }

// --- Other ---------------------------------------------------------------

// Compares up to three "."-separated numeric components: -1, 0 or 1.
int CompareVersions(std::string_view a, std::string_view b);

// "\n" becomes CR LF, then "\t" becomes TAB.
std::string UnescapeText(std::string_view s);

// Rotates (x, y) about the origin by `angle` radians; exactly 0 leaves the
// values untouched (no rounding noise).
void RotatePoint(long double& x, long double& y, long double angle);

// Rounds to the nearest integer, ties to even, as every conversion of the
// system does. Values beyond the 32-bit range are clamped to it; NaN gives 0.
int32_t RoundToInt(long double v);

// Replaces every occurrence of `from` (non-empty) by `to`, left to right.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace varnik
