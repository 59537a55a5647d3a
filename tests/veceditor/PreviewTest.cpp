// The preview without its window: picking and dragging points, panning,
// zooming and turning the view, the Ctrl gestures, and the pixels of a
// composed paint.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uMessages.h"
#include "veceditor/uPreview.h"

namespace varnik {
namespace {

class TRecordingHost : public TPreviewHost {
 public:
  TPreview* Preview = nullptr;
  std::vector<std::string> Inserted;
  int Moves = 0;
  int Repaints = 0;
  int Settles = 0;

  // The window reparses the text after an insertion, which forgets the points.
  void InsertAtCaret(const std::string& text) override {
    Inserted.push_back(text);
    Preview->DocumentReloaded();
  }
  void PointsMoved() override { ++Moves; }
  void Repaint() override { ++Repaints; }
  void RestartSettleTimer() override { ++Settles; }
};

TPointerEvent At(int x, int y, TPointerButton button = TPointerButton::Left) {
  TPointerEvent event;
  event.X = x;
  event.Y = y;
  event.Button = button;
  return event;
}

TPointerEvent WithShift(TPointerEvent event) {
  event.Shift = true;
  return event;
}

TPointerEvent WithCtrl(TPointerEvent event) {
  event.Ctrl = true;
  return event;
}

class PreviewTest : public ::testing::Test {
 protected:
  // A 200 x 100 image in a 200 x 100 preview: image and screen coordinates
  // coincide until the view is moved.
  void Load(const std::string& lines) {
    document.LoadFromText("Size 200x100\r\n" + lines);
    preview.DocumentReloaded();
    preview.SetUpView(200, 100);
  }
  TFPoint& PointOf(size_t command, size_t index) { return document.Commands[command]->Points[index]; }
  std::string Line(size_t command) const { return document.Commands[command]->SaveToString(); }
  void Drag(int x0, int y0, int x1, int y1, TPointerButton button = TPointerButton::Left) {
    preview.Press(At(x0, y0, button));
    preview.Move(At(x1, y1, button));
    preview.Release();
  }
  TScalePoint ImageUnder(long double x, long double y) const { return preview.View.ToDrawing(x, y); }

  TVectorImage document;
  TRecordingHost host;
  TPreview preview{document, host};
  TRecordingSink messages;
  TScopedMessageSink scopedMessages{messages};

