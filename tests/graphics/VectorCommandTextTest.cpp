// The text commands: font set-up from the command and the label font, the
// brush rule, the translation table, and fitting a text between two points.

#include <gtest/gtest.h>

#include <numbers>

#include "core/uTranslation.h"
#include "graphics/PixelTestUtil.h"
#include "graphics/VectorTestUtil.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"

namespace varnik {
namespace {

using test::MakeBitmap;
using test::PlainView;
using test::SameBitmaps;
using test::SetLines;

constexpr int kFactor = 2;
constexpr TRect kClip{0, 0, 120, 50};

class VectorCommandText : public ::testing::Test {
 protected:
  void DrawDocument(std::initializer_list<const char*> lines, long double zoom = 1) {
    TVectorImage image;
    SetLines(image, lines);
    TScale scale;
    PlainView(scale, zoom, zoom);
    MakeBitmap(actual, kClip.Right, kClip.Bottom);
    MakeBitmap(expected, kClip.Right, kClip.Bottom);
    image.Draw(actual, kClip, kFactor, scale, true);
  }
  // The expected bitmap's canvas set up as a text command does it.
  TCanvas& ExpectedFont(const std::string& name, int style, TColor color, bool brush) {
    TCanvas& canvas = expected.Canvas();
    canvas.Font.Name = name;
    canvas.Font.Style = style;
    canvas.Font.Charset = 1;
    canvas.Font.Color = color;
    canvas.Brush.Color = brush ? test::kWhite : kNoColor;
    canvas.Brush.Style = brush ? bsSolid : bsClear;
    return canvas;
  }
  void TearDown() override {
    DefaultLabelFont() = {};
    Translation().ReplacementsEnabled = false;
    Translation().ReplaceFrom.clear();
    Translation().ReplaceTo.clear();
  }
  TBitmap actual;
  TBitmap expected;
};

TEST_F(VectorCommandText, TextOutUsesPenColourAndNoBoxWithoutBrush) {
  DrawDocument({"PenColor 0000C0", "BrushColor -1", "TextOut Arial, 8, 5, 5, Hello, 1"}, 2);
  DrawText(0, ExpectedFont("Arial", 1, 0xC00000, false), "Hello", 10, 10, 16, kClip, kFactor, 0);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 20);
}

TEST_F(VectorCommandText, TextOutWithABrushFillsItsBox) {
  DrawDocument({"BrushColor 00FFFF", "TextOut Arial, 12, 5, 5, Hi"});
  TCanvas& canvas = ExpectedFont("Arial", 0, 0, true);
  canvas.Brush.Color = 0xFFFF00;
  DrawText(0, canvas, "Hi", 5, 5, 12, kClip, kFactor, 0);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_EQ(actual.Pixel(6, 6), 0xFFFF00);
}

TEST_F(VectorCommandText, AngleTextOutFallsBackToTheLabelFont) {
  DefaultLabelFont() = {"Arial", -14, 1};
  DrawDocument({"BrushColor -1", "AngleTextOut 90, , 0, 20, 40, Label, 0, 2"});
  DrawText(90, ExpectedFont("Arial", 1, 0, false), "Label", 20, 40, -14, kClip, kFactor, 2);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 20);
}

TEST_F(VectorCommandText, AngleTextOutAddsTheViewsAngle) {
  DrawDocument({"BrushColor -1", "Angle 30", "AngleTextOut 15, Arial, 12, 10, 40, Turn"});
  TScale turned;
  PlainView(turned);
  turned.SetAngle(std::numbers::pi_v<long double> / 6);
  TScalePoint anchor = turned.ToScreen(10, 40);
  DrawText(45, ExpectedFont("Arial", 0, 0, false), "Turn", double(anchor.X), double(anchor.Y), 12, kClip, kFactor,
           0);
  EXPECT_TRUE(SameBitmaps(actual, expected));
  EXPECT_GT(test::CountChanged(actual), 20);
}

TEST_F(VectorCommandText, TextsPassThroughTheTranslationTable) {
  Translation().ReplacementsEnabled = true;
  Translation().ReplaceFrom = {"A"};
  Translation().ReplaceTo = {"W"};
  DrawDocument({"BrushColor -1", "TextOut Arial, 12, 5, 5, AAA"});
  DrawText(0, ExpectedFont("Arial", 0, 0, false), "WWW", 5, 5, 12, kClip, kFactor, 0);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandText, TwoPointTextKeepsItsSizeWhenItFits) {
  TVectorImage image;
  SetLines(image, {"BrushColor -1", "AngleTextOut 0, Arial, 10, 5, 20, ab"});
  image.Commands[1]->AddPoint(115, 20);
  TScale scale;
  PlainView(scale);
  MakeBitmap(actual, kClip.Right, kClip.Bottom);
  MakeBitmap(expected, kClip.Right, kClip.Bottom);
  image.Draw(actual, kClip, kFactor, scale, true);
  DrawText(0, ExpectedFont("Arial", 0, 0, false), "ab", 60, 20, 10, kClip, kFactor, 5);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandText, TwoPointTextShrinksButNotBelowOneUnit) {
  TVectorImage image;
  SetLines(image, {"BrushColor -1", "AngleTextOut 0, Arial, 40, 30, 20, Squeezed"});
  image.Commands[1]->AddPoint(30, 20);  // no room at all
  TScale scale;
  PlainView(scale);
  MakeBitmap(actual, kClip.Right, kClip.Bottom);
  MakeBitmap(expected, kClip.Right, kClip.Bottom);
  image.Draw(actual, kClip, kFactor, scale, true);
  DrawText(0, ExpectedFont("Arial", 0, 0, false), "Squeezed", 30, 20, 1.0 / kFactor, kClip, kFactor, 5);
  EXPECT_TRUE(SameBitmaps(actual, expected));
}

TEST_F(VectorCommandText, AbsurdFontSizesAreNotDrawn) {
  DrawDocument({"TextOut Arial, 1000000000, 5, 5, Big", "AngleTextOut 0, Arial, -1e9, 5, 5, Big"});
  EXPECT_EQ(test::CountChanged(actual), 0);
}

}  // namespace
}  // namespace varnik
