// The undo history over the test city: one step per operation of the
// model, what undoing and redoing a step puts back, and when it waits.

#include <QUndoStack>

#include "EditorTestCity.h"
#include "editor/uEditHistory.h"
#include "editor/uEditorCommands.h"
#include "editor/uStationEdit.h"
#include "map/uCitySaver.h"
#include "network/uRoute.h"

namespace varnik {
namespace {

using test::EditorTest;

class EditHistoryTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    editor.Listener = &history;
  }
  void Drag(TMouseButton button, TScreenPoint from, TScreenPoint to) {
    editor.MousePress(button, from.X, from.Y, false);
    for (int i = 1; i <= 4; ++i)
      editor.MouseMove(from.X + (to.X - from.X) * i / 4, from.Y + (to.Y - from.Y) * i / 4);
    editor.MouseRelease(to.X, to.Y);
  }
  // The map and transport files as a save writes them now.
  std::string Saved() {
    test::TScopedCurrentDir here(dir.Path());
    EXPECT_TRUE(SaveCity(&Map(), city.Transports, true));
    return dir.ReadBytes("Metro.map") + dir.ReadBytes("Metro.trp");
  }
  std::vector<std::string> Steps() const {
    std::vector<std::string> texts;
    for (int i = 0; i < stack.count(); ++i) texts.push_back(stack.text(i).toStdString());
    return texts;
  }

  QUndoStack stack;
  int changes = 0;
  TEditHistory history{stack, editor, [this] {
                         ++changes;
                         editor.ModelChanged();
                       }};
};

TEST_F(EditHistoryTest, EachOperationIsOneStepThatUndoAndRedoPutBack) {
  const std::string loaded = Saved();
  Drag(TMouseButton::Left, {100, 100}, {120, 130});  // Альфа
  Drag(TMouseButton::Right, {70, 85}, {90, 95});     // resizes Альфа's label
  Drag(TMouseButton::Left, {300, 220}, {320, 230});  // a pan changes no city file
  SnapToGrid(editor, "7");
  SnapToGrid(editor, "7");  // nothing left to move
  Select({&At(0, 1), &At(0, 2)});
  InsertNode(editor, true);  // a new segment
  Select({&Map().Transfers[0]->Station1->Coordinate, &Map().Transfers[0]->Station2->Coordinate});
  ToggleTransfer(editor);
  TStationFields fields = StationFields(Station(0, 1));
  fields.Name = Utf8ToCp1251("Бета-2");
  fields.ForwardTimes = "4.15\r\n";
  ApplyStationFields(editor, Station(0, 1), fields);
  EXPECT_EQ(Steps(), (std::vector<std::string>{"Перемещение точек", "Размер рамки", "Выровнять по сетке",
                                               "Сплайн", "Поиск перес.", "Свойства станции"}));
  const std::string edited = Saved();

  while (stack.canUndo()) history.Undo();
  EXPECT_EQ(Saved(), loaded);
  EXPECT_EQ(Map().Lines[0]->Segments.size(), 1u);
  EXPECT_TRUE(Map().Transfers[0]->Visible);
  EXPECT_TRUE(editor.Selection.empty());  // it may have named a node now gone
  while (stack.canRedo()) history.Redo();
  EXPECT_EQ(Saved(), edited);
  EXPECT_FALSE(Map().Transfers[0]->Visible);
  EXPECT_EQ(Cp1251ToUtf8(Station(0, 1).Stop->Station->Name), "Бета-2");
  EXPECT_EQ(changes, 12);
}

TEST_F(EditHistoryTest, UndoWaitsForTheEndOfADrag) {
  editor.MousePress(TMouseButton::Left, 100, 100, false);
  editor.MouseMove(110, 110);
  EXPECT_TRUE(history.Busy());
  history.Undo();
  EXPECT_EQ(At(0, 0).X, 110);
  editor.MouseMove(120, 110);
  editor.MouseRelease(120, 110);
  ASSERT_EQ(stack.count(), 1);
  history.Undo();
  EXPECT_EQ(At(0, 0).X, 100);
}

// A command of another kind that makes its change through a panel command.
class TShiftCommand : public QUndoCommand {
 public:
  explicit TShiftCommand(TMapEditor& editor) : editor_(editor) {}
  void redo() override { ShiftMap(editor_, 1, 0); }
  void undo() override { ShiftMap(editor_, -1, 0); }

 private:
  TMapEditor& editor_;
};

TEST_F(EditHistoryTest, APushedCommandIsOneStepWhateverItRuns) {
  ASSERT_TRUE(history.Push(std::make_unique<TShiftCommand>(editor)));
  history.Undo();
  history.Redo();
  EXPECT_EQ(stack.count(), 1);
  EXPECT_EQ(At(0, 0).X, 101);
}

}  // namespace
}  // namespace varnik
