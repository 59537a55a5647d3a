#pragma once
// Profile files: reading and writing single keys of a sectioned text file
// (the settings file, and the map and transport files the editor writes back
// into). Sections and keys are recognised exactly as the sectioned-text
// reader of the model recognises them ("[" in the first column opens a
// section and the last character of that line is dropped; ";" in the first
// column is a comment; names match ignoring the case of A-Z only; the first
// section of a name wins), so a key written here is the key read there.
//
// A write changes one line of the file and leaves every other byte as it
// was: comments, blank lines, unknown sections, odd spacing and the line
// ends of untouched lines. New lines end with CR LF. A key that is missing
// goes after the last non-blank line of its section; a missing section is
// appended at the end of the file. Files are replaced atomically.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace varnik {

// A profile file held in memory, for several reads or writes with one file
// access. Writes made through it are kept in memory until Save.
class TProfileFile {
 public:
  // Reads the file. A missing file is an empty one (so writes create it);
  // false when the file exists but cannot be read, and the object is then
  // empty. Saving after a failed load would destroy the file, so callers
  // stop there.
  bool Load(const std::string& path);
  void LoadFromText(std::string_view text);

  // The trimmed value of the first key `key` of the first section `section`,
  // with one pair of enclosing single quotes removed; nothing when either is
  // missing.
  std::optional<std::string> Value(std::string_view section, std::string_view key) const;

  // Sets the value of the `occurrence`-th key `key` (0 = the first) of the
  // first section `section`; when the section has fewer such keys a new one
  // is added at the end of the section, when the section is missing it is
  // appended to the file. The rewritten line is key "=" value.
  void SetValue(std::string_view section, std::string_view key, std::string_view value, int occurrence = 0);
  // Removes the line of the `occurrence`-th key `key` of the first section
  // `section`; nothing when there is no such key.
  void RemoveValue(std::string_view section, std::string_view key, int occurrence = 0);

  // The key lines of the first section `section`, in order: name and
  // trimmed value (quotes kept), as the sectioned-text reader lists them.
  // Index i below is the i-th of these.
  std::vector<std::pair<std::string, std::string>> Keys(std::string_view section) const;
  // Rewrites the i-th key line of the section as key "=" value.
  void SetKeyAt(std::string_view section, size_t index, std::string_view key, std::string_view value);
  void RemoveKeyAt(std::string_view section, size_t index);
  // Adds a key line after the last non-blank line of the section, even when
  // the section holds a key of that name already; a missing section is
  // appended first (AppendSection).
  void AppendKey(std::string_view section, std::string_view key, std::string_view value);
  // Appends an empty section at the end of the file, after a blank line, as
  // sections are usually set apart; nothing when the section exists.
  void AppendSection(std::string_view section);
  // Removes the first section `section`: its header and every line up to
  // the next header (for the last section of the file, the blank lines
  // before its header too).
  void RemoveSection(std::string_view section);
  // Renames the first section `from`; the header line becomes "[" to "]".
  void RenameSection(std::string_view from, std::string_view to);

  std::string Text() const;
  // Writes the text atomically; false on failure (the old file is kept).
  bool Save(const std::string& path) const;

 private:
  struct TLine {
    std::string Content;
    std::string Ending;  // "\r\n", "\r" or "" (the last line of a file without a final line end)
  };
  // A section header and the lines after it up to the next header; the
  // first block holds the lines before the first header and has none.
  // Keeping the file in blocks lets a write insert a line without moving
  // the rest of the file, so a save grows with the file, not its square.
  struct TBlock {
    std::vector<TLine> Lines;
    // Made on first need: where each key (A-Z lower-cased) is, in file
    // order, and the last line that is not blank.
    bool Indexed = false;
    std::unordered_map<std::string, std::vector<size_t>> Keys;
    size_t LastFilled = 0;
  };
  // The block of the first section `section`, or nullptr.
  TBlock* FindSection(std::string_view section);
  const TBlock* FindSection(std::string_view section) const;
  static void Index(TBlock& block);
  // Appends a line after the last one of the file.
  void AppendLine(std::string content);

  std::vector<TBlock> blocks_;
  std::unordered_map<std::string, size_t> sections_;  // first block of each name
  // The file from its first zero byte on: the reader sees nothing of it, so
  // it is kept as it is, after every line.
  std::string tail_;
};

// GetPrivateProfileString: the value, or `defaultValue` when the file, the
// section or the key is missing.
std::string ReadProfileString(const std::string& path, std::string_view section, std::string_view key,
                              const std::string& defaultValue);

// The integer rule of profile files: a missing key gives `defaultValue`; a
// present one gives an optional "-" and the leading decimal digits of its
// value, 0 when there are none (an empty value included). Wraps at 32 bits.
int32_t ProfileInteger(const std::optional<std::string>& value, int32_t defaultValue);
int32_t ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                       int32_t defaultValue);

// WritePrivateProfileString: writes one key of one section into the file
// (creating the file, section or key when missing). False when the file
// could not be read or written; the file is then unchanged.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace varnik
