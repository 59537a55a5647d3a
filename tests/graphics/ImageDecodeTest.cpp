// Decoding real picture files of every supported variant, and refusing
// damaged ones without a crash. The files come from
// tests/data/images/generate.py, which documents the reference pictures the
// probes below are taken from.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/uBmpFile.h"
#include "image/uGifFile.h"
#include "image/uImage.h"
#include "image/uPngFile.h"
#include "platform/uFiles.h"

namespace varnik {
namespace {

std::string ImagePath(const std::string& name) { return std::string(VARNIK_TEST_DATA) + "/images/" + name; }

const TPicture* PictureOf(const TImage& image) {
  if (image.Bitmap) return &image.Bitmap->Picture;
  if (image.Gif) return &image.Gif->Picture;
  if (image.Png) return &image.Png->Picture;
  return nullptr;
}

struct TProbe {
  int X, Y;
  int Red, Green, Blue;
};

struct TDecodeCase {
  const char* File;
  uint8_t Kind;
  int Width, Height;
  std::vector<TProbe> Probes;
};

// The colour picture: (30x + 10, 50y + 5, 250 - 25x - 20y).
const std::vector<TProbe> kColourProbes = {
    {0, 0, 10, 5, 250}, {6, 0, 190, 5, 100}, {0, 4, 10, 205, 170}, {6, 4, 190, 205, 20}, {3, 2, 100, 105, 135}};
// The palette picture: index (x + 3y) mod 16, entry i = (16i, 255 - 16i, 37i mod 256).
const std::vector<TProbe> kPaletteProbes = {
    {0, 0, 0, 255, 0}, {1, 0, 16, 239, 37}, {10, 4, 96, 159, 222}, {5, 3, 224, 31, 6}};

const TDecodeCase kDecodeCases[] = {
    {"rgb.png", fkPng, 7, 5, kColourProbes},
    {"rgba.png", fkPng, 7, 5, kColourProbes},  // alpha 0 at x = 0 still shows the colour
    {"rgb16.png", fkPng, 7, 5, kColourProbes},
    {"grey.png", fkPng, 7, 5, {{0, 0, 0, 0, 0}, {6, 4, 240, 240, 240}, {3, 2, 120, 120, 120}}},
    {"grey4.png", fkPng, 7, 5, {{0, 0, 0, 0, 0}, {6, 4, 238, 238, 238}, {5, 4, 221, 221, 221}}},
    {"greyalpha.png", fkPng, 7, 5, {{6, 4, 240, 240, 240}, {1, 1, 45, 45, 45}}},
    {"palette.png", fkPng, 11, 5, kPaletteProbes},  // index 0 is transparent by tRNS
    {"interlaced.png",
     fkPng,
     9,
     9,
     {{0, 0, 0, 0, 255},
      {4, 0, 112, 0, 199},
      {0, 4, 0, 112, 199},
      {2, 0, 56, 0, 227},
      {0, 2, 0, 56, 227},
      {1, 0, 28, 0, 241},
      {0, 1, 0, 28, 241},
      {8, 8, 224, 224, 31}}},
    {"opaque.gif", fkGif, 11, 5, kPaletteProbes},
    // Index 5 is transparent and shows the background colour, index 9.
    {"transparent.gif", fkGif, 11, 5, {{5, 0, 144, 111, 77}, {2, 1, 144, 111, 77}, {0, 0, 0, 255, 0}}},
    // Only the first frame (index 7 over (2,1)..(5,3)) on the background, index 12.
    {"frames.gif",
     fkGif,
     11,
     5,
     {{0, 0, 192, 63, 188},
      {2, 1, 112, 143, 3},
      {5, 3, 112, 143, 3},
      {6, 3, 192, 63, 188},
      {2, 4, 192, 63, 188},
      {10, 4, 192, 63, 188}}},
    // Row y has index y; the rows arrive in interlaced order.
    {"interlaced.gif",
     fkGif,
     3,
     10,
     {{1, 0, 0, 255, 0}, {0, 1, 16, 239, 37}, {2, 4, 64, 191, 148}, {1, 7, 112, 143, 3}, {0, 9, 144, 111, 77}}},
    {"localpalette.gif", fkGif, 4, 2, {{0, 0, 0, 0, 0}, {3, 0, 3, 6, 9}, {0, 1, 4, 8, 12}, {3, 1, 7, 14, 21}}},
    {"rgb24.bmp", fkBitmap, 7, 5, kColourProbes},
    {"topdown.bmp", fkBitmap, 7, 5, kColourProbes},
    {"rgb32.bmp", fkBitmap, 7, 5, kColourProbes},
    {"bitfields32.bmp", fkBitmap, 7, 5, kColourProbes},
    // 5-bit channels scale to 8 bits with rounding: 7 -> 58, 24 -> 197, 10 -> 82.
    {"rgb555.bmp", fkBitmap, 7, 5, {{0, 0, 255, 0, 0}, {6, 4, 58, 197, 82}, {3, 2, 156, 99, 41}}},
    {"rgb565.bmp", fkBitmap, 7, 5, {{0, 0, 255, 0, 0}, {6, 4, 58, 194, 82}, {3, 2, 156, 97, 41}}},
    {"pal1.bmp",
     fkBitmap,
     11,
     5,
     {{0, 0, 0, 255, 0}, {1, 0, 16, 239, 37}, {8, 0, 0, 255, 0}, {9, 0, 16, 239, 37}, {9, 4, 16, 239, 37}}},
    {"pal4.bmp", fkBitmap, 11, 5, kPaletteProbes},
    {"pal8.bmp", fkBitmap, 11, 5, kPaletteProbes},
    {"core8.bmp", fkBitmap, 11, 5, kPaletteProbes},
    {"os2pal4.bmp", fkBitmap, 11, 5, kPaletteProbes},  // 16-byte header: the palette is full
    // Stripes (x div 3 + y) mod 16; the top row skips pixels 8 and 9 with a
    // move, which leaves them at palette entry 0.
    {"rle8.bmp",
     fkBitmap,
     11,
     5,
     {{0, 4, 64, 191, 148},
      {10, 4, 112, 143, 3},
      {0, 0, 0, 255, 0},
      {7, 0, 32, 223, 74},
      {8, 0, 0, 255, 0},
      {9, 0, 0, 255, 0},
      {10, 0, 48, 207, 111},
      {5, 2, 48, 207, 111}}},
    {"rle4.bmp", fkBitmap, 11, 5, {{0, 0, 80, 175, 185}, {1, 2, 160, 95, 114}, {10, 4, 80, 175, 185}}},
};

TEST(ImageDecode, RealFilesOfEveryVariantGiveTheirKnownPixels) {
  for (const TDecodeCase& c : kDecodeCases) {
    SCOPED_TRACE(c.File);
    TImage image;
    ASSERT_TRUE(image.LoadFromFile(ImagePath(c.File)));
    EXPECT_EQ(image.Kind, c.Kind);
    EXPECT_EQ(image.Name, c.File);
    ASSERT_EQ(image.Width, c.Width);
    ASSERT_EQ(image.Height, c.Height);
    const TPicture* picture = PictureOf(image);
    ASSERT_NE(picture, nullptr);
    ASSERT_EQ(picture->Pixels.size(), static_cast<size_t>(c.Width * c.Height));
    for (const TProbe& p : c.Probes) {
      const uint32_t expected = OpaquePixel(static_cast<uint8_t>(p.Red), static_cast<uint8_t>(p.Green),
                                            static_cast<uint8_t>(p.Blue));
      EXPECT_EQ(picture->Row(p.Y)[p.X], expected) << "pixel (" << p.X << ", " << p.Y << ")";
    }
  }
}

TEST(ImageDecode, DamagedFilesFailAndLeaveTheImageEmpty) {
  const char* broken[] = {
      "truncated.png",  "badcrc.png",       "notapng.png",   "oversized.png",   "empty.png",
      "truncated.gif",  "corrupt.gif",      "noframe.gif",   "notagif.gif",     "oversized.gif",
      "truncated.bmp",  "rletruncated.bmp", "badheader.bmp", "forgedsize.bmp",  "oversized.bmp",
      "badbitcount.bmp", "notabmp.bmp",     "missing.png",   "missing.gif",     "missing.bmp",
  };
  for (const char* file : broken) {
    SCOPED_TRACE(file);
    TImage image;
    image.Transparent = true;
    EXPECT_FALSE(image.LoadFromFile(ImagePath(file)));
    EXPECT_EQ(image.Kind, fkNone);
    EXPECT_EQ(image.Width, 0);
    EXPECT_EQ(image.Height, 0);
    EXPECT_EQ(image.Name, "");
    EXPECT_EQ(PictureOf(image), nullptr);
    EXPECT_TRUE(image.Transparent);
  }
}

// Every cut of a good file must be refused or decoded in full, never read
// past its end. (The bitmap reader accepts a file whose last row lacks only
// its padding.)
template <typename TDecoder>
void CheckEveryPrefix(const std::string& file) {
  std::string data;
  ASSERT_TRUE(ReadWholeFile(ImagePath(file), data)) << file;
  for (size_t n = 0; n < data.size(); ++n) {
    TDecoder decoder;
    const bool loaded = decoder.LoadFromBytes(std::string_view(data).substr(0, n));
    if (loaded) {
      EXPECT_EQ(decoder.Picture.Pixels.size(), static_cast<size_t>(decoder.Width() * decoder.Height()));
    } else {
      EXPECT_TRUE(decoder.Picture.Pixels.empty()) << file << " cut to " << n;
    }
  }
}

TEST(ImageDecode, EveryCutOfAGoodFileIsHandled) {
  for (const char* f : {"rgb.png", "interlaced.png", "palette.png"}) CheckEveryPrefix<TPngFile>(f);
  for (const char* f : {"opaque.gif", "frames.gif", "interlaced.gif"}) CheckEveryPrefix<TGifFile>(f);
  for (const char* f : {"rgb24.bmp", "pal1.bmp", "rle8.bmp", "rle4.bmp", "core8.bmp", "os2pal4.bmp", "bitfields32.bmp"})
    CheckEveryPrefix<TBmpFile>(f);
}

// A 45-byte file with the short OS/2 header, whose palette-count field would
// lie past the end of the file (found by fuzzing; the sanitizer build
// catches the read).
TEST(ImageDecode, AShortBitmapHeaderHasNoPaletteCount) {
  std::string data;
  ASSERT_TRUE(ReadWholeFile(std::string(VARNIK_TEST_DATA) + "/regressions/palette-count-beyond-short-header.bmp",
                            data));
  TBmpFile bmp;
  EXPECT_FALSE(bmp.LoadFromBytes(data));  // its pixel offset lies beyond the file
}

TEST(ImageDecode, ABitmapCutInsideItsPixelsIsRefused) {
  std::string data;
  ASSERT_TRUE(ReadWholeFile(ImagePath("rgb24.bmp"), data));
  TBmpFile bmp;
  EXPECT_TRUE(bmp.LoadFromBytes(data));
  // The last row stored is 21 bytes of pixels and 3 of padding.
  EXPECT_TRUE(bmp.LoadFromBytes(std::string_view(data).substr(0, data.size() - 3)));
  EXPECT_FALSE(bmp.LoadFromBytes(std::string_view(data).substr(0, data.size() - 4)));
  EXPECT_TRUE(bmp.Picture.Pixels.empty());
}

TEST(ImageDecode, ALoadAfterAGoodOneForgetsTheOldPicture) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("rgb.png")));
  EXPECT_FALSE(image.LoadFromFile(ImagePath("truncated.gif")));
  EXPECT_EQ(image.Kind, fkNone);
  EXPECT_EQ(image.Png, nullptr);
  ASSERT_TRUE(image.LoadFromFile(ImagePath("opaque.gif")));
  EXPECT_EQ(image.Png, nullptr);
  EXPECT_NE(image.Gif, nullptr);
  EXPECT_EQ(image.Width, 11);
}

}  // namespace
}  // namespace varnik
