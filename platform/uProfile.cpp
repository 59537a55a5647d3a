#include "platform/uProfile.h"

#include "platform/uCodePage.h"
#include "platform/uFiles.h"

namespace varnik {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
  return s;
}

bool IsHeader(const std::string& line) { return !line.empty() && line[0] == '['; }

// The name of a section header: the line without its first and last
// character, trimmed (the closing bracket is not looked for).
std::string_view HeaderName(const std::string& line) {
  if (line.size() < 2) return {};
  return Trim(std::string_view(line).substr(1, line.size() - 2));
}

// The key name of a line inside a section, or nothing for comments and
// blank lines.
std::optional<std::string_view> KeyName(const std::string& line) {
  if (!line.empty() && line[0] == ';') return std::nullopt;
  std::string_view trimmed = Trim(line);
  if (trimmed.empty()) return std::nullopt;
  size_t eq = trimmed.find('=');
  return eq == std::string_view::npos ? trimmed : Trim(trimmed.substr(0, eq));
}

std::string KeyValue(const std::string& line) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return {};
  std::string_view value = Trim(std::string_view(line).substr(eq + 1));
  if (!value.empty() && value.front() == '\'') {
    if (value.size() == 1) return {};
    if (value.back() == '\'') value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

bool TProfileFile::Load(const std::string& path) {
  std::string data;
  if (!ReadWholeFile(path, data)) {
    LoadFromText({});
    return !FileExists(path);
  }
  LoadFromText(data);
  return true;
}

void TProfileFile::LoadFromText(std::string_view text) {
  lines_.clear();
  tail_.clear();
  size_t zero = text.find('\0');
  if (zero != std::string_view::npos) {
    tail_ = std::string(text.substr(zero));
    text = text.substr(0, zero);
  }
  // The same line rule as every string list: CR ends a line, a LF right
  // after it belongs to that line end, a LF alone is text.
  size_t start = 0;
  while (start < text.size()) {
    size_t cr = text.find('\r', start);
    if (cr == std::string_view::npos) {
      lines_.push_back({std::string(text.substr(start)), ""});
      break;
    }
    size_t next = cr + 1;
    if (next < text.size() && text[next] == '\n') ++next;
    lines_.push_back({std::string(text.substr(start, cr - start)), std::string(text.substr(cr, next - cr))});
    start = next;
  }
}

int TProfileFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (IsHeader(lines_[i].Content) && SameTextAscii(HeaderName(lines_[i].Content), section)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

size_t TProfileFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && !IsHeader(lines_[i].Content)) ++i;
  return i;
}

std::optional<std::string> TProfileFile::Value(std::string_view section, std::string_view key) const {
  int header = FindSection(section);
  if (header < 0) return std::nullopt;
  size_t end = SectionEnd(static_cast<size_t>(header));
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
    std::optional<std::string_view> name = KeyName(lines_[i].Content);
    if (name && SameTextAscii(*name, key)) return KeyValue(lines_[i].Content);
  }
  return std::nullopt;
}

void TProfileFile::InsertLine(size_t index, std::string content) {
  // The line before may be the last of a file without a final line end.
  if (index > 0 && lines_[index - 1].Ending.empty()) lines_[index - 1].Ending = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), TLine{std::move(content), "\r\n"});
}

void TProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value,
                            int occurrence) {
  std::string content = std::string(key) + "=" + std::string(value);
  int header = FindSection(section);
  if (header < 0) {
    InsertLine(lines_.size(), "[" + std::string(section) + "]");
    InsertLine(lines_.size(), std::move(content));
    return;
  }
  size_t end = SectionEnd(static_cast<size_t>(header));
  size_t lastFilled = static_cast<size_t>(header);
  int seen = 0;
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
    if (!Trim(lines_[i].Content).empty()) lastFilled = i;
    std::optional<std::string_view> name = KeyName(lines_[i].Content);
    if (name && SameTextAscii(*name, key) && seen++ == occurrence) {
      lines_[i].Content = std::move(content);
      return;
    }
  }
  InsertLine(lastFilled + 1, std::move(content));
}

size_t TProfileFile::KeyLine(size_t header, size_t index) const {
  size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    if (KeyName(lines_[i].Content) && index-- == 0) return i;
  }
  return end;
}

