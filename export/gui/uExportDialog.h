#pragma once
// The export and print commands as both editors offer them: a file dialog
// for PNG, SVG or PDF, or the system's print dialog, around the drawing
// output of export/uVectorExport.h. A file that cannot be written is said
// through the messages interface.

#include <QString>
#include <string>

#include "export/uVectorExport.h"

class QKeySequence;
class QPrinter;
class QWidget;

namespace varnik {

// The name typed into the export dialog with the extension of the chosen
// filter added when it ends in none of ".png", ".svg", ".pdf".
QString WithExportExtension(const QString& fileName, const QString& selectedFilter);

// "Экспорт...": asks where to save the drawing (starting from
// `suggestedName`) and in which format, then writes it there. False when
// the user cancels or the file cannot be written (which is said).
bool ExportWithDialog(QWidget* parent, const QString& suggestedName, const TVectorPage& page,
                      const TPageDraw& draw);

// Prints the drawing on one page of `printer`, fitted to its printable area
// keeping its proportions. False when the printer cannot be started.
bool PrintDrawing(QPrinter& printer, const TVectorPage& page, const TPageDraw& draw);

// "Печать...": the system's print dialog, then PrintDrawing. False when the
// user cancels or printing fails (which is said).
bool PrintWithDialog(QWidget* parent, const TVectorPage& page, const TPageDraw& draw);

// Lets `keys` reach the shortcuts of `window` wherever its focus is. Text
// boxes take some keys for themselves first (with the X11 key bindings,
// Ctrl+E moves to the end of the line), which would leave a window command
// on such keys dead while the user types.
void KeepShortcutForWindow(QWidget& window, const QKeySequence& keys);

}  // namespace varnik
