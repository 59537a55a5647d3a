#pragma once
// The reader of Windows bitmap files behind a bitmap picture: core (OS/2 1.x)
// and info headers of every version, 1-, 4- and 8-bit palette pictures
// (uncompressed or run-length encoded), 16- and 32-bit pictures with default
// or explicit channel masks, 24-bit pictures, bottom-up and top-down. Alpha
// is ignored: pictures are opaque.

#include <string>
#include <string_view>

#include "image/uPicture.h"

namespace varnik {

class TBmpFile : public TPictureFile {
 public:
  // False, with an empty picture, for a file that cannot be read, is not a
  // bitmap, uses an unknown variant, holds less pixel data than its header
  // announces, or is larger than the picture bounds. Every read is checked
  // against the end of the data.
  bool LoadFromBytes(std::string_view data) override;
};

}  // namespace varnik
