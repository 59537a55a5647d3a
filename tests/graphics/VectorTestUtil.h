#pragma once
// Helpers for the vector image tests: documents from .vec lines and plain
// (non-geographic) views.

#include <initializer_list>
#include <string>

#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace varnik::test {

// Replaces the document's commands with the given lines, read as a file's.
inline void SetLines(TVectorImage& image, std::initializer_list<const char*> lines) {
  image.Clear();
  for (const char* line : lines) image.Commands.push_back(ReadCommandFromString(line));
  image.SetImageResolver(image.OnGetImage);
}

// A screen view: y down, drawing point (0, 0) at screen (shiftX, shiftY).
inline void PlainView(TScale& scale, long double zoomX = 1, long double zoomY = 1, long double shiftX = 0,
                      long double shiftY = 0) {
  scale.Geographic = false;
  scale.ScaleX = zoomX;
  scale.ScaleY = zoomY;
  scale.ShiftX = shiftX;
  scale.ShiftY = shiftY;
  scale.Changed();
}

}  // namespace varnik::test
