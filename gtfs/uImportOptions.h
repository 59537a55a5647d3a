#pragma once
// What the user chooses about an import.

#include <cstdint>
#include <vector>

namespace varnik {

struct TImportOptions {
  std::vector<int32_t> Types;  // basic route types to import (0..4, ...); empty: every type
  int32_t Size = 4000;         // the longer side of the map's canvas, in pixels
  int32_t TransferTime = 180;  // seconds, where the feed gives none
};

}  // namespace varnik
