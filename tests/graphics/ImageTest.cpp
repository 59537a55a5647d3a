// The picture container: kinds by file name, loading, drawing unscaled and
// zoomed with the clip rectangle (exact pixels), vector pictures, and
// finding pictures by name.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "PixelTestUtil.h"
#include "TestFiles.h"
#include "image/uBmpFile.h"
#include "image/uImage.h"
#include "image/uStretch.h"
#include "platform/uBitmap.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::SameBitmaps;

constexpr TColor kRed = 0x0000FF;

std::string ImagePath(const std::string& name) { return std::string(VARNIK_TEST_DATA) + "/images/" + name; }

TColor ColorOf(uint32_t pixel) {
  return static_cast<TColor>(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16));
}

// The colour picture of rgb24.bmp: (30x + 10, 50y + 5, 250 - 25x - 20y).
TColor Colour(int x, int y) { return (30 * x + 10) | (50 * y + 5) << 8 | (250 - 25 * x - 20 * y) << 16; }

// A view that only zooms: screen = drawing * zoom.
class TZoom {
 public:
  TZoom(long double x, long double y) {
    Scale.Geographic = false;
    Scale.ScaleX = x;
    Scale.ScaleY = y;
    Scale.Changed();
  }
  TScale Scale;
};

// Writes a file into the directory and returns its path.
std::string WriteFile(const test::TTempDir& dir, const std::string& name, const std::string& bytes) {
  dir.WriteBytes(name, bytes);
  return (dir.Path() / name).string();
}

// The part (left, top, width x height) of a decoded picture, resampled to
// the size of `destination`, as the zoomed draw must produce it.
void ExpectedResample(const TPicture& picture, int left, int top, int width, int height, TBitmap& destination) {
  TBitmap source(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) source.SetPixel(x, y, ColorOf(picture.Row(top + y)[left + x]));
  ResampleBitmap(source, destination);
}

TEST(Image, FileKindsFollowTheExtensionInAnyLetterCase) {
  const struct {
    const char* Name;
    uint8_t Kind;
  } cases[] = {
      {"Park.GIF", fkGif},    {"river.png", fkPng},   {"old.Bmp", fkBitmap}, {"Back.vec", fkVector},
      {"Varnik.ini", fkIni},  {"notes.TXT", fkTxt},   {"model.vr3d", fkVr3d}, {"photo.jpg", fkNone},
      {"noextension", fkNone}, {"back.vec.bak", fkNone}, {"dir.png/readme", fkNone}, {"", fkNone},
  };
  for (const auto& c : cases) EXPECT_EQ(GetFileKind(c.Name), c.Kind) << c.Name;
}

TEST(Image, AFileThatIsNoPictureLoadsNothingAndSucceeds) {
  for (const char* path : {"photos/photo.jpg", "C:notes.txt", "city\\dir\\Varnik.ini"}) {
    SCOPED_TRACE(path);
    TImage image;
    EXPECT_TRUE(image.LoadFromFile(path));
    EXPECT_EQ(image.Width, 0);
    EXPECT_EQ(image.Vector, nullptr);
    EXPECT_EQ(image.Bitmap, nullptr);
  }
  TImage image;
  image.LoadFromFile("C:notes.TXT");
  EXPECT_EQ(image.Name, "notes.TXT");
  EXPECT_EQ(image.Kind, fkTxt);
  image.LoadFromFile("city\\dir\\Photo.jpeg");
  EXPECT_EQ(image.Name, "Photo.jpeg");
  EXPECT_EQ(image.Kind, fkNone);

  TBitmap target;
  MakeBitmap(target, 4, 4, kRed);
  TBitmap untouched;
  MakeBitmap(untouched, 4, 4, kRed);
  TZoom view(1, 1);
  image.Draw(target, {0, 0, 4, 4}, view.Scale, 4, 0, 0);
  EXPECT_TRUE(SameBitmaps(target, untouched));
}

