#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPainter>

#include "PixelTestUtil.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uQtText.h"

namespace varnik {
namespace {

using test::kBlack;
using test::kWhite;
using test::MakeBitmap;

TEST(Bitmap, PixelsAreBlueGreenRedInFourBytes) {
  TBitmap bitmap(3, 2);
  EXPECT_EQ(bitmap.Pixel(2, 1), kWhite);
  bitmap.SetPixel(1, 1, 0x123456);  // red 0x56, green 0x34, blue 0x12
  const uint8_t* row = bitmap.ScanLine(1);
  EXPECT_EQ(row[4], 0x12);
  EXPECT_EQ(row[5], 0x34);
  EXPECT_EQ(row[6], 0x56);
  EXPECT_EQ(bitmap.Pixel(1, 1), 0x123456);
  EXPECT_EQ(bitmap.Pixel(3, 0), -1);
  EXPECT_EQ(bitmap.Pixel(0, -1), -1);
}

TEST(Bitmap, ResizeKeepsTheOverlapAndWhitensTheRest) {
  TBitmap bitmap;
  EXPECT_TRUE(bitmap.Empty());
  MakeBitmap(bitmap, 4, 4, 0x010203);
  ASSERT_TRUE(bitmap.SetSize(6, 2));
  EXPECT_EQ(bitmap.Pixel(3, 1), 0x010203);
  EXPECT_EQ(bitmap.Pixel(4, 1), kWhite);
  ASSERT_TRUE(bitmap.SetSize(0, 5));
  EXPECT_TRUE(bitmap.Empty());
}

TEST(Bitmap, AbsurdSizesAreRefused) {
  TBitmap bitmap(2, 2);
  EXPECT_FALSE(bitmap.SetSize(1000000, 1000000));
  EXPECT_TRUE(bitmap.Empty());
  EXPECT_FALSE(bitmap.SetSize(40000, 1));
  EXPECT_FALSE(bitmap.SetSize(20000, 20000));
  EXPECT_TRUE(bitmap.SetSize(32767, 1));
}

TEST(Canvas, ColorToRGBResolvesSystemColours) {
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(ColorToRGB(0x7F123456), 0x123456);
  EXPECT_EQ(ColorToRGB(int32_t(0x80000005)), kWhite);  // window background
  EXPECT_EQ(ColorToRGB(int32_t(0x80000008)), kBlack);  // window text
  EXPECT_EQ(ColorToRGB(-1), kBlack);
}

struct CanvasTest : ::testing::Test {
  TBitmap bitmap;
  void SetUp() override { MakeBitmap(bitmap, 40, 30); }
  TCanvas& canvas() { return bitmap.Canvas(); }
};

TEST_F(CanvasTest, LineToLeavesOutTheEndPixel) {
  canvas().Pen.Color = 0xFF;
  canvas().MoveTo(3, 4);
  canvas().LineTo(10, 4);
  for (int x = 3; x < 10; ++x) EXPECT_EQ(bitmap.Pixel(x, 4), 0xFF) << x;
  EXPECT_EQ(bitmap.Pixel(10, 4), kWhite);
  EXPECT_EQ(canvas().PenPos().X, 10);
  EXPECT_EQ(test::CountChanged(bitmap), 7);
}

TEST_F(CanvasTest, FillRectExcludesRightAndBottom) {
  canvas().Brush.Color = 0x00FF00;
  canvas().FillRect({2, 3, 6, 5});
  EXPECT_EQ(test::CountChanged(bitmap), 8);
  EXPECT_EQ(bitmap.Pixel(2, 3), 0x00FF00);
  EXPECT_EQ(bitmap.Pixel(5, 4), 0x00FF00);
  canvas().Brush.Style = bsClear;
  canvas().FillRect({10, 10, 20, 20});
  EXPECT_EQ(test::CountChanged(bitmap), 8);
}

TEST_F(CanvasTest, RectangleOutlinesWithPenAndFillsWithBrush) {
  canvas().Pen.Color = kBlack;
  canvas().Brush.Color = 0xFF0000;
  canvas().Rectangle(5, 5, 10, 9);
  EXPECT_EQ(bitmap.Pixel(5, 5), kBlack);
  EXPECT_EQ(bitmap.Pixel(9, 8), kBlack);
  EXPECT_EQ(bitmap.Pixel(7, 7), 0xFF0000);
  EXPECT_EQ(bitmap.Pixel(10, 7), kWhite);
  EXPECT_EQ(bitmap.Pixel(7, 9), kWhite);
}

TEST_F(CanvasTest, PolygonFillsThePixelCentresInside) {
  canvas().Pen.Style = psClear;
  canvas().Brush.Color = 0x0000FF;
  canvas().Polygon({{10, 10}, {20, 10}, {20, 20}, {10, 20}});
  EXPECT_EQ(test::CountChanged(bitmap), 100);
  EXPECT_EQ(bitmap.Pixel(10, 10), 0x0000FF);
  EXPECT_EQ(bitmap.Pixel(19, 19), 0x0000FF);
}

TEST_F(CanvasTest, EllipseStaysInItsBox) {
  canvas().Pen.Color = kBlack;
  canvas().Brush.Color = 0x0000FF;
  canvas().Ellipse(10, 5, 30, 25);
  EXPECT_EQ(bitmap.Pixel(20, 15), 0x0000FF);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (x < 10 || x >= 30 || y < 5 || y >= 25) {
        EXPECT_EQ(bitmap.Pixel(x, y), kWhite) << x << "," << y;
      }
  EXPECT_EQ(bitmap.Pixel(10, 15), kBlack);
  EXPECT_EQ(bitmap.Pixel(29, 14), kBlack);
  EXPECT_EQ(bitmap.Pixel(20, 5), kBlack);
  EXPECT_EQ(bitmap.Pixel(20, 24), kBlack);
}

TEST_F(CanvasTest, HugeCoordinatesAreClippedNotHung) {
  canvas().Pen.Color = kBlack;
  canvas().Pen.Width = 3;
  canvas().Brush.Color = 0x0000FF;
  canvas().MoveTo(-2000000000, 15);
  canvas().LineTo(2000000000, 15);
  EXPECT_EQ(bitmap.Pixel(0, 15), kBlack);
  EXPECT_EQ(bitmap.Pixel(39, 15), kBlack);
  canvas().Polygon({{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}});
  EXPECT_EQ(bitmap.Pixel(20, 20), 0x0000FF);
  MakeBitmap(bitmap, 40, 30);
  canvas().Pen.Style = psClear;
  canvas().Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_EQ(test::CountChanged(bitmap), 40 * 30);
  canvas().Rectangle(-2000000000, 10, 2000000000, 12);
}

TEST_F(CanvasTest, NegativeFontHeightIsCharacterHeightPositiveIsCell) {
  canvas().Font.Name = "Arial";
  canvas().Font.Height = 40;
  EXPECT_NEAR(canvas().TextHeight("e"), 40, 1);
  canvas().Font.Height = -40;
  // Liberation Sans (metric "Arial"): the cell is 2288/2048 em.
  EXPECT_NEAR(canvas().TextHeight("e"), 40 * 2288 / 2048.0, 1.5);
  EXPECT_EQ(canvas().TextHeight(""), canvas().TextHeight("Wide text"));
  const int one = canvas().TextWidth("x");
  EXPECT_GT(one, 0);
  EXPECT_NEAR(canvas().TextWidth("xxxx"), 4 * one, 1);
}

TEST_F(CanvasTest, TextOutDrawsWithFontColourOverTheBrushBox) {
  MakeBitmap(bitmap, 120, 40);
  canvas().Font.Height = -20;
  canvas().Font.Color = 0x0000FF;
  canvas().Brush.Color = 0x00FF00;
  const TSize extent = canvas().TextExtent("Hi");
  canvas().TextOut(10, 5, "Hi");
  int text = 0, box = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x) {
      const int32_t c = bitmap.Pixel(x, y);
      const bool inCell = x >= 10 && x < 10 + extent.cx && y >= 5 && y < 5 + extent.cy;
      if (!inCell) {
        ASSERT_EQ(c, kWhite) << x << "," << y;
        continue;
      }
      text += c == 0x0000FF;
      box += c == 0x00FF00;
      ASSERT_TRUE(c == 0x0000FF || c == 0x00FF00) << "no anti-aliasing expected";
    }
  EXPECT_GT(text, 20);
  EXPECT_GT(box, text);
}

TEST_F(CanvasTest, TextOutWithClearBrushAndEscapement) {
  MakeBitmap(bitmap, 60, 100);
  canvas().Font.Height = -20;
  canvas().Font.Color = kBlack;
  canvas().Brush.Style = bsClear;
  canvas().Font.Escapement = 900;  // reads upwards from (10, 90)
  canvas().TextOut(10, 90, "Hello");
  int minY = 100, maxX = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 60; ++x)
      if (bitmap.Pixel(x, y) != kWhite) {
        EXPECT_EQ(bitmap.Pixel(x, y), kBlack);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
      }
  EXPECT_LE(maxX, 10 + canvas().TextHeight("e"));
  EXPECT_LT(minY, 90 - canvas().TextWidth("Hello") + 8);
}

