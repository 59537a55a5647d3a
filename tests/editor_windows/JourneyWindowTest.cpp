// The journey planner's window as the map editor opens it (Ctrl+R): two
// typed names bring the legs into the list and the journey onto the map,
// which fades everything else until the window closes.

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "EditorSession.h"
#include "editor/fJourney.h"
#include "vector/uScale.h"

using varnik::TJourneyForm;
using varnik::test::TEditorSession;
using varnik::test::U;

namespace {

// The colour the editor's last paint put at a point of the map.
int32_t PaintedAt(TEditorSession& s, long double x, long double y) {
  s.Area()->repaint();
  const varnik::TScalePoint p = s.Editor().View.ToScreen(x, y);
  return s.form->CanvasBitmap().Pixel(static_cast<int>(p.X), static_cast<int>(p.Y));
}

TJourneyForm* OpenByShortcut(TEditorSession& s) {
  s.form->activateWindow();
  if (!QTest::qWaitForWindowActive(s.form.get())) return nullptr;
  QTest::keyClick(s.form.get(), Qt::Key_R, Qt::ControlModifier);
  return s.form->JourneyWindow();
}

// The names are set rather than typed: key clicks carry Latin-1 letters only.
void Ask(TJourneyForm& w, const char* from, const char* to) {
  w.FromEdit->setText(U(from));
  w.ToEdit->setText(U(to));
  QTest::keyClick(w.ToEdit, Qt::Key_Return);
}

}  // namespace

class JourneyWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void typedNamesShowTheLegsAndTheJourneyOnTheMap() {
    TEditorSession s;
    // Two points of the red line: between Альфа and Бета (on the journey)
    // and between Гамма and the last station (off it).
    const int32_t on = PaintedAt(s, 125, 90), off = PaintedAt(s, 350, 100);
    TJourneyForm* w = OpenByShortcut(s);
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), U("Маршрут"));
    QCOMPARE(w->DelayBox->count(), 3);
    Ask(*w, "Альфа", "Эпсилон");
    QCOMPARE(w->Legs->count(), 3);
    QCOMPARE(w->Legs->item(0)->text(), U("Красная: Альфа → Бета, 2 мин"));
    QCOMPARE(w->Legs->item(1)->text(), U("Пешком: Бета (Красная) → Узел (Синяя), 2 мин"));
    QCOMPARE(w->Legs->item(2)->text(), U("Синяя: Узел → Эпсилон, 2 мин"));
    QCOMPARE(w->Summary->text(), U("Всего 6 мин, посадок: 2"));
    QVERIFY(s.form->JourneyShown());
    QCOMPARE(PaintedAt(s, 125, 90), on);
    QVERIFY(PaintedAt(s, 350, 100) != off);

    w->close();
    QVERIFY(!s.form->JourneyShown());
    QCOMPARE(PaintedAt(s, 350, 100), off);
    // Opened again, it shows the journey of the names still typed.
    s.form->OpenJourneyWindow();
    QVERIFY(s.form->JourneyShown());
  }

  void anUnknownNameSuggestsSimilarOnesAndClearsTheMap() {
    TEditorSession s;
    s.form->OpenJourneyWindow();
    TJourneyForm* w = s.form->JourneyWindow();
    Ask(*w, "Альфа", "Эпсилон");
    QVERIFY(s.form->JourneyShown());
    Ask(*w, "альфо", "Эпсилон");
    QCOMPARE(w->Legs->count(), 0);
    QCOMPARE(w->Summary->text(), U("Станция «альфо» не найдена. Похожие: «Альфа»"));
    QVERIFY(!s.form->JourneyShown());
  }
};

QTEST_MAIN(JourneyWindowTest)
#include "JourneyWindowTest.moc"