TEST(Image, VectorFilesTakeTheirSizeFromTheDocument) {
  test::TTempDir dir;
  TImage image;
  EXPECT_FALSE(image.LoadFromFile(WriteFile(dir, "empty.vec", "")));
  EXPECT_EQ(image.Kind, fkNone);
  EXPECT_EQ(image.Name, "");

  ASSERT_TRUE(image.LoadFromFile(WriteFile(dir, "Plan.VEC", "Size 40x30\r\nLine 0,0, 10,10\r\n")));
  EXPECT_EQ(image.Kind, fkVector);
  EXPECT_EQ(image.Name, "Plan.VEC");
  EXPECT_EQ(image.Width, 40);
  EXPECT_EQ(image.Height, 30);
  ASSERT_NE(image.Vector, nullptr);
  EXPECT_EQ(image.Vector->Commands.size(), 2u);
}

TEST(Image, SetVectorTakesTheDocumentAndItsSize) {
  auto document = std::make_unique<TVectorImage>();
  document->Commands.push_back(ReadCommandFromString("Size 25x12"));
  TVectorImage* raw = document.get();
  TImage image;
  image.SetVector(std::move(document));
  EXPECT_EQ(image.Kind, fkVector);
  EXPECT_EQ(image.Vector.get(), raw);
  EXPECT_EQ(image.Width, 25);
  EXPECT_EQ(image.Height, 12);
}

TEST(Image, ClearEmptiesTheImageButKeepsTransparent) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("rgb.png")));
  image.Transparent = true;
  image.Clear();
  EXPECT_EQ(image.Kind, fkNone);
  EXPECT_EQ(image.Width, 0);
  EXPECT_EQ(image.Height, 0);
  EXPECT_EQ(image.Name, "");
  EXPECT_EQ(image.Png, nullptr);
  EXPECT_TRUE(image.Transparent);
}

TEST(Image, UnscaledDrawCopiesThePictureAtTheRoundedPosition) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("rgb24.bmp")));
  // 1.0005 and 1 deviate by less than 0.001 in all: still unscaled. The
  // position rounds ties to even: 2.5 -> 2.
  for (long double scaleX : {1.0L, 1.0005L}) {
    SCOPED_TRACE(static_cast<double>(scaleX));
    TBitmap target;
    MakeBitmap(target, 12, 8, kRed);
    TZoom view(scaleX, 1);
    image.Draw(target, {0, 0, 12, 8}, view.Scale, 4, 2.5, 1.4);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool inside = x >= 2 && x < 9 && y >= 1 && y < 6;
        ASSERT_EQ(target.Pixel(x, y), inside ? Colour(x - 2, y - 1) : kRed) << x << "," << y;
      }
  }
}

TEST(Image, UnscaledDrawHangingOverTheEdgesIsCutToTheTarget) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("rgb24.bmp")));
  TBitmap target;
  MakeBitmap(target, 3, 2, kRed);
  TZoom view(1, 1);
  image.Draw(target, {0, 0, 3, 2}, view.Scale, 1, -3, -2);
  EXPECT_EQ(target.Pixel(0, 0), Colour(3, 2));
  EXPECT_EQ(target.Pixel(2, 1), Colour(5, 3));
  image.Draw(target, {0, 0, 3, 2}, view.Scale, 1, 1e12L, -1e12L);  // far away: nothing
  EXPECT_EQ(target.Pixel(0, 0), Colour(3, 2));
}

TEST(Image, ZoomAtLevelOneRepeatsPixels) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("rgb24.bmp")));
  TBitmap target;
  MakeBitmap(target, 16, 12, kRed);
  TZoom view(2, 2);
  image.Draw(target, {0, 0, 16, 12}, view.Scale, 1, 1, 0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 1 && x < 15 && y < 10;
      ASSERT_EQ(target.Pixel(x, y), inside ? Colour((x - 1) / 2, y / 2) : kRed) << x << "," << y;
    }
}

