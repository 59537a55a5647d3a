#pragma once
// What the vector editor takes from outside at start: the smoothing level of
// the settings file and the auto-save switch of the command line.

#include <cstdint>
#include <string>
#include <vector>

namespace varnik {

// "Smooth" of section "Options" in the settings file at `iniPath` (4 when the
// file or key is missing), clamped to 1..4.
int32_t ReadSmoothLevel(const std::string& iniPath);

// False when some argument is the switch "/-AutoSave" in any letter case; a
// switch with a value ("/-AutoSave=0") is not it.
bool AutoSaveFromArguments(const std::vector<std::string>& arguments);

}  // namespace varnik
