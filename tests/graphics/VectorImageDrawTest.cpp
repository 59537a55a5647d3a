// The drawing pass of a document: opacity ranges and their blend, the state
// each range starts with, hit tests, point walks and nested pictures.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <unistd.h>

#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "image/uImage.h"
#include "platform/uFiles.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::PlainView;
using test::SameBitmaps;
using test::SetLines;

constexpr int kW = 60, kH = 30;
constexpr TRect kClip{0, 0, kW, kH};

void Draw(TVectorImage& image, TBitmap& bitmap, int32_t background = test::kWhite, int factor = 2) {
  TScale scale;
  PlainView(scale);
  MakeBitmap(bitmap, kW, kH, background);
  image.Draw(bitmap, kClip, factor, scale, false);
}

void Draw(std::initializer_list<const char*> lines, TBitmap& bitmap, int32_t background = test::kWhite) {
  TVectorImage image;
  SetLines(image, lines);
  Draw(image, bitmap, background);
}

// The blend written out plainly: the destination moves by floor(P / 65536)
// with P = (d - b)(w - b - 256)c taken as a 32-bit integer, modulo 256.
int ReferenceBlend(int d, int b, int w, int c) {
  int64_t p = int64_t(d - b) * (w - b - 256) * c;
  auto p32 = static_cast<int32_t>(static_cast<uint32_t>(p));
  int64_t moved = d + static_cast<int64_t>(std::floor(p32 / 65536.0));
  return static_cast<int>(((moved % 256) + 256) % 256);
}

TEST(VectorImageDraw, OpacityBlendMatchesTheLayerFormula) {
  const char* shape[] = {"PenColor 2040FF", "BrushColor 00C000", "Polygon 5,5, 40,8, 20,25, 0.5",
                         "Line 3,20, 55,12, 3"};
  for (int percent : {50, 25, 99, 150, -20}) {
    std::string opaque = "Opaque " + std::to_string(percent);
    TBitmap actual, onBlack, onWhite;
    Draw({opaque.c_str(), shape[0], shape[1], shape[2], shape[3]}, actual, 0x3080C0);
    Draw({shape[0], shape[1], shape[2], shape[3]}, onBlack, test::kBlack);
    Draw({shape[0], shape[1], shape[2], shape[3]}, onWhite, test::kWhite);

    int c = percent * 256 / 100;
    TBitmap expected;
    MakeBitmap(expected, kW, kH, 0x3080C0);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        int32_t b = onBlack.Pixel(x, y), w = onWhite.Pixel(x, y), d = expected.Pixel(x, y);
        if (b == test::kBlack && w == test::kWhite) continue;
        int32_t out = 0;
        for (int shift : {0, 8, 16})
          out |= ReferenceBlend((d >> shift) & 255, (b >> shift) & 255, (w >> shift) & 255, c) << shift;
        expected.SetPixel(x, y, out);
      }
    EXPECT_TRUE(SameBitmaps(actual, expected)) << percent;
    EXPECT_GT(test::CountChanged(actual, 0x3080C0), 100) << percent;
  }
}

TEST(VectorImageDraw, HalfOpaqueBlackOverWhiteGivesMidGrey) {
  TBitmap bitmap;
  Draw({"Opaque 50", "Line 5,10, 45,10, 5"}, bitmap);
  // Fully covered: b = w = 0, so d = 255 + floor(-255 * 256 * 128 / 65536).
  EXPECT_EQ(bitmap.Pixel(25, 10), 0x7F7F7F);
  EXPECT_EQ(bitmap.Pixel(25, 25), test::kWhite);
}

