#pragma once
// The commands of the editor's panel. Each acts on the city's CurrentMap as
// a whole or on the selected points, reports a wrong selection with its
// message (brought to the front) and then does nothing more. Every change of
// the model runs as one operation of the editor (TMapEditor::Change), which
// rebuilds the map's drawing unless said otherwise; the window repaints after
// every command. Without a map the commands do nothing.

#include <optional>
#include <string>

namespace varnik {

class TCanvas;
class TMapEditor;

// The step of the arrow buttons: 1 pixel, x 10 with Shift, x 10 with Ctrl.
int ShiftStep(bool shift, bool ctrl);

// Moves every placed station, every label and legend rectangle that is
// placed (Left or Top above 0) and every placed interior node by (dx, dy).
void ShiftMap(TMapEditor& editor, int dx, int dy);

// The factor of "Умножить все на": a decimal number with "." or "," before
// its fraction; nothing for any other text.
std::optional<long double> ReadFactor(const std::string& text);
// Multiplies every coordinate and rectangle edge by the factor and rounds.
// Zero stays zero; heights are not changed. A text that is no number does
// nothing (it must not wipe the map).
void ScaleMap(TMapEditor& editor, const std::string& factorText);

// Fits every label rectangle to its text in the label font of the settings,
// measured on `canvas` (whose font becomes that font). The drawing is not
// rebuilt; the next edit does it.
void FitLabels(TMapEditor& editor, TCanvas& canvas);

// The grid step of "Выровнять по сетке": a whole number, else nothing.
std::optional<int> ReadGridStep(const std::string& text);
// Snaps every editable point to the grid; a step that is no number or not
// above 0 moves nothing.
void SnapToGrid(TMapEditor& editor, const std::string& stepText);

// Puts the selected points on one vertical, horizontal or diagonal line,
// whichever they are closest to.
void AlignPoints(TMapEditor& editor);

// Inserts a shaping node midway between two selected neighbouring stations
// of one line, making their segment first when they have none (drawn as a
// curve when `spline`). An existing segment keeps its curve setting.
void InsertNode(TMapEditor& editor, bool spline);

// Appends to the memo a transfer declaration between the two selected
// stations, with 2 minutes of walking and no name yet.
void WriteTransferLine(TMapEditor& editor);

// Shows or hides the drawn transfer between the two selected stations and
// appends both directions to the memo.
void ToggleTransfer(TMapEditor& editor);

// 3, 9, 0, 1, 3, ...; with Shift straight to 0.
void CyclePointSize(TMapEditor& editor, bool shift);

}  // namespace varnik
