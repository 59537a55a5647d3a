// The smoothed picture drawn in the background: kept once finished,
// stopped and dropped when the window abandons it.

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "editor/uSettledFrame.h"
#include "vector/uDrawUtils.h"

namespace varnik {
namespace {

TEST(SettledFrame, AFinishedPictureIsShownUntilAbandoned) {
  TSettledFrame frame;
  std::promise<void> finished;
  frame.Start(20, 10, [](TBitmap& picture) { picture.Fill(0x0000FF); }, [&] { finished.set_value(); });
  finished.get_future().wait();
  ASSERT_NE(frame.Finished(), nullptr);
  EXPECT_FALSE(frame.Running());
  EXPECT_EQ(frame.Finished()->Pixel(19, 9), 0x0000FF);
  frame.Abandon();
  EXPECT_EQ(frame.Finished(), nullptr);
}

TEST(SettledFrame, AbandoningStopsTheDrawingInProgress) {
  TSettledFrame frame;
  std::promise<void> started;
  std::atomic<bool> finished{false};
  frame.Start(
      20, 10,
      [&](TBitmap&) {
        started.set_value();
        // A drawing that only ends when its context says stop.
        while (!ThreadDrawContext().Stopped()) std::this_thread::yield();
      },
      [&] { finished = true; });
  started.get_future().wait();
  EXPECT_TRUE(frame.Running());
  frame.Abandon();
  EXPECT_FALSE(frame.Running());
  EXPECT_FALSE(finished);
  EXPECT_EQ(frame.Finished(), nullptr);
}

}  // namespace
}  // namespace varnik