TEST(VectorImageDraw, OpaqueHundredDrawsDirectlyWithFreshPenAndBrush) {
  TBitmap actual, expected;
  Draw({"PenColor 0000FF", "BrushColor 00FF00", "Opaque 100", "Ellipse 10,5, 30,25, 2"}, actual);
  Draw({"Ellipse 10,5, 30,25, 2"}, expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_EQ(actual.Pixel(20, 15), 0xFFFFFF);  // white brush inside
  EXPECT_GT(test::CountChanged(actual), 0);
}

TEST(VectorImageDraw, OpaqueZeroHidesTheRangeButItsAnglesStillTurn) {
  TBitmap actual, expected;
  Draw({"Opaque 0", "Line 0,2, 59,2, 3", "Angle -90", "Opaque 100", "Line 10,-50, 10,-10, 2"}, actual);
  Draw({"Angle -90", "Line 10,-50, 10,-10, 2"}, expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 0);
  EXPECT_EQ(actual.Pixel(30, 2), test::kWhite);
}

TEST(VectorImageDraw, DrawPolygonsFalseSkipsPolygons) {
  TVectorImage image;
  SetLines(image, {"BrushColor FF0000", "Polygon 5,5, 40,5, 40,25, 1", "Line 0,28, 59,28"});
  TBitmap with, without;
  Draw(image, with);
  image.DrawPolygons = false;
  Draw(image, without);
  EXPECT_EQ(with.Pixel(30, 10), 0x0000FF);
  EXPECT_EQ(without.Pixel(30, 10), test::kWhite);
  EXPECT_NE(without.Pixel(20, 28), test::kWhite);
}

TEST(VectorImageDraw, FillWhitePaintsTheWholeBitmapFirst) {
  TVectorImage image;
  SetLines(image, {"Size 10x10"});
  TScale scale;
  PlainView(scale);
  TBitmap bitmap;
  MakeBitmap(bitmap, kW, kH, 0x123456);
  image.Draw(bitmap, {0, 0, 5, 5}, 1, scale, true);
  EXPECT_EQ(test::CountChanged(bitmap), 0);
}

TEST(VectorImageDraw, DrawLinesOnlyDrawsEveryLineInOneWidthAndColour) {
  TVectorImage image;
  SetLines(image, {"PenColor 0000FF", "Line 5,5, 50,5, 6", "Polygon 5,10, 50,10, 30,25",
                   "Spline 5,20, 25,28, 50,20, 2", "Dashed 5,27, 50,27", "Arrow 5,12, 50,12"});
  const std::string text = image.SaveToText();
  TScale scale;
  PlainView(scale);
  TBitmap actual, expected;
  MakeBitmap(actual, kW, kH);
  image.DrawLinesOnly(actual, kClip, 3, 0x00FF00, scale, 2);
  Draw({"PenColor 00FF00", "Line 5,5, 50,5, 3", "Spline 5,20, 25,28, 50,20, 3", "Dashed 5,27, 50,27, 3"},
       expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_EQ(image.SaveToText(), text);
}

TEST(VectorImageDraw, HitTestFindsInvisibleSpotsInOrder) {
  TVectorImage image;
  SetLines(image, {"BrushColor -1", "SpotRect 10, 10, 20, 10, first", "SpotCircle 5, 35, 15, second",
                   "SpotCircle 5, 50, 15, third"});
  TBitmap bitmap;
  Draw(image, bitmap);
  EXPECT_EQ(test::CountChanged(bitmap), 0);

  TScale scale;
  PlainView(scale);
  const struct {
    double X, Y;
    const char* Hit;
  } table[] = {{15, 15, "first"}, {30, 20, "first"}, {33, 16, "second"}, {50, 19, "third"}, {5, 5, ""}};
  for (const auto& row : table) {
    std::string hit;
    bool found = image.HitTest(scale, row.X, row.Y, [&](const std::string& text) { hit = text; });
    EXPECT_EQ(found, *row.Hit != 0) << row.X << "," << row.Y;
    EXPECT_EQ(hit, row.Hit) << row.X << "," << row.Y;
  }
}

TEST(VectorImageDraw, SpotCircleIsMeasuredWithTheXScale) {
  TVectorImage image;
  SetLines(image, {"SpotCircle 5, 20, 20, c"});
  TScale scale;
  PlainView(scale, 2, 1);
  // Centre (40, 20) on screen, radius 10 screen pixels in every direction.
  EXPECT_TRUE(image.HitTest(scale, 40, 29, nullptr));
  EXPECT_FALSE(image.HitTest(scale, 40, 31, nullptr));
  EXPECT_TRUE(image.HitTest(scale, 31, 20, nullptr));
}

TEST(VectorImageDraw, SpotsAfterAnAngleAreTestedInTheTurnedFrame) {
  TVectorImage image;
  SetLines(image, {"Angle 90", "SpotRect 10, 0, 10, 10, r"});
  TScale scale;
  PlainView(scale);
  // Image point (15, 5) lands on screen (5, -15) once turned a quarter
  // anticlockwise.
  EXPECT_TRUE(image.HitTest(scale, 5, -15, nullptr));
  EXPECT_FALSE(image.HitTest(scale, 15, 5, nullptr));
  EXPECT_EQ(scale.Angle, 0);
}

TEST(VectorImageDraw, ForEachPointHandsOutTheViewOfEachCommand) {
  TVectorImage image;
  SetLines(image, {"Line 1,2, 3,4", "Angle 90", "SpotCircle 5, 6, 7, x", "Size 3x3"});
  TScale scale;
  PlainView(scale);
  std::vector<std::tuple<long double, long double, long double>> seen;
  image.ForEachPoint(scale, [&](TFPoint& p, TScale& view) {
    seen.emplace_back(p.X, p.Y, view.Angle);
    p.X += 100;
  });
  const long double quarter = std::numbers::pi_v<long double> / 2;
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], std::make_tuple(1.0L, 2.0L, 0.0L));
  EXPECT_EQ(seen[1], std::make_tuple(3.0L, 4.0L, 0.0L));
  EXPECT_EQ(std::get<0>(seen[2]), 6);
  EXPECT_NEAR(double(std::get<2>(seen[2])), double(quarter), 1e-15);
  EXPECT_EQ(scale.Angle, 0);
  EXPECT_EQ(image.SaveToText(), "Line 101,2, 103,4\r\nAngle 90\r\nSpotCircle 5, 106, 7, x\r\nSize 3x3\r\n");
}