TEST(Image, ZoomResamplesOnlyTheColumnsInsideTheClip) {
  // 100 x 100 at x = -50, zoom 2, clip from column 0: source columns 25 to
  // 85 (round(170 / 2)) and rows 0 to 40 fill the whole 120 x 80 target.
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("gradient100.bmp")));
  TBitmap target;
  MakeBitmap(target, 120, 80, kRed);
  TZoom view(2, 2);
  image.Draw(target, {0, 0, 120, 80}, view.Scale, 4, -50, 0);
  TBitmap expected(120, 80);
  ExpectedResample(image.Bitmap->Picture, 25, 0, 60, 40, expected);
  EXPECT_TRUE(SameBitmaps(target, expected));
}

TEST(Image, ZoomCutsToAClipInsideTheTargetAndLeavesTheRest) {
  // Clip (10, 5)-(60, 40): source left round(60 / 2) = 30, right round(110 /
  // 2) = 55, top round(5 / 2) = 2 (ties to even), bottom 20.
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("gradient100.bmp")));
  TBitmap target;
  MakeBitmap(target, 120, 80, kRed);
  TZoom view(2, 2);
  image.Draw(target, {10, 5, 60, 40}, view.Scale, 3, -50, 0);
  TBitmap expected(50, 35);
  ExpectedResample(image.Bitmap->Picture, 30, 2, 25, 18, expected);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 120; ++x) {
      const bool inside = x >= 10 && x < 60 && y >= 5 && y < 40;
      ASSERT_EQ(target.Pixel(x, y), inside ? expected.Pixel(x - 10, y - 5) : kRed) << x << "," << y;
    }
}

TEST(Image, AClipReachingBeyondTheTargetIsCutToIt) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("gradient100.bmp")));
  TBitmap target, reference;
  MakeBitmap(target, 120, 80, kRed);
  MakeBitmap(reference, 120, 80, kRed);
  TZoom view(2, 2);
  image.Draw(target, {-1000000, -1000000, 1000000, 1000000}, view.Scale, 4, -50, 0);
  image.Draw(reference, {0, 0, 120, 80}, view.Scale, 4, -50, 0);
  EXPECT_TRUE(SameBitmaps(target, reference));
}

TEST(Image, AViewZoomedPast32767PixelsStillShowsThePicture) {
  // At zoom 400 the picture is 40000 pixels wide; the 120 x 80 target sees
  // less than a source pixel: (97.5 .. 97.8, 20 .. 20.2). That pixel,
  // (194, 40, 148), fills the view instead of the picture vanishing.
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("gradient100.bmp")));
  const TColor pixel = 194 | 40 << 8 | 148 << 16;
  TZoom view(400, 400);
  TBitmap target;
  MakeBitmap(target, 120, 80, kRed);
  image.Draw(target, {0, 0, 120, 80}, view.Scale, 1, -39000, -8000);
  for (int y = 0; y < 80; y += 7)
    for (int x = 0; x < 120; x += 7) ASSERT_EQ(target.Pixel(x, y), pixel) << x << "," << y;

  MakeBitmap(target, 120, 80, kRed);
  image.Draw(target, {0, 0, 120, 80}, view.Scale, 4, -39000, -8000);
  for (int y = 0; y < 80; y += 7)
    for (int x = 0; x < 120; x += 7) {
      const TColor c = target.Pixel(x, y);
      EXPECT_NEAR(test::Red(c), 194, 2);
      EXPECT_NEAR(test::Green(c), 40, 2);
      EXPECT_NEAR(test::Blue(c), 148, 2);
    }
}

