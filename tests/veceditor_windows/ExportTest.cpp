// "Экспорт..." of the vector editor: the button and Ctrl+E open the
// export dialog, and the picture is written in the format of the name typed.

#include <QtTest>

#include "ExportDialogDriver.h"
#include "VecWindowTestUtil.h"

using namespace varnik;
using namespace varnik::test;

class ExportTest : public QObject {
  Q_OBJECT

 private slots:
  void ControlEWritesAnSvgOfThePicture() {
    TTempDir dir;
    TRecordingSink messages;
    TScopedMessageSink scope(messages);
    dir.Write("pic.vec", "Size 50x40\nPenColor FF0000\nLine 5,5, 45,35, 2\n");
    auto form = StartWindow({PathArgument(dir.Path() / "pic.vec")});
    QVERIFY(form);
    QVERIFY(CommandButton(*form, QString::fromUtf8("Экспорт...")));
    AnswerNextFileDialog(PathArgument(dir.Path() / "pic.svg"));
    // Typed in the text box, which would take Ctrl+E as "end of line".
    form->Memo().setFocus();
    QTest::keyClick(&form->Memo(), Qt::Key_E, Qt::ControlModifier);
    const std::string svg = dir.ReadBytes("pic.svg");
    QVERIFY(svg.find("<svg") != std::string::npos);
    QVERIFY(svg.find("viewBox=\"0 0 50 40\"") != std::string::npos);
    QVERIFY(messages.Texts().empty());
  }

  void ButtonWritesAPngWhenNoExtensionIsTyped() {
    TTempDir dir;
    dir.Write("pic.vec", "Size 50x40\nPenColor FF0000\nLine 5,5, 45,35, 2\n");
    auto form = StartWindow({PathArgument(dir.Path() / "pic.vec")});
    QVERIFY(form);
    // Typed without an extension: the chosen filter (PNG, the first) gives
    // it one.
    AnswerNextFileDialog(PathArgument(dir.Path() / "plain"));
    CommandButton(*form, QString::fromUtf8("Экспорт..."))->click();
    const QImage png(PathArgument(dir.Path() / "plain.png"));
    QCOMPARE(png.size(), QSize(50, 40));
    QCOMPARE(png.pixelColor(25, 20).red() > 200 && png.pixelColor(25, 20).green() < 60, true);
  }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
