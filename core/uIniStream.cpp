#include "core/uIniStream.h"

#include "core/uUtils.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {

std::vector<std::string> SplitLines(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, cr - start));
    start = cr + 1;
    if (start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

void TIniStream::LoadFromFile(const std::string& path) {
  std::string text;
  ReadWholeFile(path, text);
  LoadFromText(text);
  FileName = ExtractFileName(path);
}

namespace {

std::string AsciiLower(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return lower;
}

}  // namespace

void TIniStream::LoadFromText(std::string_view text) {
  Clear();
  for (const std::string& line : SplitLines(text)) ParseLine(line);
  for (size_t i = 0; i < Sections.size(); ++i)
    firstSection_.try_emplace(AsciiLower(Sections[i]->Name), static_cast<int32_t>(i));
}

int32_t TIniStream::FindSection(std::string_view name) const {
  auto it = firstSection_.find(AsciiLower(name));
  return it != firstSection_.end() ? it->second : -1;
}

void TIniStream::Clear() {
  firstSection_.clear();
  Sections.clear();
  CurrentSectionName.clear();
  CurrentSectionIndex = -1;
}

void TIniStream::ParseLine(const std::string& line) {
  if (!line.empty() && line[0] == '[') {
    auto section = std::make_unique<TSection>();
    // The closing bracket is not looked for: the last character goes, whatever it is.
    section->Name = line.size() >= 2 ? TrimBlank(std::string_view(line).substr(1, line.size() - 2)) : "";
    Sections.push_back(std::move(section));
    return;
  }
  if (!line.empty() && line[0] == ';') return;
  std::string trimmed = TrimBlank(line);
  if (trimmed.empty() || Sections.empty()) return;
  auto key = std::make_unique<TKey>();
  size_t eq = line.find('=');
  if (eq == std::string::npos) {
    key->Name = trimmed;
  } else {
    key->Name = TrimBlank(std::string_view(line).substr(0, eq));
    key->Value = TrimBlank(std::string_view(line).substr(eq + 1));
  }
  Sections.back()->Keys.push_back(std::move(key));
}

void TIniStream::SelectSection(const std::string& name) {
  CurrentSectionName = name;
  CurrentSectionIndex = FindSection(name);
}

bool TIniStream::SectionExists(std::string_view name) const { return FindSection(name) >= 0; }

std::string TIniStream::ValueString(std::string_view key, const std::string& defaultValue) {
  if (CurrentSectionIndex < 0) {
    if (TrimBlank(CurrentSectionName).empty()) {
      ShowMessage("ValueString: Section not assigned", TMessageStyle::Foreground);
      return "";
    }
    return defaultValue;
  }
  std::string result = defaultValue;
  bool found = false;
  for (const auto& k : Sections[CurrentSectionIndex]->Keys) {
    if (!SameTextAscii(k->Name, key)) continue;
    std::string value = TrimBlank(k->Value);
    if (!value.empty() && value.front() == '\'' && value.back() == '\'')
      value = value.size() >= 2 ? value.substr(1, value.size() - 2) : "";
    // Repeated keys form one multi-line value, joined by a literal "\n".
    if (found) {
      result.append("\\n").append(value);
    } else {
      result = std::move(value);
    }
    found = true;
  }
  return result;
}

int32_t TIniStream::ValueInteger(std::string_view key, int32_t defaultValue) {
  std::string s = TrimBlank(ValueString(key, ""));
  return s.empty() ? defaultValue : ParseInt(s);
}

bool TIniStream::ValueBoolean(std::string_view key, bool defaultValue) {
  std::string s = ValueString(key, "");
  if (s.empty()) return defaultValue;
  return s == "1" || s[0] == 'T' || s[0] == 't';
}

void TIniStream::GetSectionData(std::vector<std::string>& lines) const {
  lines.clear();
  if (CurrentSectionIndex < 0) return;
  for (const auto& k : Sections[CurrentSectionIndex]->Keys)
    lines.push_back(k->Value.empty() ? k->Name : k->Name + "=" + k->Value);
}

}  // namespace varnik
