#include "vector/uVectorImage.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/uIniStream.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"
#include "vector/uDrawUtils.h"
#include "vector/uScale.h"
#include "vector/uVectorBounds.h"
#include "vector/uVectorCommands.h"
#include "vector/uVectorSink.h"

namespace varnik {
namespace {

struct TKeywordCode {
  std::string_view Keyword;  // as matched, lower case
  std::string_view Written;  // as the writer spells it
  uint8_t Code;
};

// Every keyword of the format with its code in the dialect being built.
constexpr auto kKeywords = std::to_array<TKeywordCode>({
    {"size", "Size", vcSize},
    {"pencolor", "PenColor", vcPenColor},
    {"brushcolor", "BrushColor", vcBrushColor},
    {"line", "Line", vcLine},
    {"spline", "Spline", vcSpline},
#if VARNIK_VEC_DIALECT
    {"sine", "Sine", vcSine},
#endif
    {"dashed", "Dashed", vcDashed},
    {"stairs", "Stairs", vcStairs},
    {"arrow", "Arrow", vcArrow},
    {"ellipse", "Ellipse", vcEllipse},
    {"railway", "Railway", vcRailway},
    {"textout", "TextOut", vcTextOut},
    {"angletextout", "AngleTextOut", vcAngleTextOut},
    {"polygon", "Polygon", vcPolygon},
    {"spotrect", "SpotRect", vcSpotRect},
    {"spotcircle", "SpotCircle", vcSpotCircle},
    {"angle", "Angle", vcAngle},
    {"opaque", "Opaque", vcOpaque},
    {"image", "Image", vcImage},
});

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0;

// Documents being drawn (or hit-tested) right now, outermost first. An Image
// command can lead back to a document further up the chain, directly or
// through other pictures; that document is then skipped instead of recursing
// without end. Pictures loaded afresh from a file for every drawing are new
// documents each time, so the depth is bounded too.
constexpr size_t kMaxNesting = 16;
std::vector<const TVectorImage*>& ActiveDocuments() {
  // A chain of nested drawings runs on one thread; other threads draw their own.
  thread_local std::vector<const TVectorImage*> active;
  return active;
}

class TNestingGuard {
 public:
  explicit TNestingGuard(const TVectorImage* document) {
    auto& active = ActiveDocuments();
    entered_ = active.size() < kMaxNesting && std::find(active.begin(), active.end(), document) == active.end();
    if (entered_) active.push_back(document);
  }
  ~TNestingGuard() {
    if (entered_) ActiveDocuments().pop_back();
  }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;
  bool Entered() const { return entered_; }

 private:
  bool entered_ = false;
};

void FillBitmap(TBitmap& bitmap, TColor color) {
  bitmap.Canvas().Pen.Color = color;
  bitmap.Canvas().Brush.Color = color;
  if (TVectorSink* sink = bitmap.Sink())
    sink->Fill(color);
  else
    bitmap.Fill(color);
}

bool EnsureLayer(std::unique_ptr<TBitmap>& layer, int width, int height) {
  if (!layer) layer = std::make_unique<TBitmap>();
  if (layer->Width() != width || layer->Height() != height) layer->SetSize(width, height);
  return layer->Width() == width && layer->Height() == height;
}

// The two work layers of one opacity blend, the target's size, taken from
// the drawing thread's context for as long as the blend lasts: a picture
// drawn inside the blended range (an Image command) blends in layers of its
// own, and threads drawing the same document never share them.
class TOpacityLayers {
 public:
  TOpacityLayers(int width, int height) : context_(ThreadDrawContext()), depth_(context_.OpacityDepth) {
    context_.OpacityDepth += 2;
    if (context_.OpacityLayers.size() < depth_ + 2) context_.OpacityLayers.resize(depth_ + 2);
    ready_ = EnsureLayer(context_.OpacityLayers[depth_], width, height) &&
             EnsureLayer(context_.OpacityLayers[depth_ + 1], width, height);
    // Every blend starts from the pen, brush and font of a new bitmap, so
    // that nothing of an earlier blend shows in this one.
    for (size_t k = depth_; k < depth_ + 2; ++k) {
      TCanvas& canvas = context_.OpacityLayers[k]->Canvas();
      canvas.Pen = TPen{};
      canvas.Brush = TBrush{};
      canvas.Font = TFont{};
    }
  }
  ~TOpacityLayers() { context_.OpacityDepth = depth_; }
  TOpacityLayers(const TOpacityLayers&) = delete;
  TOpacityLayers& operator=(const TOpacityLayers&) = delete;

