#include "vector/uEZLine.h"

#include "platform/uBitmap.h"

namespace varnik {

double TEZLine::Line(TBitmap*, double, double, double, double) { return Position; }
double TEZLine::Polyline(const std::vector<TDoublePoint>&, TBitmap*) { return Position; }
double TEZLine::PatternValue(uint8_t, double, double) { return 1; }
int TEZLine::Coverage(double, double) { return 0; }
double TEZLine::EffectiveWidth(double width) { return width; }

}  // namespace varnik
