#include "image/uStretch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "platform/uBitmap.h"
#include "platform/uParallel.h"

namespace varnik {

// Every step below is in 32-bit floats and in a fixed order; pictures drawn
// at a zoom must not change from one build to the next, so do not reorder the
// sums or widen the arithmetic.

float NormalizedSinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = static_cast<float>(std::numbers::pi * x);
  return std::sin(px) / px;
}

float LanczosWeight(float x) {
  x = std::fabs(x);
  if (x >= 3.0f) return 0.0f;
  return NormalizedSinc(x) * NormalizedSinc(x / 3.0f);
}

namespace {

int32_t MirroredIndex(int64_t j, int32_t size) {
  if (j < 0) j = -j;
  if (j >= size) j = 2 * int64_t{size} - 1 - j;
  if (j < 0) return 0;
  return j >= size ? size - 1 : static_cast<int32_t>(j);
}

uint8_t ClampChannel(float v) {
  if (v > 255.0f) return 255;
  if (v < 0.0f) return 0;
  // Adding 2^23 leaves no bits below the unit, so the sum is rounded to a
  // whole number the way the hardware rounds: to nearest, ties to even.
  return static_cast<uint8_t>((v + 8388608.0f) - 8388608.0f);
}

}  // namespace

std::vector<TContributorList> BuildContributors(int32_t sourceSize, int32_t destinationSize) {
  std::vector<TContributorList> lists(static_cast<size_t>(std::max(destinationSize, 0)));
  if (sourceSize <= 0 || destinationSize <= 0) return lists;
  const float scale = sourceSize == 1 ? static_cast<float>(destinationSize) / static_cast<float>(sourceSize)
                                      : static_cast<float>(destinationSize - 1) /
                                            static_cast<float>(sourceSize - 1);
  if (scale == 0.0f) {
    // One destination pixel from many: the filter window would be unbounded.
    const float weight = 1.0f / static_cast<float>(sourceSize);
    for (int32_t j = 0; j < sourceSize; ++j) lists[0].push_back({j, weight});
    return lists;
  }
  const bool enlarging = scale >= 1.0f;
  const float halfWidth = enlarging ? 3.0f : 3.0f / scale;
  for (int32_t i = 0; i < destinationSize; ++i) {
    const float center = static_cast<float>(i) / scale;
    const auto first = static_cast<int64_t>(std::floor(center - halfWidth));
    const auto last = static_cast<int64_t>(std::ceil(center + halfWidth));
    TContributorList& list = lists[static_cast<size_t>(i)];
    list.reserve(enlarging ? 7 : static_cast<size_t>(2 * halfWidth + 1));
    for (int64_t j = first; j <= last; ++j) {
      const float distance = center - static_cast<float>(j);
      const float weight = enlarging ? LanczosWeight(distance) : LanczosWeight(distance * scale) * scale;
      if (weight != 0.0f) list.push_back({MirroredIndex(j, sourceSize), weight});
    }
  }
  return lists;
}

