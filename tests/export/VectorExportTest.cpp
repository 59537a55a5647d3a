// The vector export of pictures: every kind of command, rendered back from
// the SVG, lies where our own drawing puts it (see ExportCompare.h for the
// comparison), and the files are what other programs expect.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <filesystem>
#include <string>

#include "ExportCompare.h"
#include "TestFiles.h"
#include "export/uVectorExport.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"
#include "vector/uVectorSink.h"

namespace varnik::test {
namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 90;
// Shapes: differing pixels allowed among the inked ones.
constexpr double kShapeLimit = 0.05;
// Texts: the raster writes unsmoothed glyphs of whole-pixel metrics, the
// vector file smooth outlines; letters keep their places, not their strokes.
constexpr double kTextLimit = 0.25;

// A picture given as .vec lines (UTF-8), drawn as the editor and
// `varnik-vec render` draw it: whole, on white, smoothing 4.
class TPicture {
 public:
  explicit TPicture(const std::string& lines) {
    EnsureGuiApplication();
    document_.LoadFromText(CityText("Size " + std::to_string(kWidth) + "x" + std::to_string(kHeight) + "\n" + lines));
  }

  TPageDraw Drawing() {
    return [this](TBitmap& target) {
      TScale view;
      view.Geographic = false;
      view.Changed();
      document_.Draw(target, ClipBoxOf(target), 4, view, true);
    };
  }
  QImage Raster() {
    TBitmap bitmap(kWidth, kHeight);
    Drawing()(bitmap);
    return bitmap.Image().copy();
  }
  std::string Svg() { return DrawingToSvg({kWidth, kHeight, "", "test"}, Drawing()); }
  std::string Pdf(const std::string& paper = "") { return DrawingToPdf({kWidth, kHeight, paper, "test"}, Drawing()); }

