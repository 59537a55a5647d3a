// The panel's commands on the test city: the rules of aligning, snapping,
// scaling, shifting, fitting labels and inserting nodes, and what they
// refuse.

#include "EditorTestCity.h"
#include "editor/uEditorCommands.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"

namespace varnik {
namespace {

using test::EditorTest;

class CommandsTest : public EditorTest {};

TEST_F(CommandsTest, AlignPointsTakesTheFirstRuleThatHolds) {
  struct TPoint3 {
    int32_t X, Y;
  };
  struct {
    const char* name;
    TPoint3 before[3];
    TPoint3 after[3];
  } cases[] = {
      // dx 10, dy 1, dd 11, ds 10: the horizontal.
      {"horizontal", {{10, 10}, {20, 11}, {30, 9}}, {{10, 10}, {20, 10}, {30, 10}}},
      {"vertical", {{10, 10}, {11, 20}, {9, 30}}, {{10, 10}, {10, 20}, {10, 30}}},
      // dd 1: round(md) = 0, the third point gets u = 1, h = 0.
      {"diagonal", {{100, 100}, {110, 110}, {121, 120}}, {{100, 100}, {110, 110}, {121, 121}}},
      // ds 1: round(ms) = 200; the third point gets u = 1, h = 0.
      {"other diagonal", {{100, 100}, {110, 90}, {121, 80}}, {{100, 100}, {110, 90}, {121, 79}}},
      // round(md) = 1; u = -1 gives h = 0 (truncated, not floored), u = 4 gives 2.
      {"diagonal halves", {{100, 103}, {110, 110}, {125, 120}}, {{102, 101}, {110, 109}, {123, 122}}},
  };
  for (const auto& c : cases) {
    for (int i = 0; i < 3; ++i) At(0, i) = TCoordinate{c.before[i].X, c.before[i].Y};
    Select({&At(0, 0), &At(0, 1), &At(0, 2)});
    AlignPoints(editor);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(At(0, i).X, c.after[i].X) << c.name << " " << i;
      EXPECT_EQ(At(0, i).Y, c.after[i].Y) << c.name << " " << i;
    }
  }
  EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(CommandsTest, SnapToGridOnlyWithAPositiveWholeStep) {
  struct {
    const char* step;
    int32_t x, y;
  } cases[] = {{"5", 10, 15}, {" 5 ", 10, 15}, {"0", 12, 13}, {"-5", 12, 13},
               {"x", 12, 13}, {"5x", 12, 13},  {"", 12, 13}};
  for (const auto& c : cases) {
    At(0, 0) = TCoordinate{12, 13};
    SnapToGrid(editor, c.step);
    EXPECT_EQ(At(0, 0).X, c.x) << c.step;
    EXPECT_EQ(At(0, 0).Y, c.y) << c.step;
  }
  // Only editable points move: with stations hidden, the node alone.
  At(0, 1) = TCoordinate{201, 99};
  editor.Options.Stations = false;
  SnapToGrid(editor, "20");
  EXPECT_EQ(At(0, 1).X, 201);
  EXPECT_EQ(Node(0, 0, 1).X, 160);  // 150 / 20 = 7.5 goes to the even 8
  EXPECT_EQ(Node(0, 0, 1).Y, 80);
}

TEST_F(CommandsTest, FactorIsADecimalNumberAndNothingElse) {
  struct {
    const char* text;
    std::optional<long double> factor;
  } cases[] = {{"0.5", 0.5L},      {"0,5", 0.5L},         {" 2 ", 2.0L},          {"-1.5", -1.5L},
               {"", std::nullopt}, {"abc", std::nullopt}, {"1.5x", std::nullopt}, {"1e3", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ReadFactor(c.text), c.factor) << c.text;
}

TEST_F(CommandsTest, ScaleLeavesTheMapAloneForATextThatIsNoNumber) {
  ScaleMap(editor, "abc");
  EXPECT_EQ(At(0, 0).X, 100);
  ScaleMap(editor, "0");
  EXPECT_EQ(At(0, 0).X, 0);
  EXPECT_EQ(Station(0, 0).LabelRect, TRect{});
}

TEST_F(CommandsTest, ShiftMovesOnlyWhatIsPlaced) {
  At(0, 3) = TCoordinate{};
  ShiftMap(editor, 5, -7);
  EXPECT_EQ(At(0, 3).X, 0);
  EXPECT_EQ(At(0, 0).X, 105);
  EXPECT_EQ(At(0, 0).Y, 93);
  EXPECT_EQ(Station(0, 2).LabelRect, TRect{});
  EXPECT_EQ(Station(0, 0).LabelRect, (TRect{65, 73, 105, 85}));
  EXPECT_EQ(Node(0, 0, 1).X, 155);
  EXPECT_EQ(Node(0, 0, 2).Y, 93);  // the end follows Бета
  EXPECT_EQ(ShiftStep(false, false), 1);
  EXPECT_EQ(ShiftStep(true, false), 10);
  EXPECT_EQ(ShiftStep(false, true), 10);
  EXPECT_EQ(ShiftStep(true, true), 100);
}

TEST_F(CommandsTest, NewSegmentsAreNumberedAfterTheLargestNumber) {
  Map().Lines[0]->Segments[0]->Name = "a";
  Select({&At(0, 1), &At(0, 2)});
  InsertNode(editor, false);
  Select({&At(0, 2), &At(0, 3)});
  InsertNode(editor, true);
  Select({&At(1, 0), &At(1, 1)});
  InsertNode(editor, false);
  std::vector<std::string> names;
  for (const auto& line : Map().Lines)
    for (const auto& segment : line->Segments) names.push_back(segment->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "1", "2", "3"}));
  EXPECT_TRUE(Map().Lines[0]->Segments[2]->Spline);
}

TEST_F(CommandsTest, InsertedNodeIsTheTruncatedMidpointBeforeTheLastNode) {
  At(0, 1) = TCoordinate{201, 103};
  At(0, 2) = TCoordinate{300, 100};
  Select({&At(0, 2), &At(0, 1)});  // the segment runs from the first selected
  InsertNode(editor, false);
  const TMetroMapSegment& segment = *Map().Lines[0]->Segments[1];
  EXPECT_EQ(segment.FromStation, &Station(0, 2));
  ASSERT_EQ(segment.Nodes.size(), 3u);
  EXPECT_EQ(segment.Nodes[1]->Coordinate.X, 250);
  EXPECT_EQ(segment.Nodes[1]->Coordinate.Y, 101);
  EXPECT_EQ(segment.Nodes[2]->Coordinate.X, 201);
}

// Points and labels near the limits of a 32-bit number, as a damaged file
// leaves them: the commands keep to defined arithmetic (the sanitizer build
// checks that part) and give what plain numbers would.
TEST_F(CommandsTest, PointsNearTheLimitsOfANumber) {
  constexpr int32_t kMax = INT32_MAX;
  // Midpoint of two far points: halfway, not a wrapped sum.
  At(0, 1) = TCoordinate{kMax, kMax - 2};
  At(0, 2) = TCoordinate{kMax - 4, kMax};
  Select({&At(0, 1), &At(0, 2)});
  InsertNode(editor, false);
  EXPECT_EQ(Map().Lines[0]->Segments[1]->Nodes[1]->Coordinate.X, kMax - 2);
  EXPECT_EQ(Map().Lines[0]->Segments[1]->Nodes[1]->Coordinate.Y, kMax - 1);

  // Onto the diagonal X - Y = 7 (the rounded mean): the first point would
  // move 3 past the largest number and stays at it instead of wrapping.
  At(0, 0) = TCoordinate{kMax, kMax};
  At(0, 1) = TCoordinate{kMax - 20, kMax - 30};
  At(0, 2) = TCoordinate{kMax - 40, kMax - 52};
  Select({&At(0, 0), &At(0, 1), &At(0, 2)});
  AlignPoints(editor);
  EXPECT_EQ(At(0, 0).X, kMax);
  EXPECT_EQ(At(0, 0).Y, kMax - 4);
  EXPECT_EQ(At(0, 1).X, kMax - 21);

  // A label whose right edge has wrapped keeps its width when shifted.
  Station(0, 0).LabelRect = TRect{kMax - 10, 5, WrapAdd(kMax - 10, 40), 19};
  ShiftMap(editor, 100, 0);
  EXPECT_EQ(RectWidth(Station(0, 0).LabelRect), 40);
  EXPECT_EQ(Station(0, 0).LabelRect.Left, WrapAdd(kMax, 90));
}

TEST_F(CommandsTest, FitLabelsToTheTextInTheLabelFont) {
  TBitmap bitmap(10, 10);
  TCanvas& canvas = bitmap.Canvas();
  Station(1, 0).LabelRect = TRect{25, 10, 35, 80};  // vertical
  const TImage* layer = Map().Layers.back()->Image;
  FitLabels(editor, canvas);
  EXPECT_EQ(canvas.Font.Name, "Arial");
  EXPECT_EQ(canvas.Font.Height, -12);
  // The texts in the label font (12-pixel Arial): every line is 14 high.
  const struct {
    const char* Text;
    int32_t Width;
  } extents[] = {{"АЛЬФА", 44}, {"ДЕЛЬТА", 48}, {"ПЛОЩАДЬ,", 68}, {"СЕВЕР", 41}, {"e", 7}};
  for (const auto& e : extents) {
    const TSize extent = canvas.TextExtent(Utf8ToCp1251(e.Text));
    ASSERT_EQ(extent.cx, e.Width) << e.Text;
    ASSERT_EQ(extent.cy, 14) << e.Text;
  }
  // 44 + 2 wide and 14 high.
  EXPECT_EQ(Station(0, 0).LabelRect, (TRect{60, 80, 106, 94}));
  // Turned: 14 wide and 48 + 2 high.
  EXPECT_EQ(Station(1, 0).LabelRect, (TRect{25, 10, 39, 60}));
  // A name with a blank goes on two lines, 14 + 14 - 2 = 26 high; the wider
  // of its halves (68 + 2 against 41) and the height give max(70, 41, 26) + 2.
  EXPECT_EQ(Station(0, 3).LabelRect, (TRect{410, 90, 482, 116}));
  EXPECT_EQ(Station(0, 2).LabelRect, TRect{});  // no label: left alone
  // The drawing waits for the next edit.
  EXPECT_EQ(Map().Layers.back()->Image, layer);
}

TEST_F(CommandsTest, TransferCommandsNeedStations) {
  Select({&At(0, 3), &At(1, 2)});
  WriteTransferLine(editor);
  // Names with a comma are quoted so that the line reads back as written.
  EXPECT_EQ(MemoUtf8(), "=Красная,\"Площадь, север\",Синяя,Эпсилон,2\r\n");
  Select({&At(0, 1), &Node(0, 0, 1)});
  ToggleTransfer(editor);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Нужно выделить две станции!"});
  EXPECT_TRUE(Map().Transfers[0]->Visible);
}

}  // namespace
}  // namespace varnik