TEST_F(CanvasTest, CyrillicTextIsDrawn) {
  canvas().Font.Height = -16;
  const std::string word = Utf8ToCp1251("Жук");
  EXPECT_GT(canvas().TextWidth(word), canvas().TextWidth("ab"));
  canvas().Brush.Style = bsClear;
  canvas().TextOut(1, 1, word);
  EXPECT_GT(test::CountChanged(bitmap), 10);
}

// Texts are written from kept masks of their pixels; what reaches the
// bitmap must be what Qt writes, in every style and quarter turn, when the
// mask is made and when it is used again, near and across the edges.
TEST_F(CanvasTest, KeptTextsSetTheSamePixelsAsWritingThem) {
  const std::string cyrillic = Utf8ToCp1251("Жёлтая ветка");
  const TPoint places[] = {{3, 4}, {-7, -5}, {50, 40}};
  for (int escapement : {0, 900, -900, 1800, 2700})
    for (int style : {0, int(fsBold), int(fsItalic), int(fsUnderline), int(fsStrikeOut)})
      for (const std::string& text : {std::string("Wj,Ql"), cyrillic})
        for (const TPoint& at : places)
          for (TBrushStyle brush : {bsClear, bsSolid}) {
            MakeBitmap(bitmap, 110, 80);
            TBitmap expected;
            MakeBitmap(expected, 110, 80);
            canvas().Font.Height = -15;
            canvas().Font.Style = style;
            canvas().Font.Escapement = escapement;
            canvas().Font.Color = 0x3060C0;
            canvas().Brush = {0x00E0E0, brush};
            const QFont font = canvas().MakeFont();
            const QFontMetrics metrics(font);
            {
              QPainter painter(&expected.Image());
              painter.translate(at.X, at.Y);
              painter.rotate(-escapement / 10.0);
              if (brush == bsSolid)
                painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(ToQString(text)), metrics.height()),
                                 QColor(0xE0, 0xE0, 0x00));
              painter.setFont(font);
              painter.setPen(QColor(0xC0, 0x60, 0x30));
              painter.drawText(QPoint(0, metrics.ascent()), ToQString(text));
            }
            for (int time = 0; time < 2; ++time) {
              canvas().TextOut(at.X, at.Y, text);
              ASSERT_TRUE(test::SameBitmaps(bitmap, expected)) << "style " << style << " turned " << escapement
                                                               << " at " << at.X << "," << at.Y << " brush "
                                                               << int(brush);
            }
          }
}

