// A whole city directory carved from one input, loaded as the editor loads
// it, every map drawn into a small bitmap, and the city saved as the editor
// saves it on close; a second save right after it must change no file (the
// editor saves on a timer, and files must not drift from save to save).
//
// The input is a list of files separated by the byte 0x1E; each file is its
// name, a line feed, and its content. A typical input is a .cty, a Metro.trp,
// a Metro.map and perhaps a .vec, further transports and maps, but any names
// may appear (two .cty files, odd letter case, Cyrillic names). Two small
// pictures are always present, as metro.gif and park.png, so that the maps
// and vector images can place them.

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "city/uCity.h"
#include "map/uCitySaver.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"

using namespace varnik;

namespace {

constexpr char kFileSeparator = '\x1E';
constexpr size_t kMaxFiles = 8;
constexpr size_t kMaxNameLength = 40;
constexpr int kWidth = 80;
constexpr int kHeight = 60;

struct TCarvedFile {
  std::string Name;
  std::string_view Content;
};

// A name that stays inside the working directory: no separators, no zero
// bytes, not "." or "..", not empty.
std::string SafeName(std::string_view name) {
  std::string safe(name.substr(0, kMaxNameLength));
  for (char& c : safe)
    if (c == '/' || c == '\0') c = '_';
  if (safe.empty() || safe == "." || safe == "..") safe = "unnamed";
  return safe;
}

std::vector<TCarvedFile> Carve(std::string_view data) {
  std::vector<TCarvedFile> files;
  while (!data.empty() && files.size() < kMaxFiles) {
    const size_t end = data.find(kFileSeparator);
    std::string_view part = data.substr(0, end);
    const size_t nameEnd = part.find('\n');
    TCarvedFile file{SafeName(part.substr(0, nameEnd)), {}};
    if (nameEnd != std::string_view::npos) file.Content = part.substr(nameEnd + 1);
    files.push_back(file);
    if (end == std::string_view::npos) break;
    data.remove_prefix(end + 1);
  }
  return files;
}

std::string& Picture(const char* name) {
  static std::string gif, png;
  return name[0] == 'm' ? gif : png;
}

std::string ReadExample(const char* name) {
  std::ifstream in(std::string(VARNIK_FUZZ_EXAMPLES "/Zarechensk/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Draws the map that is current, the whole extent fitted into the bitmap.
void DrawCurrentMapFitted(TCity& city, int level) {
  long double extent = std::max(city.CurrentMap->Width(), city.CurrentMap->Height());
  if (extent <= 0) extent = 1000;
  TScale scale;
  scale.Geographic = false;
  scale.ScaleX = scale.ScaleY = kWidth / extent;
  scale.CenterX = city.CurrentMap->Width() / 2.0L;
  scale.CenterY = city.CurrentMap->Height() / 2.0L;
  scale.ShiftX = kWidth / 2.0L;
  scale.ShiftY = kHeight / 2.0L;
  scale.Changed();
  TBitmap bitmap(kWidth, kHeight);
  DrawCurrentMap(city.CurrentMap, bitmap, level, scale);
}

// Every file of the working directory with its bytes.
std::map<std::string, std::string> DirectoryContent() {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(fuzz::WorkDir())) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Initialise("city");
  Picture("metro.gif") = ReadExample("metro.gif");
  Picture("park.png") = ReadExample("park.png");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = fuzz::AsText(data, size);
  fuzz::TInWorkDir inWorkDir;
  fuzz::EmptyWorkDir();
  fuzz::WriteWorkFile("metro.gif", Picture("metro.gif"));
  fuzz::WriteWorkFile("park.png", Picture("park.png"));
  for (const TCarvedFile& file : Carve(input)) fuzz::WriteWorkFile(file.Name, file.Content);

  TCity city;
  city.LoadFromDir();
  const int level = 1 + static_cast<int>(fuzz::InputHash(input) % 4);
  for (const auto& map : city.Maps) {
    city.CurrentMap = map.get();
    DrawCurrentMapFitted(city, level);
  }
  city.CurrentMap = city.Maps.empty() ? nullptr : city.Maps.front().get();
  SaveCity(city.CurrentMap, city.Transports, true);
  const auto saved = DirectoryContent();
  SaveCity(city.CurrentMap, city.Transports, true);
  if (DirectoryContent() != saved) std::abort();
  return 0;
}
