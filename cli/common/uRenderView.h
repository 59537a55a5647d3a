#pragma once
// What the render commands of both command-line tools share: their options,
// the view they draw through and the output size, the repeated drawing for
// timing, and writing the result: a PNG, or an SVG or PDF when the output's
// name ends so. A vector page has the output size in pixels (1/96 inch
// each) unless a paper is named, and the drawing is the same as the PNG's.
//
// The view is a plain (non-geographic) TScale with ScaleX = ScaleY = the
// zoom, the angle given in degrees, the centre at the middle of the drawing
// and the shift at the middle of the output. With no angle and the default
// size round(zoom * width) x round(zoom * height), drawing point (x, y)
// therefore lands on pixel (zoom * x, zoom * y).

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <string>

namespace varnik {

class TBitmap;
class TScale;

struct TRenderOptions {
  std::string Out;   // UTF-8, as typed
  int Smooth = 4;    // oversampling factor 1..4
  double Zoom = 1;
  double Angle = 0;  // degrees, anticlockwise on the screen
  std::string Size;  // "WxH"; empty for the default size
  int Repeat = 0;    // draw this many times and report the median time
  std::string Paper;  // SVG and PDF: fit the drawing to this paper
};

// Adds --out, --smooth, --zoom, --angle, --size, --paper and --repeat to a
// command.
void AddRenderOptions(CLI::App& command, TRenderOptions& options);

// "WxH" with two positive whole numbers; false for anything else.
bool ParseRenderSize(const std::string& text, int32_t& width, int32_t& height);

// round(zoom * width) x round(zoom * height), at least 1 x 1.
void DefaultRenderSize(long double zoom, int32_t width, int32_t height, int32_t& outWidth, int32_t& outHeight);

void SetUpRenderView(TScale& scale, long double zoom, long double angleDegrees, int32_t drawingWidth,
                     int32_t drawingHeight, int32_t outWidth, int32_t outHeight);

// Draws `repeat` times (at least once) and returns the median time of one
// draw in milliseconds.
double MedianDrawMilliseconds(int repeat, const std::function<void()>& draw);

using TRenderDraw = std::function<void(TBitmap& bitmap, const TScale& view, int smooth)>;

// Everything a render command does once its drawing is loaded: sizes the
// output (the default size from the drawing's size), sets up the view, draws
// (repeatedly when asked, printing the median time on stderr) and writes the
// file once, in the format its name asks for. The bitmap handed to `draw`
// may stand for a vector page (ClipBoxOf gives its extent). Problems are
// said on stderr, prefixed with `tool`. Returns the exit code: 0 on success,
// 1 for a bad size or paper or a file that cannot be written.
int RenderToFile(const std::string& tool, const TRenderOptions& options, int32_t drawingWidth,
                 int32_t drawingHeight, const TRenderDraw& draw);

}  // namespace varnik
