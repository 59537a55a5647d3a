#include "image/uPngFile.h"

#include <png.h>

#include <cstring>
#include <vector>


namespace varnik {

namespace {

struct TMemoryReader {
  std::string_view Data;
  size_t Position = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<TMemoryReader*>(png_get_io_ptr(png));
  if (count > reader->Data.size() - reader->Position) png_error(png, "truncated");
  std::memcpy(out, reader->Data.data() + reader->Position, count);
  reader->Position += count;
}

// libpng reports through these; a damaged file must fail quietly.
[[noreturn]] void FailSilently(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Kept apart from the caller so that no C++ object lives in the frame that
// libpng may jump back into. `rows` and `picture` belong to the caller.
bool Decode(png_structp png, png_infop info, TMemoryReader& reader, std::vector<png_bytep>& rows,
            TPicture& picture) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, &reader, ReadFromMemory);
  // The sides are checked by their product below, not one by one.
  png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
  png_read_info(png, info);

  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!picture.Allocate(width, height)) return false;

  // Everything becomes 8-bit B, G, R, 255 in memory, the picture's layout.
  png_set_palette_to_rgb(png);
  png_set_expand_gray_1_2_4_to_8(png);
  png_set_gray_to_rgb(png);
  png_set_scale_16(png);
  png_set_strip_alpha(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) png_error(png, "layout");

  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = reinterpret_cast<png_bytep>(picture.Row(static_cast<int32_t>(y)));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool TPngFile::LoadFromBytes(std::string_view data) {
  Picture.Clear();
  if (data.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(data.data()), 0, 8) != 0)
    return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailSilently, IgnoreWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  TMemoryReader reader{data, 0};
  std::vector<png_bytep> rows;
  const bool ok = Decode(png, info, reader, rows, Picture);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) Picture.Clear();
  return ok;
}

}  // namespace varnik
