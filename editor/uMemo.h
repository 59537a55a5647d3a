#pragma once
// The text box in which the editor collects snippets for the city's files
// (coordinates, label rectangles, station lists, transfer lines). The
// editing rules see it as Windows-1251 text whose lines end with CR LF; the
// window keeps the text in a widget and converts at its edge.

#include <cstddef>
#include <string>
#include <vector>

namespace varnik {

class TMemo {
 public:
  virtual ~TMemo() = default;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
};

// A memo that is only text: for the editing rules without a window.
class TMemoText : public TMemo {
 public:
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override { text_ = text; }

 private:
  std::string text_;
};

// The lines of a memo text as the text box counts them: a line ends at CR LF,
// a lone LF or a lone CR; a line end at the very end starts no further line.
std::vector<std::string> MemoLines(const std::string& text);

// Appends `snippet` to the end of line `k` (0 = the first), adding empty
// lines until that line exists; the text is put back with every line ending
// CR LF.
void AppendToLine(TMemo& memo, size_t k, const std::string& snippet);

// Appends `text` to the end of the memo as it stands.
void AppendText(TMemo& memo, const std::string& text);

}  // namespace varnik
