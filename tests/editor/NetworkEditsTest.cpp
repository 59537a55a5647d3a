// Network edits on the small test city: each rule once, checked where it
// matters, in the files a save writes and in the city loaded back from them.

#include <QUndoStack>

#include "EditorTestCity.h"
#include "city/uCityStore.h"
#include "editor/uNetworkEdits.h"
#include "network/uTransport.h"

namespace varnik {
namespace {

class NetworkEditsTest : public test::EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    for (const char* name : {"Metro.trp", "Metro.map", "Align.map"}) original[name] = dir.ReadBytes(name);
    test::TScopedCurrentDir here(dir.Path());
    store = std::make_unique<TCityStore>(city);
  }
  void Push(TNetworkEdit edit) {
    ASSERT_TRUE(edit.Command) << edit.Refusal;
    stack.push(edit.Command.release());
  }
  void SaveAll() {
    test::TScopedCurrentDir here(dir.Path());
    ASSERT_TRUE(store->Save(true));
  }
  // The city as the files now say, loaded without a diagnostic.
  TCity& Reload() {
    reloaded = std::make_unique<TCity>();
    test::TScopedCurrentDir here(dir.Path());
    reloaded->LoadFromDir();
    EXPECT_EQ(Messages(), std::vector<std::string>{});
    return *reloaded;
  }
  std::string Text(const char* name) const { return Cp1251ToUtf8(dir.ReadBytes(name)); }
  TStation& Net(int line, int index) { return *Station(line, index).Station(); }
  TRoute& Route(TCity& c, int index) { return *c.Transports.Items[0]->Routes[index]; }
  void ExpectOriginalFiles() {
    for (const auto& [name, bytes] : original) EXPECT_EQ(dir.ReadBytes(name), bytes) << name;
  }

  std::map<std::string, std::string> original;
  std::unique_ptr<TCityStore> store;
  std::unique_ptr<TCity> reloaded;
  QUndoStack stack;
};

const std::string u(const char* utf8) { return Utf8ToCp1251(utf8); }

TEST_F(NetworkEditsTest, AStationClickedOntoASegmentComesBetweenItsEnds) {
  const TMetroMapLine& red = *Map().Lines[0];
  // The segment Альфа-Бета bends through (150, 80).
  EXPECT_EQ(InsertionIndex(red, 150, 82, 4), 1u);
  EXPECT_EQ(InsertionIndex(red, 250, 101, 4), 2u);
  EXPECT_EQ(InsertionIndex(red, 120, 150, 4), 0u);  // off the line: the nearer end
  EXPECT_EQ(InsertionIndex(red, 380, 160, 4), 4u);

  Push(AddStation(city, Map(), *Map().Lines[0], 150, 82, 4));
  SaveAll();
  EXPECT_NE(Text("Metro.trp")
                .find("Stations=Альфа,Станция 5,Бета,Гамма,\"Площадь, север\"\r\nDriving=2,2,2.30,1.45"),
            std::string::npos);
  // The bent segment joined stations that are no longer neighbours.
  EXPECT_EQ(Text("Metro.map").find("[AdditionalNodes]\r\n1="), std::string::npos);
  TCity& again = Reload();
  const TMetroMapStation& added = *again.CurrentMap->StationAt(0, 1);
  EXPECT_EQ(added.Coordinate.X, 150);
  EXPECT_EQ(added.LabelRect, (TRect{160, 77, 230, 87}));
  // Align.map draws the route too: the station is there, not placed.
  EXPECT_FALSE(again.Maps[1]->StationAt(0, 1)->Coordinate.Placed());
  EXPECT_EQ(again.Maps[1]->StationAt(0, 2)->Coordinate.X, 20);
}

TEST_F(NetworkEditsTest, RenamingAStationReachesEveryFileThatNamesIt) {
  Push(RenameStation(city, Net(0, 1), "Бета-2"));
  SaveAll();
  const std::string trp = Text("Metro.trp");
  EXPECT_NE(trp.find("Stations=Альфа,Бета-2,"), std::string::npos);
  EXPECT_NE(trp.find("1=Красная,Бета-2,Синяя,Узел,2\r\n"), std::string::npos);
  EXPECT_NE(Text("Metro.map").find("1=Красная,Альфа,Бета-2, 150,80"), std::string::npos);
  EXPECT_EQ(dir.ReadBytes("Align.map"), original["Align.map"]);
  EXPECT_EQ(Reload().Stations[1]->Transfers.size(), 1u);

  stack.undo();
  SaveAll();
  ExpectOriginalFiles();
}

TEST_F(NetworkEditsTest, UnusableNamesAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    const char* refusal;
  } cases[] = {
      {"Гамма", "На линии «Красная» уже есть станция «Гамма»."},
      {"Снег ☃", "В названии есть знак, которого нет в кодировке города: «☃»."},
      {"  ", "Введите название."},
      {"Бета (2)", "В названии не может быть знаков ()\"."},
  };
  for (const Case& c : cases) {
    TNetworkEdit edit = RenameStation(city, Net(0, 1), c.name);
    EXPECT_EQ(edit.Command, nullptr) << c.name;
    EXPECT_EQ(edit.Refusal, c.refusal) << c.name;
  }
  EXPECT_EQ(RenameLine(city, Route(city, 0), "синяя").Refusal, "Линия «синяя» уже есть.");
  EXPECT_EQ(AddTransfer(city, Net(0, 0), Net(0, 2), 120).Refusal,
            "Пересадка бывает только между станциями разных линий.");
  EXPECT_EQ(AddTransfer(city, Net(1, 1), Net(0, 1), 120).Refusal,
            "Между станциями «Узел» и «Бета» уже есть пересадка.");
  EXPECT_EQ(Net(0, 1).Name, u("Бета"));
}