  void SetUp() override { host.Preview = &preview; }
};

TEST_F(PreviewTest, ViewStartsCentredPlainWithZoomLimitTwenty) {
  document.LoadFromText("Size 300x50\r\n");
  preview.SetUpView(640, 480);
  EXPECT_FALSE(preview.View.Geographic);
  EXPECT_EQ(preview.View.MaxScale, 20);
  const TScalePoint middle = preview.View.ToScreen(150, 25);
  EXPECT_EQ(middle.X, 320);
  EXPECT_EQ(middle.Y, 240);
}

TEST_F(PreviewTest, OverlappingPointsPickTheLastUnlessSync) {
  Load("Line 10,10, 11,10, 30,30\r\n");
  preview.Press(At(10, 10));
  ASSERT_EQ(preview.Selection.size(), 1u);
  EXPECT_EQ(preview.Selection[0], &PointOf(1, 1));

  preview.Sync = true;
  preview.Press(At(10, 10));
  EXPECT_EQ(preview.Selection, (std::vector<TFPoint*>{&PointOf(1, 0), &PointOf(1, 1)}));
  preview.Move(At(15, 16));
  EXPECT_EQ(Line(1), "Line 15,16, 16,16, 30,30");
  EXPECT_EQ(host.Moves, 1);
}

TEST_F(PreviewTest, PickingRadiusGrowsWithMarkerAndZoom) {
  Load("Line 50,50\r\n");
  // Size 1 at zoom 1: radius 2, measured as a circle.
  EXPECT_EQ(preview.MarkerRadius(), 2);
  preview.FindPointsAt(52, 50);
  EXPECT_EQ(preview.Hits.size(), 1u);
  preview.FindPointsAt(52, 52);
  EXPECT_TRUE(preview.Hits.empty());
  preview.CycleMarkerSize(false);
  preview.View.Zoom(2);
  // round(3 * 2 + 1)
  EXPECT_EQ(preview.MarkerRadius(), 7);
}

TEST_F(PreviewTest, MarkerSizeCycles) {
  Load("");
  std::vector<int> sizes;
  for (int i = 0; i < 5; ++i) {
    preview.CycleMarkerSize(false);
    sizes.push_back(preview.MarkerSize);
  }
  EXPECT_EQ(sizes, (std::vector<int>{3, 9, 0, 1, 3}));
  preview.CycleMarkerSize(true);
  EXPECT_EQ(preview.MarkerSize, 0);
  EXPECT_EQ(host.Repaints, 6);
}

TEST_F(PreviewTest, DragComputesFromThePressCopiesWithoutAccumulatingRounding) {
  Load("Line 10,10\r\n");
  preview.View.Zoom(3);  // about the image middle (100, 50)
  const TScalePoint screen = preview.View.ToScreen(10, 10);
  const int x = static_cast<int>(screen.X), y = static_cast<int>(screen.Y);
  preview.Press(At(x, y));
  ASSERT_EQ(preview.Selection.size(), 1u);
  const int steps[] = {3, 4, 5, 6};
  const char* expected[] = {"Line 11,10", "Line 11,10", "Line 12,10", "Line 12,10"};
  for (int i = 0; i < 4; ++i) {
    preview.Move(At(x + steps[i], y));
    EXPECT_EQ(Line(1), expected[i]) << steps[i];
  }
  // A new press starts from where the point is now.
  preview.Release();
  preview.Press(At(x + 6, y));
  EXPECT_EQ(preview.PressCopies[0].X, 12);
}

TEST_F(PreviewTest, ShortMovesDoNothing) {
  Load("Line 50,50\r\n");
  preview.Press(At(50, 50));
  preview.Move(At(51, 51));
  preview.Move(At(48, 50));
  EXPECT_EQ(Line(1), "Line 50,50");
  EXPECT_FALSE(preview.DragStarted);
  EXPECT_EQ(host.Moves, 0);
  EXPECT_EQ(host.Settles, 0);
  preview.Move(At(53, 50));
  EXPECT_EQ(Line(1), "Line 53,50");
}

TEST_F(PreviewTest, PressOnEmptyGroundEmptiesTheSelectionAndTheDragPans) {
  Load("Line 50,50\r\n");
  preview.Press(At(50, 50));
  ASSERT_EQ(preview.Selection.size(), 1u);
  preview.Release();
  preview.Press(At(120, 80));
  EXPECT_TRUE(preview.Selection.empty());
  EXPECT_TRUE(preview.PressCopies.empty());
  preview.Move(At(130, 75));
  preview.Move(At(140, 75));
  EXPECT_EQ(preview.View.ShiftX, 100 + 20);
  EXPECT_EQ(preview.View.ShiftY, 50 - 5);
  EXPECT_EQ(Line(1), "Line 50,50");
  EXPECT_EQ(host.Settles, 2);
}

TEST_F(PreviewTest, ShiftAddsPointsAndRectanglesOnce) {
  Load("Line 10,10, 20,20, 30,30, 90,90\r\n");
  preview.Press(At(10, 10));
  preview.Press(WithShift(At(90, 90)));
  EXPECT_EQ(preview.Selection, (std::vector<TFPoint*>{&PointOf(1, 0), &PointOf(1, 3)}));
  preview.Release();
  // A rectangle from (10, 10) takes points beyond its smaller corner and up
  // to its larger one; every movement finds them again, but each is taken once.
  preview.Press(WithShift(At(10, 10)));
  preview.Move(WithShift(At(25, 25)));
  preview.Move(WithShift(At(30, 30)));
  EXPECT_EQ(preview.Selection,
            (std::vector<TFPoint*>{&PointOf(1, 0), &PointOf(1, 3), &PointOf(1, 1), &PointOf(1, 2)}));
  EXPECT_EQ(preview.PressCopies.size(), 4u);
  EXPECT_EQ(Line(1), "Line 10,10, 20,20, 30,30, 90,90");
}

TEST_F(PreviewTest, PointsAfterAnAngleLineFollowThePointer) {
  Load("Angle 90\r\nLine 150,50\r\n");
  TScalePoint before{};
  document.ForEachPoint(preview.View, [&](TFPoint& p, TScale& s) { before = s.ToScreen(p.X, p.Y); });
  const int x = static_cast<int>(std::lround(static_cast<double>(before.X)));
  const int y = static_cast<int>(std::lround(static_cast<double>(before.Y)));
  preview.Press(At(x, y));
  ASSERT_EQ(preview.Selection.size(), 1u);
  preview.Move(At(x + 10, y));
  TScalePoint after{};
  document.ForEachPoint(preview.View, [&](TFPoint& p, TScale& s) { after = s.ToScreen(p.X, p.Y); });
  EXPECT_NEAR(static_cast<double>(after.X), x + 10, 1e-9);
  EXPECT_NEAR(static_cast<double>(after.Y), y, 1e-9);
}

TEST_F(PreviewTest, CtrlLeftInsertsTheImageCoordinatesThenPicks) {
  Load("Line 40,30\r\n");
  preview.View.Zoom(2);  // screen (x, y) is image (50 + x / 2, 25 + y / 2)
  const TScalePoint at = preview.View.ToScreen(40, 30);
  preview.Press(WithCtrl(At(static_cast<int>(at.X), static_cast<int>(at.Y))));
  EXPECT_EQ(host.Inserted, std::vector<std::string>{"40,30, "});
  // The reload emptied the selection before the press picked again.
  EXPECT_EQ(preview.Selection, std::vector<TFPoint*>{&PointOf(1, 0)});
  preview.Press(At(11, 3));
  preview.Press(WithShift(WithCtrl(At(11, 3))));
  TPointerEvent twoButtons = WithCtrl(At(11, 3));
  twoButtons.OtherButtons = true;
  preview.Press(twoButtons);
  TPointerEvent withAlt = WithCtrl(At(11, 3));
  withAlt.Alt = true;
  preview.Press(withAlt);
  EXPECT_EQ(host.Inserted.size(), 1u);
  // 55.5 and 26.5 round to the even neighbours.
  preview.Press(WithCtrl(At(11, 3)));
  EXPECT_EQ(host.Inserted.back(), "56,26, ");
}

TEST_F(PreviewTest, CtrlRightShowsTheCoordinatesAndForgetsThePress) {
  Load("Line 40,30\r\n");
  preview.Press(WithCtrl(At(40, 31, TPointerButton::Right)));
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{"40 31"});
  EXPECT_EQ(preview.PressedButton, TPointerButton::None);
  preview.Move(At(40, 131, TPointerButton::Right));
  EXPECT_EQ(preview.View.ScaleX, 1);
  EXPECT_TRUE(host.Inserted.empty());
}

TEST_F(PreviewTest, CapsLockTurnsTheCtrlGesturesIntoPlainPresses) {
  Load("Line 40,30\r\n");
  TPointerEvent left = WithCtrl(At(40, 30));
  left.CapsLock = true;
  preview.Press(left);
  EXPECT_TRUE(host.Inserted.empty());
  EXPECT_EQ(preview.Selection, std::vector<TFPoint*>{&PointOf(1, 0)});
  TPointerEvent right = WithCtrl(At(40, 30, TPointerButton::Right));
  right.CapsLock = true;
  preview.Press(right);
  EXPECT_TRUE(messages.Entries.empty());
  EXPECT_EQ(preview.PressedButton, TPointerButton::Right);
}

TEST_F(PreviewTest, RightDragTurnsInStepsOfFiveDegrees) {
  Load("");
  const long double degree = std::numbers::pi_v<long double> / 180;
  const TScalePoint fixed = ImageUnder(100, 50);
  preview.Press(At(100, 50, TPointerButton::Right));
  preview.Move(At(41, 50, TPointerButton::Right));
  EXPECT_EQ(preview.View.Angle, 0);
  preview.Move(At(40, 50, TPointerButton::Right));
  EXPECT_NEAR(static_cast<double>(preview.View.Angle), static_cast<double>(5 * degree), 1e-12);
  EXPECT_EQ(preview.RotateAnchorX, 40);
  preview.Move(At(160, 50, TPointerButton::Right));
  EXPECT_NEAR(static_cast<double>(preview.View.Angle), static_cast<double>(-5 * degree), 1e-12);
  const TScalePoint still = ImageUnder(100, 50);
  EXPECT_NEAR(static_cast<double>(still.X), static_cast<double>(fixed.X), 1e-9);
  EXPECT_NEAR(static_cast<double>(still.Y), static_cast<double>(fixed.Y), 1e-9);
  EXPECT_EQ(host.Settles, 3);
}

TEST_F(PreviewTest, RightDragZoomsAboutThePressPoint) {
  Load("");
  const TScalePoint fixed = ImageUnder(30, 20);
  preview.Press(At(30, 20, TPointerButton::Right));
  preview.Move(At(30, 30, TPointerButton::Right));
  EXPECT_NEAR(static_cast<double>(preview.View.ScaleX), std::pow(1.01, 10), 1e-12);
  preview.Move(At(30, 25, TPointerButton::Right));
  EXPECT_NEAR(static_cast<double>(preview.View.ScaleX), std::pow(1.01, 5), 1e-12);
  EXPECT_EQ(preview.ZoomAnchorY, 25);
  const TScalePoint still = ImageUnder(30, 20);
  EXPECT_NEAR(static_cast<double>(still.X), static_cast<double>(fixed.X), 1e-9);
  EXPECT_NEAR(static_cast<double>(still.Y), static_cast<double>(fixed.Y), 1e-9);
  EXPECT_EQ(preview.View.Angle, 0);
}

TEST_F(PreviewTest, WheelZoomsAboutTheMiddleUpToTwenty) {
  Load("");
  const TScalePoint middle = ImageUnder(100, 50);
  preview.Wheel(true, 200, 100);
  EXPECT_NEAR(static_cast<double>(preview.View.ScaleX), 1.2, 1e-15);
  preview.Wheel(false, 200, 100);
  preview.Wheel(false, 200, 100);
  EXPECT_NEAR(static_cast<double>(preview.View.ScaleX), 1 / 1.2, 1e-15);
  for (int i = 0; i < 30; ++i) preview.Wheel(true, 200, 100);
  EXPECT_NEAR(static_cast<double>(preview.View.ScaleX), 20, 1e-12);
  const TScalePoint still = ImageUnder(100, 50);
  EXPECT_NEAR(static_cast<double>(still.X), static_cast<double>(middle.X), 1e-9);
  EXPECT_NEAR(static_cast<double>(still.Y), static_cast<double>(middle.Y), 1e-9);
}

TEST_F(PreviewTest, ResizesKeepTheImageInTheMiddleUntilTheViewIsMoved) {
  Load("");
  preview.PreviewResized(400, 300);
  EXPECT_EQ(preview.View.ShiftX, 200);
  EXPECT_EQ(preview.View.ShiftY, 150);
  preview.Wheel(true, 400, 300);
  const long double shift = preview.View.ShiftX;
  preview.PreviewResized(800, 600);
  EXPECT_EQ(preview.View.ShiftX, shift);
}

TEST_F(PreviewTest, ReloadForgetsEveryPoint) {
  Load("Line 50,50\r\n");
  preview.Press(At(50, 50));
  ASSERT_FALSE(preview.Selection.empty());
  document.LoadFromText("Size 200x100\r\nLine 60,60\r\n");
  preview.DocumentReloaded();
  EXPECT_TRUE(preview.Selection.empty());
  EXPECT_TRUE(preview.PressCopies.empty());
  EXPECT_TRUE(preview.Hits.empty());
  // The drag that follows pans instead of writing into freed points.
  preview.Move(At(60, 50));
  EXPECT_EQ(preview.View.ShiftX, 110);
  EXPECT_EQ(Line(1), "Line 60,60");
}

// --- Composition -----------------------------------------------------------

class ComposeTest : public PreviewTest {
 protected:
  // A 20 x 20 image in the middle of a 300 x 200 preview: image (0, 0) lands
  // on pixel (140, 90).
  void LoadSmall(const std::string& lines) {
    document.LoadFromText("Size 20x20\r\n" + lines);
    preview.DocumentReloaded();
    preview.SetUpView(300, 200);
  }
  bool Compose() { return preview.Compose(bitmap, 1, limits); }
  bool AllWhite() const {
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.Pixel(x, y) != 0xFFFFFF) return false;
    return true;
  }
  static int32_t Grey(int value) { return value * 0x010101; }

