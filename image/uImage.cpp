#include "image/uImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <vector>

#include "image/uBmpFile.h"
#include "image/uGifFile.h"
#include "image/uPngFile.h"
#include "image/uStretch.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"
#include "vector/uVectorSink.h"

namespace varnik {

namespace {

std::string FileNamePart(const std::string& path) {
  const size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The rectangle `part` of the target, and of a picture, as the resampler
// sees them.
TPixelRows TargetRows(TBitmap& target, const TRect& part) {
  return {target.ScanLine(part.Top) + static_cast<size_t>(part.Left) * TBitmap::kBytesPerPixel,
          part.Right - part.Left, part.Bottom - part.Top,
          static_cast<std::ptrdiff_t>(target.Image().bytesPerLine())};
}

TPixelRows PictureRows(TPicture& picture, const TRect& part) {
  return {reinterpret_cast<uint8_t*>(picture.Row(part.Top) + part.Left), part.Right - part.Left,
          part.Bottom - part.Top, static_cast<std::ptrdiff_t>(picture.Width) * 4};
}

// Copies picture pixels (sourceLeft, sourceTop, width x height) to the target
// at (left, top); every rectangle is already inside its bitmap.
void CopyPixels(const TPicture& picture, int32_t sourceLeft, int32_t sourceTop, TBitmap& target,
                int32_t left, int32_t top, int32_t width, int32_t height) {
  for (int32_t row = 0; row < height; ++row)
    std::memcpy(target.ScanLine(top + row) + static_cast<size_t>(left) * TBitmap::kBytesPerPixel,
                picture.Row(sourceTop + row) + sourceLeft, static_cast<size_t>(width) * sizeof(uint32_t));
}

// The plain stretching copy of the picture's `source` rectangle onto the
// target's `destination` rectangle, both inside their bitmaps: target pixel
// u of a row takes source pixel u * source width / destination width (rows
// alike), the canvas's stretching copy, three bytes a pixel. The picture is
// read in place and the positions are worked out in 64 bits, so a picture
// longer than the largest bitmap draws as well.
void StretchPixels(const TPicture& picture, const TRect& source, const TPixelRows& destination) {
  const int64_t sourceWidth = int64_t{source.Right} - source.Left;
  const int64_t sourceHeight = int64_t{source.Bottom} - source.Top;
  const int64_t width = destination.Width, height = destination.Height;
  std::vector<int64_t> columns(static_cast<size_t>(width));
  for (int64_t u = 0; u < width; ++u) columns[static_cast<size_t>(u)] = source.Left + u * sourceWidth / width;
  for (int64_t v = 0; v < height; ++v) {
    const uint32_t* in = picture.Row(static_cast<int32_t>(source.Top + v * sourceHeight / height));
    uint8_t* out = destination.Row(static_cast<int32_t>(v));
    for (int64_t u = 0; u < width; ++u)
      std::memcpy(out + u * TBitmap::kBytesPerPixel, in + columns[static_cast<size_t>(u)], TBitmap::kBytesPerPixel);
  }
}

// Cuts a source range [first, last) to the picture. Zoomed far in, the
// rounded edges of the visible part can meet in one value, which would make
// the picture vanish; the pixel under the visible part (starting at source
// position `start`) is kept then.
void KeepSourcePixels(int64_t& first, int64_t& last, long double start, int32_t size) {
  first = std::clamp<int64_t>(first, 0, size);
  last = std::clamp<int64_t>(last, 0, size);
  if (last > first) return;
  first = std::clamp<int64_t>(static_cast<int64_t>(std::floor(std::clamp<long double>(start, 0, size))), 0,
                              size - 1);
  last = first + 1;
}

bool Unzoomed(const TScale& scale) { return std::fabs(scale.ScaleX - 1) + std::fabs(scale.ScaleY - 1) < 0.001L; }

// Where the whole picture lands, in pixel edges: unzoomed at its own size,
// zoomed from the rounded corner to the rounded far corner.
TRect PicturePlace(const TPicture& picture, const TScale& scale, long double x, long double y) {
  const bool unzoomed = Unzoomed(scale);
  const long double right = unzoomed ? RoundToInt(x) + picture.Width : x + picture.Width * scale.ScaleX;
  const long double bottom = unzoomed ? RoundToInt(y) + picture.Height : y + picture.Height * scale.ScaleY;
  return {RoundToInt(x), RoundToInt(y), RoundToInt(right), RoundToInt(bottom)};
}

// Zoomed parts larger than this (four screens of 1920 x 1080) are drawn
// straight into the target and not kept: a picture rendered once at a huge
// size should not hold twice its memory.
constexpr int64_t kMostKeptPixels = int64_t{1} << 23;

// A zoomed part: which pixels of which picture, at what size, and the
// pixels as drawn (rows without padding, the bitmap's pixel layout).
struct TZoomedPart {
  const uint32_t* Picture = nullptr;
  TRect Source{};
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;
  std::vector<float> Work;  // the resampler's, kept for the next part

  bool Holds(const TPicture& picture, const TRect& source, int32_t width, int32_t height) const {
    return Picture == picture.Pixels.data() && Source.Left == source.Left && Source.Top == source.Top &&
           Source.Right == source.Right && Source.Bottom == source.Bottom && Width == width && Height == height;
  }
  TPixelRows Rows() {
    return {reinterpret_cast<uint8_t*>(Pixels.data()), Width, Height, static_cast<std::ptrdiff_t>(Width) * 4};
  }
};

}  // namespace

uint8_t GetFileKind(const std::string& fileName) {
  static constexpr struct {
    const char* Extension;
    uint8_t Kind;
  } kKinds[] = {{".gif", fkGif}, {".png", fkPng}, {".bmp", fkBitmap}, {".vec", fkVector},
                {".ini", fkIni}, {".txt", fkTxt}, {".vr3d", fkVr3d}};
  const std::string name = FileNamePart(fileName);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return fkNone;
  const std::string extension = name.substr(dot);
  for (const auto& k : kKinds)
    if (SameTextAscii(extension, k.Extension)) return k.Kind;
  return fkNone;
}

struct TImage::TZoomedParts {
  std::mutex Lock;
  TZoomedPart Stretched;
  TZoomedPart Resampled;
};

TImage::TImage() = default;
TImage::~TImage() { Clear(); }

TImage::TZoomedParts& TImage::ZoomedParts() {
  std::call_once(zoomedMade_, [this] { zoomed_ = std::make_unique<TZoomedParts>(); });
  return *zoomed_;
}

void TImage::Clear() {
  // Never called while the picture is drawn.
  if (zoomed_) {
    zoomed_->Stretched = {};
    zoomed_->Resampled = {};
  }
  Gif.reset();
  Png.reset();
  Vector.reset();
  Bitmap.reset();
  Width = 0;
  Height = 0;
  Name.clear();
  Kind = fkNone;
}

bool TImage::LoadFromFile(const std::string& path) {
  Clear();
  Name = FileNamePart(path);
  Kind = GetFileKind(Name);
  bool loaded = true;
  // Each decoder is kept only when it succeeded, so a failed load leaves
  // nothing behind.
  auto load = [&](auto& slot, auto decoder) {
    loaded = decoder->LoadFromFile(path);
    if (!loaded) return;
    Width = decoder->Width();
    Height = decoder->Height();
    slot = std::move(decoder);
  };
  switch (Kind) {
    case fkBitmap:
      load(Bitmap, std::make_unique<TBmpFile>());
      break;
    case fkGif:
      load(Gif, std::make_unique<TGifFile>());
      break;
    case fkPng:
      load(Png, std::make_unique<TPngFile>());
      break;
    case fkVector: {
      auto document = std::make_unique<TVectorImage>();
      loaded = document->LoadFromFile(path);
      if (loaded) SetVector(std::move(document));
      break;
    }
    default:
      break;
  }
  if (!loaded) Clear();
  return loaded;
}

void TImage::SetVector(std::unique_ptr<TVectorImage> document) {
  Vector = std::move(document);
  Kind = fkVector;
  Width = Vector ? Vector->ImageWidth() : 0;
  Height = Vector ? Vector->ImageHeight() : 0;
}

TPicture* TImage::RasterPicture() {
  if (Kind == fkBitmap && Bitmap) return &Bitmap->Picture;
  if (Kind == fkGif && Gif) return &Gif->Picture;
  if (Kind == fkPng && Png) return &Png->Picture;
  return nullptr;
}

void TImage::Draw(TBitmap& target, const TRect& clip, const TScale& scale, int level, long double x,
                  long double y) {
  if (Kind == fkVector) {
    if (Vector) Vector->Draw(target, clip, level, scale, !Transparent);
    return;
  }
  TPicture* picture = RasterPicture();
  if (!picture || picture->Width <= 0) return;
  if (TVectorSink* sink = target.Sink()) {
    sink->Picture(*picture, PicturePlace(*picture, scale, x, y), level >= 2 && !Unzoomed(scale));
    return;
  }
  if (target.Empty()) return;
  if (Unzoomed(scale)) {
    // Unscaled: a plain copy, cut to the target only.
    const int64_t left = RoundToInt(x), top = RoundToInt(y);
    const int64_t x0 = std::max<int64_t>(left, 0), y0 = std::max<int64_t>(top, 0);
    const int64_t x1 = std::min<int64_t>(left + picture->Width, target.Width());
    const int64_t y1 = std::min<int64_t>(top + picture->Height, target.Height());
    if (x1 <= x0 || y1 <= y0) return;
    CopyPixels(*picture, static_cast<int32_t>(x0 - left), static_cast<int32_t>(y0 - top), target,
               static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
               static_cast<int32_t>(y1 - y0));
    return;
  }
  DrawZoomed(target, clip, *picture, scale.ScaleX, scale.ScaleY, level, x, y);
}

// The destination rectangle is cut to the clip rectangle (itself cut to the
// target), and the source rectangle follows each cut edge back into the
// picture, so a large background zoomed far in costs only what is visible.
// All of it is in 32-bit (and wider) integers: a view zoomed past 32767
// pixels must not lose the picture.
void TImage::DrawZoomed(TBitmap& target, const TRect& clip, TPicture& picture, long double scaleX,
                        long double scaleY, int level, long double x, long double y) {
  const int64_t clipLeft = std::max<int64_t>(clip.Left, 0);
  const int64_t clipTop = std::max<int64_t>(clip.Top, 0);
  const int64_t clipRight = std::min<int64_t>(clip.Right, target.Width());
  const int64_t clipBottom = std::min<int64_t>(clip.Bottom, target.Height());

  int64_t left = RoundToInt(x), top = RoundToInt(y);
  int64_t right = RoundToInt(x + picture.Width * scaleX);
  int64_t bottom = RoundToInt(y + picture.Height * scaleY);
  int64_t sourceLeft = 0, sourceTop = 0, sourceRight = picture.Width, sourceBottom = picture.Height;
  if (left < clipLeft) {
    left = clipLeft;
    sourceLeft = RoundToInt((left - x) / scaleX);
  }
  if (right > clipRight) {
    right = clipRight;
    sourceRight = RoundToInt((right - x) / scaleX);
  }
  if (top < clipTop) {
    top = clipTop;
    sourceTop = RoundToInt((top - y) / scaleY);
  }
  if (bottom > clipBottom) {
    bottom = clipBottom;
    sourceBottom = RoundToInt((bottom - y) / scaleY);
  }
  if (right <= left || bottom <= top) return;
  KeepSourcePixels(sourceLeft, sourceRight, (left - x) / scaleX, picture.Width);
  KeepSourcePixels(sourceTop, sourceBottom, (top - y) / scaleY, picture.Height);

  const TRect source{static_cast<int32_t>(sourceLeft), static_cast<int32_t>(sourceTop),
                     static_cast<int32_t>(sourceRight), static_cast<int32_t>(sourceBottom)};
  const TRect destination{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                          static_cast<int32_t>(bottom)};
  const int32_t width = destination.Right - destination.Left, height = destination.Bottom - destination.Top;
  if (int64_t{width} * height > kMostKeptPixels) {
    if (level >= 2)
      ResamplePixels(PictureRows(picture, source), TargetRows(target, destination));
    else
      StretchPixels(picture, source, TargetRows(target, destination));
    return;
  }
  TZoomedParts& parts = ZoomedParts();
  std::lock_guard<std::mutex> hold(parts.Lock);
  TZoomedPart& part = level >= 2 ? parts.Resampled : parts.Stretched;
  if (!part.Holds(picture, source, width, height)) {
    // Every pixel of the part is written below, so the last part's pixels
    // are written over where they are: a new view of the same size costs
    // neither clearing nor fresh memory.
    part.Picture = picture.Pixels.data();
    part.Source = source;
    part.Width = width;
    part.Height = height;
    part.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    if (level >= 2)
      ResamplePixels(PictureRows(picture, source), part.Rows(), part.Work);
    else
      StretchPixels(picture, source, part.Rows());
  }
  for (int32_t row = 0; row < height; ++row)
    std::memcpy(target.ScanLine(destination.Top + row) + static_cast<size_t>(destination.Left) * TBitmap::kBytesPerPixel,
                part.Pixels.data() + static_cast<size_t>(row) * static_cast<size_t>(width),
                static_cast<size_t>(width) * TBitmap::kBytesPerPixel);
}

bool TImage::HitTest(const TScale& scale, long double x, long double y, const TSpotCallback& onSpot) {
  return Kind == fkVector && Vector && Vector->HitTest(scale, x, y, onSpot);
}

TImage* FindByName(const TImages& images, const std::string& name) {
  if (name.empty()) return nullptr;
  for (const auto& image : images)
    if (image && SameTextLocale(image->Name, name)) return image.get();
  return nullptr;
}

}  // namespace varnik
