#include "vector/uDrawBands.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uParallel.h"
#include "vector/uDrawUtils.h"

namespace varnik {

namespace {

// Bands lower than this would cost more in shared work (every band runs
// every command's set-up) than they save.
constexpr int kLowestBand = 64;

// A copy of the target for one band: its pixels and the canvas state the
// drawing may read before setting it.
std::unique_ptr<TBitmap> CopyOf(TBitmap& target) {
  auto copy = std::make_unique<TBitmap>(target.Width(), target.Height());
  const size_t rowBytes = size_t(target.Width()) * TBitmap::kBytesPerPixel;
  for (int row = 0; row < target.Height(); ++row) std::memcpy(copy->ScanLine(row), target.ScanLine(row), rowBytes);
  TCanvas &from = target.Canvas(), &to = copy->Canvas();
  to.Pen = from.Pen;
  to.Brush = from.Brush;
  to.Font = from.Font;
  to.MoveTo(from.PenPos().X, from.PenPos().Y);
  return copy;
}

// Names the rows of one band in the calling thread's context while a band
// is drawn.
class TBandRows {
 public:
  TBandRows(int from, int to, const std::atomic<bool>* stop) : context_(ThreadDrawContext()), stop_(context_.Stop) {
    context_.SetRows(from, to);
    context_.Stop = stop;
  }
  ~TBandRows() {
    context_.SetRows(INT_MIN, INT_MAX);
    context_.Stop = stop_;
  }
  TBandRows(const TBandRows&) = delete;
  TBandRows& operator=(const TBandRows&) = delete;

 private:
  TDrawContext& context_;
  const std::atomic<bool>* stop_;
};

}  // namespace

void DrawInBands(TBitmap& target, int bands, const std::function<void(TBitmap& bitmap)>& draw) {
  bands = std::min(bands, target.Height() / kLowestBand);
  if (bands <= 1 || target.Sink() != nullptr || target.Empty()) {
    draw(target);
    return;
  }
  const int height = target.Height();
  auto top = [&](int band) { return int(int64_t{height} * band / bands); };
  std::vector<std::unique_ptr<TBitmap>> copies;
  for (int band = 1; band < bands; ++band) copies.push_back(CopyOf(target));
  // The bands stop with the drawing that started them.
  const std::atomic<bool>* stop = ThreadDrawContext().Stop;
  RunInParallel(bands, [&](int band) {
    TBandRows rows(top(band), top(band + 1), stop);
    draw(band == 0 ? target : *copies[size_t(band - 1)]);
  });
  const size_t rowBytes = size_t(target.Width()) * TBitmap::kBytesPerPixel;
  for (int band = 1; band < bands; ++band) {
    const TBitmap& copy = *copies[size_t(band - 1)];
    for (int row = top(band); row < top(band + 1); ++row)
      std::memcpy(target.ScanLine(row), copy.ScanLine(row), rowBytes);
  }
}

}  // namespace varnik
