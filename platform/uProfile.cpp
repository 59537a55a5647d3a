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

// Section and key names match ignoring the case of A-Z only.
std::string AsciiLower(std::string_view name) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return lower;
}

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
  blocks_.assign(1, TBlock{});
  sections_.clear();
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
      AppendLine(std::string(text.substr(start)));
      blocks_.back().Lines.back().Ending.clear();
      break;
    }
    size_t next = cr + 1;
    if (next < text.size() && text[next] == '\n') ++next;
    AppendLine(std::string(text.substr(start, cr - start)));
    blocks_.back().Lines.back().Ending = std::string(text.substr(cr, next - cr));
    start = next;
  }
}

void TProfileFile::AppendLine(std::string content) {
  if (blocks_.empty()) blocks_.emplace_back();
  // The line before may be the last of a file without a final line end.
  for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
    if (block->Lines.empty()) continue;
    if (block->Lines.back().Ending.empty()) block->Lines.back().Ending = "\r\n";
    break;
  }
  if (IsHeader(content)) {
    sections_.try_emplace(AsciiLower(HeaderName(content)), blocks_.size());
    blocks_.emplace_back();
  }
  blocks_.back().Lines.push_back({std::move(content), "\r\n"});
  blocks_.back().Indexed = false;
}

const TProfileFile::TBlock* TProfileFile::FindSection(std::string_view section) const {
  auto it = sections_.find(AsciiLower(section));
  return it != sections_.end() ? &blocks_[it->second] : nullptr;
}

TProfileFile::TBlock* TProfileFile::FindSection(std::string_view section) {
  auto it = sections_.find(AsciiLower(section));
  return it != sections_.end() ? &blocks_[it->second] : nullptr;
}

void TProfileFile::Index(TBlock& block) {
  block.Keys.clear();
  block.LastFilled = 0;
  for (size_t i = 1; i < block.Lines.size(); ++i) {
    if (!Trim(block.Lines[i].Content).empty()) block.LastFilled = i;
    if (std::optional<std::string_view> name = KeyName(block.Lines[i].Content))
      block.Keys[AsciiLower(*name)].push_back(i);
  }
  block.Indexed = true;
}

std::optional<std::string> TProfileFile::Value(std::string_view section, std::string_view key) const {
  const TBlock* block = FindSection(section);
  if (block == nullptr) return std::nullopt;
  for (size_t i = 1; i < block->Lines.size(); ++i) {
    std::optional<std::string_view> name = KeyName(block->Lines[i].Content);
    if (name && SameTextAscii(*name, key)) return KeyValue(block->Lines[i].Content);
  }
  return std::nullopt;
}

void TProfileFile::SetValue(std::string_view section, std::string_view key, std::string_view value,
                            int occurrence) {
  std::string content = std::string(key) + "=" + std::string(value);
  const bool header = IsHeader(content);
  TBlock* block = FindSection(section);
  if (block == nullptr) {
    AppendLine("[" + std::string(section) + "]");
    AppendLine(std::move(content));
    return;
  }
  if (!block->Indexed) Index(*block);
  auto it = block->Keys.find(AsciiLower(key));
  if (it != block->Keys.end() && occurrence >= 0 && static_cast<size_t>(occurrence) < it->second.size()) {
    block->Lines[it->second[static_cast<size_t>(occurrence)]].Content = std::move(content);
  } else {
    // A new key goes after the last line of the section that is not blank,
    // which is after every key: the places of the keys stay as they are.
    const size_t at = block->LastFilled + 1;
    if (block->Lines[at - 1].Ending.empty()) block->Lines[at - 1].Ending = "\r\n";
    if (std::optional<std::string_view> name = KeyName(content)) block->Keys[AsciiLower(*name)].push_back(at);
    block->Lines.insert(block->Lines.begin() + static_cast<std::ptrdiff_t>(at), TLine{std::move(content), "\r\n"});
    block->LastFilled = at;
  }
  // A key written with a leading "[" reads as a section header from now
  // on, which splits the section: the blocks are made again.
  if (header) LoadFromText(Text());
}

namespace {

// The line of the `index`-th key of a section block (its header first), or
// the block's end when it has fewer keys.
template <class TLines>
size_t KeyLineIn(const TLines& lines, size_t index) {
  for (size_t i = 1; i < lines.size(); ++i)
    if (KeyName(lines[i].Content) && index-- == 0) return i;
  return lines.size();
}

}  // namespace

