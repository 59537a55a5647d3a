// The rules of the mouse without a window: editable points, the hit test,
// selecting, dragging from the copies made at the press, pointer shapes,
// recorded clicks, and the before and after of every change of the model.

#include "EditorTestCity.h"

namespace varnik {
namespace {

using test::EditorTest;

// Records the operations the editor announces.
class TOperationLog : public TEditListener {
 public:
  std::vector<std::string> Log;
  void OperationStarted(const std::string& caption) override {
    Log.push_back("start " + Cp1251ToUtf8(caption));
  }
  void OperationFinished() override { Log.push_back("finish"); }
};

class MouseRulesTest : public EditorTest {
 protected:
  void Drag(TMouseButton button, TScreenPoint from, TScreenPoint to, int steps = 5) {
    editor.MousePress(button, from.X, from.Y, false);
    for (int i = 1; i <= steps; ++i)
      editor.MouseMove(from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps);
    editor.MouseRelease(to.X, to.Y);
  }
  size_t HitAt(int x, int y) {
    editor.LastPoint = {x, y};
    return editor.HitTest();
  }
};

TEST_F(MouseRulesTest, EditablePointsFollowTheSwitches) {
  std::vector<TCoordinate*> points = editor.EditablePoints();
  ASSERT_EQ(points.size(), 8u);  // seven placed stations, then the one interior node
  EXPECT_EQ(points.front(), &At(0, 0));
  EXPECT_EQ(points.back(), &Node(0, 0, 1));
  editor.Options.Stations = false;
  EXPECT_EQ(editor.EditablePoints(), std::vector<TCoordinate*>{&Node(0, 0, 1)});
  editor.Options.Stations = true;
  editor.Options.Nodes = false;
  At(1, 0) = TCoordinate{};  // not placed: not editable
  EXPECT_EQ(editor.EditablePoints().size(), 6u);
}

TEST_F(MouseRulesTest, HitTestFindsTheLastOfOverlappingPointsWithinTheMarker) {
  // Бета (200, 100) and Узел (203, 103) both lie within 4 pixels of (201, 101).
  ASSERT_EQ(HitAt(201, 101), 1u);
  EXPECT_EQ(editor.Hits.front(), &At(1, 1));
  ASSERT_EQ(HitAt(104, 100), 1u);
  EXPECT_EQ(editor.Hits.front(), &At(0, 0));
  EXPECT_EQ(HitAt(105, 100), 0u);
  // Without markers the pointer must be within round(0 * zoom + 1) = 1 pixel.
  editor.PointSize = 0;
  EXPECT_EQ(HitAt(101, 100), 1u);
  EXPECT_EQ(HitAt(101, 101), 0u);
  // The radius grows with the zoom: round(3 * 2 + 1) = 7.
  editor.PointSize = 3;
  editor.View.Zoom(2);
  EXPECT_EQ(editor.MarkerRadius(), 7);
  EXPECT_EQ(HitAt(207, 200), 1u);
}

TEST_F(MouseRulesTest, ShiftExtendsTheSelectionAndAPlainPressStartsAnew) {
  editor.MousePress(TMouseButton::Left, 100, 100, false);
  editor.MousePress(TMouseButton::Left, 200, 100, true);
  editor.MousePress(TMouseButton::Left, 100, 100, true);  // already selected: kept once
  EXPECT_EQ(editor.Selection, (std::vector<TCoordinate*>{&At(0, 0), &At(0, 1)}));
  ASSERT_EQ(editor.PressCopies.size(), 2u);
  EXPECT_EQ(editor.PressCopies[1]->X, 200);
  editor.MousePress(TMouseButton::Left, 70, 85, false);  // inside Альфа's label
  EXPECT_TRUE(editor.Selection.empty());
  EXPECT_EQ(editor.SelectedRect, &Station(0, 0).LabelRect);
  editor.MousePress(TMouseButton::Left, 300, 220, false);
  EXPECT_EQ(editor.SelectedRect, nullptr);
}

TEST_F(MouseRulesTest, DragComputesFromThePressCopiesSoRoundingNeverAccumulates) {
  // At zoom 3 every pixel of travel is a third of a map pixel: stepping from
  // the point's current position would round each step back to where it was.
  editor.View.Zoom(3);
  Drag(TMouseButton::Left, {300, 300}, {310, 300}, 10);
  EXPECT_EQ(At(0, 0).X, 103);
  EXPECT_EQ(At(0, 0).Y, 100);
  // The segment's end follows the station.
  EXPECT_EQ(Node(0, 0, 0).X, 103);
}

TEST_F(MouseRulesTest, SmallMovesAreStillAClick) {
  editor.MousePress(TMouseButton::Left, 100, 100, false);
  editor.MouseMove(102, 101);
  EXPECT_FALSE(editor.DragStarted);
  EXPECT_EQ(At(0, 0).X, 100);
  editor.MouseMove(102, 102);
  EXPECT_TRUE(editor.DragStarted);
  EXPECT_EQ(At(0, 0).X, 102);
}

TEST_F(MouseRulesTest, EveryChangeOfTheModelIsOneOperation) {
  TOperationLog log;
  editor.Listener = &log;
  Drag(TMouseButton::Left, {100, 100}, {120, 130});   // a station
  Drag(TMouseButton::Left, {30, 260}, {40, 265});     // a legend
  Drag(TMouseButton::Left, {300, 220}, {320, 230});   // a pan: the model is untouched
  Drag(TMouseButton::Right, {300, 220}, {300, 250});  // a zoom: the same
  editor.Change(Utf8ToCp1251("Команда"), [] {});
  EXPECT_EQ(log.Log, (std::vector<std::string>{"start Перемещение точек", "finish", "start Перемещение рамки",
                                               "finish", "start Команда", "finish"}));
}

TEST_F(MouseRulesTest, CtrlDragFromEmptySpaceSelectsTheBoxAndTheSelectionMovesTogether) {
  auto box = [&](TScreenPoint from, TScreenPoint to, bool shift) {
    editor.MousePress(TMouseButton::Left, from.X, from.Y, shift, true);
    editor.MouseMove(to.X, to.Y);
    ASSERT_TRUE(editor.SelectionBox().has_value());
    editor.MouseRelease(to.X, to.Y);
  };
  box({210, 108}, {95, 95}, false);  // Альфа, Бета and Узел (203, 103)
  EXPECT_EQ(editor.Selection, (std::vector<TCoordinate*>{&At(0, 0), &At(0, 1), &At(1, 1)}));
  box({140, 70}, {160, 80}, true);  // Shift adds the node (150, 80)
  EXPECT_EQ(editor.Selection.size(), 4u);
  EXPECT_EQ(editor.View.ShiftX, 0);  // no pan
  EXPECT_FALSE(editor.SelectionBox().has_value());
  editor.MousePress(TMouseButton::Left, 200, 100, true);
  editor.MouseMove(210, 95);
  editor.MouseRelease(210, 95);
  EXPECT_EQ(At(0, 0).X, 110);
  EXPECT_EQ(At(1, 1).Y, 98);
  EXPECT_EQ(Node(0, 0, 1).X, 160);
}

TEST_F(MouseRulesTest, WheelZoomsAboutThePointerAndTheMiddleButtonPans) {
  editor.WheelZoom(100, 100, 120);
  EXPECT_EQ(editor.View.ScaleX, kWheelZoom);
  TScalePoint held = editor.View.ToScreen(100, 100);
  EXPECT_NEAR(held.X, 100, 1e-9);
  EXPECT_NEAR(held.Y, 100, 1e-9);
  const TScalePoint under = editor.ToMap(300, 200);
  for (int i = 0; i < 30; ++i) editor.WheelZoom(300, 200, 120);
  EXPECT_EQ(editor.View.ScaleX, 20);  // the view's limit
  held = editor.View.ToScreen(under.X, under.Y);
  EXPECT_NEAR(held.X, 300, 1e-6);
  EXPECT_NEAR(held.Y, 200, 1e-6);
  const long double shiftX = editor.View.ShiftX;
  editor.MousePress(TMouseButton::Middle, 300, 220, false);
  editor.MouseMove(320, 230);
  editor.MouseRelease(320, 230);
  EXPECT_EQ(editor.View.ShiftX, shiftX + 20);
  EXPECT_EQ(At(0, 0).X, 100);
}

TEST_F(MouseRulesTest, PointerIsAHandOverWhatCanBePicked) {
  auto pointerAt = [&](int x, int y) { return editor.MouseMove(x, y).Pointer; };
  EXPECT_EQ(pointerAt(100, 100), TPointerShape::Hand);  // a station
  EXPECT_EQ(pointerAt(70, 85), TPointerShape::Hand);    // a label
  EXPECT_EQ(pointerAt(30, 260), TPointerShape::Hand);   // a legend
  EXPECT_EQ(pointerAt(300, 220), TPointerShape::Arrow);
  editor.Options.LabelBounds = false;
  EXPECT_EQ(pointerAt(70, 85), TPointerShape::Arrow);
}

TEST_F(MouseRulesTest, ARecordedClickIsRoundedToTheEvenNeighbour) {
  editor.Options.RecordCoordinates = true;
  editor.View.Zoom(2);  // the screen point (201, 401) is the map point (100.5, 200.5)
  editor.MousePress(TMouseButton::Left, 201, 401, false);
  editor.MouseRelease(201, 401);
  EXPECT_EQ(MemoUtf8(), "100,200, \r\n110,195,70,10, \r\n2,\r\n");
}

TEST_F(MouseRulesTest, DoubleClickFindsAStationByItsCircleOrItsLabel) {
  EXPECT_EQ(editor.StationForProperties(104, 96), &Station(0, 0));
  EXPECT_EQ(editor.StationForProperties(200, 120), &Station(0, 1));  // Бета's label
  EXPECT_EQ(editor.StationForProperties(300, 220), nullptr);
  editor.Options.Stations = false;
  EXPECT_EQ(editor.StationForProperties(104, 96), nullptr);
}

}  // namespace
}  // namespace varnik
