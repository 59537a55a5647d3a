// Lanczos resampling: the filter's values, and whole resamples compared pixel
// by pixel with a slow reference written straight from the definition (one
// destination pixel at a time, no precomputed lists).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "image/uStretch.h"

namespace varnik {
namespace {

// A picture of 4-byte pixels the tests can fill and read.
struct TTestPixels {
  int32_t Width, Height;
  std::vector<uint8_t> Bytes;
  TTestPixels(int32_t w, int32_t h) : Width(w), Height(h), Bytes(static_cast<size_t>(w * h * 4), 0) {}
  TPixelRows Rows() { return {Bytes.data(), Width, Height, Width * 4}; }
  uint8_t& At(int x, int y, int channel) { return Bytes[static_cast<size_t>((y * Width + x) * 4 + channel)]; }
};

TTestPixels RandomPixels(int32_t w, int32_t h, uint32_t seed) {
  std::mt19937 random(seed);
  TTestPixels p(w, h);
  for (auto& b : p.Bytes) b = static_cast<uint8_t>(random());
  return p;
}

// --- The reference, straight from the definition ---------------------------

float RefSinc(float x) {
  if (x == 0.0f) return 1.0f;
  const float px = static_cast<float>(3.14159265358979323846 * static_cast<double>(x));
  return std::sin(px) / px;
}

float RefLanczos(float x) {
  if (x < 0) x = -x;
  return x >= 3.0f ? 0.0f : RefSinc(x) * RefSinc(x / 3.0f);
}

uint8_t RefClamp(float v) {
  if (v > 255.0f) return 255;
  if (v < 0.0f) return 0;
  return static_cast<uint8_t>(std::nearbyint(v));
}

// Weighted sum of one channel along one axis for destination position i;
// `sample(j)` reads source position j (already inside the source).
template <typename TSample>
uint8_t RefFilter(int32_t sourceSize, int32_t destinationSize, int32_t i, TSample sample) {
  float scale = sourceSize == 1 ? static_cast<float>(destinationSize) / static_cast<float>(sourceSize)
                                : static_cast<float>(destinationSize - 1) / static_cast<float>(sourceSize - 1);
  float sum = 0.0f;
  if (scale == 0.0f) {  // one pixel from many: the mean
    for (int32_t j = 0; j < sourceSize; ++j) sum += (1.0f / static_cast<float>(sourceSize)) * sample(j);
    return RefClamp(sum);
  }
  const float center = static_cast<float>(i) / scale;
  const float half = scale >= 1.0f ? 3.0f : 3.0f / scale;
  for (int64_t j = static_cast<int64_t>(std::floor(center - half)); j <= static_cast<int64_t>(std::ceil(center + half));
       ++j) {
    const float d = center - static_cast<float>(j);
    const float w = scale >= 1.0f ? RefLanczos(d) : RefLanczos(d * scale) * scale;
    if (w == 0.0f) continue;
    int64_t k = j < 0 ? -j : j;
    if (k >= sourceSize) k = 2 * sourceSize - 1 - k;
    k = std::max<int64_t>(0, std::min<int64_t>(k, sourceSize - 1));
    sum += w * static_cast<float>(sample(static_cast<int32_t>(k)));
  }
  return RefClamp(sum);
}

TTestPixels RefResample(TTestPixels& source, int32_t dw, int32_t dh) {
  TTestPixels work(dw, source.Height), out(dw, dh);
  for (int32_t y = 0; y < source.Height; ++y)
    for (int32_t x = 0; x < dw; ++x)
      for (int ch = 0; ch < 3; ++ch)
        work.At(x, y, ch) = RefFilter(source.Width, dw, x, [&](int32_t j) { return source.At(j, y, ch); });
  for (int32_t y = 0; y < dh; ++y)
    for (int32_t x = 0; x < dw; ++x) {
      for (int ch = 0; ch < 3; ++ch)
        out.At(x, y, ch) = RefFilter(source.Height, dh, y, [&](int32_t j) { return work.At(x, j, ch); });
      out.At(x, y, 3) = 255;
    }
  return out;
}

// --- Tests -----------------------------------------------------------------

TEST(Stretch, LanczosWeightValues) {
  EXPECT_EQ(LanczosWeight(0.0f), 1.0f);
  EXPECT_EQ(LanczosWeight(3.0f), 0.0f);
  EXPECT_EQ(LanczosWeight(-3.5f), 0.0f);
  EXPECT_EQ(LanczosWeight(-1.5f), LanczosWeight(1.5f));
  EXPECT_EQ(LanczosWeight(-0.3f), LanczosWeight(0.3f));
  // sinc(0.5) sinc(1/6) = (2 / pi) * 3 / pi
  EXPECT_NEAR(LanczosWeight(0.5f), 6.0 / (M_PI * M_PI), 1e-6);
  // sinc(1.5) sinc(0.5) = -(2 / (3 pi)) * (2 / pi)
  EXPECT_NEAR(LanczosWeight(1.5f), -4.0 / (3 * M_PI * M_PI), 1e-6);
  EXPECT_NEAR(LanczosWeight(1.0f), 0.0, 1e-6);
  EXPECT_NEAR(LanczosWeight(2.999f), 0.0, 1e-3);
  EXPECT_NEAR(NormalizedSinc(0.5f), 2.0 / M_PI, 1e-6);
}

TEST(Stretch, ContributorsOfTheLastColumnLineUpWithTheLastSourceColumn) {
  // 2 -> 4: the factor is 3, so column 3 sits on source position 1.
  const auto lists = BuildContributors(2, 4);
  ASSERT_EQ(lists.size(), 4u);
  float onLast = 0;
  for (const TContributor& c : lists[3]) {
    EXPECT_GE(c.Index, 0);
    EXPECT_LT(c.Index, 2);
    EXPECT_NE(c.Weight, 0.0f);
    if (c.Weight == 1.0f) onLast += 1;
  }
  EXPECT_EQ(onLast, 1);
  EXPECT_LE(lists[3].size(), 7u);
}

TEST(Stretch, ASingleColumnSpreadsOverFiveWithFactorFive) {
  // Column i maps to source position i / 5: weights Lanczos(i / 5 - j).
  const auto lists = BuildContributors(1, 5);
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    float total = 0;
    for (const TContributor& c : lists[static_cast<size_t>(i)]) {
      EXPECT_EQ(c.Index, 0);
      total += c.Weight;
    }
    float expected = 0;
    const float center = static_cast<float>(i) / 5.0f;
    for (int j = -3; j <= 4; ++j) expected += LanczosWeight(center - static_cast<float>(j));
    EXPECT_FLOAT_EQ(total, expected);
  }
}

TEST(Stretch, ReductionWindowsNeverReachOutsideTheSource) {
  for (auto [sw, dw] : {std::pair{50, 3}, std::pair{7, 2}, std::pair{3, 2}, std::pair{1000, 7}}) {
    for (const TContributorList& list : BuildContributors(sw, dw)) {
      ASSERT_FALSE(list.empty());
      for (const TContributor& c : list) {
        EXPECT_GE(c.Index, 0);
        EXPECT_LT(c.Index, sw);
      }
    }
  }
}

TEST(Stretch, ResamplesMatchTheReferenceExactly) {
  const struct {
    int32_t SourceWidth, SourceHeight, Width, Height;
  } cases[] = {
      {13, 9, 31, 20},  // enlarge both ways
      {40, 30, 9, 7},   // reduce both ways
      {12, 40, 30, 11}, // enlarge across, reduce down
      {1, 6, 5, 6},     // a single source column
      {6, 1, 6, 4},     // a single source row
      {9, 5, 1, 3},     // one destination column: the mean
      {2, 2, 4, 4},
      {5, 5, 5, 5},     // same size
      {3, 2, 2, 3},     // a reduction window wider than the source
  };
  uint32_t seed = 1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.SourceWidth << "x" << c.SourceHeight << " -> " << c.Width << "x"
                                    << c.Height);
    TTestPixels source = RandomPixels(c.SourceWidth, c.SourceHeight, seed++);
    TTestPixels expected = RefResample(source, c.Width, c.Height);
    TTestPixels actual(c.Width, c.Height);
    ResamplePixels(source.Rows(), actual.Rows());
    for (int32_t y = 0; y < c.Height; ++y)
      for (int32_t x = 0; x < c.Width; ++x) {
        for (int ch = 0; ch < 4; ++ch)
          ASSERT_EQ(actual.At(x, y, ch), expected.At(x, y, ch)) << "pixel (" << x << ", " << y << ") channel " << ch;
      }
  }
}

