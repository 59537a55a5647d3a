// The vector editor's window driven through its text: starting on a file,
// typing, the command column, the comment toggles, and the regeneration of
// the text after point edits with the caret kept.

#include <QtTest>

#include "VecWindowTestUtil.h"

using namespace varnik;
using namespace varnik::test;

class TextEditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TTempDir> dir_;
  std::unique_ptr<TRecordingSink> messages_;
  std::unique_ptr<TScopedMessageSink> scopedMessages_;

  std::unique_ptr<MainForm> StartOnShapes() {
    dir_->WriteBytes("shapes.vec", VecTestFile("shapes.vec"));
    return StartWindow({PathArgument(dir_->Path() / "shapes.vec")});
  }

 private slots:
  void init() {
    dir_ = std::make_unique<TTempDir>();
    messages_ = std::make_unique<TRecordingSink>();
    messages_->Answer = false;
    scopedMessages_ = std::make_unique<TScopedMessageSink>(*messages_);
  }
  void cleanup() {
    scopedMessages_.reset();
    messages_.reset();
    dir_.reset();
  }

  void startsOnTheFileWithItsCanonicalText() {
    auto form = StartOnShapes();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("shapes.vec"));
    QCOMPARE(MemoText(*form),
             std::string("Size 200x100\n; Фигуры для проверки редактора\nPenColor FF0000\nLine 50,50, 150,50\n"
                         "Image pic.png, 5, 5\n image old.png\nAngle 30\nOpaque 50\nEllipse 60,20, 80,40\n"
                         ";opaque 100\n"));
    QCOMPARE(form->Document().Commands.size(), size_t{10});
    QCOMPARE(form->Document().ImageWidth(), 200);
    QVERIFY(!form->Modified());
    // Opening wrote nothing.
    QCOMPARE(dir_->ReadBytes("shapes.vec"), VecTestFile("shapes.vec"));
  }

  void aFileWithLineFeedsIsShownAndSavedWhole() {
    dir_->WriteBytes("lf.vec", "Size 10x10\nLine 1,2, 3,4\n; note\n");
    auto form = StartWindow({PathArgument(dir_->Path() / "lf.vec")});
    QVERIFY(form);
    QCOMPARE(MemoText(*form), std::string("Size 10x10\nLine 1,2, 3,4\n; note\n"));
    QCOMPARE(form->Document().Commands.size(), size_t{3});
    QVERIFY(QMetaObject::invokeMethod(&form->AutoSaveTimer(), "timeout"));
    QCOMPARE(dir_->ReadBytes("lf.vec"), std::string("Size 10x10\r\nLine 1,2, 3,4\r\n; note\r\n"));
  }

  void typingALineChangesTheDocument() {
    auto form = StartOnShapes();
    QVERIFY(form);
    PlaceCaret(*form, 10, 0);
    QTest::keyClicks(&form->Memo(), QStringLiteral("line 1,2, 3,4"));
    QVERIFY(form->Modified());
    QCOMPARE(form->Document().Commands.size(), size_t{11});
    QCOMPARE(form->Document().Commands.back()->TypeCode, vcLine);
    QCOMPARE(form->Document().Commands.back()->SaveToString(), std::string("Line 1,2, 3,4"));
    // A Cyrillic comment reaches the document as Windows-1251.
    QTest::keyClick(&form->Memo(), Qt::Key_Return);
    TypeText(form->Memo(), QStringLiteral("; Мост"));
    QCOMPARE(form->Document().Commands.back()->SaveToString(), Utf8ToCp1251("; Мост"));
    // Editing the size line resizes the image at once.
    SelectLines(*form, 0, 5, 0, 8);
    QTest::keyClicks(&form->Memo(), QStringLiteral("640"));
    QCOMPARE(form->Document().ImageWidth(), 640);
  }

  void commandColumnInsertsItsCaptionAsAnUndoableEdit() {
    auto form = StartOnShapes();
    QVERIFY(form);
    PlaceCaret(*form, 10, 0);
    QTest::mouseClick(CommandButton(*form, QStringLiteral("Line ")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->lastBlock().text(), QStringLiteral("Line "));
    QVERIFY(form->Memo().hasFocus());
    QVERIFY(form->Modified());
    QTest::keyClicks(&form->Memo(), QStringLiteral("5,6, 7,8"));
    QCOMPARE(form->Document().Commands.back()->SaveToString(), std::string("Line 5,6, 7,8"));

    // The caption replaces the selection.
    SelectLines(*form, 2, 0, 2, 9);
    QTest::mouseClick(CommandButton(*form, QStringLiteral("BrushColor ")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->findBlockByNumber(2).text(), QStringLiteral("BrushColor FF0000"));
    QCOMPARE(form->Document().Commands[2]->TypeCode, vcBrushColor);
    form->Memo().undo();
    QCOMPARE(form->Memo().document()->findBlockByNumber(2).text(), QStringLiteral("PenColor FF0000"));
    QCOMPARE(form->Document().Commands[2]->TypeCode, vcPenColor);

    PlaceCaret(*form, 10, 0);
    QTest::mouseClick(CommandButton(*form, QStringLiteral("Opaque")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->lastBlock().text(), QStringLiteral("OpaqueLine 5,6, 7,8"));

    const char* captions[] = {"size ", "Angle ", "Image ", "PenColor ", "BrushColor ", "Line ",
                              "Dashed ", "Spline ", "Polygon ", "Stairs ", "Arrow ", "Ellipse ",
                              "TextOut ", "AngleTextOut ", "Railway ", "Opaque"};
    for (const char* caption : captions) {
      QPushButton* button = CommandButton(*form, QString::fromUtf8(caption));
      QVERIFY2(button && button->isVisible(), caption);
      QCOMPARE(button->width(), 72);
    }
    QPushButton* hidden = CommandButton(*form, QStringLiteral("Button24"));
    QVERIFY(hidden && !hidden->isVisible());
  }

  void namedTogglesSwitchTheirLinesAndKeepTheCaret() {
    auto form = StartOnShapes();
    QVERIFY(form);
    PlaceCaret(*form, 3, 6);
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Image")), Qt::LeftButton);
    QCOMPARE(MemoText(*form),
             std::string("Size 200x100\n; Фигуры для проверки редактора\nPenColor FF0000\nLine 50,50, 150,50\n"
                         ";Image pic.png, 5, 5\nimage old.png\nAngle 30\nOpaque 50\nEllipse 60,20, 80,40\n"
                         ";opaque 100\n"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{3, 6, 3, 6}));
    QVERIFY(form->Modified());
    // The document was read again from the text.
    QCOMPARE(form->Document().Commands[4]->TypeCode, vcComment);
    QCOMPARE(form->Document().Commands[5]->TypeCode, vcImage);

    QTest::mouseClick(ToolButton(*form, QStringLiteral("Opaque")), Qt::LeftButton);
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Angle")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->findBlockByNumber(6).text(), QStringLiteral(";Angle 30"));
    QCOMPARE(form->Memo().document()->findBlockByNumber(7).text(), QStringLiteral(";Opaque 50"));
    QCOMPARE(form->Memo().document()->findBlockByNumber(9).text(), QStringLiteral("opaque 100"));
    QCOMPARE(form->Document().Commands[9]->TypeCode, vcOpaque);
  }

  void namedToggleWithNothingToChangeLeavesModifiedAlone() {
    dir_->WriteBytes("plain.vec", "Size 10x10\r\nLine 1,2, 3,4\r\n");
    auto form = StartWindow({PathArgument(dir_->Path() / "plain.vec")});
    QVERIFY(form);
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Opaque")), Qt::LeftButton);
    QVERIFY(!form->Modified());
    QCOMPARE(MemoText(*form), std::string("Size 10x10\nLine 1,2, 3,4\n"));
  }

  void commentButtonTogglesTheSelectedLines() {
    dir_->WriteBytes("lines.vec", "Size 10x10\r\n;Line 1,1, 2,2\r\nLine 3,3, 4,4\r\nLine 5,5, 6,6\r\n");
    auto form = StartWindow({PathArgument(dir_->Path() / "lines.vec")});
    QVERIFY(form);
    // One of three commented: all three get ";".
    SelectLines(*form, 1, 2, 3, 4);
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Comment")), Qt::LeftButton);
    QCOMPARE(MemoText(*form), std::string("Size 10x10\n;;Line 1,1, 2,2\n;Line 3,3, 4,4\n;Line 5,5, 6,6\n"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{1, 3, 3, 5}));
    QVERIFY(form->Memo().hasFocus());
    QVERIFY(form->Modified());
    QCOMPARE(form->Document().Commands[3]->TypeCode, vcComment);
    // Three of three: uncommented once each.
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Comment")), Qt::LeftButton);
    QCOMPARE(MemoText(*form), std::string("Size 10x10\n;Line 1,1, 2,2\nLine 3,3, 4,4\nLine 5,5, 6,6\n"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{1, 2, 3, 4}));
    QCOMPARE(form->Document().Commands[3]->TypeCode, vcLine);
    // A selection that ends at the start of a line leaves that line alone.
    SelectLines(*form, 2, 0, 3, 0);
    QTest::mouseClick(ToolButton(*form, QStringLiteral("Comment")), Qt::LeftButton);
    QCOMPARE(MemoText(*form), std::string("Size 10x10\n;Line 1,1, 2,2\n;Line 3,3, 4,4\nLine 5,5, 6,6\n"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{2, 0, 3, 0}));
  }

  void pointEditsRegenerateTheTextWithCaretAndScrollKept() {
    std::string lines = "Size 2000x2000\r\n";
    for (int i = 0; i < 200; ++i) lines += "Line 1000,1000, 1000," + std::to_string(100 + i) + "\r\n";
    dir_->WriteBytes("long.vec", lines);
    auto form = StartWindow({PathArgument(dir_->Path() / "long.vec")});
    QVERIFY(form);
    SelectLines(*form, 150, 5, 150, 24);
    form->Memo().verticalScrollBar()->setValue(140);
    QCOMPARE(FirstVisibleLine(*form), 140);
    Edit(*form, "Factor")->setText(QStringLiteral("0.5"));
    QTest::mouseClick(ToolButton(*form, QStringLiteral("*")), Qt::LeftButton);
    // The lines got shorter: the end of the selection stays on its line.
    QCOMPARE(form->Memo().document()->findBlockByNumber(150).text(), QStringLiteral("Line 500,500, 500,124"));
    QCOMPARE(form->Memo().document()->findBlockByNumber(0).text(), QStringLiteral("Size 1000x1000"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{150, 5, 150, 21}));
    QCOMPARE(FirstVisibleLine(*form), 140);
    QVERIFY(form->Modified());

    // Longer lines keep the place just as well.
    PlaceCaret(*form, 120, 9);
    form->Memo().verticalScrollBar()->setValue(100);
    Edit(*form, "Factor")->setText(QStringLiteral("30"));
    QTest::mouseClick(ToolButton(*form, QStringLiteral("*")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->findBlockByNumber(120).text(),
             QStringLiteral("Line 15000,15000, 15000,3300"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{120, 9, 120, 9}));
    QCOMPARE(FirstVisibleLine(*form), 100);
  }
};

QTEST_MAIN(TextEditingTest)
#include "TextEditingTest.moc"
