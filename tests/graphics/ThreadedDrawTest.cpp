// Drawing threads keep their working state apart: documents drawn at the
// same time in several threads give exactly the pixels of drawing them one
// after another.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "platform/uCanvas.h"
#include "platform/uFiles.h"
#include "vector/uDrawBands.h"
#include "vector/uDrawUtils.h"

namespace varnik {
namespace {

constexpr int kW = 300, kH = 200, kRounds = 40;

// Draws the picture of every command kind, reloaded for each thread so that
// no document is shared.
void DrawAllCommands(TBitmap& bitmap, int factor) {
  TVectorImage image;
  image.LoadFromFile(std::string(VARNIK_TEST_DATA) + "/vec/all_commands.vec");
  TScale scale;
  test::PlainView(scale);
  test::MakeBitmap(bitmap, kW, kH);
  image.Draw(bitmap, {0, 0, kW, kH}, factor, scale, false);
}

TEST(ThreadedDraw, EveryThreadHasItsOwnWorkingState) {
  const TDrawContext* mine = &ThreadDrawContext();
  const TDrawContext* theirs = nullptr;
  std::thread([&] { theirs = &ThreadDrawContext(); }).join();
  EXPECT_NE(mine, theirs);
  EXPECT_EQ(mine, &ThreadDrawContext());
}

TEST(ThreadedDraw, ThreadsDrawTheSamePixelsAsOneThread) {
  EnsureGuiApplication();
  for (int factor : {1, 4}) {
    TBitmap expected;
    DrawAllCommands(expected, factor);
    TBitmap results[2];
    std::thread other([&] {
      for (int i = 0; i < kRounds; ++i) DrawAllCommands(results[1], factor);
    });
    for (int i = 0; i < kRounds; ++i) DrawAllCommands(results[0], factor);
    other.join();
    EXPECT_TRUE(test::SameBitmaps(results[0], expected)) << "factor " << factor;
    EXPECT_TRUE(test::SameBitmaps(results[1], expected)) << "factor " << factor;
  }
}

// Every command kind, zoomed so that shapes cross the band edges, with an
// opacity range and a view that is not turned to whole pixels.
TEST(ThreadedDraw, BandsDrawTheSamePixelsAsTheWholePicture) {
  EnsureGuiApplication();
  TVectorImage image;
  image.LoadFromFile(std::string(VARNIK_TEST_DATA) + "/vec/all_commands.vec");
  TScale scale;
  test::PlainView(scale, 1.45, 1.9, -6.3, 2.7);
  const TRect clip{0, 0, kW, kH};
  for (int factor : {2, 3, 4}) {
    TBitmap whole, banded;
    test::MakeBitmap(whole, kW, kH);
    test::MakeBitmap(banded, kW, kH);
    image.Draw(whole, clip, factor, scale, false);
    std::atomic<int> bands{0};
    DrawInBands(banded, 3, [&](TBitmap& band) {
      ++bands;
      image.Draw(band, clip, factor, scale, false);
    });
    EXPECT_EQ(bands, 3);
    EXPECT_TRUE(test::SameBitmaps(banded, whole)) << "factor " << factor;
  }
}

}  // namespace
}  // namespace varnik
