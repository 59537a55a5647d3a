// Lines whose numbers lie beyond any screen: coordinates near the limit of a
// double and widths past it, as damaged or hand-made files hold them. What
// can be seen of such a line is drawn as if its far end were near, and the
// arithmetic stays defined (the sanitizer build checks that part).

#include <gtest/gtest.h>

#include <string>

#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::PlainView;
using test::SameBitmaps;

std::string Regression(const char* name) { return std::string(VARNIK_TEST_DATA) + "/regressions/" + name; }

void Draw(TVectorImage& image, TBitmap& bitmap, int factor) {
  MakeBitmap(bitmap, 40, 30);
  TScale scale;
  PlainView(scale);
  image.Draw(bitmap, TRect{0, 0, 40, 30}, factor, scale, false);
}

void DrawLine(const std::string& line, TBitmap& bitmap, int factor) {
  TVectorImage image;
  test::SetLines(image, {"PenColor 0000FF", line.c_str()});
  Draw(image, bitmap, factor);
}

TEST(FarLines, VisiblePartDoesNotDependOnHowFarTheEndLies) {
  struct {
    const char* Near;  // the same line with its far end just off the bitmap
    const char* Far;
  } cases[] = {
      {"Line 5,-5, 5,1000, 3", "Line 5,-5, 5,1e304, 3"},
      {"Line 5,-1000, 5,35, 3", "Line 5,-1e307, 5,35, 3"},
      {"Line 0,0, 1000,1000, 2", "Line 0,0, 1e300,1e300, 2"},
      // The dashes are measured from the start, which lies on the bitmap.
      {"Dashed 0,15, 1000,15, 2", "Dashed 0,15, 1e304,15, 2"},
      {"Dashed 0,15, 1000,15, 2", "Dashed 0,15, 5e10,15, 2"},
  };
  for (const auto& c : cases) {
    for (int factor : {1, 4}) {
      TBitmap near, far;
      DrawLine(c.Near, near, factor);
      DrawLine(c.Far, far, factor);
      EXPECT_GT(test::CountChanged(near), 0) << c.Near;
      EXPECT_TRUE(SameBitmaps(far, near)) << c.Far << " at smoothing " << factor;
    }
  }
}

// A width past the largest double is the widest line there is: it covers
// the whole bitmap, smoothed or not (the plain canvas refuses pens that
// wide, and used to keep the previous pen instead).
TEST(FarLines, LineWiderThanAnyNumberCoversTheBitmap) {
  for (int factor : {1, 4}) {
    TBitmap widest, covering;
    DrawLine("Line 0,15, 40,15, 1e494", widest, factor);
    DrawLine("Line 0,15, 40,15, 100", covering, factor);
    EXPECT_EQ(test::CountChanged(covering), 40 * 30);
    EXPECT_TRUE(SameBitmaps(widest, covering)) << "smoothing " << factor;
  }
  // The same width on a line of no length, as the fuzzer found it: a
  // smoothed dot covering everything (the plain canvas draws no dot).
  TVectorImage image;
  ASSERT_TRUE(image.LoadFromFile(Regression("line-width-beyond-double.vector_image")));
  TBitmap bitmap;
  Draw(image, bitmap, 4);
  EXPECT_EQ(test::CountChanged(bitmap, test::kBlack), 0);
}

// A dashed line coming from 1e304 reaches the bitmap with a dash position
// no double can tell apart from the next; it may show or not, but only
// along its own column.
TEST(FarLines, DashedLineFromBeyondAnyNumberStaysInItsColumn) {
  TVectorImage image;
  test::SetLines(image, {"Dashed ,1e304,,"});
  for (int factor : {1, 4}) {
    TBitmap bitmap;
    Draw(image, bitmap, factor);
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 2; x < bitmap.Width(); ++x) ASSERT_EQ(bitmap.Pixel(x, y), test::kWhite) << x << "," << y;
  }
}

}  // namespace
}  // namespace varnik
