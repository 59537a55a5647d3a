#include "image/uBmpFile.h"

#include <algorithm>
#include <bit>
#include <vector>


namespace varnik {

// Layout of a bitmap file: a 14-byte file header ("BM", file size, two
// reserved words, offset of the pixel data), an info header whose first
// 32-bit word is its own size (12 for the old core header with 16-bit sizes
// and 3-byte palette entries; 16 or 64 for the OS/2 2.x header; 40, 52, 56,
// 108 or 124 for the Windows versions, which from 52 bytes on carry the
// channel masks themselves), the channel masks after a 40-byte header when
// the compression says so, the palette, and the rows, each padded to a
// multiple of four bytes, bottom row first unless the height is negative.

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

class TReader {
 public:
  explicit TReader(std::string_view data) : data_(data) {}
  size_t Size() const { return data_.size(); }
  bool Has(size_t at, size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
  uint8_t U8(size_t at) const { return static_cast<uint8_t>(data_[at]); }
  uint32_t U16(size_t at) const { return U8(at) | (uint32_t{U8(at + 1)} << 8); }
  uint32_t U32(size_t at) const { return U16(at) | (U16(at + 2) << 16); }

 private:
  std::string_view data_;
};

// One colour channel given by a bit mask: the masked bits are scaled to 0..255.
class TChannel {
 public:
  explicit TChannel(uint32_t mask = 0) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    max_ = mask >> shift_;
  }
  uint8_t Of(uint32_t pixel) const {
    if (max_ == 0) return 0;
    const uint64_t v = (pixel & mask_) >> shift_;
    return static_cast<uint8_t>((v * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_ = 0;
  int shift_ = 0;
  uint64_t max_ = 0;
};

struct TLayout {
  int64_t Width = 0;
  int64_t Height = 0;
  bool TopDown = false;
  uint32_t BitCount = 0;
  uint32_t Compression = kRgb;
  TChannel Red, Green, Blue;
  std::vector<uint32_t> Palette;
  size_t PixelOffset = 0;
};

bool ReadMasks(const TReader& in, size_t at, TLayout& layout) {
  if (!in.Has(at, 12)) return false;
  layout.Red = TChannel(in.U32(at));
  layout.Green = TChannel(in.U32(at + 4));
  layout.Blue = TChannel(in.U32(at + 8));
  return true;
}

bool ReadHeader(const TReader& in, TLayout& layout) {
  if (!in.Has(0, 18) || in.U8(0) != 'B' || in.U8(1) != 'M') return false;
  const size_t headerSize = in.U32(14);
  if (!in.Has(14, headerSize)) return false;
  const bool core = headerSize == 12;
  const bool os2 = headerSize == 16 || headerSize == 64;
  if (!core && !os2 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    return false;

  int64_t height;
  if (core) {
    layout.Width = in.U16(18);
    height = static_cast<int16_t>(in.U16(20));
    layout.BitCount = in.U16(24);
  } else {
    layout.Width = static_cast<int32_t>(in.U32(18));
    height = static_cast<int32_t>(in.U32(22));
    layout.BitCount = in.U16(28);
    if (headerSize >= 20) layout.Compression = in.U32(30);
  }
  layout.TopDown = height < 0;
  layout.Height = height < 0 ? -height : height;
  if (!PictureSizeAllowed(layout.Width, layout.Height)) return false;

  // Which bit counts go with which compression; OS/2 numbers the other
  // compressions differently, so it gets only the common ones.
  const uint32_t bits = layout.BitCount, comp = layout.Compression;
  const bool palette = bits == 1 || bits == 4 || bits == 8;
  bool known = false;
  if (comp == kRgb) known = palette || bits == 16 || bits == 24 || bits == 32;
  if (comp == kRle8) known = bits == 8 && !layout.TopDown;
  if (comp == kRle4) known = bits == 4 && !layout.TopDown;
  if ((comp == kBitFields || comp == kAlphaBitFields) && !os2 && !core) known = bits == 16 || bits == 32;
  if (!known) return false;

  size_t paletteAt = 14 + headerSize;
  if (comp == kBitFields || comp == kAlphaBitFields) {
    if (headerSize >= 52) {
      if (!ReadMasks(in, 14 + 40, layout)) return false;
    } else {
      if (!ReadMasks(in, paletteAt, layout)) return false;
      paletteAt += comp == kAlphaBitFields ? 16 : 12;
    }
  } else if (bits == 16) {
    layout.Red = TChannel(0x7C00);
    layout.Green = TChannel(0x03E0);
    layout.Blue = TChannel(0x001F);
  }

  if (palette) {
    const size_t entrySize = core ? 3 : 4;
    // The number of entries is a field of headers from 36 bytes on (not of
    // the core header or the short OS/2 one); none or 0 means all of them.
    size_t count = headerSize >= 36 ? in.U32(46) : 0;
    if (count == 0 || count > (size_t{1} << bits)) count = size_t{1} << bits;
    // A short palette is tolerated as long as the pixel data still fits after it.
    for (size_t i = 0; i < count && in.Has(paletteAt + i * entrySize, entrySize); ++i) {
      const size_t at = paletteAt + i * entrySize;
      layout.Palette.push_back(OpaquePixel(in.U8(at + 2), in.U8(at + 1), in.U8(at)));
    }
  }
  layout.PixelOffset = in.U32(10);
  return layout.PixelOffset >= 14 + headerSize && layout.PixelOffset < in.Size();
}

uint32_t PaletteColor(const TLayout& layout, uint32_t index) {
  return index < layout.Palette.size() ? layout.Palette[index] : OpaquePixel(0, 0, 0);
}

uint64_t RowStride(const TLayout& layout) {
  return (static_cast<uint64_t>(layout.Width) * layout.BitCount + 31) / 32 * 4;
}

// Checked before the picture is allocated, so that a forged size in a short
// file costs nothing. The final row may lack its padding.
bool RowsFit(const TReader& in, const TLayout& layout) {
  const uint64_t lastRow = (static_cast<uint64_t>(layout.Width) * layout.BitCount + 7) / 8;
  return in.Has(layout.PixelOffset, RowStride(layout) * static_cast<uint64_t>(layout.Height - 1) + lastRow);
}

void DecodeRows(const TReader& in, const TLayout& layout, TPicture& picture) {
  const uint64_t stride = RowStride(layout);
  for (int32_t r = 0; r < picture.Height; ++r) {
    const size_t row = layout.PixelOffset + static_cast<size_t>(r) * stride;
    uint32_t* out = picture.Row(layout.TopDown ? r : picture.Height - 1 - r);
    for (int32_t x = 0; x < picture.Width; ++x) {
      switch (layout.BitCount) {
        case 1:
          out[x] = PaletteColor(layout, (in.U8(row + x / 8) >> (7 - x % 8)) & 1);
          break;
        case 4:
          out[x] = PaletteColor(layout, (in.U8(row + x / 2) >> (x % 2 ? 0 : 4)) & 15);
          break;
        case 8:
          out[x] = PaletteColor(layout, in.U8(row + x));
          break;
        case 24: {
          const size_t at = row + static_cast<size_t>(x) * 3;
          out[x] = OpaquePixel(in.U8(at + 2), in.U8(at + 1), in.U8(at));
          break;
        }
        case 16: {
          const uint32_t p = in.U16(row + static_cast<size_t>(x) * 2);
          out[x] = OpaquePixel(layout.Red.Of(p), layout.Green.Of(p), layout.Blue.Of(p));
          break;
        }
        default: {  // 32
          const size_t at = row + static_cast<size_t>(x) * 4;
          if (layout.Compression == kRgb) {
            out[x] = OpaquePixel(in.U8(at + 2), in.U8(at + 1), in.U8(at));
          } else {
            const uint32_t p = in.U32(at);
            out[x] = OpaquePixel(layout.Red.Of(p), layout.Green.Of(p), layout.Blue.Of(p));
          }
        }
      }
    }
  }
}

// Run-length encoded 8- and 4-bit pictures, always bottom-up. Escapes after a
// zero count: 0 ends the line, 1 ends the picture, 2 moves by (dx, dy), a
// larger value n starts n literal pixels padded to a whole 16-bit word.
// Pixels a move skips keep palette colour 0. A picture whose data ends
// before its end mark is damaged.
bool DecodeRle(const TReader& in, const TLayout& layout, TPicture& picture) {
  const bool four = layout.Compression == kRle4;
  std::fill(picture.Pixels.begin(), picture.Pixels.end(), PaletteColor(layout, 0));
  int64_t x = 0, y = 0;  // y counts from the bottom row
  auto put = [&](uint32_t index) {
    if (x < picture.Width && y < picture.Height)
      picture.Row(static_cast<int32_t>(picture.Height - 1 - y))[x] = PaletteColor(layout, index);
    ++x;
  };
  size_t at = layout.PixelOffset;
  while (in.Has(at, 2)) {
    const uint32_t count = in.U8(at), value = in.U8(at + 1);
    at += 2;
    if (count > 0) {
      for (uint32_t i = 0; i < count && x < picture.Width; ++i)
        put(four ? (i % 2 ? value & 15 : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (!in.Has(at, 2)) return false;
      x += in.U8(at);
      y += in.U8(at + 1);
      at += 2;
    } else {
      const size_t bytes = four ? (value + 1) / 2 : value;
      if (!in.Has(at, bytes)) return false;
      for (uint32_t i = 0; i < value; ++i) {
        const uint32_t b = in.U8(at + (four ? i / 2 : i));
        put(four ? (i % 2 ? b & 15 : b >> 4) : b);
      }
      at += (bytes + 1) & ~size_t{1};
    }
    if (y >= picture.Height) return true;  // moved past the top: nothing more can show
  }
  return false;
}

}  // namespace

bool TBmpFile::LoadFromBytes(std::string_view data) {
  Picture.Clear();
  const TReader in(data);
  TLayout layout;
  if (!ReadHeader(in, layout)) return false;
  const bool rle = layout.Compression == kRle8 || layout.Compression == kRle4;
  if (!rle && !RowsFit(in, layout)) return false;
  TPicture picture;
  if (!picture.Allocate(layout.Width, layout.Height)) return false;
  if (rle) {
    if (!DecodeRle(in, layout, picture)) return false;
  } else {
    DecodeRows(in, layout, picture);
  }
  Picture = std::move(picture);
  return true;
}

}  // namespace varnik
