#pragma once
// A picture that a map or a vector image draws: a Windows bitmap, a GIF, a
// PNG or a vector image. It is loaded from a file (the kind follows the
// file's extension) or handed a vector document, and drawn into a bitmap at
// a position and zoom taken from a view; zoomed raster pictures are resampled
// when the smoothing level asks for it.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/uUtils.h"

namespace varnik {

class TBitmap;
class TBmpFile;
class TGifFile;
class TPngFile;
class TScale;
class TVectorImage;
struct TPicture;

// Receives the text of a clickable spot that was hit (the same callback type
// as the vector image's).
using TSpotCallback = std::function<void(const std::string& text)>;

// Picture kinds, as GetFileKind gives them for a file name.
inline constexpr uint8_t fkNone = 0;
inline constexpr uint8_t fkBitmap = 1;
inline constexpr uint8_t fkGif = 2;
inline constexpr uint8_t fkPng = 3;
inline constexpr uint8_t fkVector = 4;
// Known files of a city that are not pictures.
inline constexpr uint8_t fkIni = 5;
inline constexpr uint8_t fkTxt = 6;
inline constexpr uint8_t fkVr3d = 7;

// The kind of a file by its extension, letter case ignored: ".gif", ".png",
// ".bmp", ".vec", ".ini", ".txt", ".vr3d"; fkNone for anything else.
uint8_t GetFileKind(const std::string& fileName);

class TImage {
 public:
  TImage();
  ~TImage();
  TImage(const TImage&) = delete;
  TImage& operator=(const TImage&) = delete;

  // Picture size in pixels; for a vector picture the document's size.
  int32_t Width = 0;
  int32_t Height = 0;
  // The picture itself: exactly one of these is set, the one of Kind.
  std::unique_ptr<TGifFile> Gif;
  std::unique_ptr<TPngFile> Png;
  std::unique_ptr<TVectorImage> Vector;
  std::unique_ptr<TBmpFile> Bitmap;
  uint8_t Kind = fkNone;
  // The file name without its directory: the key images are found by.
  std::string Name;
  // For a vector picture: leave the background alone instead of filling it
  // white first. Raster pictures are always opaque.
  bool Transparent = false;

  // Frees the picture and empties the image; Transparent stays.
  void Clear();
  // Clears, then loads the file by its kind. False (and an empty image)
  // when a picture file cannot be read or decoded, or a .vec file has no
  // line. A file that is no picture loads nothing and gives true.
  bool LoadFromFile(const std::string& path);
  // Takes ownership of a vector document; meant for an empty image.
  void SetVector(std::unique_ptr<TVectorImage> document);

  // Draws the picture with its top-left corner at the screen point (x, y),
  // zoomed by the view's ScaleX and ScaleY. A vector picture is placed by the
  // view alone and ignores (x, y). A zoomed raster picture is cut to `clip`
  // (and to the target) before it is stretched, so only the visible part is
  // worked on; at `level` 2 or more it is resampled with the Lanczos filter,
  // below that stretched by replicating pixels. Nothing is drawn outside the
  // target.
  void Draw(TBitmap& target, const TRect& clip, const TScale& scale, int level, long double x,
            long double y);
  // For a vector picture, whether a spot lies under the screen point (x, y);
  // false for every other kind.
  bool HitTest(const TScale& scale, long double x, long double y, const TSpotCallback& onSpot);

 private:
  TPicture* RasterPicture();
  void DrawZoomed(TBitmap& target, const TRect& clip, TPicture& picture, long double scaleX,
                  long double scaleY, int level, long double x, long double y);

  // The part of the raster picture last drawn zoomed, as it was drawn:
  // resampled and stretched, one of each. A map redrawn under a view that
  // has not moved copies it instead of working it out again. Pictures may be
  // drawn from several threads at once, so the parts are kept under a lock.
  // Made on the first zoomed draw.
  struct TZoomedParts;
  TZoomedParts& ZoomedParts();
  std::unique_ptr<TZoomedParts> zoomed_;
  std::once_flag zoomedMade_;
};

// An owning list of images (the city's pictures).
using TImages = std::vector<std::unique_ptr<TImage>>;

// The first image whose Name equals `name` ignoring letter case as the
// Russian locale does (Cyrillic included); nullptr for an empty name or
// when none matches.
TImage* FindByName(const TImages& images, const std::string& name);

}  // namespace varnik
