#include "map/uCitySaver.h"

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "map/uMetroMap.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"
#include "platform/uProfile.h"

namespace varnik {

namespace {

void ReportFailure(const std::string& path) {
  ShowMessage(Utf8ToCp1251("Не удалось сохранить файл ") + path, TMessageStyle::Foreground);
}

}  // namespace

bool EditProfileFile(const std::string& path, const std::function<std::string(TProfileFile&)>& edit) {
  TProfileFile file;
  bool ok = file.Load(path);
  if (ok) {
    const bool existed = FileExists(path);
    const std::string before = file.Text();
    const std::string after = edit(file);
    if (!existed || after != before) ok = WriteFileAtomic(path, after);
  }
  if (!ok) ReportFailure(path);
  return ok;
}

std::string CleanUpMapText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 2);
  for (const std::string& line : SplitLines(text)) {
    std::string trimmed = TrimBlank(line);
    result += trimmed + "\r\n";
    // A "[]" line is left behind by writes into a section without a name;
    // what follows it is not the user's and goes.
    if (trimmed == "[]") break;
  }
  return result;
}

bool SaveCity(TMetroMap* map, const TTransports& transports, bool writeLegendRects) {
  bool ok = true;
  if (map != nullptr) {
    TWrittenKeys written;
    // The map file lies beside the city's other files, in the directory the
    // city was loaded from, wherever the program itself is installed.
    ok = EditProfileFile(map->Name, [&](TProfileFile& file) {
      // The keys are placed in the file as the clean-up will leave it, not
      // as it was read: trimming can turn a key line like " [Blue]" into a
      // section header, and a key added above it would then end up in the
      // wrong section and be lost to the next load.
      file.LoadFromText(CleanUpMapText(file.Text()));
      written = WriteMapFile(*map, file, writeLegendRects);
      return CleanUpMapText(file.Text());
    });
    if (ok) map->SegmentKeysInFile = std::move(written);
  }
  for (const auto& transport : transports.Items) {
    ok = EditProfileFile(transport->FileName,
                  [&](TProfileFile& file) {
                    int k = 1;
                    for (const auto& route : transport->Routes) {
                      const std::string section = "Line" + std::to_string(k++);
                      file.SetValue(section, "Stations", route->StationsToString());
                      file.SetValue(section, "Driving", route->DrivingToString());
                    }
                    return file.Text();
                  }) &&
         ok;
  }
  return ok;
}

}  // namespace varnik
