// The Image command: another picture placed at a point of this one, found
// through the owner's resolver or, without one, loaded from its file for the
// one drawing.

#include <algorithm>
#include <filesystem>

#include "image/uImage.h"
#include "platform/uFiles.h"
#include "vector/uScale.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

// Files being drawn through Image commands without a resolver by this
// thread, innermost last. Every such drawing loads a new document, so a file that names itself
// (or a ring of files) would otherwise be loaded without end. Names are
// compared after removing "." and ".." steps and doubled separators.
std::vector<std::string>& FilesBeingDrawn() {
  thread_local std::vector<std::string> files;
  return files;
}

std::string NormalFileName(const std::string& fileName) {
  return std::filesystem::path(fileName).lexically_normal().generic_string();
}

}  // namespace

TVectorCommandImage::TVectorCommandImage() {
  TypeCode = vcImage;
  MaxPoints = 1;
}

// The view of the nested picture: its origin lands on the command's point.
static void PlaceNested(const std::vector<TFPoint>& points, const TScale& scale, TScale& nested) {
  nested.Assign(scale);
  if (points.size() == 1) {
    nested.SetCenterX(nested.CenterX - points[0].X);
    nested.SetCenterY(nested.CenterY - points[0].Y);
  }
}

void TVectorCommandImage::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (FileName.empty() || Points.size() > 1) return;
  TScale nested;
  PlaceNested(Points, scale, nested);
  TFPoint origin = Points.empty() ? TFPoint{} : Points[0];
  TScalePoint p = scale.ToScreen(origin.X, origin.Y);
  const long double x = RoundToInt(p.X), y = RoundToInt(p.Y);

  if (OnGetImage) {
    if (TImage* image = OnGetImage(FileName)) {
      image->Transparent = true;
      image->Draw(bitmap, clip, nested, factor, x, y);
    }
    return;
  }
  if (!FileExists(FileName)) return;
  auto& active = FilesBeingDrawn();
  std::string normal = NormalFileName(FileName);
  if (std::find(active.begin(), active.end(), normal) != active.end()) return;
  active.push_back(normal);
  TImage image;
  image.LoadFromFile(FileName);
  image.Transparent = true;
  image.Draw(bitmap, clip, nested, factor, x, y);
  active.pop_back();
}

bool TVectorCommandImage::HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) {
  if (FileName.empty() || Points.size() > 1 || !OnGetImage) return false;
  TImage* image = OnGetImage(FileName);
  if (!image) return false;
  TScale nested;
  PlaceNested(Points, scale, nested);
  return image->HitTest(nested, x, y, onSpot);
}

std::string TVectorCommandImage::SaveToString() const {
  std::string line = "Image " + FileName + ", ";
  if (!Points.empty()) line += FormatVecFloat(Points[0].X) + ", " + FormatVecFloat(Points[0].Y);
  return FinishLine(line);
}

void TVectorCommandImage::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  FileName = fields.Token();
  if (TrimView(fields.Rest()).empty()) return;
  long double x = fields.Float();
  long double y = fields.Float();
  Points.push_back({x, y});
}

}  // namespace varnik
