// The station properties dialog opened by a double click on a station:
// what it shows, what "Ok" applies and what "Отменить" leaves alone.

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "EditorSession.h"
#include "editor/fStationProperties.h"
#include "image/uImage.h"
#include "map/uLayer.h"
#include "network/uRoute.h"
#include "vector/uVectorImage.h"

using varnik::TStationPropertiesForm;
using varnik::test::TEditorSession;
using varnik::test::U;

namespace {

const QPoint kBeta{200, 100};

// Double-clicks at `at` and lets `use` work the dialog that opens; false
// when no dialog opened.
bool WithDialog(TEditorSession& s, QPoint at, const std::function<void(TStationPropertiesForm&)>& use) {
  auto opened = std::make_shared<bool>(false);
  QTimer::singleShot(0, [opened, use] {
    auto* dialog = qobject_cast<TStationPropertiesForm*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    *opened = true;
    use(*dialog);
  });
  QTest::mouseClick(s.Area(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(s.Area(), Qt::LeftButton, {}, at);
  QTest::mouseRelease(s.Area(), Qt::LeftButton, {}, at);
  // Without a dialog the timer is still waiting.
  QCoreApplication::processEvents();
  return *opened;
}

void SetBox(QPlainTextEdit* box, const char* text) { box->setPlainText(U(text)); }

}  // namespace

class StationPropertiesTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheStationAndItsNeighbours() {
    TEditorSession s;
    QVERIFY(WithDialog(s, kBeta, [](TStationPropertiesForm& d) {
      QCOMPARE(d.objectName(), QString("StationPropertiesForm"));
      QCOMPARE(d.windowTitle(), U("Красная"));
      QCOMPARE(d.NameEdit->text(), U("Бета"));
      QCOMPARE(d.ForwardNames->toPlainText(), U("Гамма\n"));
      QCOMPARE(d.ForwardTimes->toPlainText(), U("2.30\n"));
      QCOMPARE(d.BackwardNames->toPlainText(), U("Альфа\n"));
      QCOMPARE(d.BackwardTimes->toPlainText(), U("2\n"));
      d.reject();
    }));
  }

  void okAppliesNameNeighboursAndTimes() {
    TEditorSession s;
    QVERIFY(WithDialog(s, kBeta, [](TStationPropertiesForm& d) {
      d.NameEdit->setText(U("  Бета-2 "));
      SetBox(d.ForwardNames, "-Гамма\nНет такой\nАльфа\n");
      SetBox(d.ForwardTimes, "1.30\n");
      SetBox(d.BackwardNames, "");
      QTest::mouseClick(d.findChild<QPushButton*>(), Qt::LeftButton);
    }));
    varnik::TStop& stop = *s.Station(0, 1).Stop;
    QCOMPARE(stop.Station->Name, varnik::Utf8ToCp1251("Бета-2"));
    QCOMPARE(stop.Forward.size(), size_t(2));
    QCOMPARE(stop.Forward[0]->Stop, s.Station(0, 2).Stop);
    QVERIFY(stop.Forward[0]->Reversed);
    QCOMPARE(stop.Forward[0]->Time, 90);
    QCOMPARE(stop.Forward[1]->Stop, s.Station(0, 0).Stop);
    QCOMPARE(stop.Forward[1]->Time, 0);
    QVERIFY(stop.Backward.empty());
    QCOMPARE(s.Messages(), QStringList{U("Station Нет такой not found in Route Красная")});
    // The map shows the new name at once.
    const std::string layer = s.Map().Layers.back()->Image->Vector->SaveToText();
    QVERIFY(layer.find(varnik::Utf8ToCp1251("БЕТА-2")) != std::string::npos);
    s.form->Save();
    // Бета now lists its own neighbours; Гамма still lists Бета backward at
    // 2.30, which no longer matches Бета's forward time, so it lists both.
    QCOMPARE(s.Key("Metro.trp", "Line1", "Stations"),
             U("Альфа,Бета-2(-Гамма,,Альфа),Гамма,\"Площадь, север\""));
    QCOMPARE(s.Key("Metro.trp", "Line1", "Driving"), U("2,(1.30),(1.45,2.30)"));
  }

  void cancelLeavesTheNetworkAlone() {
    TEditorSession s;
    const std::string before = s.Bytes("Metro.trp");
    QVERIFY(WithDialog(s, kBeta, [](TStationPropertiesForm& d) {
      d.NameEdit->setText(U("Другая"));
      SetBox(d.ForwardNames, "");
      QTest::keyClick(&d, Qt::Key_Escape);
    }));
    QCOMPARE(s.Station(0, 1).Stop->Station->Name, varnik::Utf8ToCp1251("Бета"));
    QCOMPARE(s.Station(0, 1).Stop->Forward.size(), size_t(1));
    s.form->Save();
    QCOMPARE(s.Bytes("Metro.trp"), before);
  }

  void enterAcceptsAndStationsMustBeShown() {
    TEditorSession s;
    QVERIFY(WithDialog(s, kBeta, [](TStationPropertiesForm& d) {
      d.NameEdit->setText(U("Бета Новая"));
      QTest::keyClick(d.NameEdit, Qt::Key_Return);
    }));
    QCOMPARE(s.Station(0, 1).Stop->Station->Name, varnik::Utf8ToCp1251("Бета Новая"));
    // With stations hidden a double click opens nothing.
    s.Control<QCheckBox>("Станции")->setChecked(false);
    QVERIFY(!WithDialog(s, kBeta, [](TStationPropertiesForm& d) { d.reject(); }));
  }

  void aDoubleClickOnALabelOpensItsStation() {
    TEditorSession s;
    QVERIFY(WithDialog(s, {70, 85}, [](TStationPropertiesForm& d) {
      QCOMPARE(d.NameEdit->text(), U("Альфа"));
      d.reject();
    }));
  }
};

QTEST_MAIN(StationPropertiesTest)
#include "StationPropertiesTest.moc"