namespace {

// Below this many destination pixels a picture is resampled on one thread:
// handing pieces to other threads would cost more than it saves.
constexpr int64_t kParallelPixels = 1 << 16;

// The rows [first, last) of the horizontal pass: each source row widened
// to the destination width, 3 bytes a pixel, into the work buffer.
void ResampleRows(const TPixelRows& source, const std::vector<TContributorList>& columns, size_t dw,
                  uint8_t* work, int32_t first, int32_t last) {
  // Each source row is widened to floats once, four lanes per pixel, so
  // that a contributor costs one multiply-add of four lanes.
  std::vector<float> row(static_cast<size_t>(source.Width) * 4);
  for (int32_t r = first; r < last; ++r) {
    const uint8_t* in = source.Row(r);
    for (size_t k = 0; k < row.size(); ++k) row[k] = k % 4 == 3 ? 0.0f : in[k];
    uint8_t* out = work + static_cast<size_t>(r) * dw * 3;
    for (size_t i = 0; i < dw; ++i) {
      float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
      for (const TContributor& c : columns[i]) {
        const float* p = row.data() + static_cast<size_t>(c.Index) * 4;
        for (int ch = 0; ch < 4; ++ch) sum[ch] += c.Weight * p[ch];
      }
      out[i * 3] = ClampChannel(sum[0]);
      out[i * 3 + 1] = ClampChannel(sum[1]);
      out[i * 3 + 2] = ClampChannel(sum[2]);
    }
  }
}

// The destination rows [first, last) of the vertical pass, one row at a
// time: the channel sums of a row are accumulated contributor by
// contributor, the same order per pixel as summing each pixel on its own.
void ResampleColumns(const std::vector<TContributorList>& rows, const uint8_t* work, size_t dw,
                     const TPixelRows& destination, int32_t first, int32_t last) {
  std::vector<float> sums(dw * 3);
  for (int32_t i = first; i < last; ++i) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    float* __restrict total = sums.data();
    const size_t n = dw * 3;
    for (const TContributor& c : rows[static_cast<size_t>(i)]) {
      const uint8_t* __restrict in = work + static_cast<size_t>(c.Index) * n;
      const float w = c.Weight;
      size_t k = 0;
      for (; k + 8 <= n; k += 8)
        for (size_t u = 0; u < 8; ++u) total[k + u] += w * static_cast<float>(in[k + u]);
      for (; k < n; ++k) total[k] += w * static_cast<float>(in[k]);
    }
    uint8_t* out = destination.Row(i);
    for (size_t x = 0; x < dw; ++x) {
      out[x * 4] = ClampChannel(sums[x * 3]);
      out[x * 4 + 1] = ClampChannel(sums[x * 3 + 1]);
      out[x * 4 + 2] = ClampChannel(sums[x * 3 + 2]);
      out[x * 4 + 3] = 255;
    }
  }
}

// Runs `pass(first, last)` over the rows [0, count) in one piece per core.
// Every row is worked out the same whatever piece it falls in.
void InPieces(int32_t count, int parts, const std::function<void(int32_t, int32_t)>& pass) {
  RunInParallel(parts, [&](int index) {
    pass(static_cast<int32_t>(int64_t{count} * index / parts),
         static_cast<int32_t>(int64_t{count} * (index + 1) / parts));
  });
}

}  // namespace

void ResamplePixels(const TPixelRows& source, const TPixelRows& destination) {
  if (source.Width <= 0 || source.Height <= 0 || destination.Width <= 0 || destination.Height <= 0) return;
  const size_t dw = static_cast<size_t>(destination.Width);
  const int parts =
      int64_t{destination.Width} * destination.Height >= kParallelPixels ? ParallelParts() : 1;

  // Horizontal pass into a work buffer of 3 bytes per pixel, source height.
  std::vector<uint8_t> work(dw * 3 * static_cast<size_t>(source.Height));
  const std::vector<TContributorList> columns = BuildContributors(source.Width, destination.Width);
  InPieces(source.Height, parts, [&](int32_t first, int32_t last) {
    ResampleRows(source, columns, dw, work.data(), first, last);
  });

  // Vertical pass into the destination.
  const std::vector<TContributorList> rows = BuildContributors(source.Height, destination.Height);
  InPieces(destination.Height, parts, [&](int32_t first, int32_t last) {
    ResampleColumns(rows, work.data(), dw, destination, first, last);
  });
}

TPixelRows RowsOf(TBitmap& bitmap) {
  if (bitmap.Empty()) return {};
  return {bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(),
          static_cast<std::ptrdiff_t>(bitmap.Image().bytesPerLine())};
}

void ResampleBitmap(TBitmap& source, TBitmap& destination) {
  ResamplePixels(RowsOf(source), RowsOf(destination));
}

}  // namespace varnik
