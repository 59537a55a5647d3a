#pragma once
// The reader of every sectioned text file of the system (.cty, .trp, .map,
// settings). It parses the whole text once into sections and keys and
// answers typed look-ups against a section the caller selects first.
//
// The syntax is deliberately loose and must stay so, because stored files
// rely on it: only a "[" in the very first column opens a section and the
// last character of that line is dropped whatever it is; ";" in the first
// column is a comment, anywhere else it is text; duplicate sections and keys
// are all kept (the first section wins a look-up, repeated keys are joined).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace varnik {

// Splits a text into lines the way every string list of the system does: the
// text ends at its first zero byte; CR ends a line and a LF right after it is
// skipped; a LF alone is an ordinary character (so a file with LF-only line
// ends is one line); a final CR makes no empty last line.
std::vector<std::string> SplitLines(std::string_view text);

struct TKey {
  std::string Name;
  std::string Value;
};

struct TSection {
  std::string Name;
  std::vector<std::unique_ptr<TKey>> Keys;
};

class TIniStream {
 public:
  std::vector<std::unique_ptr<TSection>> Sections;
  std::string FileName;
  std::string CurrentSectionName;
  int32_t CurrentSectionIndex = -1;

  // Clear, then read and parse the file. A file that cannot be read gives
  // no sections and no message.
  void LoadFromFile(const std::string& path);
  void LoadFromText(std::string_view text);
  void Clear();

  // Section and key names match ignoring the case of A-Z only.
  void SelectSection(const std::string& name);
  bool SectionExists(std::string_view name) const;

  std::string ValueString(std::string_view key, const std::string& defaultValue);
  int32_t ValueInteger(std::string_view key, int32_t defaultValue);
  bool ValueBoolean(std::string_view key, bool defaultValue);

  // One line per key of the current section: "Name=Value", or the bare name
  // when the value is empty. Empty when no section is selected.
  void GetSectionData(std::vector<std::string>& lines) const;

 private:
  void ParseLine(const std::string& line);
  // The index of the first section of each name (A-Z lower-cased), made by
  // LoadFromText so that selecting a section does not search the file.
  int32_t FindSection(std::string_view name) const;
  std::unordered_map<std::string, int32_t> firstSection_;
};

}  // namespace varnik
