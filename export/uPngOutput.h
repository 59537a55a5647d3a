#pragma once
// Writing a drawn bitmap as a PNG file (8-bit RGB), for the render commands
// of both command-line tools and the export of both editors.

#include <string>

namespace varnik {

class TBitmap;

// The PNG bytes of the bitmap; empty for an empty bitmap or when encoding
// fails.
std::string EncodePng(TBitmap& bitmap);

// Encodes the bitmap and replaces the file at `path` (Windows-1251, like
// every path of the system) atomically. False when either step fails.
bool WritePng(TBitmap& bitmap, const std::string& path);

}  // namespace varnik
