// A .vec document in the vector editor's dialect: read from any bytes,
// written back (the writer's text must be stable), drawn into a
// small bitmap with and without smoothing, hit-tested and walked point by
// point. Image commands find a small picture and a document that nests
// itself in the working directory.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "FuzzSupport.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

using namespace varnik;

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

void SetUpView(TScale& scale, const TVectorImage& document, uint64_t hash) {
  static constexpr long double kZooms[] = {1, 0.25L, 3.5L, 0.01L};
  static constexpr long double kAngles[] = {0, 0, 0.5L, -2};
  scale.Geographic = false;
  scale.ScaleX = scale.ScaleY = kZooms[hash & 3];
  scale.Angle = kAngles[(hash >> 2) & 3];
  scale.CenterX = document.ImageWidth() / 2.0L;
  scale.CenterY = document.ImageHeight() / 2.0L;
  scale.ShiftX = kWidth / 2.0L;
  scale.ShiftY = kHeight / 2.0L;
  scale.Changed();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Initialise("vec");
  std::ifstream picture(VARNIK_FUZZ_EXAMPLES "/Zarechensk/park.png", std::ios::binary);
  fuzz::WriteWorkFile("pic.png", std::string(std::istreambuf_iterator<char>(picture), {}));
  fuzz::WriteWorkFile("pic.vec",
                      "Size 20x20\r\nPenColor 0000FF\r\nLine 0,0, 20,20\r\nImage pic.png, 2, 2\r\n"
                      "Image pic.vec, 5, 5\r\n");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  fuzz::TInWorkDir inWorkDir;
  TVectorImage document;
  document.LoadFromText(text);

  // Not every text survives its first writing (the format cannot quote a
  // text holding both kinds of quotes, so it reads back shorter), but what
  // the writer wrote once it must write again unchanged.
  TVectorImage reread;
  reread.LoadFromText(document.SaveToText());
  const std::string canonical = reread.SaveToText();
  reread.LoadFromText(canonical);
  if (reread.SaveToText() != canonical) std::abort();

  const uint64_t hash = fuzz::InputHash(text);
  TScale scale;
  SetUpView(scale, document, hash);
  TBitmap bitmap(kWidth, kHeight);
  const TRect clip{0, 0, kWidth, kHeight};
  document.Draw(bitmap, clip, 1, scale, true);
  document.Draw(bitmap, clip, 4, scale, (hash >> 4) & 1);

  for (long double x : {0.0L, kWidth / 2.0L, kWidth - 1.0L})
    document.HitTest(scale, x, kHeight / 2.0L, [](const std::string&) {});
  document.ForEachPoint(scale, [](TFPoint& point, TScale&) { point.X += 1; });
  return 0;
}
