// One raster picture format, chosen at build time (VARNIK_FUZZ_PICTURE is
// fkPng, fkGif or fkBitmap): decoded from any bytes and, when it decodes,
// drawn as the map draws a background: unscaled, zoomed in with the
// resampling filter and zoomed out with plain pixel replication, each cut
// to a clip rectangle chosen from the input.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <zlib.h>

#include "FuzzSupport.h"
#include "image/uBmpFile.h"
#include "image/uGifFile.h"
#include "image/uImage.h"
#include "image/uPngFile.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"

using namespace varnik;

namespace {

constexpr int kWidth = 72;
constexpr int kHeight = 56;

uint32_t BigEndian32(const unsigned char* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// A mutated PNG nearly always fails its chunk checksums and would never
// reach the decoder proper; the checksums are set right before decoding.
std::string WithPngChecksums(std::string_view data) {
  std::string png(data);
  size_t pos = 8;
  while (pos + 12 <= png.size()) {
    auto* chunk = reinterpret_cast<unsigned char*>(png.data() + pos);
    const uint64_t length = BigEndian32(chunk);
    if (length > png.size() - pos - 12) break;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, chunk + 4, static_cast<uInt>(length + 4)));
    for (int i = 0; i < 4; ++i) chunk[8 + length + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    pos += 12 + length;
  }
  return png;
}

// Decodes the picture into `image`; false when the decoder refuses it.
bool Decode(std::string_view data, TImage& image) {
  auto take = [&](auto& slot, auto decoder, std::string_view bytes, uint8_t kind) {
    if (!decoder->LoadFromBytes(bytes)) return false;
    if (decoder->Width() <= 0 || decoder->Height() <= 0 ||
        decoder->Picture.Pixels.size() != size_t(decoder->Width()) * size_t(decoder->Height()))
      std::abort();  // a decoder said yes to a picture that is not whole
    image.Width = decoder->Width();
    image.Height = decoder->Height();
    image.Kind = kind;
    slot = std::move(decoder);
    return true;
  };
  switch (VARNIK_FUZZ_PICTURE) {
    case fkPng:
      return take(image.Png, std::make_unique<TPngFile>(), WithPngChecksums(data), fkPng);
    case fkGif:
      return take(image.Gif, std::make_unique<TGifFile>(), data, fkGif);
    default:
      return take(image.Bitmap, std::make_unique<TBmpFile>(), data, fkBitmap);
  }
}

void Draw(TImage& image, TBitmap& target, long double zoom, int level, const TRect& clip, long double x,
          long double y) {
  TScale scale;
  scale.Geographic = false;
  scale.ScaleX = scale.ScaleY = zoom;
  scale.Changed();
  image.Draw(target, clip, scale, level, x, y);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Initialise("picture");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::AsText(data, size);
  TImage image;
  if (!Decode(bytes, image)) return 0;

  const uint64_t hash = fuzz::InputHash(bytes);
  const auto coordinate = [&](int shift, int range) {
    return static_cast<int32_t>((hash >> shift) % static_cast<uint64_t>(range)) - range / 4;
  };
  const TRect clip{coordinate(0, 40), coordinate(8, 40), kWidth - coordinate(16, 40),
                   kHeight - coordinate(24, 40)};
  const long double x = coordinate(32, 80), y = coordinate(40, 80);
  TBitmap target(kWidth, kHeight);
  Draw(image, target, 1, 1, clip, x, y);
  Draw(image, target, 2.75L, 4, clip, x, y);
  Draw(image, target, 0.3L, 1, clip, -x, -y);
  Draw(image, target, 1e-3L + ((hash >> 48) & 15) * 0.6L, 2 + ((hash >> 52) & 1), clip, x * 7, y * 7);
  return 0;
}
