#pragma once
// The PNG decoder behind a PNG picture. Every colour type and bit depth is
// decoded to opaque 8-bit RGB: pictures are copied, never blended, so an
// alpha channel (or a tRNS chunk) is dropped and the colour stored under it
// shows.

#include <string>
#include <string_view>

#include "image/uPicture.h"

namespace varnik {

class TPngFile : public TPictureFile {
 public:
  // False, with an empty picture, for a file that cannot be read, is not a
  // PNG, is damaged or truncated anywhere, or is larger than the picture
  // bounds. Never prints anything.
  bool LoadFromBytes(std::string_view data) override;
};

}  // namespace varnik