std::vector<std::pair<std::string, std::string>> TProfileFile::Keys(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> keys;
  const TBlock* block = FindSection(section);
  if (block == nullptr) return keys;
  for (size_t i = 1; i < block->Lines.size(); ++i) {
    const std::string& content = block->Lines[i].Content;
    std::optional<std::string_view> name = KeyName(content);
    if (!name) continue;
    const size_t eq = content.find('=');
    std::string value = eq == std::string::npos ? std::string() : std::string(Trim(std::string_view(content).substr(eq + 1)));
    keys.emplace_back(std::string(*name), std::move(value));
  }
  return keys;
}

void TProfileFile::SetKeyAt(std::string_view section, size_t index, std::string_view key,
                            std::string_view value) {
  TBlock* block = FindSection(section);
  if (block == nullptr) return;
  const size_t line = KeyLineIn(block->Lines, index);
  if (line == block->Lines.size()) return;
  block->Lines[line].Content = std::string(key) + "=" + std::string(value);
  block->Indexed = false;
}

void TProfileFile::RemoveKeyAt(std::string_view section, size_t index) {
  TBlock* block = FindSection(section);
  if (block == nullptr) return;
  const size_t line = KeyLineIn(block->Lines, index);
  if (line == block->Lines.size()) return;
  block->Lines.erase(block->Lines.begin() + static_cast<std::ptrdiff_t>(line));
  block->Indexed = false;
}

void TProfileFile::AppendKey(std::string_view section, std::string_view key, std::string_view value) {
  AppendSection(section);
  TBlock* block = FindSection(section);
  if (!block->Indexed) Index(*block);
  // After the last line of the section that is not blank, as SetValue adds.
  const size_t at = block->LastFilled + 1;
  if (block->Lines[at - 1].Ending.empty()) block->Lines[at - 1].Ending = "\r\n";
  block->Lines.insert(block->Lines.begin() + static_cast<std::ptrdiff_t>(at),
                      TLine{std::string(key) + "=" + std::string(value), "\r\n"});
  block->Indexed = false;
}

void TProfileFile::AppendSection(std::string_view section) {
  if (FindSection(section) != nullptr) return;
  // A blank line sets the new section apart from the one before.
  for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
    if (block->Lines.empty()) continue;
    if (!Trim(block->Lines.back().Content).empty()) AppendLine("");
    break;
  }
  AppendLine("[" + std::string(section) + "]");
}

void TProfileFile::RemoveSection(std::string_view section) {
  const auto found = sections_.find(AsciiLower(section));
  if (found == sections_.end()) return;
  const size_t index = found->second;
  // The last section takes the blank lines that set it apart along, as
  // AppendSection put them there.
  if (index + 1 == blocks_.size() && index > 0) {
    std::vector<TLine>& before = blocks_[index - 1].Lines;
    while (before.size() > (index - 1 == 0 ? 0u : 1u) && Trim(before.back().Content).empty()) before.pop_back();
    blocks_[index - 1].Indexed = false;
  }
  blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(index));
  // The places of the later sections moved: read the blocks again.
  LoadFromText(Text());
}

void TProfileFile::RenameSection(std::string_view from, std::string_view to) {
  TBlock* block = FindSection(from);
  if (block == nullptr) return;
  block->Lines[0].Content = "[" + std::string(to) + "]";
  LoadFromText(Text());
}

void TProfileFile::RemoveValue(std::string_view section, std::string_view key, int occurrence) {
  TBlock* block = FindSection(section);
  if (block == nullptr) return;
  int seen = 0;
  for (size_t i = 1; i < block->Lines.size(); ++i) {
    std::optional<std::string_view> name = KeyName(block->Lines[i].Content);
    if (name && SameTextAscii(*name, key) && seen++ == occurrence) {
      block->Lines.erase(block->Lines.begin() + static_cast<std::ptrdiff_t>(i));
      // The places of the later keys moved up by one.
      block->Indexed = false;
      return;
    }
  }
}

std::string TProfileFile::Text() const {
  std::string text;
  for (const TBlock& block : blocks_) {
    for (const TLine& line : block.Lines) {
      text += line.Content;
      text += line.Ending;
    }
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
