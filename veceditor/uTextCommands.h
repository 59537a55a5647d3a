#pragma once
// The editor's commands on the text of an image: switching lines off and on
// as comments, keeping the caret where it was when the text is replaced, and
// turning the text box's lines into the document's text and the file's
// bytes.
//
// The text box holds its text as lines separated by a line feed; the last
// line is empty when the text ends with a line end. Lines are Windows-1251.
// Positions are a line and a column (characters from the start of the line),
// so they mean the same whatever the line ends count in characters.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

struct TTextPosition {
  int32_t Line = 0;
  int32_t Column = 0;
  bool operator==(const TTextPosition&) const = default;
};

// What is kept of the text box across a replacement of its text: the first
// visible line and the two ends of the selection (Start before End).
struct TCaretState {
  int32_t FirstVisibleLine = 0;
  TTextPosition Start;
  TTextPosition End;
  bool operator==(const TCaretState&) const = default;
};

// The lines of the text box's text (split at every line feed; an empty text
// is one empty line), and the text of lines.
std::vector<std::string> SplitBoxText(std::string_view text);
std::string JoinBoxLines(const std::vector<std::string>& lines);

// The text box shows the document's text with line feeds for its CR LF.
std::string BoxTextOfDocumentText(std::string_view documentText);
// The document's text of a file the editor opens: a line feed alone ends a
// line as CR LF does. Files written elsewhere often end their lines so; read
// as the file formats read them, such a file would be one long line, and
// the next save would keep only its first command.
std::string DocumentTextOfFileText(std::string_view fileText);
// The document reads the box's lines joined by CR LF.
std::string DocumentTextOfBoxText(std::string_view boxText);
// The bytes a save writes: every line of the box's text followed by CR LF,
// where the lines are cut as every text list of the system cuts them (so a
// text that ends with a line end gives no empty last line).
std::string FileTextOfBoxText(std::string_view boxText);

// A position moved onto the text: a line past the last is the last line, a
// column past the end of its line is the end of that line, negative values
// are 0. Regenerated lines may be shorter than the caret's column; the caret
// then stays on its line instead of running into the next.
TTextPosition ClampPosition(const std::vector<std::string>& lines, TTextPosition position);

// The toggle of the "Image", "Angle" and "Opaque" buttons: every line whose
// lower-cased text first holds `name` followed by one blank at its first
// character gets ";" in front; where that first occurrence is at the second
// character, the line loses its first character (";image x" and " image x"
// both become "image x"). `name` is lower case. True when a line changed.
bool ToggleNamedComments(std::vector<std::string>& lines, std::string_view name);

// The "Comment" button: the lines from the selection's start line to its end
// line (the end line left out when the selection ends at its very start and
// spans more than one line) are commented with ";" when at most half of them
// already begin with it, and otherwise uncommented (the lines that begin
// with ";" lose it). The selection's columns follow the change: those
// greater than 0 grow or shrink by one.
void ToggleSelectedComments(std::vector<std::string>& lines, TCaretState& caret);

}  // namespace varnik
