#include "cli/common/uRenderView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <numbers>
#include <vector>

#include "cli/common/uPngOutput.h"
#include "core/uUtils.h"
#include "platform/uBitmap.h"
#include "platform/uCodePage.h"
#include "vector/uScale.h"

namespace varnik {

void AddRenderOptions(CLI::App& command, TRenderOptions& options) {
  command.add_option("--out", options.Out, "PNG file to write");
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

int RenderToPng(const std::string& tool, const TRenderOptions& options, int32_t drawingWidth,
                int32_t drawingHeight, const TRenderDraw& draw) {
  int32_t width = 0, height = 0;
  if (options.Size.empty()) {
    DefaultRenderSize(options.Zoom, drawingWidth, drawingHeight, width, height);
  } else if (!ParseRenderSize(options.Size, width, height)) {
    std::cerr << tool << ": --size must be WxH with two positive whole numbers, not \"" << options.Size << "\"\n";
    return 1;
  }
  TBitmap bitmap;
  if (!bitmap.SetSize(width, height)) {
    std::cerr << tool << ": an output of " << width << "x" << height << " pixels is too large\n";
    return 1;
  }
  TScale view;
  SetUpRenderView(view, options.Zoom, options.Angle, drawingWidth, drawingHeight, width, height);
  auto drawOnce = [&] { draw(bitmap, view, options.Smooth); };
  if (options.Repeat > 0) {
    const double median = MedianDrawMilliseconds(options.Repeat, drawOnce);
    std::fprintf(stderr, "median draw time: %.3f ms (%d draws)\n", median, options.Repeat);
  } else {
    drawOnce();
  }
  if (!WritePng(bitmap, Utf8ToCp1251(options.Out))) {
    std::cerr << tool << ": cannot write " << options.Out << "\n";
    return 1;
  }
  return 0;
}

}  // namespace varnik