TEST_F(CanvasTest, AbsurdFontHeightIsBounded) {
  canvas().Font.Height = -1000000000;
  canvas().Brush.Style = bsClear;
  canvas().TextOut(0, 0, "W");
  EXPECT_GT(canvas().TextWidth("W"), 1000);
}

TEST_F(CanvasTest, StretchCopyReplicatesWholePixels) {
  TBitmap small;
  MakeBitmap(small, 2, 2);
  small.SetPixel(0, 0, 0x112233);
  small.SetPixel(1, 1, 0x445566);
  canvas().StretchDraw({4, 4, 10, 10}, small);  // three times
  for (int y = 4; y < 10; ++y)
    for (int x = 4; x < 10; ++x) {
      const int32_t expected = (x < 7 && y < 7) ? 0x112233 : (x >= 7 && y >= 7) ? 0x445566 : kWhite;
      EXPECT_EQ(bitmap.Pixel(x, y), expected) << x << "," << y;
    }
  EXPECT_EQ(test::CountChanged(bitmap), 18);
}

TEST_F(CanvasTest, CopyFromOutsideTheSourceLeavesPixels) {
  TBitmap source;
  MakeBitmap(source, 4, 4, 0x0000FF);
  canvas().CopyRect({0, 0, 8, 8}, source.Canvas(), {-4, -4, 4, 4});
  EXPECT_EQ(bitmap.Pixel(3, 3), kWhite);
  EXPECT_EQ(bitmap.Pixel(4, 4), 0x0000FF);
  EXPECT_EQ(bitmap.Pixel(7, 7), 0x0000FF);
  EXPECT_EQ(test::CountChanged(bitmap), 16);
  // Destinations far outside, in 32 bits, are clipped.
  canvas().CopyRect({-2000000000, -2000000000, 2000000000, 2000000000}, source.Canvas(),
                    {0, 0, 4, 4});
  EXPECT_EQ(test::CountChanged(bitmap), 40 * 30);
}

TEST_F(CanvasTest, CopyWithinOneBitmapReadsTheOldPixels) {
  bitmap.SetPixel(0, 0, 0x0000FF);
  canvas().CopyRect({1, 0, 3, 1}, canvas(), {0, 0, 2, 1});
  EXPECT_EQ(bitmap.Pixel(1, 0), 0x0000FF);
  EXPECT_EQ(bitmap.Pixel(2, 0), kWhite);
}

}  // namespace
}  // namespace varnik
