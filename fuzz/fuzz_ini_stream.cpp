// The sectioned text reader and the profile writer that edits the same
// files: any bytes are read; every key is read as each value type the
// loaders use; and the two must agree, because the editor writes a key
// through the profile writer and reads it back through the reader.

#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "platform/uProfile.h"

using namespace varnik;

namespace {

// Every value parser the loaders apply to a key's value.
void ReadValueEveryWay(const std::string& value) {
  (void)ParseInt(value);
  (void)ParseHex(value);
  (void)ParseFloat(value);
  (void)HexToColor(value);
  (void)StrToRect(value);
  (void)TimeStrToSeconds(value);
  (void)UnescapeText(value);
  (void)CompareVersions(value, "5.0");
  TTokenReader reader(value);
  for (size_t guard = 0; !reader.AtEnd(); ++guard) {
    std::string item = reader.Next();
    (void)TimeStrToSeconds(item);
    // Every item consumes at least one character.
    if (guard > value.size()) std::abort();
  }
  std::string_view rest = value;
  while (!TrimView(rest).empty()) (void)NextFloat(rest);
}

// A key whose name the profile writer writes back as the same key: the
// writer puts "name=value" in the first column, where some characters
// would turn the line into a comment or a section header.
bool WritableKeyName(const std::string& name) {
  return !name.empty() && name[0] != ';' && name[0] != '[' && name.find('=') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Initialise("ini");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::AsText(data, size);
  TIniStream ini;
  ini.LoadFromText(text);
  std::vector<std::string> lines;
  for (const auto& section : ini.Sections) {
    ini.SelectSection(section->Name);
    ini.GetSectionData(lines);
    for (const auto& key : section->Keys) {
      (void)ini.ValueInteger(key->Name, -1);
      (void)ini.ValueBoolean(key->Name, false);
      ReadValueEveryWay(ini.ValueString(key->Name, ""));
    }
  }

  // Reading and writing back untouched keeps every byte.
  TProfileFile profile;
  profile.LoadFromText(text);
  if (profile.Text() != text) std::abort();

  // A key written by the profile writer is the key the reader then finds.
  if (ini.Sections.empty()) return 0;
  const TSection& section = *ini.Sections[fuzz::InputHash(text) % ini.Sections.size()];
  std::string keyName = "Coordinates";
  if (!section.Keys.empty() && WritableKeyName(section.Keys.front()->Name)) keyName = section.Keys.front()->Name;
  profile.SetValue(section.Name, keyName, "12,34");
  TIniStream written;
  written.LoadFromText(profile.Text());
  written.SelectSection(section.Name);
  const std::string value = written.ValueString(keyName, "");
  if (value.substr(0, 5) != "12,34" || profile.Value(section.Name, keyName) != "12,34") std::abort();
  return 0;
}
