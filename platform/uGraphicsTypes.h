#pragma once
// The value types that drawing shares with every layer above it: colours,
// rectangles and font styles. They describe what a canvas draws, so they
// belong to the platform layer; the text forms of them live with the other
// conversions of the file formats.

#include <cstdint>

namespace varnik {

// A colour: red + 256 * green + 65536 * blue; -1 means none.
using TColor = int32_t;
constexpr TColor kNoColor = -1;

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  bool operator==(const TRect&) const = default;
};

enum TFontStyleBit : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

}  // namespace varnik