  TBitmap bitmap{300, 200};
  TPointLimits limits;
};

TEST_F(ComposeTest, GridLinesDarkenEveryFiftyAndHundredPixels) {
  LoadSmall("");
  preview.MarkerSize = 0;
  ASSERT_TRUE(Compose());
  const struct {
    int X, Y;
    int32_t Color;
  } table[] = {
      {30, 7, Grey(230)},  {50, 3, Grey(220)},  {100, 3, Grey(210)}, {7, 50, Grey(220)},  {7, 10, Grey(230)},
      {0, 0, Grey(210)},   {10, 50, Grey(220)}, {50, 10, Grey(220)}, {100, 50, Grey(210)}, {13, 17, 0xFFFFFF},
      {299, 199, 0xFFFFFF}, {290, 199, Grey(230)},
  };
  for (const auto& row : table) EXPECT_EQ(bitmap.Pixel(row.X, row.Y), row.Color) << row.X << "," << row.Y;
}

TEST_F(ComposeTest, FrameLimitsAndDrawingOverTheGrid) {
  LoadSmall("PenColor 00FF00\r\nLine 5,5, 15,5\r\n");
  limits = {-5, -3, 5, 50};
  preview.MarkerSize = 0;
  ASSERT_TRUE(Compose());
  // The frame: image (0, 0) to (20, 20) is pixels 140..160, 90..110.
  EXPECT_EQ(bitmap.Pixel(150, 90), 0);
  EXPECT_EQ(bitmap.Pixel(140, 105), 0);
  EXPECT_EQ(bitmap.Pixel(160, 95), 0);
  EXPECT_EQ(bitmap.Pixel(152, 110), 0);
  // Red limit lines over the whole preview at image x -5 and 5, y -3 and 50.
  for (int y : {0, 63, 199}) {
    EXPECT_EQ(bitmap.Pixel(135, y), 0x0000FF) << y;
    EXPECT_EQ(bitmap.Pixel(145, y), 0x0000FF) << y;
  }
  for (int x : {0, 299}) {
    EXPECT_EQ(bitmap.Pixel(x, 87), 0x0000FF) << x;
    EXPECT_EQ(bitmap.Pixel(x, 140), 0x0000FF) << x;
  }
  // The green line, drawn without white behind it: the grid shows beside it.
  EXPECT_EQ(bitmap.Pixel(150, 95), 0x00FF00);
  EXPECT_EQ(bitmap.Pixel(150, 100), Grey(210));
}

