#pragma once
// The drawing target: a bitmap of 24 bits of colour per pixel, reached row by
// row. It is held as a 32-bit Qt image because Qt's raster engine draws several
// times faster on 4-byte pixels; every pixel is the bytes blue, green, red and
// one unused byte, and every rule of the system that works on "the three bytes
// blue, green, red" of a pixel works on the first three bytes of the four. The
// fourth byte is never read.

#include <QImage>
#include <cstdint>
#include <memory>

namespace varnik {

class TCanvas;
// Drawing code above this layer may let a bitmap stand for a vector page
// (vector/uVectorSink.h).
class TVectorSink;

class TBitmap {
 public:
  // Bytes from one pixel to the next within a row.
  static constexpr int kBytesPerPixel = 4;
  // The largest bitmap that may be made: a side of at most kMaxSide pixels
  // and at most kMaxPixels pixels in all (1 GiB). Sizes read from files or
  // typed by a user can be absurd; they must not exhaust memory.
  static constexpr int kMaxSide = 32767;
  static constexpr int64_t kMaxPixels = int64_t(1) << 28;

  // An empty bitmap (0 x 0); drawing on it does nothing.
  TBitmap();
  // A bitmap of the given size filled white; see SetSize for bad sizes.
  TBitmap(int width, int height);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  bool Empty() const { return image_.isNull() || image_.width() <= 0 || image_.height() <= 0; }

  // Resizes the bitmap. The part that old and new sizes share keeps its
  // pixels; new pixels are white. A width or height of 0 or less gives an
  // empty bitmap. A size beyond kMaxSide or kMaxPixels is refused: the bitmap
  // becomes empty and the result is false.
  bool SetSize(int width, int height);

  // The first byte of row `row` (0 = top). The row must lie in
  // [0, Height()); the pixel x starts at byte x * kBytesPerPixel.
  uint8_t* ScanLine(int row) { return image_.scanLine(row); }
  const uint8_t* ScanLine(int row) const { return image_.constScanLine(row); }

  // Fills every pixel with one colour (a TColor, red in the low byte).
  void Fill(int32_t color);

  // The colour of a pixel as a TColor (red + 256 * green + 65536 * blue), or
  // -1 outside the bitmap. For tests and hit checks, not for drawing loops.
  int32_t Pixel(int x, int y) const;
  void SetPixel(int x, int y, int32_t color);

  // The canvas that draws on this bitmap; it lives as long as the bitmap and
  // keeps its pen, brush and font from call to call.
  TCanvas& Canvas() { return *canvas_; }

  // The Qt image behind the bitmap, for the canvas, PNG writing and the
  // window. Do not change its format or size through it.
  QImage& Image() { return image_; }
  const QImage& Image() const { return image_; }

  // When set, the bitmap stands for a page of a vector file or a printer:
  // the drawing operations above this layer hand their shapes to the sink
  // instead of setting pixels, and the bitmap stays as it is (empty, as a
  // rule). Not owned; it must outlive its use here.
  TVectorSink* Sink() const { return sink_; }
  void SetSink(TVectorSink* sink) { sink_ = sink; }

 private:
  QImage image_;
  TVectorSink* sink_ = nullptr;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace varnik
