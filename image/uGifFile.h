#pragma once
// The GIF decoder behind a GIF picture. Only the first frame is used: it is
// composed over a picture filled with the GIF's background colour, leaving
// out the frame's transparent colour, so transparent pixels show the
// background colour and the picture is opaque.

#include <string>
#include <string_view>

#include "image/uPicture.h"

namespace varnik {

class TGifFile {
 public:
  // False, with an empty picture, for a file that cannot be read, is not a
  // GIF, has no frame, is damaged or truncated before the first frame ends,
  // or is larger than the picture bounds.
  bool LoadFromFile(const std::string& path);
  bool LoadFromBytes(std::string_view data);

  int32_t Width() const { return Picture.Width; }
  int32_t Height() const { return Picture.Height; }

  // The composed first frame, the size of the GIF's logical screen.
  TPicture Picture;
};

}  // namespace varnik