  bool Ready() const { return ready_; }
  TBitmap& Black() { return *context_.OpacityLayers[depth_]; }
  TBitmap& White() { return *context_.OpacityLayers[depth_ + 1]; }

 private:
  TDrawContext& context_;
  size_t depth_;
  bool ready_ = false;
};

}  // namespace

std::string_view KeywordOfCode(uint8_t code) {
  for (const auto& entry : kKeywords)
    if (entry.Code == code) return entry.Keyword;
  return {};
}

std::string_view WrittenKeyword(uint8_t code) {
  for (const auto& entry : kKeywords)
    if (entry.Code == code) return entry.Written;
  return {};
}

uint8_t CodeOfKeyword(std::string_view keyword) {
  for (const auto& entry : kKeywords)
    if (entry.Keyword == keyword) return entry.Code;
  return vcComment;
}

// --- TVectorCommand -------------------------------------------------------

void TVectorCommand::Draw(TBitmap&, const TRect&, int, TScale&) {}

bool TVectorCommand::HitTest(TScale&, long double, long double, const TSpotCallback&) { return false; }

void TVectorCommand::ForEachPoint(TScale& scale, const TPointCallback& callback) {
  for (TFPoint& point : Points) callback(point, scale);
}

void TVectorCommand::AddPoint(long double x, long double y) {
  if (static_cast<int64_t>(Points.size()) >= MaxPoints) ShowMessage("TVectorCommand.AddPoint: error count");
  Points.push_back({x, y});
}

std::unique_ptr<TVectorCommand> CreateCommand(uint8_t code) {
  switch (code) {
    case vcSize: return std::make_unique<TVectorCommandSize>();
    case vcPenColor: return std::make_unique<TVectorCommandPenColor>();
    case vcBrushColor: return std::make_unique<TVectorCommandBrushColor>();
    case vcLine: return std::make_unique<TVectorCommandLine>();
    case vcSpline: return std::make_unique<TVectorCommandSpline>();
#if VARNIK_VEC_DIALECT
    case vcSine: return std::make_unique<TVectorCommandSine>();
#endif
    case vcDashed: return std::make_unique<TVectorCommandDashed>();
    case vcStairs: return std::make_unique<TVectorCommandStairs>();
    case vcArrow: return std::make_unique<TVectorCommandArrow>();
    case vcEllipse: return std::make_unique<TVectorCommandEllipse>();
    case vcRailway: return std::make_unique<TVectorCommandRailway>();
    case vcTextOut: return std::make_unique<TVectorCommandTextOut>();
    case vcAngleTextOut: return std::make_unique<TVectorCommandAngleTextOut>();
    case vcPolygon: return std::make_unique<TVectorCommandPolygon>();
    case vcSpotRect: return std::make_unique<TVectorCommandSpotRect>();
    case vcSpotCircle: return std::make_unique<TVectorCommandSpotCircle>();
    case vcAngle: return std::make_unique<TVectorCommandAngle>();
    case vcOpaque: return std::make_unique<TVectorCommandOpaque>();
    case vcImage: return std::make_unique<TVectorCommandImage>();
    default: return std::make_unique<TVectorCommandComment>();
  }
}

std::unique_ptr<TVectorCommand> ReadCommandFromString(const std::string& line) {
  // Nothing is trimmed: a line starting with a blank has an empty keyword
  // and stays a Comment.
  std::string keyword = LowerCase1251(std::string_view(line).substr(0, line.find(' ')));
  auto command = CreateCommand(CodeOfKeyword(keyword));
  command->LoadFromString(line);
  return command;
}

TLabelFont& DefaultLabelFont() {
  static TLabelFont font;
  return font;
}

// --- TVectorImage: content ------------------------------------------------

TVectorImage::TVectorImage() = default;
TVectorImage::~TVectorImage() = default;

void TVectorImage::Clear() { Commands.clear(); }

bool TVectorImage::LoadFromFile(const std::string& fileName) {
  Clear();
  std::string data;
  ReadWholeFile(fileName, data);
  std::vector<std::string> lines = SplitLines(data);
  data = {};
  Commands.reserve(lines.size());
  for (const std::string& line : lines) Commands.push_back(ReadCommandFromString(line));
  SetImageResolver(OnGetImage);
  return !lines.empty();
}

#if VARNIK_VEC_DIALECT
void TVectorImage::LoadFromStrings(const std::vector<std::string>& lines) {
  Clear();
  Commands.reserve(lines.size());
  for (const std::string& line : lines) Commands.push_back(ReadCommandFromString(line));
  SetImageResolver(OnGetImage);
}

void TVectorImage::LoadFromText(std::string_view text) { LoadFromStrings(SplitLines(text)); }

void TVectorImage::SetSmooth(bool on) { SharedEZLine().Smooth = on; }
#endif

std::string TVectorImage::SaveToText() const {
  std::string text;
  for (const auto& command : Commands) {
    text += command->SaveToString();
    text += "\r\n";
  }
  return text;
}

int32_t TVectorImage::ImageWidth() const {
  if (Commands.empty() || Commands[0]->TypeCode != vcSize) return 0;
  return static_cast<const TVectorCommandSize&>(*Commands[0]).Width;
}

int32_t TVectorImage::ImageHeight() const {
  if (Commands.empty() || Commands[0]->TypeCode != vcSize) return 0;
  return static_cast<const TVectorCommandSize&>(*Commands[0]).Height;
}

void TVectorImage::SetImageWidth(int32_t value) {
  if (!Commands.empty() && Commands[0]->TypeCode == vcSize)
    static_cast<TVectorCommandSize&>(*Commands[0]).Width = value;
}

void TVectorImage::SetImageHeight(int32_t value) {
  if (!Commands.empty() && Commands[0]->TypeCode == vcSize)
    static_cast<TVectorCommandSize&>(*Commands[0]).Height = value;
}

void TVectorImage::SetImageResolver(TGetImageFunc resolver) {
  OnGetImage = std::move(resolver);
  for (const auto& command : Commands)
    if (command->TypeCode == vcImage) static_cast<TVectorCommandImage&>(*command).OnGetImage = OnGetImage;
}

// --- TVectorImage: drawing ------------------------------------------------

void TVectorImage::Draw(TBitmap& bitmap, const TRect& clip, int factor, const TScale& scale, bool fillWhite) {
  TNestingGuard guard(this);
  if (!guard.Entered()) return;
  TScale working, second;
  working.Assign(scale);
  size_t i = DrawRange(bitmap, working, 0, clip, factor, fillWhite ? kWhite : kNoColor);
  while (i < Commands.size()) {
    int32_t percent = static_cast<const TVectorCommandOpaque&>(*Commands[i]).Percent;
    // 32-bit arithmetic as the blend defines it: absurd percentages wrap
    // instead of overflowing.
    int32_t coverage = static_cast<int32_t>(static_cast<uint32_t>(percent) * 256u) / 100;
    if (coverage == 256) {
      i = DrawRange(bitmap, working, i + 1, clip, factor, kNoColor);
    } else if (coverage == 0) {
      i = SkipRange(working, i + 1);
    } else if (TVectorSink* sink = bitmap.Sink()) {
      // A vector page lays the range over what is below at the same
      // opacity, without work layers.
      sink->BeginOpacity(coverage / 256.0);
      i = DrawRange(bitmap, working, i + 1, clip, factor, kNoColor);
      sink->EndOpacity();
    } else if (TOpacityLayers layers(bitmap.Width(), bitmap.Height()); layers.Ready()) {
      second.Assign(working);
      DrawRange(layers.Black(), second, i + 1, clip, factor, kBlack);
      i = DrawRange(layers.White(), working, i + 1, clip, factor, kWhite);
      BlendLayers(bitmap, layers.Black(), layers.White(), coverage);
    } else {
      // The target is too big for work layers of its size; the range is
      // left out as if fully transparent.
      i = SkipRange(working, i + 1);
    }
  }
  bitmap.Canvas().Brush.Style = bsSolid;
}

size_t TVectorImage::DrawRange(TBitmap& target, TScale& scale, size_t start, const TRect& clip, int factor,
                               TColor background) {
  if (background != kNoColor) FillBitmap(target, background);
  TCanvas& canvas = target.Canvas();
  canvas.Pen.Color = kBlack;
  canvas.Brush.Color = kWhite;
  TVisibleArea area(target, scale);
  const TDrawContext& context = ThreadDrawContext();
  for (size_t k = start; k < Commands.size(); ++k) {
    if (context.Stopped()) return Commands.size();
    TVectorCommand& command = *Commands[k];
    if (command.TypeCode == vcOpaque) return k;
    if (command.TypeCode == vcPolygon && !DrawPolygons) continue;
    if (!area.MayReach(command, scale)) continue;
    command.Draw(target, clip, factor, scale);
    if (command.TypeCode == vcAngle || command.TypeCode == vcImage) area.Update(scale);
  }
  return Commands.size();
}

size_t TVectorImage::SkipRange(TScale& scale, size_t start) {
  for (size_t k = start; k < Commands.size(); ++k) {
    if (Commands[k]->TypeCode == vcOpaque) return k;
    if (Commands[k]->TypeCode == vcAngle) static_cast<TVectorCommandAngle&>(*Commands[k]).Turn(scale);
  }
  return Commands.size();
}

// Each layer holds the range drawn over one flat background, so a pixel's
// shape colour q and coverage a show as b = a*q on black and w = a*q +
// (1 - a)*255 on white; w - b - 256 is about -256*a and the destination moves
// towards b by a*c/256. The products wrap at 32 bits, which the stored
// pictures' look depends on for out-of-range percentages.
void TVectorImage::BlendLayers(TBitmap& bitmap, const TBitmap& black, const TBitmap& white, int coverage) {
  const uint32_t c = static_cast<uint32_t>(coverage);
  const int width = bitmap.Width(), height = bitmap.Height();
  const TDrawContext& context = ThreadDrawContext();
  for (int y = std::max(0, context.RowsFrom); y < std::min(height, context.RowsTo); ++y) {
    uint8_t* d = bitmap.ScanLine(y);
    const uint8_t* b = black.ScanLine(y);
    const uint8_t* w = white.ScanLine(y);
    for (int x = 0; x < width; ++x, d += TBitmap::kBytesPerPixel, b += TBitmap::kBytesPerPixel,
             w += TBitmap::kBytesPerPixel) {
      bool blackTouched = b[0] != 0 || b[1] != 0 || b[2] != 0;
      bool whiteTouched = w[0] != 255 || w[1] != 255 || w[2] != 255;
      if (!blackTouched && !whiteTouched) continue;
      for (int ch = 0; ch < 3; ++ch) {
        uint32_t product = (static_cast<uint32_t>(d[ch]) - b[ch]) * (static_cast<uint32_t>(w[ch]) - b[ch] - 256u) * c;
        d[ch] = static_cast<uint8_t>(d[ch] + (product >> 16));
      }
    }
  }
}

bool TVectorImage::HitTest(const TScale& scale, long double x, long double y, const TSpotCallback& onSpot) {
  TNestingGuard guard(this);
  if (!guard.Entered()) return false;
  TScale working;
  working.Assign(scale);
  for (const auto& command : Commands)
    if (command->HitTest(working, x, y, onSpot)) return true;
  return false;
}

void TVectorImage::ForEachPoint(const TScale& scale, const TPointCallback& callback) {
  TScale working;
  working.Assign(scale);
  for (const auto& command : Commands) command->ForEachPoint(working, callback);
}

// --- TVectorImage: building (map editor) ----------------------------------

#if !VARNIK_VEC_DIALECT
void TVectorImage::AddCommand(std::unique_ptr<TVectorCommand> command) {
  // Most built commands with points get two (a link, a circle's corners):
  // making room for them at once saves a reallocation for each. Colours
  // take none, and a map has as many of them as of everything else.
  if (command->MaxPoints > 0) command->Points.reserve(size_t(std::min<int32_t>(command->MaxPoints, 2)));
  Commands.push_back(std::move(command));
}

void TVectorImage::AddPointToLast(long double x, long double y) {
  if (!Commands.empty()) Commands.back()->AddPoint(x, y);
}

void TVectorImage::SetLineRange(int32_t startPercent, int32_t endPercent) {
  if (Commands.empty()) return;
  if (auto* line = dynamic_cast<TVectorCommandLine*>(Commands.back().get())) {
    line->StartPercent = startPercent;
    line->EndPercent = endPercent;
  }
}

void TVectorImage::AddSize(int32_t width, int32_t height) {
  auto command = std::make_unique<TVectorCommandSize>();
  command->Width = width;
  command->Height = height;
  AddCommand(std::move(command));
}

void TVectorImage::AddPenColor(TColor color) {
  auto command = std::make_unique<TVectorCommandPenColor>();
  command->Color = color;
  AddCommand(std::move(command));
}

void TVectorImage::AddBrushColor(TColor color) {
  auto command = std::make_unique<TVectorCommandBrushColor>();
  command->Color = color;
  AddCommand(std::move(command));
}

namespace {
template <class T>
std::unique_ptr<T> WithWidth(long double width) {
  auto command = std::make_unique<T>();
  command->Width = width;
  return command;
}
}  // namespace

void TVectorImage::AddLine(long double width) { AddCommand(WithWidth<TVectorCommandLine>(width)); }

void TVectorImage::AddSpline(uint8_t dashed, long double width) {
  auto command = WithWidth<TVectorCommandSpline>(width);
  command->Dashed = dashed;
  AddCommand(std::move(command));
}

void TVectorImage::AddDashed(long double width) { AddCommand(WithWidth<TVectorCommandDashed>(width)); }
void TVectorImage::AddPolygon(long double width) { AddCommand(WithWidth<TVectorCommandPolygon>(width)); }
void TVectorImage::AddEllipse(long double width) { AddCommand(WithWidth<TVectorCommandEllipse>(width)); }

void TVectorImage::AddAngleTextOut(const std::string& fontName, int style, const std::string& text, int alignment,
                                   long double size, long double angle) {
  auto command = std::make_unique<TVectorCommandAngleTextOut>();
  command->FontName = fontName;
  command->Style = static_cast<uint8_t>(IntToFontStyle(style));
  command->Text = text;
  command->Alignment = static_cast<uint8_t>(alignment);
  command->Size = size;
  command->Angle = angle;
  AddCommand(std::move(command));
}

namespace {
TColor ColorOf(const TVectorCommand& command) {
  if (command.TypeCode == vcPenColor) return static_cast<const TVectorCommandPenColor&>(command).Color;
  return static_cast<const TVectorCommandBrushColor&>(command).Color;
}
}  // namespace

void TVectorImage::Optimize(std::vector<size_t>* marks) {
  // Decided on a mask and removed in one sweep: erasing commands one at a
  // time from the middle of the list took time growing with its square.
  std::vector<bool> keep(Commands.size(), true);
  auto isColor = [](uint8_t code) { return code == vcPenColor || code == vcBrushColor; };
  // A colour command followed by another of its kind with only colour
  // commands between never shows.
  for (uint8_t kind : {vcPenColor, vcBrushColor}) {
    bool overridden = false;
    for (size_t k = Commands.size(); k-- > 0;) {
      const uint8_t code = Commands[k]->TypeCode;
      if (!isColor(code)) {
        overridden = false;
      } else if (code == kind) {
        if (overridden) keep[k] = false;
        overridden = true;
      }
    }
  }
  // A colour command repeating the colour already set changes nothing. The
  // last command of the list is never looked at.
  size_t last = Commands.size();
  while (last > 0 && !keep[last - 1]) --last;
  for (uint8_t kind : {vcPenColor, vcBrushColor}) {
    TColor current = kNoColor;
    for (size_t k = 0; k + 1 < last; ++k) {
      if (!keep[k] || Commands[k]->TypeCode != kind) continue;
      const TColor color = ColorOf(*Commands[k]);
      if (color == current) keep[k] = false;
      current = color;
    }
  }
  // Each mark becomes the number of kept commands before it.
  std::vector<size_t> keptBefore(Commands.size() + 1, 0);
  size_t kept = 0;
  for (size_t k = 0; k < Commands.size(); ++k) {
    keptBefore[k] = kept;
    if (keep[k]) Commands[kept++] = std::move(Commands[k]);
  }
  keptBefore[Commands.size()] = kept;
  Commands.resize(kept);
  if (marks != nullptr)
    for (size_t& mark : *marks) mark = keptBefore[std::min(mark, keptBefore.size() - 1)];
}

void TVectorImage::DrawLinesOnly(TBitmap& bitmap, const TRect& clip, long double width, TColor color,
                                 TScale& scale, int factor) {
  bitmap.Canvas().Pen.Color = color;
  for (const auto& command : Commands) {
    uint8_t code = command->TypeCode;
    if (code != vcLine && code != vcSpline && code != vcDashed) continue;
    auto& line = static_cast<TVectorCommandLine&>(*command);
    long double saved = line.Width;
    line.Width = width;
    line.Draw(bitmap, clip, factor, scale);
    line.Width = saved;
  }
}
#endif

}  // namespace varnik
