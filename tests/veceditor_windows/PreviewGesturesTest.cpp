// The vector editor's preview driven with the mouse and the toolbar: dragging
// points, the Ctrl gestures, wheel and right-drag navigation, the limit-box
// edits, and what the preview shows.

#include <QWheelEvent>
#include <QtTest>

#include "VecWindowTestUtil.h"
#include "platform/uBitmap.h"
#include "vector/uScale.h"

using namespace varnik;
using namespace varnik::test;

namespace {

constexpr long double kDegree = 3.14159265358979323846264338327950288L / 180;

// The preview as it is on the screen.
QImage Grab(MainForm& form) { return form.PaintBox().grab().toImage().convertToFormat(QImage::Format_RGB32); }

// The pixels of the preview against a composition of the same view at
// `factor`, leaving out the corner where the paint time is written.
bool ShowsComposition(MainForm& form, int factor) {
  const QImage shown = Grab(form);
  TBitmap expected(shown.width(), shown.height());
  form.Preview().Compose(expected, factor, form.Limits());
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) {
      if (x < 150 && y < 40) continue;
      if ((shown.pixel(x, y) & 0xFFFFFF) != (expected.Image().pixel(x, y) & 0xFFFFFF)) return false;
    }
  return true;
}

void SendWheel(QWidget& widget, int delta) {
  const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
  QWheelEvent event(at, widget.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&widget, &event);
}

void SendMove(QWidget& widget, QPoint at, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  QMouseEvent event(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, buttons, modifiers);
  QApplication::sendEvent(&widget, &event);
}

}  // namespace

class PreviewGesturesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TTempDir> dir_;
  std::unique_ptr<TRecordingSink> messages_;
  std::unique_ptr<TScopedMessageSink> scopedMessages_;

  std::unique_ptr<MainForm> StartOn(const std::string& text) {
    dir_->WriteBytes("points.vec", text);
    return StartWindow({PathArgument(dir_->Path() / "points.vec")});
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

  void startsCentredOnTheImage() {
    auto form = StartOn("Size 200x100\r\n");
    QVERIFY(form);
    QWidget& box = form->PaintBox();
    QVERIFY(box.width() > 300 && box.height() > 300);
    QCOMPARE(ScreenOf(*form, 100, 50), QPoint(RoundToInt(box.width() / 2.0L), RoundToInt(box.height() / 2.0L)));
    QCOMPARE(form->Preview().View.MaxScale, 20.0L);
    QVERIFY(!form->Preview().View.Geographic);
  }

  void draggingAPointRewritesItsLineAndKeepsTheCaret() {
    auto form = StartOn("Size 200x100\r\nLine 50,50, 150,50\r\nEllipse 20,20, 40,40\r\n");
    QVERIFY(form);
    PlaceCaret(*form, 2, 7);
    const QPoint from = ScreenOf(*form, 50, 50);
    QTest::mousePress(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, from);
    QCOMPARE(form->Preview().Selection.size(), size_t{1});
    QTest::mouseMove(&form->PaintBox(), from + QPoint(10, 5));
    // While the drag goes on the preview draws at level 1...
    QVERIFY(form->SettleTimer().isActive());
    QVERIFY(ShowsComposition(*form, 1));
    QTest::mouseRelease(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, from + QPoint(10, 5));
    QCOMPARE(MemoText(*form), std::string("Size 200x100\nLine 60,55, 150,50\nEllipse 20,20, 40,40\n"));
    QCOMPARE(CaretPlace(*form), (TCaretPlace{2, 7, 2, 7}));
    QVERIFY(form->Modified());
    // ...and at the configured level half a second after the last movement.
    QCOMPARE(form->SmoothLevel(), 4);
    QTRY_VERIFY_WITH_TIMEOUT(!form->SettleTimer().isActive(), 2000);
    QVERIFY(ShowsComposition(*form, 4));
    QVERIFY(!ShowsComposition(*form, 1));
  }

  void typingForgetsTheSelectionSoTheNextDragPans() {
    auto form = StartOn("Size 200x100\r\nLine 50,50\r\n");
    QVERIFY(form);
    const QPoint at = ScreenOf(*form, 50, 50);
    QTest::mouseClick(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(form->Preview().Selection.size(), size_t{1});
    PlaceCaret(*form, 2, 0);
    QTest::keyClicks(&form->Memo(), QStringLiteral("; note"));
    QVERIFY(form->Preview().Selection.empty());
    const long double shift = form->Preview().View.ShiftX;
    QTest::mousePress(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, at + QPoint(30, 30));
    QTest::mouseMove(&form->PaintBox(), at + QPoint(50, 30));
    QTest::mouseRelease(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, at + QPoint(50, 30));
    QCOMPARE(form->Preview().View.ShiftX, shift + 20);
    QCOMPARE(form->Document().Commands[1]->SaveToString(), std::string("Line 50,50"));
  }

  void shiftDragSelectsARectangleAndMovesItTogether() {
    auto form = StartOn("Size 200x100\r\nLine 50,50, 60,60, 150,50\r\n");
    QVERIFY(form);
    QWidget& box = form->PaintBox();
    const QPoint corner = ScreenOf(*form, 40, 40);
    QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, corner);
    SendMove(box, ScreenOf(*form, 70, 70), Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::ShiftModifier, ScreenOf(*form, 70, 70));
    QCOMPARE(form->Preview().Selection.size(), size_t{2});
    const QPoint from = ScreenOf(*form, 60, 60);
    QTest::mousePress(&box, Qt::LeftButton, Qt::ShiftModifier, from);
    SendMove(box, from + QPoint(-5, 10), Qt::LeftButton, Qt::NoModifier);
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, from + QPoint(-5, 10));
    QCOMPARE(MemoText(*form), std::string("Size 200x100\nLine 45,60, 55,70, 150,50\n"));
  }

  void ctrlLeftInsertsTheCoordinatesAtTheCaret() {
    auto form = StartOn("Size 200x100\r\nLine 50,50\r\n");
    QVERIFY(form);
    PlaceCaret(*form, 2, 0);
    QTest::mouseClick(&form->PaintBox(), Qt::LeftButton, Qt::ControlModifier, ScreenOf(*form, 30, 40));
    QCOMPARE(MemoText(*form), std::string("Size 200x100\nLine 50,50\n30,40, "));
    QVERIFY(form->Modified());
    QCOMPARE(form->Document().Commands.size(), size_t{3});
    QCOMPARE(form->Document().Commands[2]->SaveToString(), std::string("30,40, "));
    QVERIFY(form->Memo().document()->isUndoAvailable());
    // A plain click inserts nothing.
    QTest::mouseClick(&form->PaintBox(), Qt::LeftButton, Qt::NoModifier, ScreenOf(*form, 10, 10));
    QTest::mouseClick(&form->PaintBox(), Qt::LeftButton, Qt::ControlModifier | Qt::ShiftModifier,
                      ScreenOf(*form, 10, 10));
    QCOMPARE(MemoText(*form), std::string("Size 200x100\nLine 50,50\n30,40, "));
    QVERIFY(messages_->Entries.empty());
  }

  void ctrlRightShowsTheCoordinates() {
    auto form = StartOn("Size 200x100\r\n");
    QVERIFY(form);
    QTest::mouseClick(&form->PaintBox(), Qt::RightButton, Qt::ControlModifier, ScreenOf(*form, 30, 40));
    QCOMPARE(messages_->Texts(), std::vector<std::string>{"30 40"});
    QVERIFY(!form->Modified());
  }

  void ctrlClicksWithCapsLockOnDoNothingOfTheirOwn() {
    auto form = StartOn("Size 200x100\r\n");
    QVERIFY(form);
    form->SetLockKeys(std::make_unique<TFixedLockKeys>(true));
    QTest::mouseClick(&form->PaintBox(), Qt::LeftButton, Qt::ControlModifier, ScreenOf(*form, 30, 40));
    QTest::mouseClick(&form->PaintBox(), Qt::RightButton, Qt::ControlModifier, ScreenOf(*form, 30, 40));
    QCOMPARE(MemoText(*form), std::string("Size 200x100\n"));
    QVERIFY(messages_->Entries.empty());
  }

  void wheelAndRightDragZoomAndTurnTheView() {
    auto form = StartOn("Size 200x100\r\n");
    QVERIFY(form);
    QWidget& box = form->PaintBox();
    SendWheel(box, 120);
    QCOMPARE(double(form->Preview().View.ScaleX), 1.2);
    SendWheel(box, -120);
    QVERIFY(qAbs(double(form->Preview().View.ScaleX) - 1) < 1e-15);
    // However small the turn, one event is one step.
    SendWheel(box, 15);
    QCOMPARE(double(form->Preview().View.ScaleX), 1.2);
    SendWheel(box, -15);

    const QPoint p = ScreenOf(*form, 20, 30);
    const TScalePoint underP = form->Preview().View.ToDrawing(p.x(), p.y());
    auto stillUnderP = [&] {
      const TScalePoint now = form->Preview().View.ToDrawing(p.x(), p.y());
      return qAbs(double(now.X - underP.X)) < 1e-9 && qAbs(double(now.Y - underP.Y)) < 1e-9;
    };
    QTest::mousePress(&box, Qt::RightButton, Qt::NoModifier, p);
    QTest::mouseMove(&box, p + QPoint(-59, 0));
    QCOMPARE(double(form->Preview().View.Angle), 0.0);
    QTest::mouseMove(&box, p + QPoint(-60, 0));
    QVERIFY(qAbs(double(form->Preview().View.Angle - 5 * kDegree)) < 1e-12);
    QTest::mouseMove(&box, p + QPoint(60, 0));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, p + QPoint(60, 0));
    QVERIFY(qAbs(double(form->Preview().View.Angle + 5 * kDegree)) < 1e-12);
    // The turn was about the press point.
    QVERIFY(stillUnderP());

    QTest::mousePress(&box, Qt::RightButton, Qt::NoModifier, p);
    QTest::mouseMove(&box, p + QPoint(0, 10));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, p + QPoint(0, 10));
    QVERIFY(qAbs(double(form->Preview().View.ScaleX) - std::pow(1.01, 10)) < 1e-12);
    QVERIFY(stillUnderP());
  }

  void toolbarEditsChangeOnlyPointsInsideTheLimits() {
    auto form = StartOn("Size 200x100\r\nLine 50,50, 100,20, 150,50\r\n");
    QVERIFY(form);
    Edit(*form, "MaxX")->setText(QStringLiteral("100"));
    const struct {
      const char* Caption;
      Qt::KeyboardModifiers Modifiers;
      const char* Line;
    } steps[] = {
        {">", Qt::NoModifier, "Line 51,50, 100,20, 150,50"},
        {">", Qt::ShiftModifier, "Line 61,50, 100,20, 150,50"},
        {"/\\", Qt::NoModifier, "Line 61,49, 100,20, 150,50"},
        {"\\/", Qt::ShiftModifier, "Line 61,59, 100,20, 150,50"},
        {"<", Qt::NoModifier, "Line 60,59, 100,20, 150,50"},
        {"*", Qt::NoModifier, "Line 120,118, 100,20, 150,50"},
    };
    for (const auto& step : steps) {
      QTest::mouseClick(ToolButton(*form, QString::fromUtf8(step.Caption)), Qt::LeftButton, step.Modifiers);
      QCOMPARE(form->Memo().document()->findBlockByNumber(1).text(), QString::fromUtf8(step.Line));
    }
    QCOMPARE(form->Memo().document()->findBlockByNumber(0).text(), QStringLiteral("Size 400x200"));
    QVERIFY(form->Modified());

    Edit(*form, "MaxX")->setText(QStringLiteral("10000"));
    Edit(*form, "Factor")->setText(QStringLiteral("90"));
    QTest::mouseClick(ToolButton(*form, QStringLiteral("<<")), Qt::LeftButton);
    QCOMPARE(form->Memo().document()->findBlockByNumber(1).text(), QStringLiteral("Line 218,180, 120,200, 150,150"));
    // A limit box without a number is a limit at 0.
    Edit(*form, "MinX")->setText(QStringLiteral("left"));
    Edit(*form, "Factor")->setText(QStringLiteral("2"));
    QCOMPARE(form->Limits().MinX, 0);
  }

  void pointsSyncAndPolyControls() {
    auto form = StartOn("Size 200x100\r\nPolygon 10,10, 90,10, 90,90\r\n");
    QVERIFY(form);
    QPushButton* points = ToolButton(*form, QStringLiteral("Points"));
    QCOMPARE(form->Preview().MarkerSize, 1);
    QTest::mouseClick(points, Qt::LeftButton);
    QCOMPARE(form->Preview().MarkerSize, 3);
    QTest::mouseClick(points, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(form->Preview().MarkerSize, 0);
    QTest::mouseClick(points, Qt::LeftButton);
    QCOMPARE(form->Preview().MarkerSize, 1);

    QTest::mouseClick(CheckBox(*form, QStringLiteral("Sync")), Qt::LeftButton);
    QVERIFY(form->Preview().Sync);
    QCheckBox* poly = CheckBox(*form, QStringLiteral("Poly"));
    QVERIFY(poly->isChecked() && form->Document().DrawPolygons);
    QTest::mouseClick(poly, Qt::LeftButton);
    QVERIFY(!form->Document().DrawPolygons);
    // The switch outlives a reload of the text.
    PlaceCaret(*form, 2, 0);
    QTest::keyClicks(&form->Memo(), QStringLiteral(";"));
    QVERIFY(!form->Document().DrawPolygons);
  }

  void farPointsLeaveThePreviewWhite() {
    auto form = StartOn("Size 200x100\r\nLine 3001,50, 60,60\r\n");
    QVERIFY(form);
    const QImage shown = Grab(*form);
    for (int y = 0; y < shown.height(); y += 7)
      for (int x = 0; x < shown.width(); x += 7) QCOMPARE(shown.pixel(x, y) & 0xFFFFFF, 0xFFFFFFu);
    QVERIFY(form->Preview().TooBig);
  }

  void demoBackgroundIsDrawn() {
    TScopedCurrentDir city(std::filesystem::path(VARNIK_EXAMPLES) / "Zarechensk");
    auto form = StartWindow({QStringLiteral("Zarechensk.vec")});
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Zarechensk.vec"));
    const QImage shown = Grab(*form);
    // The land colour of the backdrop covers much of the preview.
    int land = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) land += (shown.pixel(x, y) & 0xFFFFFF) == 0xF2EEE3;
    QVERIFY2(land > shown.width() * shown.height() / 5, qPrintable(QString::number(land)));
    QVERIFY(ShowsComposition(*form, 4));
  }
};

QTEST_MAIN(PreviewGesturesTest)
#include "PreviewGesturesTest.moc"
