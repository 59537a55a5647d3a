#include "image/uGifFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>


namespace varnik {

namespace {

struct TMemoryReader {
  std::string_view Data;
  size_t Position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* reader = static_cast<TMemoryReader*>(gif->UserData);
  const size_t n = std::min(static_cast<size_t>(std::max(count, 0)), reader->Data.size() - reader->Position);
  std::memcpy(out, reader->Data.data() + reader->Position, n);
  reader->Position += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using TGifHandle = std::unique_ptr<GifFileType, TGifCloser>;

uint32_t ColorOf(const ColorMapObject* map, int index) {
  // An index past the end of the colour table is a damaged file; it shows black.
  if (!map || index < 0 || index >= map->ColorCount) return OpaquePixel(0, 0, 0);
  const GifColorType& c = map->Colors[index];
  return OpaquePixel(c.Red, c.Green, c.Blue);
}

// The order in which an interlaced frame delivers its rows: every 8th row
// from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  static constexpr int kStart[] = {0, 4, 2, 1};
  static constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  return order;
}

// Reads records up to the first image descriptor, remembering the
// transparent colour a graphic control extension announces for it.
bool SeekFirstFrame(GifFileType* gif, int& transparentIndex) {
  transparentIndex = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) != GIF_OK) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return DGifGetImageDesc(gif) == GIF_OK;
    if (type == TERMINATE_RECORD_TYPE) return false;
    if (type != EXTENSION_RECORD_TYPE) continue;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
      GraphicsControlBlock gcb;
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparentIndex = gcb.TransparentColor;
    }
    while (block) {
      if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
  }
}

}  // namespace

bool TGifFile::LoadFromBytes(std::string_view data) {
  Picture.Clear();
  TMemoryReader reader{data, 0};
  int error = 0;
  TGifHandle gif(DGifOpen(&reader, ReadFromMemory, &error));
  if (!gif) return false;

  int transparentIndex = NO_TRANSPARENT_COLOR;
  if (!SeekFirstFrame(gif.get(), transparentIndex)) return false;
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colors = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
  if (!colors || frame.Width <= 0 || frame.Height <= 0) return false;

  // A logical screen of zero size is taken from the frame's extent.
  int64_t width = gif->SWidth, height = gif->SHeight;
  if (width <= 0 || height <= 0) {
    width = int64_t{frame.Left} + frame.Width;
    height = int64_t{frame.Top} + frame.Height;
  }
  if (!PictureSizeAllowed(width, height)) return false;
  const uint32_t background = ColorOf(gif->SColorMap, gif->SBackGroundColor);
  TPicture picture;
  if (!picture.Allocate(width, height, background)) return false;

  std::vector<GifPixelType> line(static_cast<size_t>(frame.Width));
  for (int y : RowOrder(frame.Height, frame.Interlace)) {
    if (DGifGetLine(gif.get(), line.data(), frame.Width) != GIF_OK) return false;
    const int64_t row = int64_t{frame.Top} + y;
    if (row < 0 || row >= picture.Height) continue;
    uint32_t* out = picture.Row(static_cast<int32_t>(row));
    for (int x = 0; x < frame.Width; ++x) {
      const int64_t column = int64_t{frame.Left} + x;
      if (column < 0 || column >= picture.Width || line[x] == transparentIndex) continue;
      out[column] = ColorOf(colors, line[x]);
    }
  }
  Picture = std::move(picture);
  return true;
}

}  // namespace varnik
