#include "editor/uMemo.h"

namespace varnik {

std::vector<std::string> MemoLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(std::move(line));
    line.clear();
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

void AppendToLine(TMemo& memo, size_t k, const std::string& snippet) {
  std::vector<std::string> lines = MemoLines(memo.Text());
  if (lines.size() <= k) lines.resize(k + 1);
  lines[k] += snippet;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  memo.SetText(text);
}

void AppendText(TMemo& memo, const std::string& text) { memo.SetText(memo.Text() + text); }

}  // namespace varnik
