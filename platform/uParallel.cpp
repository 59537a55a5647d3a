#include "platform/uParallel.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>

namespace varnik {

int ParallelParts() { return std::max(1, QThread::idealThreadCount()); }

void RunInParallel(int count, const std::function<void(int index)>& task) {
  if (count <= 0) return;
  // Pieces are handed out in order to whichever thread asks next, so a
  // helper that starts late takes fewer of them.
  std::atomic<int> next{0};
  auto work = [&] {
    for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1)) task(i);
  };
  QSemaphore finished;
  int helpers = 0;
  QThreadPool* pool = QThreadPool::globalInstance();
  for (int k = 1; k < std::min(count, ParallelParts()); ++k) {
    if (!pool->tryStart([&] {
          work();
          finished.release();
        }))
      break;
    ++helpers;
  }
  work();
  finished.acquire(helpers);
}

}  // namespace varnik