TEST(Stretch, BottomUpRowsAreReadThroughANegativeStride) {
  TTestPixels source = RandomPixels(6, 5, 77);
  TTestPixels expected = RefResample(source, 11, 8);
  // The same picture stored with its last row first.
  TTestPixels flipped(6, 5);
  for (int y = 0; y < 5; ++y)
    std::copy_n(&source.At(0, y, 0), 24, &flipped.At(0, 4 - y, 0));
  TTestPixels actual(11, 8);
  ResamplePixels({&flipped.At(0, 4, 0), 6, 5, -24}, actual.Rows());
  EXPECT_EQ(actual.Bytes, expected.Bytes);
}

TEST(Stretch, EnlargedCornersKeepTheSourceCorners) {
  TTestPixels source(2, 2);
  const uint8_t values[4][3] = {{10, 200, 30}, {250, 0, 120}, {0, 0, 0}, {255, 255, 255}};
  for (int i = 0; i < 4; ++i)
    for (int ch = 0; ch < 3; ++ch) source.At(i % 2, i / 2, ch) = values[i][ch];
  TTestPixels out(4, 4);
  ResamplePixels(source.Rows(), out.Rows());
  const int corners[4][2] = {{0, 0}, {3, 0}, {0, 3}, {3, 3}};
  for (int i = 0; i < 4; ++i)
    for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(out.At(corners[i][0], corners[i][1], ch), values[i][ch]) << i;
}