// A GIF may be 65535 pixels long. One pixel across it is small in memory and
// loads and draws like any other picture. wide.gif and tall.gif hold 16
// stripes of 4096 pixels, stripe k in palette colour k.
TEST(Image, PicturesLongerThan32767PixelsLoadAndDraw) {
  auto stripe = [](int k) { return TColor(16 * k | (255 - 16 * k) << 8 | (37 * k % 256) << 16); };
  auto near = [](TColor c, TColor expected, int tolerance) {
    return std::abs(test::Red(c) - test::Red(expected)) <= tolerance &&
           std::abs(test::Green(c) - test::Green(expected)) <= tolerance &&
           std::abs(test::Blue(c) - test::Blue(expected)) <= tolerance;
  };
  TImage wide, tall;
  ASSERT_TRUE(wide.LoadFromFile(ImagePath("wide.gif")));
  ASSERT_TRUE(tall.LoadFromFile(ImagePath("tall.gif")));
  EXPECT_EQ(wide.Width, 65535);
  EXPECT_EQ(wide.Height, 1);
  EXPECT_EQ(tall.Width, 1);
  EXPECT_EQ(tall.Height, 65535);

  // Unscaled from column 40000 on: stripe 9 up to column 40959, then 10.
  TBitmap target;
  MakeBitmap(target, 1100, 2, kRed);
  wide.Draw(target, {0, 0, 1100, 2}, TZoom(1, 1).Scale, 1, -40000, 0);
  EXPECT_EQ(target.Pixel(0, 0), stripe(9));
  EXPECT_EQ(target.Pixel(959, 0), stripe(9));
  EXPECT_EQ(target.Pixel(960, 0), stripe(10));
  EXPECT_EQ(target.Pixel(0, 1), kRed);

  // Zoomed to 1024 pixels along and 2 across, stripe k covers 64k .. 64k + 63.
  for (int level : {1, 4}) {
    const int tolerance = level == 1 ? 0 : 2;  // the resampler's weights do not sum to exactly 1
    MakeBitmap(target, 1100, 3, kRed);
    wide.Draw(target, {0, 0, 1100, 3}, TZoom(1.0L / 64, 2).Scale, level, 0, 0);
    TBitmap column;
    MakeBitmap(column, 3, 1100, kRed);
    tall.Draw(column, {0, 0, 3, 1100}, TZoom(2, 1.0L / 64).Scale, level, 0, 0);
    for (int k = 0; k < 16; ++k)
      for (int across = 0; across < 2; ++across) {
        EXPECT_PRED3(near, target.Pixel(64 * k + 32, across), stripe(k), tolerance) << level << " " << k;
        EXPECT_PRED3(near, column.Pixel(across, 64 * k + 32), stripe(k), tolerance) << level << " " << k;
      }
    EXPECT_EQ(target.Pixel(1024, 0), kRed) << level;
    EXPECT_EQ(target.Pixel(10, 2), kRed) << level;
    EXPECT_EQ(column.Pixel(0, 1024), kRed) << level;
    EXPECT_EQ(column.Pixel(2, 10), kRed) << level;
  }
}

TEST(Image, ZoomedPicturesOutsideTheClipOrMirroredDrawNothing) {
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(ImagePath("gradient100.bmp")));
  TBitmap target, untouched;
  MakeBitmap(target, 50, 40, kRed);
  MakeBitmap(untouched, 50, 40, kRed);
  TZoom zoom(2, 2), mirror(-2, 2), flat(2, 0);
  for (int level : {1, 4}) {
    image.Draw(target, {0, 0, 50, 40}, zoom.Scale, level, 60, 0);
    image.Draw(target, {0, 0, 50, 40}, zoom.Scale, level, -250, 0);
    image.Draw(target, {20, 20, 10, 10}, zoom.Scale, level, 0, 0);  // inverted clip
    image.Draw(target, {0, 0, 50, 40}, mirror.Scale, level, 40, 0);
    image.Draw(target, {0, 0, 50, 40}, flat.Scale, level, 0, 0);
  }
  EXPECT_TRUE(SameBitmaps(target, untouched));
}

