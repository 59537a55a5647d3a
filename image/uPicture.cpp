#include "image/uPicture.h"

#include "platform/uFiles.h"

namespace varnik {

bool TPictureFile::LoadFromFile(const std::string& path) {
  std::string data;
  if (!ReadWholeFile(path, data)) {
    Picture.Clear();
    return false;
  }
  return LoadFromBytes(data);
}

}  // namespace varnik