TEST(Stretch, RingingBeyondTheChannelRangeIsClamped) {
  // A hard black-to-white edge overshoots on both sides when enlarged.
  TTestPixels source(8, 1);
  for (int x = 4; x < 8; ++x)
    for (int ch = 0; ch < 3; ++ch) source.At(x, 0, ch) = 255;
  TTestPixels out(29, 1);
  ResamplePixels(source.Rows(), out.Rows());
  // Well inside each half the sums ring past the range and clamp to its ends.
  int black = 0, white = 0;
  for (int x = 0; x < 29; ++x) {
    black += out.At(x, 0, 0) == 0;
    white += out.At(x, 0, 0) == 255;
  }
  EXPECT_GT(black, 5);
  EXPECT_GT(white, 5);
  EXPECT_EQ(out.At(0, 0, 1), 0);
  EXPECT_EQ(out.At(28, 0, 1), 255);
}

TEST(Stretch, OneColumnFromManyIsTheMeanRoundedToEven) {
  TTestPixels source(2, 1);
  const uint8_t left[3] = {2, 6, 1}, right[3] = {3, 7, 2};
  for (int ch = 0; ch < 3; ++ch) {
    source.At(0, 0, ch) = left[ch];
    source.At(1, 0, ch) = right[ch];
  }
  TTestPixels out(1, 1);
  ResamplePixels(source.Rows(), out.Rows());
  // 2.5 -> 2, 6.5 -> 6, 1.5 -> 2
  EXPECT_EQ(out.At(0, 0, 0), 2);
  EXPECT_EQ(out.At(0, 0, 1), 6);
  EXPECT_EQ(out.At(0, 0, 2), 2);
}

TEST(Stretch, EmptyPicturesAreLeftAlone) {
  TTestPixels source = RandomPixels(3, 3, 5);
  TTestPixels out(4, 4);
  for (auto& b : out.Bytes) b = 7;
  ResamplePixels({source.Bytes.data(), 0, 3, 12}, out.Rows());
  ResamplePixels(source.Rows(), {out.Bytes.data(), 4, 0, 16});
  for (uint8_t b : out.Bytes) EXPECT_EQ(b, 7);
}

}  // namespace
}  // namespace varnik
