#include "editor/uSettledFrame.h"

#include <utility>

#include "vector/uDrawUtils.h"

namespace varnik {

TSettledFrame::~TSettledFrame() { Abandon(); }

void TSettledFrame::Start(int width, int height, std::function<void(TBitmap&)> paint,
                          std::function<void()> finished) {
  Abandon();
  picture_.SetSize(width, height);
  thread_ = std::thread([this, paint = std::move(paint), finished = std::move(finished)] {
    TDrawContext& context = ThreadDrawContext();
    context.Stop = &stop_;
    paint(picture_);
    context.Stop = nullptr;
    if (stop_.load()) return;
    finished_.store(true);
    finished();
  });
}

void TSettledFrame::Abandon() {
  stop_.store(true);
  if (thread_.joinable()) thread_.join();
  stop_.store(false);
  finished_.store(false);
}

}  // namespace varnik
