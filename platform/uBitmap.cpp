#include "platform/uBitmap.h"

#include <algorithm>
#include <cstring>

#include "platform/uCanvas.h"

namespace varnik {

namespace {

// QImage's RGB32 pixel (0xffRRGGBB) of a TColor (0x00BBGGRR).
QRgb ToQRgb(int32_t color) {
  TColor rgb = ColorToRGB(color);
  return qRgb(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

}  // namespace

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(*this)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::~TBitmap() = default;

bool TBitmap::SetSize(int width, int height) {
  if (width <= 0 || height <= 0) {
    image_ = QImage();
    return true;
  }
  if (width > kMaxSide || height > kMaxSide || int64_t(width) * height > kMaxPixels) {
    image_ = QImage();
    return false;
  }
  if (width == Width() && height == Height()) return true;
  QImage resized(width, height, QImage::Format_RGB32);
  if (resized.isNull()) {
    image_ = QImage();
    return false;
  }
  resized.fill(qRgb(255, 255, 255));
  const int keepRows = std::min(height, Height());
  const int keepBytes = std::min(width, Width()) * kBytesPerPixel;
  for (int row = 0; row < keepRows; ++row)
    std::memcpy(resized.scanLine(row), image_.constScanLine(row), size_t(keepBytes));
  image_ = std::move(resized);
  return true;
}

void TBitmap::Fill(int32_t color) {
  if (!Empty()) image_.fill(ToQRgb(color));
}

int32_t TBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return -1;
  const uint8_t* p = ScanLine(y) + x * kBytesPerPixel;
  return int32_t(p[2]) | (int32_t(p[1]) << 8) | (int32_t(p[0]) << 16);
}

void TBitmap::SetPixel(int x, int y, int32_t color) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  TColor rgb = ColorToRGB(color);
  uint8_t* p = ScanLine(y) + x * kBytesPerPixel;
  p[0] = uint8_t(rgb >> 16);
  p[1] = uint8_t(rgb >> 8);
  p[2] = uint8_t(rgb);
}

}  // namespace varnik