// --- Nested pictures ---------------------------------------------------------

TEST(VectorImageDraw, NestedPictureIsPlacedAtItsPointAndAnswersHitTests) {
  TImage inner;
  auto document = std::make_unique<TVectorImage>();
  SetLines(*document, {"Size 10x10", "Line 0,0, 10,0, 2", "BrushColor -1", "SpotRect 0, 0, 10, 10, inner"});
  inner.SetVector(std::move(document));

  TVectorImage outer;
  outer.OnGetImage = [&](const std::string& name) { return name == "inner.vec" ? &inner : nullptr; };
  SetLines(outer, {"Image inner.vec, 20, 5", "Image missing.vec, 0, 0"});
  TBitmap actual, expected;
  Draw(outer, actual);
  Draw({"Line 20,5, 30,5, 2"}, expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_TRUE(inner.Transparent);

  TScale scale;
  PlainView(scale);
  std::string hit;
  EXPECT_TRUE(outer.HitTest(scale, 25, 10, [&](const std::string& text) { hit = text; }));
  EXPECT_EQ(hit, "inner");
  EXPECT_FALSE(outer.HitTest(scale, 5, 10, nullptr));
}

TEST(VectorImageDraw, PictureThatContainsItselfIsDrawnOnce) {
  TImage a, b;
  auto resolver = [&](const std::string& name) { return name == "a.vec" ? &a : name == "b.vec" ? &b : nullptr; };
  auto docA = std::make_unique<TVectorImage>();
  docA->OnGetImage = resolver;
  SetLines(*docA, {"Line 0,5, 20,5, 2", "Image a.vec", "Image b.vec"});
  auto docB = std::make_unique<TVectorImage>();
  docB->OnGetImage = resolver;
  SetLines(*docB, {"Line 0,15, 20,15, 2", "Image a.vec"});
  a.SetVector(std::move(docA));
  b.SetVector(std::move(docB));

  TBitmap actual, expected;
  Draw(*a.Vector, actual);
  Draw({"Line 0,5, 20,5, 2", "Line 0,15, 20,15, 2"}, expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  TScale scale;
  PlainView(scale);
  EXPECT_FALSE(a.Vector->HitTest(scale, 1, 1, nullptr));
}

TEST(VectorImageDraw, FileThatNamesItselfIsLoadedOnlyOnce) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("varnik_vec_loop_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  ASSERT_TRUE(WriteFileAtomic((dir / "loop.vec").string(), "Line 0,5, 20,5, 2\r\nImage ./loop.vec\r\nImage loop.vec\r\n"));
  std::string previous = CurrentDir();
  ASSERT_TRUE(SetCurrentDir(dir.string()));
  TVectorImage image;
  ASSERT_TRUE(image.LoadFromFile("loop.vec"));
  TBitmap actual, expected;
  Draw(image, actual);
  SetCurrentDir(previous);
  fs::remove_all(dir);
  // The document itself and one copy of the file for each of its Image
  // lines; inside a copy the file is not loaded again.
  Draw({"Line 0,5, 20,5, 2", "Line 0,5, 20,5, 2", "Line 0,5, 20,5, 2"}, expected);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

}  // namespace
}  // namespace varnik
