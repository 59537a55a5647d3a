// The map editor window driven as a user drives it: clicks and drags in the
// drawing area, the panel's buttons, the memo, and the files written.

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <cmath>
#include <numbers>

#include "EditorSession.h"
#include "map/uSettings.h"
#include "platform/uBitmap.h"

using varnik::test::TEditorSession;
using varnik::test::U;

namespace {

// Screen points of the test city at zoom 1 (map pixels = area pixels).
const QPoint kAlpha{100, 100}, kBeta{200, 100}, kGamma{300, 100}, kDelta{15, 15}, kKnot{204, 104};
const QPoint kNode{150, 80};       // the node between Альфа and Бета
const QPoint kEmpty{300, 220};     // nothing there
const QPoint kAlphaLabel{70, 85};  // inside Альфа's label, away from every point

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // Labels are measured in the default font whatever settings file lies
    // beside the test program.
    varnik::LoadSettings("no such settings file");
  }

  void opensTheFirstMapWithItsPanel() {
    TEditorSession s;
    QVERIFY(s.Exposed);
    QCOMPARE(s.form->windowTitle(), U("Редактор Метро"));
    QCOMPARE(s.Map().Name, std::string("Metro.map"));
    for (const char* caption : {"/\\", "<", ">", "\\/", "Размер точек", "Уменьшить по шрифту",
                                "Выровнять по сетке", "Доп.точка", "Сплайн", "Пересадка", "Поиск перес.",
                                "Выровнять точки", "Умножить все на", "Копировать в буфер", "Очистить"})
      QVERIFY2(s.Control<QPushButton>(caption) != nullptr, caption);
    QCOMPARE(s.EditRightOf("Выровнять по сетке")->text(), U("5"));
    QCOMPARE(s.EditRightOf("Умножить все на")->text(), U("1"));
    QVERIFY(s.Control<QCheckBox>("Станции")->isEnabled());
    QVERIFY(!s.Control<QCheckBox>("Карта")->isEnabled());
    QVERIFY(!s.Control<QCheckBox>("Белые линии")->isChecked());
    QCOMPARE(s.Area()->x(), 180);
    QVERIFY(s.Messages().empty());
  }

  void theMapNamedOnTheCommandLineIsShown() {
    TEditorSession s(std::string("align.MAP"));
    QCOMPARE(s.Map().Name, std::string("Align.map"));
  }

  void markersAreYellowAndTurnRedWhenSelected() {
    TEditorSession s;
    s.Area()->repaint();
    varnik::TBitmap& canvas = s.form->CanvasBitmap();
    QCOMPARE(canvas.Pixel(kAlpha.x(), kAlpha.y()), 65535);
    s.Click(kAlpha);
    s.Area()->repaint();
    QCOMPARE(canvas.Pixel(kAlpha.x(), kAlpha.y()), 255);
    QCOMPARE(canvas.Pixel(kBeta.x(), kBeta.y()), 65535);
    // Marker edges: radius round(3 * 1 + 1) = 4, outlined in black.
    QCOMPARE(canvas.Pixel(kAlpha.x() - 4, kAlpha.y()), 0);
    QCOMPARE(canvas.Pixel(kAlpha.x() + 4, kAlpha.y()), 0);
    QVERIFY(canvas.Pixel(kAlpha.x() - 5, kAlpha.y()) != 0);
    // The extent of the map (500 x 300) is outlined in black.
    QCOMPARE(canvas.Pixel(500, 40), 0);
    QCOMPARE(canvas.Pixel(250, 300), 0);
  }

  void whiteLinesRunOverTheRoutes() {
    TEditorSession s;
    varnik::TBitmap& canvas = s.form->CanvasBitmap();
    s.Area()->repaint();
    QCOMPARE(canvas.Pixel(250, 100), 0x2020E0);  // the red line, colour E02020
    s.Tick("Белые линии");
    s.Area()->repaint();
    // A black line three pixels wide, then a white one pixel wide over it.
    QCOMPARE(canvas.Pixel(250, 99), 0);
    QCOMPARE(canvas.Pixel(250, 100), 0xFFFFFF);
    QCOMPARE(canvas.Pixel(250, 101), 0);
    QCOMPARE(canvas.Pixel(250, 98), 0x2020E0);  // the red line around them
  }

  void dragOfAStationLandsInTheMapFile() {
    TEditorSession s;
    s.Drag(Qt::LeftButton, kAlpha, kAlpha + QPoint(30, 40));
    QCOMPARE(s.Station(0, 0).Coordinate.X, 130);
    QCOMPARE(s.Station(0, 0).Coordinate.Y, 140);
    // The end of the shaped segment follows its station.
    QCOMPARE(s.Map().Lines[0]->Segments[0]->Nodes.front()->Coordinate.X, 130);
    s.form->Save();
    QCOMPARE(s.Key("Metro.map", "Красная", "Coordinates"), U("130,140, 200,100, 300,100, 400,100"));
    QCOMPARE(s.Key("Metro.map", "AdditionalNodes", "1"), U("Красная,Альфа,Бета, 150,80"));
  }

  void dragMovesEverySelectedPointAndEmptySpacePans() {
    TEditorSession s;
    s.Click(kAlpha);
    s.Click(kNode, Qt::ShiftModifier);
    // Shift keeps the selection when the drag starts.
    s.Drag(Qt::LeftButton, kNode, kNode + QPoint(-10, 5), 8, Qt::ShiftModifier);
    QCOMPARE(s.Station(0, 0).Coordinate.X, 90);
    QCOMPARE(s.Station(0, 0).Coordinate.Y, 105);
    QCOMPARE(s.Map().Lines[0]->Segments[0]->Nodes[1]->Coordinate.X, 140);
    QCOMPARE(s.Map().Lines[0]->Segments[0]->Nodes[1]->Coordinate.Y, 85);
    // A plain press on a selected point starts a new selection of it alone.
    s.Drag(Qt::LeftButton, QPoint(90, 105), kAlpha);  // from where Альфа went
    QCOMPARE(s.Editor().Selection.size(), size_t(1));
    QCOMPARE(s.Station(0, 0).Coordinate.X, 100);
    QCOMPARE(s.Map().Lines[0]->Segments[0]->Nodes[1]->Coordinate.X, 140);
    // A plain click on empty space clears the selection; a drag from there pans.
    s.Drag(Qt::LeftButton, kEmpty, kEmpty + QPoint(25, -7));
    QVERIFY(s.Editor().Selection.empty());
    QCOMPARE(double(s.Editor().View.ShiftX), 25.0);
    QCOMPARE(double(s.Editor().View.ShiftY), -7.0);
    QCOMPARE(s.Station(0, 0).Coordinate.X, 100);
  }

  void shiftSelectAndAlignOnAHorizontal() {
    TEditorSession s(std::string("Align.map"));
    s.Click({10, 10});
    s.Click({20, 11}, Qt::ShiftModifier);
    s.Click({30, 9}, Qt::ShiftModifier);
    QCOMPARE(s.Editor().Selection.size(), size_t(3));
    s.Press("Выровнять точки");
    for (int i = 0; i < 3; ++i) QCOMPARE(s.Station(0, i).Coordinate.Y, 10);
    QCOMPARE(s.Station(0, 1).Coordinate.X, 20);
    s.form->Save();
    QCOMPARE(s.Key("Align.map", "Красная", "Coordinates"), U("10,10, 20,10, 30,10"));
    // Started for one named map: the legend key is not written.
    QCOMPARE(s.Key("Align.map", "Красная", "Rect"), U("(missing)"));
  }

  void shiftSelectAndAlignOnADiagonal() {
    TEditorSession s(std::string("Align.map"));
    s.Click({100, 100});
    s.Click({110, 110}, Qt::ShiftModifier);
    s.Click({121, 120}, Qt::ShiftModifier);
    s.Press("Выровнять точки");
    QCOMPARE(s.Station(1, 0).Coordinate.X, 100);
    QCOMPARE(s.Station(1, 2).Coordinate.X, 121);
    QCOMPARE(s.Station(1, 2).Coordinate.Y, 121);
  }

  void snapToTheGridStep() {
    TEditorSession s(std::string("Align.map"));
    s.Type(s.EditRightOf("Выровнять по сетке"), "0");
    s.Press("Выровнять по сетке");
    QCOMPARE(s.Station(1, 2).Coordinate.X, 121);
    s.Type(s.EditRightOf("Выровнять по сетке"), "5");
    s.Press("Выровнять по сетке");
    QCOMPARE(s.Station(0, 1).Coordinate.Y, 10);   // 11
    QCOMPARE(s.Station(1, 2).Coordinate.X, 120);  // 121
    QCOMPARE(s.Station(1, 2).Coordinate.Y, 120);
    QCOMPARE(s.Station(0, 2).Coordinate.Y, 10);  // 9
  }

  void scaleEverythingByHalf() {
    TEditorSession s;
    s.Type(s.EditRightOf("Умножить все на"), "0.5");
    s.Press("Умножить все на");
    // 15 * 0.5 = 7.5 goes to the even 8.
    QCOMPARE(s.Station(1, 0).Coordinate.X, 8);
    QCOMPARE(s.Station(1, 0).Coordinate.Y, 8);
    s.form->Save();
    QCOMPARE(s.Key("Metro.map", "Красная", "Coordinates"), U("50,50, 100,50, 150,50, 200,50"));
    QCOMPARE(s.Key("Metro.map", "Красная", "Rects"), U("30,40,20,6, 95,55,25,6, 0,0,0,0, 205,45,30,6"));
    QCOMPARE(s.Key("Metro.map", "Красная", "Rect"), U("10,125,30,10"));
    QCOMPARE(s.Key("Metro.map", "AdditionalNodes", "1"), U("Красная,Альфа,Бета, 75,40"));
  }

  void arrowsShiftTheMapByOneTenOrHundred() {
    TEditorSession s;
    s.Press(">");
    QCOMPARE(s.Station(0, 0).Coordinate.X, 101);
    s.Press("\\/", Qt::ShiftModifier);
    QCOMPARE(s.Station(0, 0).Coordinate.Y, 110);
    s.Press("<", Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(s.Station(0, 0).Coordinate.X, 1);
    QCOMPARE(s.Map().Lines[0]->LegendRect.Left, -79);
    // Unplaced rectangles stay where they are.
    QCOMPARE(s.Station(0, 2).LabelRect.Left, 0);
  }

  void insertNodesTwiceThenSplineOnAnExistingSegment() {
    TEditorSession s;
    s.Click(kBeta);
    s.Click(kGamma, Qt::ShiftModifier);
    s.Press("Доп.точка");
    s.Press("Доп.точка");
    s.form->Save();
    QCOMPARE(s.Key("Metro.map", "AdditionalNodes", "2"), U("Красная,Бета,Гамма, 250,100, 250,100"));
    s.Click(kAlpha);
    s.Click(kBeta, Qt::ShiftModifier);
    s.Press("Сплайн");
    s.form->Save();
    // An existing segment keeps its straight pieces; the node goes before its end.
    QCOMPARE(s.Key("Metro.map", "AdditionalNodes", "1"), U("Красная,Альфа,Бета, 150,80, 150,100"));
    QVERIFY(s.Messages().empty());
  }

  void transferLineGoesToTheMemo() {
    TEditorSession s;
    s.Click(kAlpha);
    s.Click(kDelta, Qt::ShiftModifier);
    s.Press("Пересадка");
    QCOMPARE(s.Memo(), U("=Красная,Альфа,Синяя,Дельта,2\n"));
    s.Press("Копировать в буфер");
    QCOMPARE(QGuiApplication::clipboard()->text(), U("=Красная,Альфа,Синяя,Дельта,2\n"));
    s.Press("Очистить");
    QCOMPARE(s.Memo(), QString());
  }

  void toggleADrawnTransfer() {
    TEditorSession s;
    QCOMPARE(s.Map().Transfers.size(), size_t(1));
    s.Click(kBeta);
    s.Click(kKnot, Qt::ShiftModifier);
    s.Press("Поиск перес.");
    QVERIFY(!s.Map().Transfers[0]->Visible);
    QCOMPARE(s.Memo(), U("Красная,Бета,Синяя,Узел\nСиняя,Узел,Красная,Бета\n"));
    s.Press("Поиск перес.");
    QVERIFY(s.Map().Transfers[0]->Visible);
  }

  void wrongSelectionsAreReported_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("align one") << U("Выровнять точки") << QList<QPoint>{kAlpha}
                               << U("Выделите хотя бы две точки.");
    QTest::newRow("node one") << U("Доп.точка") << QList<QPoint>{kAlpha}
                              << U("Выделите две соседние станции сначала.");
    QTest::newRow("spline node") << U("Сплайн") << QList<QPoint>{kAlpha, kNode}
                                 << U("Нужно выделить две станции!");
    QTest::newRow("node apart") << U("Доп.точка") << QList<QPoint>{kAlpha, kGamma}
                                << U("Выделенные станции - не соседние!");
    QTest::newRow("node two lines") << U("Доп.точка") << QList<QPoint>{kAlpha, kDelta}
                                    << U("Выделенные станции - не соседние!");
    QTest::newRow("transfer three") << U("Пересадка") << QList<QPoint>{kAlpha, kBeta, kGamma}
                                    << U("Выделите две станции сначала.");
    QTest::newRow("transfer node") << U("Пересадка") << QList<QPoint>{kNode, kBeta}
                                   << U("Нужно выделить две станции!");
    QTest::newRow("toggle none") << U("Поиск перес.") << QList<QPoint>{}
                                 << U("Выделите две пересадочные станции сначала.");
    QTest::newRow("toggle no transfer")
        << U("Поиск перес.") << QList<QPoint>{kAlpha, kBeta} << U("Выделенные станции - не пересадочные!");
  }

  void wrongSelectionsAreReported() {
    QFETCH(QString, command);
    QFETCH(QList<QPoint>, points);
    QFETCH(QString, message);
    TEditorSession s;
    for (const QPoint& p : points) s.Click(p, Qt::ShiftModifier);
    const std::string map = s.Bytes("Metro.map");
    s.Press(command.toUtf8().constData());
    QCOMPARE(s.Messages(), QStringList{message});
    QCOMPARE(s.messages.Entries[0].Style, varnik::TMessageStyle::Foreground);
    QCOMPARE(s.Memo(), QString());
    QCOMPARE(s.Map().Lines[0]->Segments.size(), size_t(1));
  }

  void labelRectangleMoveAndResize() {
    TEditorSession s;
    s.Drag(Qt::LeftButton, kAlphaLabel, kAlphaLabel + QPoint(20, 10));
    QCOMPARE(s.Editor().SelectedRect, &s.Station(0, 0).LabelRect);
    QCOMPARE(s.Station(0, 0).LabelRect, (varnik::TRect{80, 90, 120, 102}));
    s.Area()->repaint();
    QCOMPARE(s.form->CanvasBitmap().Pixel(80, 96), 255);  // the picked rectangle is outlined in red
    s.Drag(Qt::RightButton, {90, 95}, {100, 100});
    QCOMPARE(s.Station(0, 0).LabelRect, (varnik::TRect{80, 90, 130, 107}));
    // The legend of a line is picked the same way.
    s.Drag(Qt::LeftButton, {30, 260}, {40, 262});
    QCOMPARE(s.Map().Lines[0]->LegendRect, (varnik::TRect{30, 252, 90, 272}));
    s.form->Save();
    QCOMPARE(s.Key("Metro.map", "Красная", "Rects"), U("80,90,50,17, 190,110,50,12, 0,0,0,0, 410,90,60,12"));
    QCOMPARE(s.Key("Metro.map", "Красная", "Rect"), U("30,252,60,20"));
  }

  void rightDragZoomsAndTurnsInSteps() {
    TEditorSession s;
    varnik::TScale& view = s.Editor().View;
    const varnik::TScalePoint centre = view.ToDrawing(s.Area()->width() / 2.0, s.Area()->height() / 2.0);
    s.Drag(Qt::RightButton, kEmpty, kEmpty - QPoint(59, 0), 1);
    QCOMPARE(double(view.Angle), 0.0);
    s.Drag(Qt::RightButton, kEmpty, kEmpty - QPoint(60, 0), 1);
    QCOMPARE(double(view.Angle), std::numbers::pi / 12);
    s.Drag(Qt::RightButton, kEmpty, kEmpty - QPoint(120, 0), 1);
    QCOMPARE(double(view.Angle), std::numbers::pi / 4);
    s.Drag(Qt::RightButton, kEmpty, kEmpty - QPoint(0, 100), 4);
    QCOMPARE(double(view.ScaleX), std::pow(1.01, -100));
    // The map point under the middle of the area stays there.
    const varnik::TScalePoint after = view.ToDrawing(s.Area()->width() / 2.0, s.Area()->height() / 2.0);
    QVERIFY(std::abs(double(after.X - centre.X)) < 1e-6 && std::abs(double(after.Y - centre.Y)) < 1e-6);
    QCOMPARE(s.Station(0, 0).Coordinate.X, 100);
  }

  void clicksRecordCoordinatesAndCollectStations() {
    TEditorSession s;
    s.Tick("Записывать коорд.");
    s.Click({100, 200});
    s.Click({50, 60});
    QCOMPARE(s.Memo(), U("100,200, 50,60, \n110,195,70,10, 60,55,70,10, \n2,2,\n"));
    // A drag is no click.
    s.Drag(Qt::LeftButton, kEmpty, kEmpty + QPoint(10, 0));
    QCOMPARE(s.Memo(), U("100,200, 50,60, \n110,195,70,10, 60,55,70,10, \n2,2,\n"));

    TEditorSession t;
    t.Tick("Собрать линию");
    t.Click(kAlpha, {}, Qt::RightButton);
    t.Click({400, 100}, {}, Qt::RightButton);
    QCOMPARE(t.Memo(),
             U("Альфа,\"Площадь, север\",\n100,100, 400,100, \n60,80,40,12, 410,90,60,12, \n2,2,\n"));
  }

  void pointSizeCycles() {
    TEditorSession s;
    std::vector<int> sizes;
    for (int i = 0; i < 4; ++i) {
      s.Press("Размер точек");
      sizes.push_back(s.Editor().PointSize);
    }
    QCOMPARE(sizes, (std::vector<int>{9, 0, 1, 3}));
    s.Press("Размер точек", Qt::ShiftModifier);
    QCOMPARE(s.Editor().PointSize, 0);
  }

  void savingTwiceGivesTheSameFiles() {
    TEditorSession s;
    const std::string map = s.Bytes("Metro.map"), transport = s.Bytes("Metro.trp");
    s.form->Save();
    // The test city is written the way the editor writes it.
    QCOMPARE(s.Bytes("Metro.map"), map);
    QCOMPARE(s.Bytes("Metro.trp"), transport);
    s.Drag(Qt::LeftButton, kGamma, kGamma + QPoint(5, 5));
    s.form->Save();
    const std::string once = s.Bytes("Metro.map");
    QVERIFY(once != map);
    s.form->Save();
    QCOMPARE(s.Bytes("Metro.map"), once);
    QCOMPARE(s.Bytes("Metro.trp"), transport);
  }

  void closingSaves() {
    TEditorSession s;
    s.Drag(Qt::LeftButton, kGamma, kGamma + QPoint(0, 20));
    QVERIFY(s.form->close());
    QCOMPARE(s.Key("Metro.map", "Красная", "Coordinates"), U("100,100, 200,100, 300,120, 400,100"));
  }

  void anUnwritableFileIsReportedOncePerFailure() {
    TEditorSession s;
    s.SetWritable("Metro.map", false);
    s.Drag(Qt::LeftButton, kGamma, kGamma + QPoint(0, 20));
    for (int tick = 0; tick < 3; ++tick) s.form->Save();
    QCOMPARE(s.Messages(), QStringList{U("Не удалось сохранить файл Metro.map")});
    // Once a save gets through, the next failure is news again.
    s.SetWritable("Metro.map", true);
    s.form->Save();
    QCOMPARE(s.Key("Metro.map", "Красная", "Coordinates"), U("100,100, 200,100, 300,120, 400,100"));
    s.SetWritable("Metro.map", false);
    s.Drag(Qt::LeftButton, kGamma + QPoint(0, 20), kGamma);
    s.form->Save();
    QCOMPARE(s.Messages().size(), 2);
    s.SetWritable("Metro.map", true);
  }

  void closingWithAnUnwritableFileAsksBeforeLosingEdits() {
    TEditorSession s;
    s.SetWritable("Metro.map", false);
    s.Drag(Qt::LeftButton, kGamma, kGamma + QPoint(0, 20));
    s.form->Save();
    QCOMPARE(s.Messages().size(), 1);

    // The timer has reported the file already; closing reports it again and
    // No keeps the window, with the edit, open.
    s.messages.Answer = false;
    QVERIFY(!s.form->close());
    QCOMPARE(s.Messages().size(), 2);
    QCOMPARE(s.messages.Questions.size(), size_t(1));
    QVERIFY(s.form->isVisible());

    // Once the file can be written, closing saves the edit without a question.
    s.SetWritable("Metro.map", true);
    QVERIFY(s.form->close());
    QCOMPARE(s.messages.Questions.size(), size_t(1));
    QCOMPARE(s.Key("Metro.map", "Красная", "Coordinates"), U("100,100, 200,100, 300,120, 400,100"));
  }

  void closingWithoutSavingWhenTheUserAgrees() {
    TEditorSession s;
    const std::string before = s.Bytes("Metro.map");
    s.SetWritable("Metro.map", false);
    s.Drag(Qt::LeftButton, kGamma, kGamma + QPoint(0, 20));
    s.messages.Answer = true;
    QVERIFY(s.form->close());
    QCOMPARE(s.Messages(), QStringList{U("Не удалось сохранить файл Metro.map")});
    QCOMPARE(s.messages.Questions.size(), size_t(1));
    QCOMPARE(s.Bytes("Metro.map"), before);
    s.SetWritable("Metro.map", true);
  }

  void ctrlZAfterADragLeavesTheFilesAsTheyWere() {
    TEditorSession s;
    QCOMPARE(s.form->FileMenu()->title(), U("Файл"));
    QCOMPARE(s.form->EditMenu()->title(), U("Правка"));
    const std::string map = s.Bytes("Metro.map"), transport = s.Bytes("Metro.trp");
    s.Drag(Qt::LeftButton, kAlpha, kAlpha + QPoint(30, 40));
    QTest::keyClick(s.Area(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(s.form->Save());
    QCOMPARE(s.Bytes("Metro.map"), map);
    QCOMPARE(s.Bytes("Metro.trp"), transport);
    QTest::keyClick(s.Area(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(s.Station(0, 0).Coordinate.X, 130);
    QTest::keyClick(s.Area(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(s.Area(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.Station(0, 0).Coordinate.Y, 140);
  }

  void withoutMapsNothingHappens() {
    TEditorSession s(std::nullopt, "NoMap");
    QCOMPARE(s.Messages(), QStringList{"TCity.LoadFromDir: *.map not found"});
    s.Drag(Qt::LeftButton, kEmpty, kEmpty + QPoint(20, 20));
    s.Press("Выровнять точки");
    s.Press(">");
    s.Area()->repaint();
    QCOMPARE(s.Messages().size(), 1);
    QCOMPARE(double(s.Editor().View.ShiftX), 0.0);
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
