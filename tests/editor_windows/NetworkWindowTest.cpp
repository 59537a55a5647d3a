// The network edits as the window offers them: the "Правка" entry that turns
// on adding stations, a click on the map, the save and Ctrl+Z. The rules
// themselves are tested without a window (tests/editor).

#include <QAction>
#include <QMenu>

#include "EditorSession.h"
#include "editor/fNetworkEdits.h"

namespace varnik::test {

class NetworkWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void aClickAddsAStationToTheChosenLine() {
    TEditorSession s;
    QVERIFY(s.Exposed);
    const QString stations = s.Key("Metro.trp", "Line1", "Stations");
    QAction* adding = nullptr;
    for (QAction* action : s.form->EditMenu()->actions())
      if (action->text() == U("Добавлять станции щелчком")) adding = action;
    QVERIFY(adding != nullptr);

    // The line of the selected station (Альфа, at the left end of Красная).
    s.Click(QPoint(100, 100));
    adding->trigger();
    QVERIFY(adding->isChecked());
    QCOMPARE(s.form->Network().AddingTo(), s.Map().Lines[0].get());
    s.Click(QPoint(40, 160));
    QCOMPARE(s.Map().Lines[0]->Stations.size(), size_t(5));
    QCOMPARE(s.Station(0, 0).Coordinate.X, 40);
    QVERIFY(s.form->Save());
    QCOMPARE(s.Key("Metro.trp", "Line1", "Stations"), U("Станция 5,") + stations);

    QTest::keyClick(s.Area(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.Map().Lines[0]->Stations.size(), size_t(4));
    QVERIFY(s.form->Save());
    QCOMPARE(s.Key("Metro.trp", "Line1", "Stations"), stations);
    QCOMPARE(s.Messages(), QStringList{});
  }
};

}  // namespace varnik::test

QTEST_MAIN(varnik::test::NetworkWindowTest)
#include "NetworkWindowTest.moc"
