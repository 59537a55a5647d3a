// "Экспорт..." (Ctrl+E) and "Печать..." (Ctrl+P) of the map editor: the
// window's actions reach the export of the current map, and printing puts
// the map on a printer's page.

#include <QAction>
#include <QPrinter>
#include <QtTest>

#include "EditorSession.h"
#include "ExportDialogDriver.h"
#include "editor/uMapExport.h"
#include "export/gui/uExportDialog.h"

using namespace varnik;
using namespace varnik::test;

class ExportTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlEWritesAPdfOfTheCurrentMap() {
    TEditorSession session;
    QVERIFY(session.Exposed);
    AnswerNextFileDialog(QString::fromStdString((session.dir.Path() / "map.pdf").string()));
    // Typed in the memo, which would take Ctrl+E as "end of line".
    auto* memo = session.form->findChild<QPlainTextEdit*>();
    QVERIFY(memo);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(session.dir.ReadBytes("map.pdf").rfind("%PDF-", 0) == 0);
    QVERIFY(session.Messages().isEmpty());
  }

  void PrintActionHasControlP() {
    TEditorSession session;
    auto* print = session.form->findChild<QAction*>("PrintAction");
    QVERIFY(print);
    QCOMPARE(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QCOMPARE(print->text(), QString::fromUtf8("Печать..."));
  }

  void PrintingPutsTheMapOnThePage() {
    TEditorSession session;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const std::string path = (session.dir.Path() / "printed.pdf").string();
    printer.setOutputFileName(QString::fromStdString(path));
    TCity& city = session.form->City();
    QVERIFY(PrintDrawing(printer, MapPage(city), [&](TBitmap& page) { DrawMapPage(city, page); }));
    const std::string pdf = session.dir.ReadBytes("printed.pdf");
    QVERIFY(pdf.rfind("%PDF-", 0) == 0);
    QVERIFY(pdf.size() > 1000);
  }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
