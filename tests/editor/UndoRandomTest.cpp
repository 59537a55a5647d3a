// A long seeded series of random edits of the demo city (drags of points,
// labels and legends, the panel's commands, the station dialog, network
// edits, undos and redos among them), then every step undone: the saved
// files are the files loaded, byte for byte.

#include <gtest/gtest.h>

#include <QUndoStack>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "TestFiles.h"
#include "city/uCity.h"
#include "city/uCityStore.h"
#include "editor/uEditHistory.h"
#include "editor/uEditorCommands.h"
#include "editor/uNetworkEdits.h"
#include "editor/uMemo.h"
#include "editor/uStationEdit.h"
#include "map/uCitySaver.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "network/uRoute.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

class UndoRandomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadSettings("no such settings file");
    std::filesystem::copy(std::filesystem::path(VARNIK_EXAMPLES) / "Zarechensk", dir.Path(),
                          std::filesystem::copy_options::recursive);
    test::TScopedCurrentDir here(dir.Path());
    city.LoadFromDir();
    ASSERT_NE(city.CurrentMap, nullptr);
    editor.Listener = &history;
    store = std::make_unique<TCityStore>(city);
  }

  int Random(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random); }
  template <typename T>
  T Pick(const std::vector<T>& items) {
    return items[Random(0, static_cast<int>(items.size()) - 1)];
  }
  TScreenPoint Screen(long double x, long double y) const {
    const TScalePoint p = editor.View.ToScreen(x, y);
    return {RoundToInt(p.X), RoundToInt(p.Y)};
  }
  // A press at `from`, three steps to a random point at least 5 pixels
  // away, the release there.
  void Drag(TMouseButton button, TScreenPoint from, bool shift = false) {
    const int dx = Random(5, 40) * (Random(0, 1) ? 1 : -1), dy = Random(-40, 40);
    editor.MousePress(button, from.X, from.Y, shift);
    for (int i = 1; i <= 3; ++i) editor.MouseMove(from.X + dx * i / 3, from.Y + dy * i / 3);
    editor.MouseRelease(from.X + dx, from.Y + dy);
  }
  TScreenPoint Centre(const TRect& r) const { return Screen((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }
  std::vector<TMetroMapStation*> Stations() const {
    std::vector<TMetroMapStation*> stations;
    for (const auto& line : city.CurrentMap->Lines)
      for (const auto& station : line->Stations) stations.push_back(station.get());
    return stations;
  }
  void SelectRandomPoints(int count) {
    const std::vector<TCoordinate*> points = editor.EditablePoints();
    editor.ClearSelection();
    for (int i = 0; i < count; ++i) editor.Selection.push_back(Pick(points));
  }
  // The station dialog with a new name, new times and, now and then, a
  // neighbour less.
  void EditStation() {
    TMetroMapStation& station = *Pick(Stations());
    TStationFields fields = StationFields(station);
    fields.Name += Random(0, 1) ? "*" : "";
    fields.ForwardTimes = std::to_string(Random(1, 5)) + "." + std::to_string(Random(10, 59)) + "\r\n";
    if (Random(0, 3) == 0) fields.BackwardNames.clear();
    ApplyStationFields(editor, station, fields);
  }

  void Push(TNetworkEdit edit) {
    if (edit.Command) history.Push(std::move(edit.Command));
    editor.ClearSelection();
  }
  // Network edits whose undo gives the files back even after a save in
  // between: renames, colours, transfers, stations added at a line's end.
  void EditNetwork() {
    TMetroMap& map = *city.CurrentMap;
    TMetroMapLine& line = *map.Lines[Random(0, static_cast<int>(map.Lines.size()) - 1)];
    TStation& station = *Pick(Stations())->Station();
    switch (Random(0, 4)) {
      case 0:
        Push(RenameStation(city, station, Cp1251ToUtf8(station.Name) + "-" + std::to_string(Random(1, 9))));
        break;
      case 1:
        Push(RenameLine(city, *line.Route, Cp1251ToUtf8(line.Route->Name) + " " + std::to_string(Random(1, 9))));
        break;
      case 2:
        Push(SetLineColor(city, line, Random(0, 0xFFFFFF)));
        break;
      case 3:
        Push(AddTransfer(city, station, *Pick(Stations())->Station(), Random(30, 300)));
        break;
      default:
        Push(AddStation(city, map, line, Random(1, 1500), Random(1, 1000), 0));
    }
  }

  void RandomOperation() {
    TMetroMap& map = *city.CurrentMap;
    switch (Random(0, 15)) {
      case 0: {
        const TCoordinate* point = Pick(editor.EditablePoints());
        Drag(TMouseButton::Left, Screen(point->X, point->Y));
        break;
      }
      case 1: {  // a multiple selection moved by one of its points
        SelectRandomPoints(3);
        const TCoordinate* point = editor.Selection.back();
        Drag(TMouseButton::Left, Screen(point->X, point->Y), true);
        break;
      }
      case 2:
      case 3:
        Drag(Random(0, 1) ? TMouseButton::Left : TMouseButton::Right, Centre(Pick(Stations())->LabelRect));
        break;
      case 4:
        Drag(Random(0, 1) ? TMouseButton::Left : TMouseButton::Right,
             Centre(map.Lines[Random(0, static_cast<int>(map.Lines.size()) - 1)]->LegendRect));
        break;
      case 5:
        ShiftMap(editor, Random(-100, 100), Random(-100, 100));
        break;
      case 6:
        ScaleMap(editor, Pick(std::vector<std::string>{"0.5", "2", "1,25", "0.8"}));
        break;
      case 7:
        SnapToGrid(editor, std::to_string(Random(1, 25)));
        break;
      case 8:
        FitLabels(editor, bitmap.Canvas());
        break;
      case 9:
        SelectRandomPoints(Random(2, 3));
        AlignPoints(editor);
        break;
      case 10: {
        const TMetroMapLine& line = *map.Lines[Random(0, static_cast<int>(map.Lines.size()) - 1)];
        const int i = Random(0, static_cast<int>(line.Stations.size()) - 2);
        editor.ClearSelection();
        editor.Selection = {&line.Stations[i]->Coordinate, &line.Stations[i + 1]->Coordinate};
        InsertNode(editor, Random(0, 1));
        break;
      }
      case 11:
        if (!map.Transfers.empty()) {
          const TMetroMapTransfer& t = *map.Transfers[Random(0, static_cast<int>(map.Transfers.size()) - 1)];
          editor.ClearSelection();
          editor.Selection = {&t.Station1->Coordinate, &t.Station2->Coordinate};
          ToggleTransfer(editor);
        }
        break;
      case 12:
        EditStation();
        break;
      case 13:
      case 14:
        EditNetwork();
        break;
      default:
        for (int n = Random(1, 4); n > 0; --n) Random(0, 2) ? history.Undo() : history.Redo();
    }
  }

  std::mt19937 random{20240612};
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  test::TTempDir dir;
  TCity city;
  TMemoText memo;
  TMapEditor editor{city, memo};
  QUndoStack stack;
  TEditHistory history{stack, editor, [this] { editor.ModelChanged(); }};
  TBitmap bitmap{10, 10};
  std::unique_ptr<TCityStore> store;
};

std::string Bytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(UndoRandomTest, UndoingEveryStepGivesTheLoadedFilesBack) {
  for (int i = 0; i < 300; ++i) RandomOperation();
  ASSERT_GE(stack.count(), 100);
  test::TScopedCurrentDir here(dir.Path());
  ASSERT_TRUE(store->Save(true));
  const std::filesystem::path demo = std::filesystem::path(VARNIK_EXAMPLES) / "Zarechensk";
  EXPECT_NE(dir.ReadBytes("Metro.map"), Bytes(demo / "Metro.map"));

  while (stack.canUndo()) history.Undo();
  ASSERT_TRUE(store->Save(true));
  for (const auto& file : std::filesystem::directory_iterator(demo)) {
    const std::string name = file.path().filename().string();
    EXPECT_EQ(dir.ReadBytes(name), Bytes(file.path())) << name;
  }
}

}  // namespace
}  // namespace varnik
