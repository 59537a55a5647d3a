#pragma once
// A decoded raster picture as the picture decoders hand it over: opaque
// 32-bit pixels, each 0xFFRRGGBB, so in memory the bytes blue, green, red and
// 255 (the layout of the drawing bitmaps, whose rows can be copied from here
// without conversion). Rows run top to bottom without padding.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

// Pictures are bounded by their memory, so that a forged header cannot make
// a decoder ask for gigabytes: no more pixels than this (256 MB). A side
// alone is not bounded: a GIF 65535 pixels long and one across is small.
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

inline bool PictureSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxPicturePixels && height <= kMaxPicturePixels &&
         width * height <= kMaxPicturePixels;
}

inline uint32_t OpaquePixel(uint8_t red, uint8_t green, uint8_t blue) {
  return 0xFF000000u | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
}

struct TPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;  // Width * Height, row after row

  // Sizes the picture and fills it with one pixel value; false (and the
  // picture left empty) when the size is out of bounds.
  bool Allocate(int64_t width, int64_t height, uint32_t fill = 0xFF000000u) {
    Clear();
    if (!PictureSizeAllowed(width, height)) return false;
    Width = static_cast<int32_t>(width);
    Height = static_cast<int32_t>(height);
    Pixels.assign(static_cast<size_t>(width * height), fill);
    return true;
  }
  void Clear() {
    Width = Height = 0;
    Pixels.clear();
    Pixels.shrink_to_fit();
  }
  uint32_t* Row(int32_t y) { return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width); }
  const uint32_t* Row(int32_t y) const {
    return Pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(Width);
  }
};

// What the picture decoders share: a file is read whole and its bytes are
// decoded into Picture.
class TPictureFile {
 public:
  virtual ~TPictureFile() = default;

  // False, with an empty picture, when the file cannot be read or its bytes
  // do not decode (see LoadFromBytes of each decoder).
  bool LoadFromFile(const std::string& path);
  virtual bool LoadFromBytes(std::string_view data) = 0;

  int32_t Width() const { return Picture.Width; }
  int32_t Height() const { return Picture.Height; }

  TPicture Picture;
};

}  // namespace varnik