 private:
  TVectorImage document_;
};

struct TKindCase {
  const char* Name;
  const char* Lines;
  double Limit;
};

constexpr const char* kCircle = "PenColor 000000\nBrushColor 30A030\nEllipse 30,15, 90,75, 3";

const TKindCase kKinds[] = {
    {"Line", "PenColor 2060C0\nLine 10,20, 110,70, 3", kShapeLimit},
    {"ThinLine", "PenColor 2060C0\nLine 10,20, 110,70, 1", kShapeLimit},
    {"Polyline", "PenColor 2060C0\nLine 10,80, 40,10, 80,80, 110,10, 2", kShapeLimit},
    {"Dashed", "PenColor C02020\nDashed 10,45, 110,45, 2\nDashed 10,70, 60,20, 110,70, 3", kShapeLimit},
    {"Spline", "PenColor 008000\nSpline 10,80, 40,10, 80,80, 110,10, 2", kShapeLimit},
    {"Sine", "PenColor 800080\nSine 4, 10,45, 15,20, 35,45, 1.5", kShapeLimit},
    {"Stairs", "PenColor 404040\nStairs 20,20, 60,30, 20,70", kShapeLimit},
    {"Arrow", "PenColor C06000\nArrow 10,80, 60,40, 110,40, 2", kShapeLimit},
    {"Railway", "PenColor 000000\nRailway 6, 10, 12, 10,30, 60,60, 110,30, 2", kShapeLimit},
    {"Circle", kCircle, kShapeLimit},
    {"EllipseOutline", "PenColor 0000C0\nBrushColor -1\nEllipse 10,20, 110,70, 2", kShapeLimit},
    {"Polygon", "PenColor 000000\nBrushColor F0C000\nPolygon 10,10, 110,30, 60,80, 2", kShapeLimit},
    {"ThinPolygon", "PenColor 000000\nBrushColor F0C000\nPolygon 10,10, 110,30, 60,80, 0.5", kShapeLimit},
    {"Spots", "BrushColor 8080FF\nSpotRect 10, 10, 40, 30, a\nSpotCircle 20, 80, 50, b", kShapeLimit},
    {"Angle", "PenColor 2060C0\nAngle 30\nLine 20,45, 100,45, 4", kShapeLimit},
    {"Opaque", "PenColor 000000\nBrushColor FF0000\nPolygon 10,10, 80,10, 80,60, 10,60\nOpaque 50\n"
               "BrushColor 0000FF\nPolygon 40,30, 110,30, 110,80, 40,80",
     kShapeLimit},
    {"TextOut", "PenColor 000000\nBrushColor -1\nTextOut Arial, 16, 10, 10, Станция\n"
                "TextOut Arial, 12, 10, 50, Two\\nlines",
     kTextLimit},
    {"AngleTextOut", "PenColor C00000\nBrushColor -1\nAngleTextOut 30, Arial, 14, 20, 80, Метро, 1\n"
                     "AngleTextOut 0, Arial, 12, 110, 20, Right, 0, 2",
     kTextLimit},
    {"TextBox", "PenColor 000000\nBrushColor FFFF00\nAngleTextOut 0, Arial, 14, 60, 45, Центр, 0, 5", kTextLimit},
};

class ExportKinds : public testing::TestWithParam<TKindCase> {};

TEST_P(ExportKinds, SvgRendersLikeTheRaster) {
  TPicture picture(GetParam().Lines);
  const TImageDifference d = Compare(picture.Raster(), RenderSvg(picture.Svg(), kWidth, kHeight));
  EXPECT_GT(d.Inked, 20) << "the picture draws something";
  EXPECT_LT(d.Share(), GetParam().Limit) << d.Differing << " of " << d.Inked << " inked pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Commands, ExportKinds, testing::ValuesIn(kKinds),
                         [](const testing::TestParamInfo<TKindCase>& info) { return info.param.Name; });

// The comparison itself must see the faults it is there for.
TEST(ExportComparison, CatchesWrongColourShiftAndMissingShape) {
  const std::string shape = "BrushColor 30A030\nEllipse 30,15, 90,75, 3\nLine 10,80, 110,80, 2";
  const QImage expected = TPicture("PenColor 000000\n" + shape).Raster();
  const char* faults[] = {
      "PenColor 0000FF\nBrushColor A03030\nEllipse 30,15, 90,75, 3\nLine 10,80, 110,80, 2",
      "PenColor 000000\nBrushColor 30A030\nEllipse 32,17, 92,77, 3\nLine 10,82, 110,82, 2",
      "PenColor 000000\nBrushColor 30A030\nEllipse 30,15, 90,75, 3",
  };
  for (const char* fault : faults) {
    TPicture wrong(fault);
    EXPECT_GT(Compare(expected, RenderSvg(wrong.Svg(), kWidth, kHeight)).Share(), kShapeLimit) << fault;
  }
}

TEST(SvgExport, KeepsTextsAsText) {
  TPicture picture("PenColor 000000\nTextOut Arial, 16, 10, 10, Станция");
  const std::string svg = picture.Svg();
  EXPECT_NE(svg.find("<text"), std::string::npos);
  EXPECT_NE(svg.find("Станция"), std::string::npos);
  EXPECT_NE(svg.find("viewBox=\"0 0 120 90\""), std::string::npos);
}

TEST(SvgExport, PageSizeIsExact) {
  EXPECT_NE(TPicture("Line 10,10, 100,80").Svg().find("<svg width=\"120\" height=\"90\"\n"), std::string::npos);
  const std::string a4 = DrawingToSvg({kWidth, kHeight, "A4", ""}, [](TBitmap&) {});
  EXPECT_NE(a4.find("<svg width=\"297mm\" height=\"210mm\"\n"), std::string::npos);
}

TEST(SvgExport, EmbedsNestedPicturesWhereTheyLie) {
  TTempDir dir;
  std::filesystem::copy_file(std::filesystem::path(VARNIK_EXAMPLES) / "Zarechensk" / "park.png", dir.Path() / "park.png");
  dir.Write("inner.vec", "Size 40x40\nPenColor C00000\nLine 0,0, 40,40, 3\n");
  TScopedCurrentDir here(dir.Path());
  TPicture picture("Image park.png, 10, 10\nImage inner.vec, 60, 30");
  const std::string svg = picture.Svg();
  EXPECT_NE(svg.find("<image"), std::string::npos);
  const TImageDifference d = Compare(picture.Raster(), RenderSvg(svg, kWidth, kHeight));
  EXPECT_LT(d.Share(), kShapeLimit) << d.Differing << " of " << d.Inked;
}

// Coordinates no drawing needs (a file's typo of 1e13) would make files that
// other programs choke on; such shapes are left out, the rest is kept.
TEST(SvgExport, LeavesOutShapesOfAbsurdCoordinates) {
  TPicture picture("PenColor 0000FF\nLine 10,10, 1e13,10, 2\nPolygon 0,0, 1e300,0, 0,1e300\n"
                   "TextOut Arial, 12, 1e13, 5, far\nLine 10,50, 110,50, 2");
  const std::string svg = picture.Svg();
  EXPECT_EQ(svg.find("e+"), std::string::npos);
  EXPECT_EQ(svg.find(">far<"), std::string::npos);
  EXPECT_EQ(RenderSvg(svg, kWidth, kHeight).pixelColor(60, 50), QColor(0, 0, 255));
}

// The size of the first page as the PDF states it, in points.
QSizeF MediaBox(const std::string& pdf) {
  const size_t at = pdf.find("/MediaBox [");
  if (at == std::string::npos) return {};
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::sscanf(pdf.c_str() + at, "/MediaBox [%lf %lf %lf %lf", &x0, &y0, &x1, &y1);
  return {x1 - x0, y1 - y0};
}

TEST(PdfExport, PageIsTheDrawingAtNinetySixPixelsPerInch) {
  const std::string pdf = TPicture("Line 10,10, 100,80").Pdf();
  ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
  // 120 x 90 pixels are 90 x 67.5 points; PDF pages come in whole points.
  EXPECT_NEAR(MediaBox(pdf).width(), 90, 0.5);
  EXPECT_NEAR(MediaBox(pdf).height(), 67.5, 0.5);
}

TEST(PdfExport, PaperIsTurnedToTheDrawing) {
  // 120 x 90 is wider than high: A4 lies on its side.
  const QSizeF a4 = MediaBox(TPicture("Line 10,10, 100,80").Pdf("a4"));
  EXPECT_NEAR(a4.width(), 842, 1);
  EXPECT_NEAR(a4.height(), 595, 1);
  EXPECT_FALSE(IsPaperName("A11"));
}

TEST(PdfExport, RendersLikeTheRaster) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  TTempDir dir;
  TPicture picture(kCircle);
  const std::string pdfPath = (dir.Path() / "page.pdf").string();
  dir.WriteBytes("page.pdf", picture.Pdf());
  QProcess run;
  run.start(pdftoppm, {"-scale-to-x", "120", "-scale-to-y", "90", "-png", "-singlefile", QString::fromStdString(pdfPath),
                       QString::fromStdString((dir.Path() / "page").string())});
  ASSERT_TRUE(run.waitForFinished(-1));
  const QImage back(QString::fromStdString((dir.Path() / "page.png").string()));
  ASSERT_EQ(back.size(), QSize(kWidth, kHeight));
  const TImageDifference d = Compare(picture.Raster(), back);
  EXPECT_LT(d.Share(), kShapeLimit) << d.Differing << " of " << d.Inked;
}

TEST(OutputFormat, FollowsTheExtension) {
  EXPECT_EQ(OutputFormatOf("map.SVG"), TOutputFormat::Svg);
  EXPECT_EQ(OutputFormatOf("dir.pdf/map.pdf"), TOutputFormat::Pdf);
  EXPECT_EQ(OutputFormatOf("map.png"), TOutputFormat::Png);
  EXPECT_EQ(OutputFormatOf("svg"), TOutputFormat::Png);
}

}  // namespace
}  // namespace varnik::test