size_t TProfileFile::LastFilled(size_t header) const {
  size_t last = header;
  for (size_t i = header + 1; i < SectionEnd(header); ++i) {
    if (!Trim(lines_[i].Content).empty()) last = i;
  }
  return last;
}

std::vector<std::pair<std::string, std::string>> TProfileFile::Keys(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> keys;
  int header = FindSection(section);
  if (header < 0) return keys;
  size_t end = SectionEnd(static_cast<size_t>(header));
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
    std::optional<std::string_view> name = KeyName(lines_[i].Content);
    if (!name) continue;
    size_t eq = lines_[i].Content.find('=');
    std::string value =
        eq == std::string::npos ? std::string() : std::string(Trim(std::string_view(lines_[i].Content).substr(eq + 1)));
    keys.emplace_back(std::string(*name), std::move(value));
  }
  return keys;
}

void TProfileFile::SetKeyAt(std::string_view section, size_t index, std::string_view key,
                            std::string_view value) {
  int header = FindSection(section);
  if (header < 0) return;
  size_t line = KeyLine(static_cast<size_t>(header), index);
  if (line < SectionEnd(static_cast<size_t>(header)))
    lines_[line].Content = std::string(key) + "=" + std::string(value);
}

void TProfileFile::RemoveKeyAt(std::string_view section, size_t index) {
  int header = FindSection(section);
  if (header < 0) return;
  size_t line = KeyLine(static_cast<size_t>(header), index);
  if (line < SectionEnd(static_cast<size_t>(header)))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(line));
}

void TProfileFile::AppendKey(std::string_view section, std::string_view key, std::string_view value) {
  AppendSection(section);
  size_t header = static_cast<size_t>(FindSection(section));
  InsertLine(LastFilled(header) + 1, std::string(key) + "=" + std::string(value));
}

void TProfileFile::AppendSection(std::string_view section) {
  if (FindSection(section) >= 0) return;
  if (!lines_.empty() && !Trim(lines_.back().Content).empty()) InsertLine(lines_.size(), "");
  InsertLine(lines_.size(), "[" + std::string(section) + "]");
}

void TProfileFile::RemoveSection(std::string_view section) {
  int header = FindSection(section);
  if (header < 0) return;
  size_t begin = static_cast<size_t>(header);
  size_t end = SectionEnd(begin);
  // The last section takes the blank lines that set it apart along, as
  // AppendSection put them there.
  if (end == lines_.size())
    while (begin > 0 && Trim(lines_[begin - 1].Content).empty()) --begin;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(begin), lines_.begin() + static_cast<std::ptrdiff_t>(end));
}

void TProfileFile::RenameSection(std::string_view from, std::string_view to) {
  int header = FindSection(from);
  if (header >= 0) lines_[static_cast<size_t>(header)].Content = "[" + std::string(to) + "]";
}

void TProfileFile::RemoveValue(std::string_view section, std::string_view key, int occurrence) {
  int header = FindSection(section);
  if (header < 0) return;
  size_t end = SectionEnd(static_cast<size_t>(header));
  int seen = 0;
  for (size_t i = static_cast<size_t>(header) + 1; i < end; ++i) {
    std::optional<std::string_view> name = KeyName(lines_[i].Content);
    if (name && SameTextAscii(*name, key) && seen++ == occurrence) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

std::string TProfileFile::Text() const {
  std::string text;
  for (const TLine& line : lines_) {
    text += line.Content;
    text += line.Ending;
  }
  text += tail_;
  return text;
}

bool TProfileFile::Save(const std::string& path) const { return WriteFileAtomic(path, Text()); }

std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              const std::string& defaultValue) {
  TProfileFile file;
  file.Load(path);
  return file.Value(section, key).value_or(defaultValue);
}

int32_t ProfileInteger(const std::optional<std::string>& value, int32_t defaultValue) {
  if (!value) return defaultValue;
  std::string_view s = *value;
  bool negative = !s.empty() && s.front() == '-';
  if (negative) s.remove_prefix(1);
  uint32_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = n * 10u + static_cast<uint32_t>(c - '0');
  }
  return static_cast<int32_t>(negative ? 0u - n : n);
}

int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue) {
  TProfileFile file;
  file.Load(path);
  return ProfileInteger(file.Value(section, key), defaultValue);
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  TProfileFile file;
  if (!file.Load(path)) return false;
  file.SetValue(section, key, value);
  return file.Save(path);
}

}  // namespace varnik