TEST_F(NetworkEditsTest, DeletingAStationJoinsItsNeighboursAndUndoGivesTheFilesBack) {
  Push(DeleteStation(city, Net(0, 1)));
  SaveAll();
  const std::string trp = Text("Metro.trp");
  EXPECT_NE(trp.find("Stations=Альфа,Гамма,\"Площадь, север\"\r\nDriving=4.30,1.45"), std::string::npos);
  EXPECT_EQ(trp.find("[Transfers]\r\n1="), std::string::npos);
  const std::string map = Text("Metro.map");
  EXPECT_NE(map.find("Coordinates=100,100, 300,100, 400,100"), std::string::npos);
  EXPECT_NE(map.find("Rects=60,80,40,12, 0,0,0,0, 410,90,60,12"), std::string::npos);
  EXPECT_NE(Text("Align.map").find("Coordinates=10,10, 30,9\r\n"), std::string::npos);
  TCity& again = Reload();
  EXPECT_EQ(Route(again, 0).Stops[1]->Backward[0]->Time, 270);
  EXPECT_TRUE(again.CurrentMap->Transfers.empty());

  stack.undo();
  SaveAll();
  ExpectOriginalFiles();
  EXPECT_EQ(Reload().CurrentMap->Transfers.size(), 1u);
}

TEST_F(NetworkEditsTest, ANewLineInANewFileTakesItsTransfersAndGoesAgainOnUndo) {
  Push(NewLine(city, Map(), "Кольцевая", 0x00FF00, "Ring"));
  TMetroMapLine& ring = *Map().Lines[2];
  Push(AddStation(city, Map(), ring, 50, 200, 4));
  TNetworkEdit last = DeleteStation(city, *ring.Stations[0]->Station());
  EXPECT_EQ(last.Refusal, "Станция «Станция 1» - последняя на линии «Кольцевая»: удалите линию целиком.");
  Push(AddStation(city, Map(), ring, 60, 250, 4));
  Push(AddTransfer(city, Net(0, 0), *ring.Stations[0]->Station(), 150));
  SaveAll();
  // The transfer names a route of Ring.trp, which is read after Metro.trp.
  EXPECT_EQ(Text("Ring.trp"),
            "[Options]\r\nType=Ring\r\n\r\n[Line1]\r\nName=Кольцевая\r\nStations=Станция 1,Станция 2\r\n"
            "Driving=2\r\nDelays=0,0\r\n\r\n[Transfers]\r\n2=Красная,Альфа,Кольцевая,Станция 1,2.30\r\n");
  const std::string map = Text("Metro.map");
  EXPECT_NE(map.find("Transports=Metro.trp,Ring.trp\r\n"), std::string::npos);
  EXPECT_NE(map.find("[Кольцевая]\r\nColor=00FF00\r\n"), std::string::npos);
  EXPECT_NE(map.find("Rect=20,300,60,20\r\n"), std::string::npos);  // below the lowest legend
  TCity& again = Reload();
  ASSERT_EQ(again.CurrentMap->Lines.size(), 3u);
  EXPECT_EQ(again.CurrentMap->Transfers.size(), 2u);

  while (stack.canUndo()) stack.undo();
  SaveAll();
  ExpectOriginalFiles();
  EXPECT_FALSE(FileExists((dir.Path() / "Ring.trp").string()));
}

TEST_F(NetworkEditsTest, ALineRenamedOrDeletedChangesEveryReference) {
  Push(RenameLine(city, Route(city, 0), "Зелёная"));
  Push(SetLineColor(city, *Map().Lines[0], 0x00A000));
  SaveAll();
  const std::string map = Text("Metro.map");
  EXPECT_NE(map.find("[Зелёная]\r\nColor=00A000\r\n"), std::string::npos);
  EXPECT_NE(map.find("1=Зелёная,Альфа,Бета, 150,80"), std::string::npos);
  EXPECT_NE(Text("Align.map").find("[Зелёная]\r\nCoordinates=10,10, 20,11, 30,9"), std::string::npos);
  EXPECT_NE(Text("Metro.trp").find("1=Зелёная,Бета,Синяя,Узел,2"), std::string::npos);

  // The sections after a deleted route are numbered anew.
  Push(DeleteLine(city, Route(city, 0)));
  SaveAll();
  const std::string trp = Text("Metro.trp");
  EXPECT_NE(trp.find("[Line1]\r\nName=Синяя\r\n"), std::string::npos);
  EXPECT_EQ(trp.find("[Line2]"), std::string::npos);
  EXPECT_EQ(trp.find("1="), std::string::npos);
  EXPECT_EQ(Text("Align.map").find("Зелёная"), std::string::npos);
  TCity& again = Reload();
  ASSERT_EQ(again.Transports.Items[0]->Routes.size(), 1u);
  EXPECT_EQ(again.CurrentMap->Lines.size(), 1u);

  // Undone after that save, the line is written anew and reads back whole.
  while (stack.canUndo()) stack.undo();
  SaveAll();
  TCity& back = Reload();
  ASSERT_EQ(back.Transports.Items[0]->Routes.size(), 2u);
  EXPECT_EQ(Route(back, 0).StationsToString(), Route(city, 0).StationsToString());
  EXPECT_EQ(back.CurrentMap->Lines[0]->Segments.size(), 1u);
  EXPECT_EQ(back.CurrentMap->Transfers.size(), 1u);
}

}  // namespace
}  // namespace varnik
