#include "veceditor/uTextCommands.h"

#include <algorithm>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "platform/uCodePage.h"

namespace varnik {

std::vector<std::string> SplitBoxText(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
}

std::string JoinBoxLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

std::string BoxTextOfDocumentText(std::string_view documentText) {
  // A line of the document never holds a CR, but a CR alone would end a line
  // for the document and must do so in the box too.
  std::string text = ReplaceAll(documentText, "\r\n", "\n");
  std::replace(text.begin(), text.end(), '\r', '\n');
  return text;
}

std::string DocumentTextOfFileText(std::string_view fileText) {
  std::string text;
  text.reserve(fileText.size());
  for (size_t i = 0; i < fileText.size(); ++i) {
    if (fileText[i] == '\n' && (i == 0 || fileText[i - 1] != '\r')) text += '\r';
    text += fileText[i];
  }
  return text;
}

std::string DocumentTextOfBoxText(std::string_view boxText) { return ReplaceAll(boxText, "\n", "\r\n"); }

std::string FileTextOfBoxText(std::string_view boxText) {
  std::string bytes;
  for (const std::string& line : SplitLines(DocumentTextOfBoxText(boxText))) {
    bytes += line;
    bytes += "\r\n";
  }
  return bytes;
}

TTextPosition ClampPosition(const std::vector<std::string>& lines, TTextPosition position) {
  if (lines.empty()) return {};
  position.Line = std::clamp<int32_t>(position.Line, 0, static_cast<int32_t>(lines.size()) - 1);
  const auto length = static_cast<int32_t>(lines[static_cast<size_t>(position.Line)].size());
  position.Column = std::clamp<int32_t>(position.Column, 0, length);
  return position;
}

bool ToggleNamedComments(std::vector<std::string>& lines, std::string_view name) {
  const std::string pattern = std::string(name) + " ";
  bool changed = false;
  for (std::string& line : lines) {
    const size_t at = LowerCase1251(line).find(pattern);
    if (at == 0) {
      line.insert(0, 1, ';');
      changed = true;
    } else if (at == 1) {
      line.erase(0, 1);
      changed = true;
    }
  }
  return changed;
}

void ToggleSelectedComments(std::vector<std::string>& lines, TCaretState& caret) {
  if (lines.empty()) return;
  const auto lastIndex = static_cast<int32_t>(lines.size()) - 1;
  const int32_t first = std::clamp<int32_t>(caret.Start.Line, 0, lastIndex);
  int32_t last = std::clamp<int32_t>(caret.End.Line, 0, lastIndex);
  // A selection made by whole lines ends at the start of the line after it;
  // that line is not meant.
  if (first < last && caret.End.Column == 0) --last;
  if (last < first) return;

  int commented = 0;
  for (int32_t i = first; i <= last; ++i)
    if (lines[static_cast<size_t>(i)].starts_with(';')) ++commented;
  const bool add = commented <= (last - first + 1) / 2.0;
  for (int32_t i = first; i <= last; ++i) {
    std::string& line = lines[static_cast<size_t>(i)];
    if (add) line.insert(0, 1, ';');
    else if (line.starts_with(';')) line.erase(0, 1);
  }
  const int32_t step = add ? 1 : -1;
  if (caret.Start.Column > 0) caret.Start.Column += step;
  if (caret.End.Column > 0) caret.End.Column += step;
}

}  // namespace varnik
