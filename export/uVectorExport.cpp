#include "export/uVectorExport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>

#include "export/uPainterSink.h"
#include "export/uPngOutput.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uFiles.h"

namespace varnik {

namespace {

// One pixel of a drawing is 1/96 inch on paper, as on a screen.
constexpr double kPixelsPerInch = 96;
constexpr double kPointsPerPixel = 72 / kPixelsPerInch;
constexpr double kMarginMm = 10;
constexpr const char* kCreator = "Varnik";

struct TPaper {
  const char* Name;
  QPageSize::PageSizeId Id;
};

constexpr auto kPapers = std::to_array<TPaper>({
    {"A0", QPageSize::A0},
    {"A1", QPageSize::A1},
    {"A2", QPageSize::A2},
    {"A3", QPageSize::A3},
    {"A4", QPageSize::A4},
    {"A5", QPageSize::A5},
    {"A6", QPageSize::A6},
    {"B4", QPageSize::B4},
    {"B5", QPageSize::B5},
    {"Letter", QPageSize::Letter},
    {"Legal", QPageSize::Legal},
    {"Tabloid", QPageSize::Tabloid},
});

bool SameAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

const TPaper* FindPaper(std::string_view name) {
  for (const TPaper& paper : kPapers)
    if (SameAscii(paper.Name, name)) return &paper;
  return nullptr;
}

bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && SameAscii(text.substr(text.size() - tail.size()), tail);
}

// The page of a drawing: its own size, or the named paper turned to the
// drawing's orientation with margins.
QPageLayout LayoutOf(const TVectorPage& page) {
  if (const TPaper* paper = FindPaper(page.Paper)) {
    const auto orientation = page.Width > page.Height ? QPageLayout::Landscape : QPageLayout::Portrait;
    return QPageLayout(QPageSize(paper->Id), orientation,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
  }
  const QSizeF points(page.Width * kPointsPerPixel, page.Height * kPointsPerPixel);
  return QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                     QPageLayout::Portrait, QMarginsF());
}

// The page's whole size in pixels and the part of it the drawing fills.
void PageGeometry(const TVectorPage& page, QSize& full, QRectF& target) {
  if (!FindPaper(page.Paper)) {
    full = QSize(page.Width, page.Height);
    target = QRectF(0, 0, page.Width, page.Height);
    return;
  }
  const QPageLayout layout = LayoutOf(page);
  full = layout.fullRectPixels(int(kPixelsPerInch)).size();
  target = FitInto(layout.paintRectPixels(int(kPixelsPerInch)), page.Width, page.Height);
}

// The SVG generator states the page's size in millimetres to six digits,
// which viewers round up to a pixel more than the drawing has; the size is
// put exactly instead: in pixels for a page of the drawing's size, in the
// paper's own millimetres otherwise.
void SetSvgPageSize(std::string& svg, const TVectorPage& page) {
  std::string size = "<svg width=\"" + std::to_string(page.Width) + "\" height=\"" + std::to_string(page.Height) + "\"";
  if (FindPaper(page.Paper)) {
    const QSizeF mm = LayoutOf(page).fullRect(QPageLayout::Millimeter).size();
    size = "<svg width=\"" + QString::number(mm.width()).toStdString() + "mm\" height=\"" +
           QString::number(mm.height()).toStdString() + "mm\"";
  }
  const size_t at = svg.find("<svg width=");
  if (at == std::string::npos) return;
  svg.replace(at, svg.find('\n', at) - at, size);
}

std::string BytesOf(const QBuffer& buffer) {
  const QByteArray& data = buffer.data();
  return std::string(data.constData(), size_t(data.size()));
}

}  // namespace

TOutputFormat OutputFormatOf(std::string_view fileName) {
  if (EndsWith(fileName, ".svg")) return TOutputFormat::Svg;
  if (EndsWith(fileName, ".pdf")) return TOutputFormat::Pdf;
  return TOutputFormat::Png;
}

bool IsPaperName(std::string_view name) { return FindPaper(name) != nullptr; }

std::string PaperNames() {
  std::string names;
  for (const TPaper& paper : kPapers) names += (names.empty() ? "" : ", ") + std::string(paper.Name);
  return names;
}

QRectF FitInto(const QRectF& area, int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return area;
  const double scale = std::min(area.width() / width, area.height() / height);
  const QSizeF size(width * scale, height * scale);
  return QRectF(area.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

void PaintDrawing(QPainter& painter, const QRectF& target, int32_t width, int32_t height,
                  const TPageDraw& draw) {
  if (width <= 0 || height <= 0) return;
  EnsureGuiApplication();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.translate(target.topLeft());
  painter.scale(target.width() / width, target.height() / height);
  const QRectF page(0, 0, width, height);
  painter.setClipRect(page);
  painter.fillRect(page, Qt::white);
  TPainterSink sink(painter, {0, 0, width, height});
  TBitmap standIn;
  standIn.SetSink(&sink);
  draw(standIn);
  painter.restore();
}

std::string DrawingToSvg(const TVectorPage& page, const TPageDraw& draw) {
  EnsureGuiApplication();
  QSize full;
  QRectF target;
  PageGeometry(page, full, target);
  QBuffer buffer;
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setResolution(int(kPixelsPerInch));
  generator.setSize(full);
  generator.setViewBox(QRect(QPoint(0, 0), full));
  generator.setTitle(QString::fromStdString(page.Title));
  generator.setDescription(QString::fromUtf8(kCreator));
  QPainter painter;
  if (!painter.begin(&generator)) return {};
  PaintDrawing(painter, target, page.Width, page.Height, draw);
  painter.end();
  std::string svg = BytesOf(buffer);
  SetSvgPageSize(svg, page);
  return svg;
}

std::string DrawingToPdf(const TVectorPage& page, const TPageDraw& draw) {
  EnsureGuiApplication();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(int(kPixelsPerInch));
  writer.setCreator(QString::fromUtf8(kCreator));
  writer.setTitle(QString::fromStdString(page.Title));
  if (!writer.setPageLayout(LayoutOf(page))) return {};
  QPainter painter;
  if (!painter.begin(&writer)) return {};
  // The painter starts at the corner of the paintable area, inside the
  // margins.
  const QRect paintable = writer.pageLayout().paintRectPixels(int(kPixelsPerInch));
  PaintDrawing(painter, FitInto(QRectF(QPointF(0, 0), paintable.size()), page.Width, page.Height), page.Width,
               page.Height, draw);
  if (!painter.end()) return {};
  buffer.close();
  return BytesOf(buffer);
}

bool WriteDrawing(const std::string& path, TOutputFormat format, const TVectorPage& page,
                  const TPageDraw& draw) {
  if (format == TOutputFormat::Png) {
    TBitmap bitmap;
    if (!bitmap.SetSize(page.Width, page.Height)) return false;
    bitmap.Fill(0xFFFFFF);
    draw(bitmap);
    return WritePng(bitmap, path);
  }
  const std::string data = format == TOutputFormat::Svg ? DrawingToSvg(page, draw) : DrawingToPdf(page, draw);
  return !data.empty() && WriteFileAtomic(path, data);
}

}  // namespace varnik
