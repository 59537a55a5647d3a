// A fixed metro-like scene at 1920 x 1080 (15 lines of width 9 with round
// caps and joins, 300 station circles, 300 labels) drawn two ways: by our
// renderer from data/scene.vec at smoothing 1 and 4, and by QPainter from
// data/scene.txt, anti-aliased, into a QImage::Format_RGB32 cleared to white.
// The QPainter frame is the yardstick: compare them within one run. Level 4
// is also drawn in bands on every core, as the map editor draws it.
// The data folder is named at build time (VARNIK_BENCH_DATA).

#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QString>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uParallel.h"
#include "vector/uDrawBands.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace {

const std::filesystem::path kData = VARNIK_BENCH_DATA;

// The scene as QPainter draws it; fonts and pens are made once, outside the
// timed frame, as a program drawing many frames would keep them.
struct TPolyline {
  QPen Pen;
  QPolygonF Points;
};
struct TCircle {
  QPointF Centre;
  double Radius;
  QColor Fill;
  QPen Outline;
};
struct TLabel {
  QPointF Origin;
  QFont Font;
  QColor Color;
  QString Text;
};
struct TScene {
  int Width = 0, Height = 0;
  QColor Background = Qt::white;
  std::vector<TPolyline> Polylines;
  std::vector<TCircle> Circles;
  std::vector<TLabel> Labels;
};

QColor ReadColor(std::istream& in) {
  int r = 0, g = 0, b = 0;
  in >> r >> g >> b;
  return QColor(r, g, b);
}

TScene ReadScene(const std::filesystem::path& path) {
  TScene scene;
  std::ifstream file(path);
  for (std::string line; std::getline(file, line);) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    if (kind == "scene") {
      in >> scene.Width >> scene.Height;
    } else if (kind == "background") {
      scene.Background = ReadColor(in);
    } else if (kind == "polyline") {
      const QColor color = ReadColor(in);
      double width = 0;
      int count = 0;
      in >> width >> count;
      TPolyline polyline{QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), {}};
      for (int i = 0; i < count; ++i) {
        double x = 0, y = 0;
        in >> x >> y;
        polyline.Points << QPointF(x, y);
      }
      scene.Polylines.push_back(polyline);
    } else if (kind == "circle") {
      double x = 0, y = 0, diameter = 0, outline = 0;
      in >> x >> y >> diameter;
      const QColor fill = ReadColor(in), stroke = ReadColor(in);
      in >> outline;
      scene.Circles.push_back({QPointF(x, y), diameter / 2, fill, QPen(stroke, outline)});
    } else if (kind == "label") {
      double x = 0, y = 0;
      int size = 0;
      in >> x >> y >> size;
      const QColor color = ReadColor(in);
      std::string text;
      std::getline(in >> std::ws, text);
      QFont font("Liberation Sans");
      font.setPixelSize(size);
      scene.Labels.push_back({QPointF(x, y), font, color, QString::fromUtf8(text)});
    }
  }
  return scene;
}

void PaintScene(const TScene& scene, QImage& image) {
  image.fill(scene.Background);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setBrush(Qt::NoBrush);
  for (const TPolyline& polyline : scene.Polylines) {
    painter.setPen(polyline.Pen);
    painter.drawPolyline(polyline.Points);
  }
  for (const TCircle& circle : scene.Circles) {
    painter.setPen(circle.Outline);
    painter.setBrush(circle.Fill);
    painter.drawEllipse(circle.Centre, circle.Radius, circle.Radius);
  }
  for (const TLabel& label : scene.Labels) {
    painter.setFont(label.Font);
    painter.setPen(label.Color);
    painter.drawText(label.Origin, label.Text);
  }
}

void BM_SceneQPainter(benchmark::State& state) {
  varnik::EnsureGuiApplication();
  const TScene scene = ReadScene(kData / "scene.txt");
  if (scene.Width <= 0 || scene.Labels.empty()) {
    state.SkipWithError("data/scene.txt not read");
    return;
  }
  QImage image(scene.Width, scene.Height, QImage::Format_RGB32);
  for (auto _ : state) {
    PaintScene(scene, image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_SceneQPainter)->Unit(benchmark::kMillisecond);

// The scene as our renderer draws it: data/scene.vec onto a bitmap of its
// size, through a plain view. `draw(bitmap, clip, view)` makes one frame.
template <typename TDraw>
void DrawOurScene(benchmark::State& state, TDraw draw) {
  varnik::EnsureGuiApplication();
  varnik::TVectorImage document;
  if (!document.LoadFromFile((kData / "scene.vec").string())) {
    state.SkipWithError("data/scene.vec not loaded");
    return;
  }
  varnik::TBitmap bitmap(document.ImageWidth(), document.ImageHeight());
  varnik::TScale view;
  view.Geographic = false;
  view.Changed();
  const varnik::TRect clip{0, 0, bitmap.Width(), bitmap.Height()};
  for (auto _ : state) {
    draw(document, bitmap, clip, view);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
}

void BM_SceneOurs(benchmark::State& state) {
  const int smooth = static_cast<int>(state.range(0));
  DrawOurScene(state, [&](varnik::TVectorImage& document, varnik::TBitmap& bitmap, const varnik::TRect& clip,
                          varnik::TScale& view) { document.Draw(bitmap, clip, smooth, view, true); });
}
BENCHMARK(BM_SceneOurs)->Arg(1)->Arg(4)->ArgName("smooth")->Unit(benchmark::kMillisecond);

// The settled picture as the map editor draws it: in bands, one per core.
void BM_SceneOursInBands(benchmark::State& state) {
  const int smooth = static_cast<int>(state.range(0));
  DrawOurScene(state, [&](varnik::TVectorImage& document, varnik::TBitmap& bitmap, const varnik::TRect& clip,
                          varnik::TScale& view) {
    varnik::DrawInBands(bitmap, varnik::ParallelParts(),
                        [&](varnik::TBitmap& band) { document.Draw(band, clip, smooth, view, true); });
  });
  state.counters["bands"] = varnik::ParallelParts();
}
BENCHMARK(BM_SceneOursInBands)->Arg(4)->ArgName("smooth")->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
