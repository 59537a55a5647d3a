#pragma once
// The command classes of a vector image, one per keyword of the .vec format,
// and the field reading and writing they share. Each class reads its line
// leniently (a missing field is 0, a width of 0 is 1) and writes the one
// canonical form of it, so a file read and written again keeps its meaning
// and becomes canonical.
//
// Drawing is split over units by family: lines (Line, Spline, Sine, Dashed,
// Stairs, Arrow, Railway), shapes (Ellipse, Polygon, SpotRect, SpotCircle),
// texts (TextOut, AngleTextOut) and the nested Image.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vector/uVectorImage.h"

namespace varnik {

struct TDoublePoint;

// --- Writing and reading fields ------------------------------------------

// Numbers of a .vec line: at most 15 significant digits, positional notation
// without exponent, no trailing zeros, "0" for zero. Values that are not
// finite (only absurd exponents give them) are written as 0.
std::string FormatVecFloat(long double value);

// "X,Y, " for every point.
std::string FormatPoints(const std::vector<TFPoint>& points);
// The width field: written only when it differs from 1 by more than 0.001.
std::string FormatWidth(long double width);
// The last step of every writer: surrounding blanks and one trailing comma go,
// and with the comma any blank it leaves at the end.
std::string FinishLine(std::string_view line);

// The fields after the keyword of a line, consumed left to right.
class TFieldReader {
 public:
  // Cuts the keyword (up to and including the first space) off `line`.
  explicit TFieldReader(std::string_view line);
  long double Float() { return NextFloat(rest_); }
  int32_t Integer() { return NextInteger(rest_); }
  std::string Token() { return NextToken(rest_); }
  // The text of a TextOut field: a token with every "\n" turned back into CR.
  std::string Text();
  // A width field; 0 (empty) reads as 1.
  long double Width();
  // Pairs of floats while a comma remains and fewer than `maxPoints` are held.
  void Points(std::vector<TFPoint>& points, int32_t maxPoints);
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// --- Shared drawing helpers ----------------------------------------------

// Commands with more points than this are not drawn: refining such a list
// for a curve would need gigabytes, and no real picture comes near it.
inline constexpr size_t kMaxDrawnPoints = size_t{1} << 20;

// The points mapped to the screen through `scale`.
std::vector<TDoublePoint> ToScreenPoints(TScale& scale, const std::vector<TFPoint>& points);
// `clip` widened by `margin` on every side.
struct TFRect {
  long double Left = 0, Top = 0, Right = 0, Bottom = 0;
};
TFRect Enlarge(const TRect& clip, long double margin);
// True when some segment between consecutive points is not wholly on one
// outer side of `r`.
bool AnySegmentVisible(const std::vector<TDoublePoint>& points, const TFRect& r);

// --- State commands ------------------------------------------------------

class TVectorCommandSize : public TVectorCommand {
 public:
  TVectorCommandSize();
  int32_t Width = 0;
  int32_t Height = 0;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandPenColor : public TVectorCommand {
 public:
  TVectorCommandPenColor();
  TColor Color = 0;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandBrushColor : public TVectorCommand {
 public:
  TVectorCommandBrushColor();
  TColor Color = 0;  // -1: no fill
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandAngle : public TVectorCommand {
 public:
  TVectorCommandAngle();
  long double Degrees = 0;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) override;
  void ForEachPoint(TScale& scale, const TPointCallback& callback) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
  // Turns `scale` by Degrees.
  void Turn(TScale& scale) const;
};

// Interpreted by the drawing pass: the commands after it, up to the next
// Opaque, are blended in at Percent.
class TVectorCommandOpaque : public TVectorCommand {
 public:
  TVectorCommandOpaque();
  int32_t Percent = 0;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

// Any line without a known keyword, kept byte for byte.
class TVectorCommandComment : public TVectorCommand {
 public:
  TVectorCommandComment();
  std::string Text;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

// --- Lines ---------------------------------------------------------------

// Points and a width, written "keyword pts[, W]"; the shared base of the
// line-like commands.
class TVectorCommandWidthShape : public TVectorCommand {
 public:
  long double Width = 0;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandLine : public TVectorCommandWidthShape {
 public:
  TVectorCommandLine();
  int32_t StartPercent = 0;
  int32_t EndPercent = 100;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};

class TVectorCommandSpline : public TVectorCommandLine {
 public:
  TVectorCommandSpline();
  uint8_t Dashed = 0;  // never written; reads as 0
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};

#if VARNIK_VEC_DIALECT
// N humps of a curve: P0 to P2 is one period, P1 its peak.
class TVectorCommandSine : public TVectorCommandLine {
 public:
  TVectorCommandSine();
  uint8_t Periods = 10;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
  // The 2N + 1 control points of the curve through already mapped points.
  static std::vector<TDoublePoint> ControlPoints(const std::vector<TDoublePoint>& p, int periods);
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};
#endif

class TVectorCommandDashed : public TVectorCommandLine {
 public:
  TVectorCommandDashed();
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
};

// A hatch of segments parallel to P0P1, one every 4 screen units along P0P2.
class TVectorCommandStairs : public TVectorCommandWidthShape {
 public:
  TVectorCommandStairs();
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
};

class TVectorCommandArrow : public TVectorCommandWidthShape {
 public:
  TVectorCommandArrow();
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
};

class TVectorCommandRailway : public TVectorCommand {
 public:
  TVectorCommandRailway();
  long double RailDistance = 0;
  long double TieLength = 0;
  long double TieSpacing = 0;
  long double Width = 0;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

// --- Shapes --------------------------------------------------------------

class TVectorCommandEllipse : public TVectorCommandWidthShape {
 public:
  TVectorCommandEllipse();
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};

class TVectorCommandPolygon : public TVectorCommandWidthShape {
 public:
  TVectorCommandPolygon();
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};

class TVectorCommandSpotRect : public TVectorCommand {
 public:
  TVectorCommandSpotRect();
  long double Height = 0;
  long double Width = 0;
  std::string Text;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandSpotCircle : public TVectorCommand {
 public:
  TVectorCommandSpotCircle();
  long double Radius = 0;
  std::string Text;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

// --- Texts ---------------------------------------------------------------

class TVectorCommandTextOut : public TVectorCommand {
 public:
  TVectorCommandTextOut();
  std::string FontName;
  long double Size = 0;
  std::string Text;
  uint8_t Style = 0;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

class TVectorCommandAngleTextOut : public TVectorCommand {
 public:
  TVectorCommandAngleTextOut();
  long double Angle = 0;  // degrees
  std::string FontName;
  long double Size = 0;
  std::string Text;
  uint8_t Style = 0;
  uint8_t Alignment = 0;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
  bool Bounds(TCommandBounds& bounds, const TScale& scale) const override;
};

// --- Nested image --------------------------------------------------------

class TVectorCommandImage : public TVectorCommand {
 public:
  TVectorCommandImage();
  std::string FileName;
  TGetImageFunc OnGetImage;
  void Draw(TBitmap& bitmap, const TRect& clip, int factor, TScale& scale) override;
  bool HitTest(TScale& scale, long double x, long double y, const TSpotCallback& onSpot) override;
  std::string SaveToString() const override;
  void LoadFromString(const std::string& line) override;
};

}  // namespace varnik
