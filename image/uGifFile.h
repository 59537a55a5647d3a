#pragma once
// The GIF decoder behind a GIF picture. Only the first frame is used: it is
// composed over a picture filled with the GIF's background colour, leaving
// out the frame's transparent colour, so transparent pixels show the
// background colour and the picture is opaque.

#include <string>
#include <string_view>

#include "image/uPicture.h"

namespace varnik {

class TGifFile : public TPictureFile {
 public:
  // False, with an empty picture, for a file that cannot be read, is not a
  // GIF, has no frame, is damaged or truncated before the first frame ends,
  // or is larger than the picture bounds.
  // Picture is the composed first frame, the size of the GIF's logical screen.
  bool LoadFromBytes(std::string_view data) override;
};

}  // namespace varnik
