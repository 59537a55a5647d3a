#include "map/uSettings.h"

#include <algorithm>

#include "platform/uFiles.h"
#include "platform/uProfile.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {

// The longest font name the settings reader takes.
constexpr size_t kMaxFontName = 4095;

TSettings& Current() {
  static TSettings settings;
  return settings;
}

bool& Loaded() {
  static bool loaded = false;
  return loaded;
}

}  // namespace

const TSettings& Settings() {
  if (!Loaded()) LoadSettings();
  return Current();
}

void LoadSettings(const std::string& path) {
  TProfileFile file;
  file.Load(path);
  const char* section = "Options";
  TSettings s;
  s.FontName = file.Value(section, "FontName").value_or(s.FontName).substr(0, kMaxFontName);
  s.FontHeight = ProfileInteger(file.Value(section, "FontHeight"), s.FontHeight);
  s.FontStyle = ProfileInteger(file.Value(section, "FontStyle"), s.FontStyle) & 15;
  s.FontCharset = ProfileInteger(file.Value(section, "FontCharset"), s.FontCharset);
  s.DrawLabels = ProfileInteger(file.Value(section, "DrawLabels"), 0) != 0;
  s.SmoothLevel = std::clamp(ProfileInteger(file.Value(section, "Smooth"), s.SmoothLevel), 1, 4);
  Current() = s;
  Loaded() = true;
  TLabelFont& font = DefaultLabelFont();
  font.Name = s.FontName;
  font.Height = s.FontHeight;
  font.Style = s.FontStyle;
}

void LoadSettings() { LoadSettings(ProgramDir() + "Varnik.ini"); }

}  // namespace varnik
