// Field reading and writing shared by every command, and the commands that
// only carry state (colours, size, angle, opacity) or keep a line (comment).

#include "vector/uVectorCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "platform/uCanvas.h"
#include "platform/uBitmap.h"
#include "vector/uEZLine.h"
#include "vector/uScale.h"

namespace varnik {

// --- Writing ---------------------------------------------------------------

std::string FormatVecFloat(long double value) {
  if (!std::isfinite(value) || value == 0) return "0";
  // Whole numbers below 10^15 are exact in 15 digits; they are most of what
  // pictures hold, and printing them directly is many times faster.
  if (std::fabs(value) < 1e15L && value == std::trunc(value)) return std::to_string(static_cast<int64_t>(value));
  // The exponent form gives exactly 15 correctly rounded significant digits;
  // they are then laid out positionally.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14Le", value);
  std::string text = buffer;
  bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  size_t e = text.find('e');
  int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent < 0) {
    out += "0.";
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits);
      out += '.';
      out += digits.substr(intDigits);
    }
  }
  return out;
}

std::string FormatPoints(const std::vector<TFPoint>& points) {
  std::string out;
  for (const TFPoint& p : points) {
    out += FormatVecFloat(p.X);
    out += ',';
    out += FormatVecFloat(p.Y);
    out += ", ";
  }
  return out;
}

std::string FormatWidth(long double width) {
  return std::fabs(width - 1) > 0.001L ? FormatVecFloat(width) : std::string();
}

std::string FinishLine(std::string_view line) {
  std::string_view trimmed = TrimView(line);
  // An empty last field leaves a blank before the comma ("Image , " of an
  // Image without a file name); the line is trimmed again once the comma
  // is gone, so no written line ends in a blank.
  if (!trimmed.empty() && trimmed.back() == ',') trimmed = TrimView(trimmed.substr(0, trimmed.size() - 1));
  return std::string(trimmed);
}

// --- Reading ---------------------------------------------------------------

TFieldReader::TFieldReader(std::string_view line) : rest_(line) { ParseToken(rest_, " "); }

std::string TFieldReader::Text() { return ReplaceAll(Token(), "\\n", "\r"); }

long double TFieldReader::Width() {
  long double width = Float();
  return width == 0 ? 1 : width;
}

void TFieldReader::Points(std::vector<TFPoint>& points, int32_t maxPoints) {
  // Room for every pair the commas allow, so that a long list is not copied
  // each time it grows.
  auto pairs = static_cast<int64_t>(std::count(rest_.begin(), rest_.end(), ',') / 2);
  points.reserve(points.size() + static_cast<size_t>(std::min<int64_t>(pairs, maxPoints)));
  while (rest_.find(',') != std::string_view::npos && static_cast<int64_t>(points.size()) < maxPoints) {
    long double x = Float();
    long double y = Float();
    points.push_back({x, y});
  }
}

// --- Shared drawing helpers --------------------------------------------------

std::vector<TDoublePoint> ToScreenPoints(TScale& scale, const std::vector<TFPoint>& points) {
  std::vector<TDoublePoint> out;
  out.reserve(points.size());
  for (const TFPoint& p : points) {
    TScalePoint s = scale.ToScreen(p.X, p.Y);
    out.push_back({static_cast<double>(s.X), static_cast<double>(s.Y)});
  }
  return out;
}

TFRect Enlarge(const TRect& clip, long double margin) {
  return {clip.Left - margin, clip.Top - margin, clip.Right + margin, clip.Bottom + margin};
}

bool AnySegmentVisible(const std::vector<TDoublePoint>& points, const TFRect& r) {
  for (size_t i = 1; i < points.size(); ++i) {
    const TDoublePoint& a = points[i - 1];
    const TDoublePoint& b = points[i];
    bool rejected = (a.X < r.Left && b.X < r.Left) || (a.X > r.Right && b.X > r.Right) ||
                    (a.Y < r.Top && b.Y < r.Top) || (a.Y > r.Bottom && b.Y > r.Bottom);
    if (!rejected) return true;
  }
  return false;
}

// --- Size --------------------------------------------------------------------

TVectorCommandSize::TVectorCommandSize() { TypeCode = vcSize; }

std::string TVectorCommandSize::SaveToString() const {
  return FinishLine("Size " + std::to_string(Width) + "x" + std::to_string(Height));
}

void TVectorCommandSize::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  std::string_view rest = fields.Rest();
  Width = ParseInt(TrimView(ParseToken(rest, "x")));
  Height = ParseInt(TrimView(rest));
}

// --- PenColor, BrushColor --------------------------------------------------

TVectorCommandPenColor::TVectorCommandPenColor() { TypeCode = vcPenColor; }

void TVectorCommandPenColor::Draw(TBitmap& bitmap, const TRect&, int, TScale&) { bitmap.Canvas().Pen.Color = Color; }

std::string TVectorCommandPenColor::SaveToString() const { return FinishLine("PenColor " + ColorToHex(Color)); }

void TVectorCommandPenColor::LoadFromString(const std::string& line) {
  Color = HexToColor(TFieldReader(line).Rest());
}

TVectorCommandBrushColor::TVectorCommandBrushColor() { TypeCode = vcBrushColor; }

void TVectorCommandBrushColor::Draw(TBitmap& bitmap, const TRect&, int, TScale&) {
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.Color = Color;
  canvas.Brush.Style = Color == kNoColor ? bsClear : bsSolid;
}

std::string TVectorCommandBrushColor::SaveToString() const { return FinishLine("BrushColor " + ColorToHex(Color)); }

void TVectorCommandBrushColor::LoadFromString(const std::string& line) {
  Color = HexToColor(TFieldReader(line).Rest());
}

// --- Angle -------------------------------------------------------------------

TVectorCommandAngle::TVectorCommandAngle() { TypeCode = vcAngle; }

void TVectorCommandAngle::Turn(TScale& scale) const { scale.SetAngle(scale.Angle + Degrees * std::numbers::pi_v<long double> / 180); }

void TVectorCommandAngle::Draw(TBitmap&, const TRect&, int, TScale& scale) { Turn(scale); }

bool TVectorCommandAngle::HitTest(TScale& scale, long double, long double, const TSpotCallback&) {
  Turn(scale);
  return false;
}

void TVectorCommandAngle::ForEachPoint(TScale& scale, const TPointCallback&) { Turn(scale); }

std::string TVectorCommandAngle::SaveToString() const { return FinishLine("Angle " + FormatVecFloat(Degrees)); }

void TVectorCommandAngle::LoadFromString(const std::string& line) {
  Degrees = ParseFloat(TrimView(TFieldReader(line).Rest()));
}

// --- Opaque ------------------------------------------------------------------

TVectorCommandOpaque::TVectorCommandOpaque() { TypeCode = vcOpaque; }

std::string TVectorCommandOpaque::SaveToString() const {
  return FinishLine("Opaque " + std::to_string(Percent));
}

void TVectorCommandOpaque::LoadFromString(const std::string& line) {
  Percent = ParseInt(TrimView(TFieldReader(line).Rest()));
}

// --- Comment -----------------------------------------------------------------

TVectorCommandComment::TVectorCommandComment() { TypeCode = vcComment; }

std::string TVectorCommandComment::SaveToString() const { return Text; }

void TVectorCommandComment::LoadFromString(const std::string& line) { Text = line; }

}  // namespace varnik
