#pragma once
// Comparing a vector export, rendered back into pixels, with our own raster
// drawing of the same thing. The two never agree pixel for pixel: the
// rasteriser's soft line edges, its unsmoothed text and the renderers'
// anti-aliasing differ by a fraction of a pixel along every edge. Geometry,
// colours and placement must agree, so the comparison is:
//
//   both pictures are blurred with a 3 x 3 box (edge detail of less than a
//   pixel fades), a pixel differs when some channel then differs by more
//   than kChannelTolerance, and the share of differing pixels among the
//   inked ones (not white in either picture) must stay below a limit.
//
// A shape drawn in another colour differs over all its pixels, a shape moved
// by two pixels or more over its edges on both sides (most of a thin line),
// a missing shape everywhere it should be.

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/uBitmap.h"

namespace varnik::test {

inline constexpr int kChannelTolerance = 48;

struct TImageDifference {
  int Inked = 0;
  int Differing = 0;
  double Share() const { return Inked == 0 ? 0 : double(Differing) / Inked; }
};

// The picture as 8-bit RGB channels, row after row.
inline std::vector<int> Channels(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<int> out;
  out.reserve(size_t(rgb.width()) * rgb.height() * 3);
  for (int y = 0; y < rgb.height(); ++y) {
    const uchar* row = rgb.constScanLine(y);
    out.insert(out.end(), row, row + rgb.width() * 3);
  }
  return out;
}

inline std::vector<int> BoxBlur(const std::vector<int>& c, int w, int h) {
  std::vector<int> out(c.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int k = 0; k < 3; ++k) {
        int sum = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int sx = std::clamp(x + dx, 0, w - 1), sy = std::clamp(y + dy, 0, h - 1);
            sum += c[(size_t(sy) * w + sx) * 3 + k];
          }
        out[(size_t(y) * w + x) * 3 + k] = sum / 9;
      }
  return out;
}

inline TImageDifference Compare(const QImage& expected, const QImage& actual) {
  TImageDifference d;
  if (expected.size() != actual.size()) {
    d.Inked = d.Differing = 1;
    return d;
  }
  const int w = expected.width(), h = expected.height();
  const std::vector<int> a = Channels(expected), b = Channels(actual);
  const std::vector<int> ba = BoxBlur(a, w, h), bb = BoxBlur(b, w, h);
  for (size_t p = 0; p < size_t(w) * h; ++p) {
    bool inked = false, differs = false;
    for (int k = 0; k < 3; ++k) {
      const size_t i = p * 3 + k;
      inked = inked || a[i] < 250 || b[i] < 250;
      differs = differs || std::abs(ba[i] - bb[i]) > kChannelTolerance;
    }
    d.Inked += inked;
    d.Differing += differs;
  }
  return d;
}

// An SVG document rendered on white at the given size.
inline QImage RenderSvg(const std::string& svg, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QSvgRenderer renderer(QByteArray(svg.data(), qsizetype(svg.size())));
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, width, height));
  return image;
}

}  // namespace varnik::test
