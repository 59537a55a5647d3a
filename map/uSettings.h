#pragma once
// The map editor's user settings, read from section Options of "Varnik.ini"
// in the program's directory. The file is never written; a missing file or
// key gives the defaults. The values are read once and held for the run.

#include <cstdint>
#include <string>

namespace varnik {

struct TSettings {
  std::string FontName = "Arial";  // the label font
  int32_t FontHeight = -12;        // negative: character height in pixels
  int32_t FontStyle = 1;           // bold, italic, underline, strike-out bits; bold by default
  int32_t FontCharset = 1;
  bool DrawLabels = false;  // the label layer of maps drawn over their own picture
  int32_t SmoothLevel = 1;  // 1..4
};

// The settings in force. The first call reads "Varnik.ini" beside the
// program (LoadSettings); later calls give the values read then.
const TSettings& Settings();

// Reads the settings from `path` (defaults for what is missing), makes them
// the ones in force and hands the label font to the drawing code, so that
// every label text without a font of its own uses it.
void LoadSettings(const std::string& path);
// LoadSettings of "Varnik.ini" in the program's directory.
void LoadSettings();

}  // namespace varnik