TEST_F(ComposeTest, MarkersAreRedWhenSelectedAndYellowOtherwise) {
  LoadSmall("BrushColor -1\r\nEllipse 3,3, 17,17\r\n");
  preview.Press(At(143, 93));
  ASSERT_EQ(preview.Selection.size(), 1u);
  ASSERT_TRUE(Compose());
  EXPECT_EQ(bitmap.Pixel(143, 93), 0x0000FF);
  EXPECT_EQ(bitmap.Pixel(157, 107), 0x00FFFF);
  // Radius 2: a black ring around the fill, nothing 4 pixels away.
  EXPECT_EQ(bitmap.Pixel(143, 91), 0);
  EXPECT_EQ(bitmap.Pixel(161, 107), 0xFFFFFF);

  preview.CycleMarkerSize(true);
  ASSERT_TRUE(Compose());
  EXPECT_NE(bitmap.Pixel(157, 107), 0x00FFFF);
  EXPECT_NE(bitmap.Pixel(143, 93), 0x0000FF);
}

TEST_F(ComposeTest, NothingBeyondWhiteForAnEmptySizeOrFarPoints) {
  LoadSmall("Line 3001,5\r\n");
  EXPECT_FALSE(Compose());
  EXPECT_TRUE(preview.TooBig);
  EXPECT_TRUE(AllWhite());
  document.Commands[1]->Points[0].X = 3000;
  EXPECT_TRUE(Compose());
  EXPECT_FALSE(preview.TooBig);
  EXPECT_FALSE(AllWhite());

  document.LoadFromText("Line 5,5, 10,10\r\n");
  preview.DocumentReloaded();
  EXPECT_FALSE(Compose());
  EXPECT_TRUE(AllWhite());
}

}  // namespace
}  // namespace varnik
