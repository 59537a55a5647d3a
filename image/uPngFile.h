#pragma once
// The PNG decoder behind a PNG picture. Every colour type and bit depth is
// decoded to opaque 8-bit RGB: pictures are copied, never blended, so an
// alpha channel (or a tRNS chunk) is dropped and the colour stored under it
// shows.

#include <string>
#include <string_view>

#include "image/uPicture.h"

namespace varnik {

class TPngFile {
 public:
  // False, with an empty picture, for a file that cannot be read, is not a
  // PNG, is damaged or truncated anywhere, or is larger than the picture
  // bounds. Never prints anything.
  bool LoadFromFile(const std::string& path);
  bool LoadFromBytes(std::string_view data);

  int32_t Width() const { return Picture.Width; }
  int32_t Height() const { return Picture.Height; }

  TPicture Picture;
};

}  // namespace varnik
