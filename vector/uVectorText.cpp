// The text commands. Texts are written so that they read back unchanged:
// a text with a double quote goes between single quotes, one with a comma
// between double quotes, and a line break becomes the two characters "\n".

#include <cmath>
#include <numbers>

#include "core/uTranslation.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uDrawUtils.h"
#include "vector/uScale.h"
#include "vector/uVectorCommands.h"

namespace varnik {
namespace {

// Screen text heights beyond this come only from absurd sizes in a file (a
// font of 10^9 pixels); the font engine would grind on them, so such texts
// are not drawn.
constexpr long double kMaxTextHeight = 10000;

double D(long double v) { return static_cast<double>(v); }

std::string QuoteText(const std::string& text) {
  if (text.find('"') != std::string::npos) return "'" + text + "', ";
  if (text.find(',') != std::string::npos) return "\"" + text + "\", ";
  return text + ", ";
}

// Turns the finished line's line breaks into "\n" so the text stays on one
// line of the file.
std::string EscapeBreaks(const std::string& line) { return ReplaceAll(line, "\r", "\\n"); }

// The scale's rotation in degrees, as the text primitives take it.
long double AngleDegrees(const TScale& scale) { return scale.Angle * 180 / std::numbers::pi_v<long double>; }

// Font setup shared by both text commands; returns the brush style to
// restore. Without a brush colour the text gets no background box.
TBrushStyle PrepareText(TCanvas& canvas, const std::string& fontName, int style) {
  canvas.Font.Name = fontName;
  canvas.Font.Charset = 1;
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Font.Style = FontStyleToInt(style);
  TBrushStyle previous = canvas.Brush.Style;
  if (canvas.Brush.Color == kNoColor) canvas.Brush.Style = bsClear;
  return previous;
}

}  // namespace

// --- TextOut ------------------------------------------------------------------

TVectorCommandTextOut::TVectorCommandTextOut() {
  TypeCode = vcTextOut;
  MaxPoints = 2;
}

void TVectorCommandTextOut::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (Points.empty()) return;
  long double size = Size * scale.ScaleY;
  if (!(std::fabs(size) <= kMaxTextHeight)) return;
  TCanvas& canvas = bitmap.Canvas();
  TBrushStyle previous = PrepareText(canvas, FontName, Style);
  TScalePoint p = scale.ToScreen(Points[0].X, Points[0].Y);
  DrawText(RoundToInt(AngleDegrees(scale)), canvas, Translation().ApplyReplacements(Text), D(p.X), D(p.Y), D(size),
           clip, factor, 0);
  canvas.Brush.Style = previous;
}

std::string TVectorCommandTextOut::SaveToString() const {
  TFPoint p = Points.empty() ? TFPoint{} : Points[0];
  std::string line = "TextOut " + FontName + ", " + FormatVecFloat(Size) + ", " + FormatVecFloat(p.X) + ", " +
                     FormatVecFloat(p.Y) + ", ";
  if constexpr (kVecDialect)
    line += QuoteText(Text);
  else
    line += QuoteIfComma(Text) + ", ";  // the map editor knows only the double quotes
  if (Style != 0) line += std::to_string(Style);
  line = FinishLine(line);
  return kVecDialect ? EscapeBreaks(line) : line;
}

void TVectorCommandTextOut::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  FontName = fields.Token();
  Size = fields.Float();
  long double x = fields.Float();
  long double y = fields.Float();
  Points.push_back({x, y});
  Text = fields.Text();
  Style = static_cast<uint8_t>(IntToFontStyle(fields.Integer()));
}

// --- AngleTextOut ---------------------------------------------------------------

TVectorCommandAngleTextOut::TVectorCommandAngleTextOut() {
  TypeCode = vcAngleTextOut;
  MaxPoints = 2;
}

void TVectorCommandAngleTextOut::Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) {
  if (Points.empty()) return;
  std::string fontName = FontName;
  int style = Style;
  long double size = Size;
  if (fontName.empty()) {
    const TLabelFont& label = DefaultLabelFont();
    fontName = label.Name;
    if (style == 0) style = label.Style;
    if (size == 0) size = label.Height;
  }
  size *= scale.ScaleY;
  if (!(std::fabs(size) <= kMaxTextHeight)) return;

  TCanvas& canvas = bitmap.Canvas();
  TBrushStyle previous = PrepareText(canvas, fontName, style);
  std::string text = Translation().ApplyReplacements(Text);
  double angle = RoundToInt(AngleDegrees(scale) + Angle);
  if (Points.size() == 1) {
    TScalePoint p = scale.ToScreen(Points[0].X, Points[0].Y);
    DrawText(angle, canvas, text, D(p.X), D(p.Y), D(size), clip, factor, Alignment);
  } else {
    // Fit the text between the two points: shrink the font one unit at a
    // time until the text's diagonal fits their distance.
    TScalePoint a = scale.ToScreen(Points[0].X, Points[0].Y);
    TScalePoint b = scale.ToScreen(Points[1].X, Points[1].Y);
    long double room = ((b.X - a.X) * (b.X - a.X) + (b.Y - a.Y) * (b.Y - a.Y)) * factor * factor;
    int32_t n = RoundToInt(size * factor);
    // A cell far higher than the distance cannot fit; starting below such
    // heights gives the same result without measuring each of them.
    long double tallest = 2 * std::sqrt(room) + 16;
    if (n > tallest) n = static_cast<int32_t>(tallest);
    canvas.Font.Height = n;
    for (;;) {
      long double tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
      if (!(tw * tw + th * th > room && n > 1)) break;
      canvas.Font.Height = --n;
    }
    DrawText(angle, canvas, text, D((a.X + b.X) / 2), D((a.Y + b.Y) / 2), static_cast<double>(n) / factor, clip,
             factor, taCenterVertically | taCenterHorizontally);
  }
  canvas.Brush.Style = previous;
}

std::string TVectorCommandAngleTextOut::SaveToString() const {
  TFPoint p = Points.empty() ? TFPoint{} : Points[0];
  std::string line = "AngleTextOut " + FormatVecFloat(Angle) + ", " + FontName + ", " + FormatVecFloat(Size) + ", " +
                     FormatVecFloat(p.X) + ", " + FormatVecFloat(p.Y) + ", " + QuoteText(Text);
  if (Style != 0 || Alignment != 0) line += std::to_string(Style) + ", ";
  if (Alignment != 0) line += std::to_string(Alignment);
  return EscapeBreaks(FinishLine(line));
}

void TVectorCommandAngleTextOut::LoadFromString(const std::string& line) {
  TFieldReader fields(line);
  Angle = fields.Float();
  FontName = fields.Token();
  Size = fields.Float();
  long double x = fields.Float();
  long double y = fields.Float();
  Points.push_back({x, y});
  Text = fields.Text();
  Style = static_cast<uint8_t>(IntToFontStyle(fields.Integer()));
  Alignment = static_cast<uint8_t>(fields.Integer());
}

}  // namespace varnik
