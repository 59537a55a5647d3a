#include "map/uLayer.h"

#include "image/uImage.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"
#include "vector/uVectorSink.h"

namespace varnik {

TLayer::TLayer(TImage* image, bool owns, int32_t percent) : Percent(percent), Image(image), OwnsImage(owns) {
  if (owns) ownedImage_.reset(image);
}

TLayer::TLayer(std::unique_ptr<TImage> image, int32_t percent)
    : Percent(percent), Image(image.get()), OwnsImage(true), ownedImage_(std::move(image)) {}

TLayer::~TLayer() = default;

void TLayer::Draw(TBitmap& bitmap, int level, const TScale& scale) {
  if (Percent != 100 || Image == nullptr) return;
  TScalePoint origin = scale.ToScreen(0, 0);
  // The canvas has no clip region of its own: the clip box is the bitmap
  // (or the page it stands for).
  TRect clip = ClipBoxOf(bitmap);
  Image->Draw(bitmap, clip, scale, level, origin.X, origin.Y);
}

}  // namespace varnik
