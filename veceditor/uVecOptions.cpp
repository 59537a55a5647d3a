#include "veceditor/uVecOptions.h"

#include <algorithm>

#include "platform/uCodePage.h"
#include "platform/uProfile.h"

namespace varnik {

int32_t ReadSmoothLevel(const std::string& iniPath) {
  return std::clamp<int32_t>(ReadProfileInt(iniPath, "Options", "Smooth", 4), 1, 4);
}

bool AutoSaveFromArguments(const std::vector<std::string>& arguments) {
  return std::none_of(arguments.begin(), arguments.end(),
                      [](const std::string& argument) { return SameTextAscii(argument, "/-AutoSave"); });
}

}  // namespace varnik
