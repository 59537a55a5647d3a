#include "image/uStretch.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Adds weight * value to each lane of `total`: one multiply and one add per
// lane, rounded as the scalar code rounds, so vector and scalar builds give
// the same pixels.
#ifdef __SSE2__
inline __m128 AddWeighted(__m128 total, float weight, __m128 values) {
  return _mm_add_ps(total, _mm_mul_ps(_mm_set1_ps(weight), values));
}

// ClampChannel of four lanes, the whole numbers still as floats.
inline __m128 RoundedChannels(__m128 v) {
  const __m128 magic = _mm_set1_ps(8388608.0f);
  const __m128 clamped = _mm_min_ps(_mm_max_ps(v, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  return _mm_sub_ps(_mm_add_ps(clamped, magic), magic);
}

// ClampChannel of four lanes.
inline __m128i ClampChannels(__m128 v) { return _mm_cvttps_epi32(RoundedChannels(v)); }
#endif

// The rows [first, last) of the horizontal pass: each source row widened
// to the destination width, 3 channels a pixel, into the work buffer. The
// channels are clamped and rounded to whole numbers as bytes would be, and
// kept as floats: the vertical pass reads each of them many times.
void ResampleRows(const TPixelRows& source, const std::vector<TContributorList>& columns, size_t dw,
                  float* work, int32_t first, int32_t last) {
  // Each source row is widened to floats once, four lanes per pixel, so
  // that a contributor costs one multiply-add of four lanes.
  std::vector<float> row(static_cast<size_t>(source.Width) * 4);
  for (int32_t r = first; r < last; ++r) {
    const uint8_t* in = source.Row(r);
    for (size_t k = 0; k < row.size(); ++k) row[k] = k % 4 == 3 ? 0.0f : in[k];
    float* out = work + static_cast<size_t>(r) * dw * 3;
    for (size_t i = 0; i < dw; ++i) {
#ifdef __SSE2__
      __m128 sum = _mm_setzero_ps();
      for (const TContributor& c : columns[i])
        sum = AddWeighted(sum, c.Weight, _mm_loadu_ps(row.data() + static_cast<size_t>(c.Index) * 4));
      alignas(16) float channels[4];
      _mm_store_ps(channels, RoundedChannels(sum));
      for (int ch = 0; ch < 3; ++ch) out[i * 3 + ch] = channels[ch];
#else
      float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
      for (const TContributor& c : columns[i]) {
        const float* p = row.data() + static_cast<size_t>(c.Index) * 4;
        for (int ch = 0; ch < 4; ++ch) sum[ch] += c.Weight * p[ch];
      }
      for (int ch = 0; ch < 3; ++ch) out[i * 3 + ch] = static_cast<float>(ClampChannel(sum[ch]));
#endif
    }
  }
}

// The channels [from, n) of one destination row of the vertical pass, one
// at a time: each sums its contributors in their order.
void SumChannels(const TContributorList& list, const std::vector<const float*>& sources, size_t from, size_t n,
                 uint8_t* channels) {
  for (size_t k = from; k < n; ++k) {
    float total = 0.0f;
    for (size_t c = 0; c < list.size(); ++c) total += list[c].Weight * sources[c][k];
    channels[k] = ClampChannel(total);
  }
}

#ifdef __SSE2__
// SumChannels four channels to an instruction, the same way.
void SumChannelsSse(const TContributorList& list, const std::vector<const float*>& sources, size_t n,
                    uint8_t* channels) {
  size_t k = 0;
  for (; k + 8 <= n; k += 8) {
    __m128 low = _mm_setzero_ps(), high = _mm_setzero_ps();
    for (size_t c = 0; c < list.size(); ++c) {
      low = AddWeighted(low, list[c].Weight, _mm_loadu_ps(sources[c] + k));
      high = AddWeighted(high, list[c].Weight, _mm_loadu_ps(sources[c] + k + 4));
    }
    const __m128i words = _mm_packs_epi32(ClampChannels(low), ClampChannels(high));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(channels + k), _mm_packus_epi16(words, words));
  }
  SumChannels(list, sources, k, n, channels);
}
#endif

// The destination rows [first, last) of the vertical pass.
void ResampleColumns(const std::vector<TContributorList>& rows, const float* work, size_t dw,
                     const TPixelRows& destination, int32_t first, int32_t last) {
  const size_t n = dw * 3;
  std::vector<uint8_t> channels(n);
  std::vector<const float*> sources;
  for (int32_t i = first; i < last; ++i) {
    const TContributorList& list = rows[static_cast<size_t>(i)];
    sources.clear();
    for (const TContributor& c : list) sources.push_back(work + static_cast<size_t>(c.Index) * n);
#ifdef __SSE2__
    SumChannelsSse(list, sources, n, channels.data());
#else
    SumChannels(list, sources, 0, n, channels.data());
#endif
    uint8_t* out = destination.Row(i);
    for (size_t x = 0; x < dw; ++x) {
      out[x * 4] = channels[x * 3];
      out[x * 4 + 1] = channels[x * 3 + 1];
      out[x * 4 + 2] = channels[x * 3 + 2];
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
  std::vector<float> work;
  ResamplePixels(source, destination, work);
}

void ResamplePixels(const TPixelRows& source, const TPixelRows& destination, std::vector<float>& work) {
  if (source.Width <= 0 || source.Height <= 0 || destination.Width <= 0 || destination.Height <= 0) return;
  const size_t dw = static_cast<size_t>(destination.Width);
  const int parts =
      int64_t{destination.Width} * destination.Height >= kParallelPixels ? ParallelParts() : 1;

  // Horizontal pass into a work buffer of 3 channels per pixel, source height.
  // Every byte of it is written before it is read.
  work.resize(dw * 3 * static_cast<size_t>(source.Height));
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
