#pragma once
// The settled picture of the drawing area (smoothing 2 to 4) drawn on a
// thread of its own, so that the window answers the mouse while it is
// drawn. The window abandons it before it changes anything the drawing
// reads; a finished picture is shown until then.

#include <atomic>
#include <functional>
#include <thread>

#include "platform/uBitmap.h"

namespace varnik {

class TSettledFrame {
 public:
  TSettledFrame() = default;
  ~TSettledFrame();
  TSettledFrame(const TSettledFrame&) = delete;
  TSettledFrame& operator=(const TSettledFrame&) = delete;

  // Abandons any picture, then draws `paint` into a new bitmap of the given
  // size on a thread of its own. `finished` is called on that thread once
  // the picture is complete, never for an abandoned one.
  void Start(int width, int height, std::function<void(TBitmap&)> paint, std::function<void()> finished);
  // Stops the drawing in progress at its next command and waits until its
  // thread has left it: afterwards nothing the drawing reads is read any
  // more. The finished picture, if any, is dropped.
  void Abandon();
  // Whether a picture is being drawn.
  bool Running() const { return thread_.joinable() && !finished_.load(); }
  // The finished picture, or nullptr while none is finished.
  const TBitmap* Finished() const { return finished_.load() ? &picture_ : nullptr; }

 private:
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  TBitmap picture_;
};

}  // namespace varnik
