#pragma once
// The toolbar's point edits: nudging, rotating and scaling every point of the
// document that lies strictly inside the limit box, and the reading of the
// numbers typed into the toolbar's boxes.

#include <cstdint>
#include <string_view>

#include "vector/uVectorImage.h"

namespace varnik {

class TScale;

// The limit box: only points with MinX < x < MaxX and MinY < y < MaxY are
// changed, so points on a limit stay where they are.
struct TPointLimits {
  int32_t MinX = -1000;
  int32_t MinY = -1000;
  int32_t MaxX = 10000;
  int32_t MaxY = 10000;
  bool Contains(const TFPoint& point) const;
};

// The integer a box holds: blanks before it, a sign and decimal digits and
// nothing after them; any other text (and a number beyond 32 bits) is 0.
int32_t BoxInteger(std::string_view text);
// The factor box read as a decimal number by the lenient rule of the .vec
// fields; a text without a number is 0.
long double BoxFactor(std::string_view text);

// x += dx, y += dy for every point inside the limits.
void NudgePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, long double dx,
                 long double dy);
// Turns every point inside the limits by `degrees` about the middle of the
// image (anticlockwise on the screen for a positive angle) and rounds it to
// whole units.
void RotatePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, int32_t degrees);
// Multiplies both coordinates of every point inside the limits by `factor`,
// rounding to whole units, and then the image size (when the document starts
// with a Size line).
void ScalePoints(TVectorImage& document, const TScale& view, const TPointLimits& limits, long double factor);

}  // namespace varnik
