#include "export/gui/uExportDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/uCodePage.h"
#include "platform/uMessages.h"
#include "platform/uQtText.h"

namespace varnik {

namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

// Filters of the export dialog, each naming its extension last.
const char* const kExportFilters = "PNG (*.png);;SVG (*.svg);;PDF (*.pdf)";

// Shows the wait cursor while it lives: writing a large map takes a moment.
class TWaitCursor {
 public:
  TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  TWaitCursor(const TWaitCursor&) = delete;
  TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// Refuses the text boxes of one window the keys of one of its shortcuts.
class TShortcutKeeper : public QObject {
 public:
  TShortcutKeeper(QWidget& window, const QKeySequence& keys) : QObject(&window), window_(window), keys_(keys) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || widget->window() != &window_) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (QKeySequence(key->keyCombination()) != keys_) return false;
    // Not accepted: the key goes to the shortcuts instead of the box.
    event->ignore();
    return true;
  }

 private:
  QWidget& window_;
  QKeySequence keys_;
};

void ReportFailure(const std::string& what) {
  ShowMessage(FromQString(QCoreApplication::translate("ExportDialog", "Не удалось сохранить файл ")) + what,
              TMessageStyle::Foreground);
}

}  // namespace

QString WithExportExtension(const QString& fileName, const QString& selectedFilter) {
  for (const char* extension : {".png", ".svg", ".pdf"})
    if (fileName.endsWith(Text(extension), Qt::CaseInsensitive)) return fileName;
  const qsizetype star = selectedFilter.lastIndexOf(QLatin1String("*."));
  const QString extension = star < 0 ? Text(".png") : selectedFilter.mid(star + 1).chopped(1);
  return fileName + extension;
}

bool ExportWithDialog(QWidget* parent, const QString& suggestedName, const TVectorPage& page,
                      const TPageDraw& draw) {
  QString filter;
  const QString chosen = QFileDialog::getSaveFileName(parent, QCoreApplication::translate("ExportDialog", "Экспорт"),
                                                      suggestedName, Text(kExportFilters), &filter);
  if (chosen.isEmpty()) return false;
  const QString fileName = WithExportExtension(chosen, filter);
  const std::string path = FromQString(fileName);
  bool written = false;
  {
    TWaitCursor wait;
    written = WriteDrawing(path, OutputFormatOf(path), page, draw);
  }
  if (!written) ReportFailure(path);
  return written;
}

bool PrintDrawing(QPrinter& printer, const TVectorPage& page, const TPageDraw& draw) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF paper(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
  PaintDrawing(painter, FitInto(paper, page.Width, page.Height), page.Width, page.Height, draw);
  return painter.end();
}

bool PrintWithDialog(QWidget* parent, const TVectorPage& page, const TPageDraw& draw) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(page.Title));
  printer.setPageOrientation(page.Width > page.Height ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QCoreApplication::translate("ExportDialog", "Печать"));
  if (dialog.exec() != QDialog::Accepted) return false;
  bool printed = false;
  {
    TWaitCursor wait;
    printed = PrintDrawing(printer, page, draw);
  }
  if (!printed) ShowMessage(FromQString(QCoreApplication::translate("ExportDialog", "Не удалось напечатать ")) +
                                FromQString(printer.docName()),
                            TMessageStyle::Foreground);
  return printed;
}

void KeepShortcutForWindow(QWidget& window, const QKeySequence& keys) { new TShortcutKeeper(window, keys); }

}  // namespace varnik
