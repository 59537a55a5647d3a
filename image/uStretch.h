#pragma once
// Lanczos resampling (three lobes) of 32-bit pixel rows (bytes blue, green,
// red, unused), separably: horizontally into a work buffer that keeps the
// source height, then vertically into the destination. The filter is
// evaluated in 32-bit floats and its weights are deliberately not
// normalised, so pictures come out exactly as they always have: a slightly
// brighter or darker fringe where the weights do not sum to one is part of
// the expected result. Large pictures are worked on all cores, rows split
// between them; every row comes out as on one thread.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace varnik {

class TBitmap;

float NormalizedSinc(float x);
// 0 from |x| >= 3 on; even in x.
float LanczosWeight(float x);

struct TContributor {
  int32_t Index;  // source pixel, always inside the source
  float Weight;   // never 0
};
using TContributorList = std::vector<TContributor>;

// The source pixels and weights of every destination pixel of one axis.
// With more than one pixel on both sides the first and last pixels line up;
// a source of one pixel is spread over the whole destination. Indices left of
// the source are mirrored at its first pixel, right of it at its last, and
// clamped into the source when a wide reduction window reaches further. A
// destination of one pixel from a larger source takes the source's mean.
std::vector<TContributorList> BuildContributors(int32_t sourceSize, int32_t destinationSize);

// Rows of 4-byte pixels; `Stride` (bytes from one row to the next) may be
// negative for bottom-up storage.
struct TPixelRows {
  uint8_t* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  std::ptrdiff_t Stride = 0;
  uint8_t* Row(int32_t y) const { return Bits + y * Stride; }
};

// Fills every pixel of `destination` (fourth bytes set to 255) from the whole
// of `source`. Does nothing when either is empty.
void ResamplePixels(const TPixelRows& source, const TPixelRows& destination);
// The same with the caller's work buffer, kept from one resample to the
// next: a picture resampled again and again at one size then takes no
// fresh memory. Its contents on entry do not matter.
void ResamplePixels(const TPixelRows& source, const TPixelRows& destination, std::vector<float>& work);

TPixelRows RowsOf(TBitmap& bitmap);
// The whole of `source` into the whole of `destination`, whose size the
// caller has set.
void ResampleBitmap(TBitmap& source, TBitmap& destination);

}  // namespace varnik
