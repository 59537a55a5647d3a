#include "export/uPngOutput.h"

#include <png.h>

#include <vector>

#include "platform/uBitmap.h"
#include "platform/uFiles.h"

namespace varnik {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Apart from the caller so that no C++ object lives in the frame libpng may
// jump back into; `rows` and `out` belong to the caller.
bool Encode(png_structp png, png_infop info, TBitmap& bitmap, std::vector<png_bytep>& rows, std::string& out) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // The bitmap's pixels are blue, green, red and an unused byte.
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  rows.resize(static_cast<size_t>(bitmap.Height()));
  for (int y = 0; y < bitmap.Height(); ++y) rows[static_cast<size_t>(y)] = bitmap.ScanLine(y);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string EncodePng(TBitmap& bitmap) {
  std::string out;
  if (bitmap.Empty()) return out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, IgnoreWarning);
  if (!png) return out;
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows;
  const bool ok = info && Encode(png, info, bitmap, rows, out);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  if (!ok) out.clear();
  return out;
}

bool WritePng(TBitmap& bitmap, const std::string& path) {
  const std::string data = EncodePng(bitmap);
  return !data.empty() && WriteFileAtomic(path, data);
}

}  // namespace varnik