TEST(Image, RasterPicturesAreOpaqueWhateverTheirTransparency) {
  TBitmap target;
  TZoom view(1, 1);
  // The transparent GIF colour shows the GIF's background colour, not the target.
  TImage gif;
  ASSERT_TRUE(gif.LoadFromFile(ImagePath("transparent.gif")));
  gif.Transparent = true;
  MakeBitmap(target, 11, 5, kRed);
  gif.Draw(target, {0, 0, 11, 5}, view.Scale, 4, 0, 0);
  EXPECT_EQ(target.Pixel(5, 0), 144 | 111 << 8 | 77 << 16);
  EXPECT_EQ(target.Pixel(0, 0), 0 | 255 << 8 | 0 << 16);
  // A PNG pixel of alpha 0 shows its stored colour.
  TImage png;
  ASSERT_TRUE(png.LoadFromFile(ImagePath("rgba.png")));
  MakeBitmap(target, 7, 5, kRed);
  png.Draw(target, {0, 0, 7, 5}, view.Scale, 4, 0, 0);
  EXPECT_EQ(target.Pixel(0, 3), Colour(0, 3));
}

TEST(Image, VectorPicturesFillWhiteUnlessTransparent) {
  test::TTempDir dir;
  TImage image;
  ASSERT_TRUE(image.LoadFromFile(WriteFile(dir, "box.vec", "Size 6x6\r\nSpotRect 1,1, 3,3, here\r\n")));
  TZoom view(1, 1);
  TBitmap target;
  MakeBitmap(target, 6, 6, kRed);
  image.Draw(target, {0, 0, 6, 6}, view.Scale, 1, 100, 100);  // the position plays no part
  EXPECT_EQ(target.Pixel(0, 0), test::kWhite);
  MakeBitmap(target, 6, 6, kRed);
  image.Transparent = true;
  image.Draw(target, {0, 0, 6, 6}, view.Scale, 1, 0, 0);
  EXPECT_EQ(target.Pixel(0, 0), kRed);
}

TEST(Image, HitTestAsksTheVectorDocumentOnly) {
  test::TTempDir dir;
  TImage vector;
  ASSERT_TRUE(vector.LoadFromFile(WriteFile(dir, "spots.vec", "Size 10x10\r\nSpotRect 2,2, 4,4, Museum\r\n")));
  TZoom view(1, 1);
  std::string spot;
  EXPECT_TRUE(vector.HitTest(view.Scale, 3, 3, [&](const std::string& text) { spot = text; }));
  EXPECT_EQ(spot, "Museum");
  EXPECT_FALSE(vector.HitTest(view.Scale, 8, 8, nullptr));

  TImage raster;
  ASSERT_TRUE(raster.LoadFromFile(ImagePath("rgb24.bmp")));
  EXPECT_FALSE(raster.HitTest(view.Scale, 3, 3, nullptr));
  TImage empty;
  EXPECT_FALSE(empty.HitTest(view.Scale, 3, 3, nullptr));
}

TEST(Image, FindByNameIgnoresLetterCaseAsTheLocaleDoes) {
  TImages images;
  auto add = [&](const std::string& path) {
    images.push_back(std::make_unique<TImage>());
    images.back()->LoadFromFile(path);
  };
  add("Park.png");  // no such file: the load fails and leaves an empty name
  add(ImagePath("rgb.png"));
  add(Utf8ToCp1251("Парк.txt"));
  add(ImagePath("opaque.gif"));
  add(ImagePath("rgb.png"));
  ASSERT_EQ(images[0]->Name, "");

  EXPECT_EQ(FindByName(images, "Rgb.Png"), images[1].get());  // the first of two matches
  EXPECT_EQ(FindByName(images, Utf8ToCp1251("пАРК.TXT")), images[2].get());
  EXPECT_EQ(FindByName(images, "OPAQUE.gif"), images[3].get());
  EXPECT_EQ(FindByName(images, ""), nullptr);  // even though image 0 has an empty name
  EXPECT_EQ(FindByName(images, "Park.png"), nullptr);
  EXPECT_EQ(FindByName(images, "opaque"), nullptr);
  EXPECT_EQ(FindByName(TImages{}, "rgb.png"), nullptr);
}

}  // namespace
}  // namespace varnik
