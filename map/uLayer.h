#pragma once
// One entry of the stack a map is drawn as: a picture drawn at the map's
// origin through the view. Background layers refer to pictures of the
// city's image list; the map's own layer owns the picture it built.

#include <cstdint>
#include <memory>

namespace varnik {

class TBitmap;
class TImage;
class TScale;

class TLayer {
 public:
  // `owns`: the layer frees `image` with itself.
  TLayer(TImage* image, bool owns, int32_t percent);
  TLayer(std::unique_ptr<TImage> image, int32_t percent);
  virtual ~TLayer();
  TLayer(const TLayer&) = delete;
  TLayer& operator=(const TLayer&) = delete;

  // Only a layer of exactly 100 is drawn; no blending is done at this level.
  int32_t Percent = 100;
  bool Visible = true;
  TImage* Image = nullptr;
  bool OwnsImage = false;

  // Draws the picture with the map point (0, 0) mapped through `scale` as
  // its top-left corner, clipped to the bitmap.
  virtual void Draw(TBitmap& bitmap, int level, const TScale& scale);

 private:
  std::unique_ptr<TImage> ownedImage_;
};

}  // namespace varnik
