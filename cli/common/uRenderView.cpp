#include "cli/common/uRenderView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <filesystem>
#include <numbers>
#include <vector>

#include "export/uPngOutput.h"
#include "export/uVectorExport.h"
#include "core/uUtils.h"
#include "platform/uBitmap.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "vector/uScale.h"

namespace varnik {

void AddRenderOptions(CLI::App& command, TRenderOptions& options) {
  command.add_option("--out", options.Out, "file to write: PNG, or SVG or PDF by the extension .svg or .pdf");
  command.add_option("--smooth", options.Smooth, "smoothing (oversampling factor) 1..4")
      ->check(CLI::Range(1, 4))
      ->capture_default_str();
  command.add_option("--zoom", options.Zoom, "screen pixels per drawing pixel")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  command.add_option("--angle", options.Angle, "rotation in degrees, anticlockwise")->capture_default_str();
  command.add_option("--size", options.Size, "output size WxH (default: the drawing's size times the zoom)");
  command.add_option("--repeat", options.Repeat, "draw N times and print the median draw time in ms")
      ->check(CLI::NonNegativeNumber);
  command.add_option("--paper", options.Paper,
                     "SVG and PDF: fit the drawing to this paper (" + PaperNames() +
                         "; default: a page of the output size at 96 pixels per inch)");
}

bool ParseRenderSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos || x == 0 || x + 1 == text.size()) return false;
  const auto digits = [](std::string_view s) { return s.find_first_not_of("0123456789") == std::string::npos; };
  const std::string_view w(text.data(), x), h(text.data() + x + 1, text.size() - x - 1);
  if (!digits(w) || !digits(h) || w.size() > 9 || h.size() > 9) return false;
  width = ParseInt(w);
  height = ParseInt(h);
  return width > 0 && height > 0;
}

void DefaultRenderSize(long double zoom, int32_t width, int32_t height, int32_t& outWidth, int32_t& outHeight) {
  outWidth = std::max(1, RoundToInt(zoom * width));
  outHeight = std::max(1, RoundToInt(zoom * height));
}

void SetUpRenderView(TScale& scale, long double zoom, long double angleDegrees, int32_t drawingWidth,
                     int32_t drawingHeight, int32_t outWidth, int32_t outHeight) {
  scale.Geographic = false;
  scale.ScaleX = zoom;
  scale.ScaleY = zoom;
  scale.Changed();
  scale.SetAngle(angleDegrees * std::numbers::pi_v<long double> / 180);
  scale.SetCenterX(drawingWidth / 2.0L);
  scale.SetCenterY(drawingHeight / 2.0L);
  scale.SetShiftX(outWidth / 2.0L);
  scale.SetShiftY(outHeight / 2.0L);
}

double MedianDrawMilliseconds(int repeat, const std::function<void()>& draw) {
  std::vector<double> times;
  for (int i = 0; i < std::max(repeat, 1); ++i) {
    const auto start = std::chrono::steady_clock::now();
    draw();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

namespace {

// Runs `draw` once, or `repeat` times printing the median time on stderr.
void DrawTimed(int repeat, const std::function<void()>& draw) {
  if (repeat <= 0) {
    draw();
    return;
  }
  const double median = MedianDrawMilliseconds(repeat, draw);
  std::fprintf(stderr, "median draw time: %.3f ms (%d draws)\n", median, repeat);
}

int CannotWrite(const std::string& tool, const std::string& out) {
  std::cerr << tool << ": cannot write " << out << "\n";
  return 1;
}

// A vector page is made whole for every timed draw and written once.
int RenderToVector(const std::string& tool, const TRenderOptions& options, TOutputFormat format,
                   const TVectorPage& page, const TScale& view, const TRenderDraw& draw) {
  const TPageDraw drawPage = [&](TBitmap& standIn) { draw(standIn, view, options.Smooth); };
  std::string data;
  DrawTimed(options.Repeat, [&] {
    data = format == TOutputFormat::Svg ? DrawingToSvg(page, drawPage) : DrawingToPdf(page, drawPage);
  });
  if (data.empty() || !WriteFileAtomic(Utf8ToCp1251(options.Out), data)) return CannotWrite(tool, options.Out);
  return 0;
}

int RenderToPng(const std::string& tool, const TRenderOptions& options, int32_t width, int32_t height,
                const TScale& view, const TRenderDraw& draw) {
  TBitmap bitmap;
  if (!bitmap.SetSize(width, height)) {
    std::cerr << tool << ": an output of " << width << "x" << height << " pixels is too large\n";
    return 1;
  }
  DrawTimed(options.Repeat, [&] { draw(bitmap, view, options.Smooth); });
  if (!WritePng(bitmap, Utf8ToCp1251(options.Out))) return CannotWrite(tool, options.Out);
  return 0;
}

}  // namespace

int RenderToFile(const std::string& tool, const TRenderOptions& options, int32_t drawingWidth,
                 int32_t drawingHeight, const TRenderDraw& draw) {
  int32_t width = 0, height = 0;
  if (options.Size.empty()) {
    DefaultRenderSize(options.Zoom, drawingWidth, drawingHeight, width, height);
  } else if (!ParseRenderSize(options.Size, width, height)) {
    std::cerr << tool << ": --size must be WxH with two positive whole numbers, not \"" << options.Size << "\"\n";
    return 1;
  }
  const TOutputFormat format = OutputFormatOf(options.Out);
  if (!options.Paper.empty() && !IsPaperName(options.Paper)) {
    std::cerr << tool << ": unknown paper \"" << options.Paper << "\"; known: " << PaperNames() << "\n";
    return 1;
  }
  if (!options.Paper.empty() && format == TOutputFormat::Png) {
    std::cerr << tool << ": --paper applies to SVG and PDF output only\n";
    return 1;
  }
  TScale view;
  SetUpRenderView(view, options.Zoom, options.Angle, drawingWidth, drawingHeight, width, height);
  if (format == TOutputFormat::Png) return RenderToPng(tool, options, width, height, view, draw);
  const TVectorPage page{width, height, options.Paper, std::filesystem::path(options.Out).stem().string()};
  return RenderToVector(tool, options, format, page, view, draw);
}

}  // namespace varnik
