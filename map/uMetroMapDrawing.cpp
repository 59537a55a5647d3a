// The translation of a metro map into vector drawing commands. The map is
// never painted directly: its lines, stations, legends, transfers and labels
// become the commands of one vector image, which is held as the last layer
// of the map and drawn through the view like any background picture. All
// sizes here are map pixels; the vector image scales them with the view.
//
// Order matters, since later commands paint over earlier ones: connections,
// then station circles, legends, transfer corridors, and the labels last.

#include "map/uMetroMapDrawing.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "image/uImage.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "vector/uVectorImage.h"

namespace varnik {

namespace {

constexpr TColor kWhite = 0xFFFFFF;
constexpr TColor kBlack = 0;
// The rim of every station circle: red 255, green 255, blue 0.
constexpr TColor kStationRim = 65535;

bool LacksDrivingTimes(const TMetroMapStation& station) {
  const TStation* s = station.Station();
  return s != nullptr && s->NoDrivingTimes;
}

// An Ellipse of width 1 with corners (x - r, y - r) and (x + r, y + r).
void AddCircle(TVectorImage& image, const TMetroMapStation& station, long double radius) {
  const TCoordinate& c = station.Coordinate;
  image.AddEllipse(1.0L);
  image.AddPointToLast(c.X - radius, c.Y - radius);
  image.AddPointToLast(c.X + radius, c.Y + radius);
}

}  // namespace

namespace {

// The connection between a and b, along `segment` when there is one.
void AddConnection(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation* a,
                   const TMetroMapStation* b, const TMetroMapSegment* segment) {
  if (a == nullptr || b == nullptr || !a->Coordinate.Placed() || !b->Coordinate.Placed()) return;
  // A link without a driving time is not in service yet: it is dashed and
  // drawn thinner.
  const bool dashed = LacksDrivingTimes(*a) || LacksDrivingTimes(*b);
  long double width = line.Width;
  if (dashed) width *= 0.75L;
  auto addStraight = [&] { dashed ? image.AddDashed(width) : image.AddLine(width); };
  if (segment == nullptr) {
    addStraight();
    image.AddPointToLast(a->Coordinate.X, a->Coordinate.Y);
    image.AddPointToLast(b->Coordinate.X, b->Coordinate.Y);
  } else if (segment->Spline) {
    image.AddSpline(dashed ? 1 : 0, width);
    for (const auto& node : segment->Nodes) image.AddPointToLast(node->Coordinate.X, node->Coordinate.Y);
  } else {
    addStraight();
    for (const auto& node : segment->Nodes) {
      if (!node->Coordinate.Placed()) break;
      image.AddPointToLast(node->Coordinate.X, node->Coordinate.Y);
    }
  }
}

// The look-ups of one line that drawing its connections needs, made once
// so that the drawing grows with the line and not with its square.
class TLineIndex {
 public:
  explicit TLineIndex(const TMetroMapLine& line) : line_(line) {
    for (const auto& station : line.Stations) stationOfStop_.try_emplace(station->Stop, station.get());
    for (const auto& segment : line.Segments) segments_.try_emplace(Key(segment->FromStation, segment->ToStation), segment.get());
  }
  // As FindMetroMapStationFromStop, which also reports a miss.
  TMetroMapStation* StationOf(const TStop* stop) const {
    auto it = stationOfStop_.find(stop);
    return it != stationOfStop_.end() ? it->second : line_.FindMetroMapStationFromStop(stop);
  }
  // As FindSegment: the first segment between the two, in either order.
  const TMetroMapSegment* Segment(const TMetroMapStation* a, const TMetroMapStation* b) const {
    auto it = segments_.find(Key(a, b));
    return it != segments_.end() ? it->second : nullptr;
  }

 private:
  struct TKeyHash {
    size_t operator()(const std::pair<const void*, const void*>& k) const {
      return std::hash<const void*>()(k.first) * 31 + std::hash<const void*>()(k.second);
    }
  };
  static std::pair<const void*, const void*> Key(const TMetroMapStation* a, const TMetroMapStation* b) {
    return std::less<const void*>()(a, b) ? std::pair<const void*, const void*>(a, b)
                                          : std::pair<const void*, const void*>(b, a);
  }
  const TMetroMapLine& line_;
  std::unordered_map<const TStop*, TMetroMapStation*> stationOfStop_;
  std::unordered_map<std::pair<const void*, const void*>, const TMetroMapSegment*, TKeyHash> segments_;
};

}  // namespace

void AddMapConnection(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation* a,
                      const TMetroMapStation* b) {
  if (a == nullptr || b == nullptr) return;
  AddConnection(image, line, a, b, line.FindSegment(a, b));
}

namespace {

// Every link of the line once: from the side that lists it forward, or from
// the backward side when the other end does not list it forward.
void AddConnections(TVectorImage& image, const TMetroMapLine& line) {
  image.AddPenColor(line.Color);
  const TLineIndex index(line);
  auto add = [&](const TMetroMapStation* a, const TMetroMapStation* b) {
    if (b != nullptr) AddConnection(image, line, a, b, index.Segment(a, b));
  };
  for (const auto& station : line.Stations) {
    const TStop* stop = station->Stop;
    for (const auto& next : stop->Forward) add(station.get(), index.StationOf(next->Stop));
    for (const auto& previous : stop->Backward) {
      bool listedForward = false;
      for (const auto& back : previous->Stop->Forward) listedForward = listedForward || back->Stop == stop;
      if (!listedForward) add(station.get(), index.StationOf(previous->Stop));
    }
  }
}

}  // namespace

void AddMapStation(TVectorImage& image, const TMetroMapLine& line, const TMetroMapStation& station) {
  if (!station.Coordinate.Placed()) return;
  const long double r = station.Diameter / 2.0L;
  image.AddPenColor(kStationRim);
  image.AddBrushColor(line.Color);
  AddCircle(image, station, r);
  if (LacksDrivingTimes(station)) {
    image.AddPenColor(kWhite);
    image.AddBrushColor(kWhite);
    AddCircle(image, station, r - 4);
  }
}

namespace {

// A short piece of the line with a station circle in its middle.
void AddLegend(TVectorImage& image, const TMetroMapLine& line) {
  const TRect& r = line.LegendRect;
  if (line.Stations.empty() || r.Right <= 0) return;
  const long double d = line.Stations.front()->Diameter;
  const long double cy = (static_cast<long double>(r.Top) + r.Bottom) / 2;
  image.AddPenColor(line.Color);
  image.AddBrushColor(line.Color);
  image.AddLine(line.Width);
  image.AddPointToLast(r.Left + d, cy);
  image.AddPointToLast(r.Left + 3 * d, cy);
  image.AddPenColor(kStationRim);
  image.AddBrushColor(line.Color);
  image.AddEllipse(1.0L);
  image.AddPointToLast(r.Left + 1.5L * d, (static_cast<long double>(r.Top) + r.Bottom - d) / 2);
  image.AddPointToLast(r.Left + 2.5L * d + 1, (static_cast<long double>(r.Top) + r.Bottom + d) / 2 + 1);
}

void AddTransferLine(TVectorImage& image, const TStationPair& transfer, int32_t narrowing) {
  const auto& [station1, station2] = transfer;
  image.AddLine(station1->Diameter - narrowing);
  image.AddPointToLast(station1->Coordinate.X, station1->Coordinate.Y);
  image.AddPointToLast(station2->Coordinate.X, station2->Coordinate.Y);
}

void AddEndRing(TVectorImage& image, const TMapTransferEnd& end, int32_t beyond) {
  AddCircle(image, *end.Station, end.Station->Diameter / 2.0L + beyond);
}

// The station's circle again, in its line's colour inside the white ring.
void AddEndCentre(TVectorImage& image, const TMapTransferEnd& end) {
  const TColor color = end.Line != nullptr ? end.Line->Color : kBlack;
  image.AddPenColor(color);
  image.AddBrushColor(color);
  AddCircle(image, *end.Station, end.Station->Diameter / 2.0L - 1);
  if (LacksDrivingTimes(*end.Station)) {
    image.AddBrushColor(kWhite);
    AddCircle(image, *end.Station, end.Station->Diameter / 2.0L - 3);
  }
}

// The placed stations of the transfers, each once, in order of first
// appearance.
std::vector<const TMetroMapStation*> EndStations(const std::vector<TStationPair>& transfers) {
  std::vector<const TMetroMapStation*> stations;
  std::unordered_set<const TMetroMapStation*> seen;
  for (const auto& [station1, station2] : transfers) {
    for (const TMetroMapStation* station : {station1, station2})
      if (station->Coordinate.Placed() && seen.insert(station).second) stations.push_back(station);
  }
  return stations;
}

// The index of the first line of `map` holding each station, for every
// station of the map.
std::unordered_map<const TMetroMapStation*, uint32_t> LineIndices(const TMetroMap& map) {
  std::unordered_map<const TMetroMapStation*, uint32_t> lines;
  for (uint32_t i = 0; i < map.Lines.size(); ++i)
    for (const auto& station : map.Lines[i]->Stations) lines.try_emplace(station.get(), i);
  return lines;
}

std::vector<TMapTransferEnd> TransferEnds(const TMetroMap& map, const std::vector<TStationPair>& transfers) {
  std::vector<TMapTransferEnd> ends;
  const std::vector<const TMetroMapStation*> stations = EndStations(transfers);
  if (stations.empty()) return ends;
  const auto lines = LineIndices(map);
  for (const TMetroMapStation* station : stations) {
    auto it = lines.find(station);
    ends.push_back({station, it != lines.end() ? map.Lines[it->second].get() : nullptr});
  }
  return ends;
}

std::vector<TStationPair> VisibleTransfers(const TMetroMap& map) {
  std::vector<TStationPair> visible;
  for (const auto& transfer : map.Transfers)
    if (transfer->Visible) visible.emplace_back(transfer->Station1, transfer->Station2);
  return visible;
}

}  // namespace

// A white corridor with a black outline joining white-ringed stations.
void AddMapTransfers(TVectorImage& image, const TMetroMap& map, const std::vector<TStationPair>& transfers) {
  const std::vector<TMapTransferEnd> ends = TransferEnds(map, transfers);
  image.AddPenColor(kBlack);
  image.AddBrushColor(kBlack);
  for (const TStationPair& transfer : transfers) AddTransferLine(image, transfer, 2);
  for (const TMapTransferEnd& end : ends) AddEndRing(image, end, 3);
  image.AddPenColor(kWhite);
  image.AddBrushColor(kWhite);
  for (const TMapTransferEnd& end : ends) AddEndRing(image, end, 2);
  image.AddPenColor(kWhite);
  for (const TStationPair& transfer : transfers) AddTransferLine(image, transfer, 4);
  for (const TMapTransferEnd& end : ends) AddEndCentre(image, end);
}

void TMetroMap::BuildLineDrawing(TVectorImage& image) const {
  for (const auto& line : Lines) AddConnections(image, *line);
  for (const auto& line : Lines)
    for (const auto& station : line->Stations) AddMapStation(image, *line, *station);
  for (const auto& line : Lines) AddLegend(image, *line);
  AddMapTransfers(image, *this, VisibleTransfers(*this));
}

// --- Labels --------------------------------------------------------------

namespace {

int ComponentSum(TColor c) { return (c & 255) + ((c >> 8) & 255) + ((c >> 16) & 255); }

TColor Halved(TColor c) {
  return ((c & 255) >> 1) + ((((c >> 8) & 255) >> 1) << 8) + ((((c >> 16) & 255) >> 1) << 16);
}

void AddText(TVectorImage& image, TColor pen, const std::string& text, int alignment, long double angle,
             long double x, long double y) {
  image.AddPenColor(pen);
  // An empty font name and size 0 select the label font of the settings.
  image.AddAngleTextOut("", 0, text, alignment, 0, angle);
  image.AddPointToLast(x, y);
}

// Without a background a label gets a halo that keeps it readable on any
// ground: a darker copy behind light text and a white copy behind dark text.
void AddLabelText(TVectorImage& image, const TMetroMapLine& line, const std::string& text, int alignment,
                  long double angle, long double x, long double y) {
  const TColor c = line.LabelsColor;
  if (line.LabelsBColor == kNoColor && ComponentSum(c) > 100) {
    AddText(image, Halved(c), text, alignment, angle, x + 0.5L, y + 0.5L);
  }
  if (line.LabelsBColor == kNoColor && ComponentSum(c) < 650) {
    AddText(image, kWhite, text, alignment, angle, x - 0.5L, y - 0.5L);
  }
  AddText(image, c, text, alignment, angle, x, y);
}

}  // namespace

void AddMapLabel(TVectorImage& image, const TMetroMap& map, const TMetroMapLine& line,
                 const TMetroMapStation& station) {
  image.AddBrushColor(line.LabelsBColor);
  const TRect& r = station.LabelRect;
  if (r.Left <= 0) return;
  const TStation* networkStation = station.Station();
  std::string text = networkStation != nullptr ? networkStation->Name : std::string();
  if (map.UpperCase) text = UpperCase1251(text);
  const bool vertical = RectWidth(r) < RectHeight(r);
  bool twoLines = false;
  if (map.WordWrap && !vertical) {
    size_t blank = text.find(' ');
    if (blank != std::string::npos) {
      text[blank] = '\r';
      twoLines = true;
    }
  }
  const TCoordinate& c = station.Coordinate;
  if (vertical) {
    // Bit 1 of the alignment puts the end of the text at the anchor, so the
    // label grows away from a station below it.
    if (c.Y < r.Top) {
      AddLabelText(image, line, text, 2, 90, r.Left, r.Top);
    } else {
      AddLabelText(image, line, text, 0, 90, r.Left, r.Bottom);
    }
    return;
  }
  // Bit 0 centres a single line vertically on the anchor.
  int alignment = twoLines ? 0 : 1;
  const int64_t y = twoLines ? r.Top : (int64_t{r.Top} + r.Bottom) / 2;
  int64_t x = int64_t{r.Left} + 1;
  if (c.X >= r.Left) {
    alignment += 2;
    x = int64_t{r.Right} - 1;
  }
  AddLabelText(image, line, text, alignment, 0, x, y);
}

namespace {

// White boxes over the labels printed in the background picture.
void AddLabelBoxes(TVectorImage& image, const TMetroMapLine& line) {
  for (const auto& station : line.Stations) {
    const TRect& r = station->LabelRect;
    if (r.Left <= 0 && r.Top <= 0) continue;
    image.AddPolygon(1.0L);
    image.AddPointToLast(r.Left, r.Top);
    image.AddPointToLast(r.Right, r.Top);
    image.AddPointToLast(r.Right, r.Bottom);
    image.AddPointToLast(r.Left, r.Bottom);
    image.AddPointToLast(r.Left, r.Top);
  }
}

void SetColors(TVectorImage& image, TColor color) {
  image.AddPenColor(color);
  image.AddBrushColor(color);
}

}  // namespace

void TMetroMap::BuildLabelDrawing(TVectorImage& image) const {
  if (!IsVector) {
    SetColors(image, kWhite);
    for (const auto& line : Lines) AddLabelBoxes(image, *line);
  }
  for (const auto& line : Lines) {
    for (const auto& station : line->Stations) AddMapLabel(image, *this, *line, *station);
  }
}

// --- Parts of the drawing --------------------------------------------------

namespace {

// The kinds of parts. A header sets the colours of the parts after it and
// holds nothing else; the parts after it set none of their own.
enum TPartKind : uint8_t {
  pkSize,
  pkConnections,     // of a line
  pkStations,        // of a line
  pkLegend,          // of a line
  pkBlackHeader,     // the outline of the transfers
  pkOuterLine,       // of a transfer
  pkOuterRing,       // of a transfer end
  pkWhiteHeader,     // the inside of the transfers
  pkInnerRing,       // of a transfer end
  pkWhitePenHeader,  // the corridors
  pkInnerLine,       // of a transfer
  pkCentre,          // of a transfer end
  pkBoxHeader,       // the white label boxes
  pkBoxes,           // of a line
  pkLabels,          // of a line
};

bool IsHeader(uint8_t kind) {
  return kind == pkBlackHeader || kind == pkWhiteHeader || kind == pkWhitePenHeader || kind == pkBoxHeader;
}

bool IsLinePart(uint8_t kind) {
  return kind == pkConnections || kind == pkStations || kind == pkLegend || kind == pkBoxes || kind == pkLabels;
}

bool IsTransferPart(uint8_t kind) { return kind == pkOuterLine || kind == pkInnerLine; }

bool IsEndPart(uint8_t kind) { return kind == pkOuterRing || kind == pkInnerRing || kind == pkCentre; }

constexpr uint32_t kNoLine = UINT32_MAX;

}  // namespace

TMapPieces::TMapPieces(const TMetroMap& map)
    : vector_(map.IsVector), lineCount_(map.Lines.size()) {
  const uint32_t lineCount = static_cast<uint32_t>(map.Lines.size());
  auto addPerLine = [&](uint8_t kind) {
    for (uint32_t i = 0; i < lineCount; ++i) Parts.push_back({kind, i});
  };
  auto addPer = [&](uint8_t kind, size_t count) {
    for (uint32_t i = 0; i < count; ++i) Parts.push_back({kind, i});
  };
  Parts.push_back({pkSize, 0});
  if (map.IsVector) {
    Transfers = VisibleTransfers(map);
    const auto lines = LineIndices(map);
    auto lineOf = [&](const TMetroMapStation* station) {
      auto it = lines.find(station);
      return it != lines.end() ? it->second : kNoLine;
    };
    for (const auto& [station1, station2] : Transfers) transferLines_.push_back({lineOf(station1), lineOf(station2)});
    for (const TMetroMapStation* station : EndStations(Transfers)) {
      const uint32_t line = lineOf(station);
      Ends.push_back({station, line != kNoLine ? map.Lines[line].get() : nullptr});
      endLines_.push_back(line);
    }
    addPerLine(pkConnections);
    addPerLine(pkStations);
    addPerLine(pkLegend);
    Parts.push_back({pkBlackHeader, 0});
    addPer(pkOuterLine, Transfers.size());
    addPer(pkOuterRing, Ends.size());
    Parts.push_back({pkWhiteHeader, 0});
    addPer(pkInnerRing, Ends.size());
    Parts.push_back({pkWhitePenHeader, 0});
    addPer(pkInnerLine, Transfers.size());
    addPer(pkCentre, Ends.size());
  } else {
    Parts.push_back({pkBoxHeader, 0});
    addPerLine(pkBoxes);
  }
  addPerLine(pkLabels);
}

void TMapPieces::AddPart(const TMetroMap& map, size_t k, TVectorImage& image) const {
  const TMapPart part = Parts[k];
  const TMetroMapLine* line = IsLinePart(part.Kind) ? map.Lines[part.Index].get() : nullptr;
  switch (part.Kind) {
    // The extent of the map comes from its pictures, not from this layer.
    case pkSize: image.AddSize(1, 1); break;
    case pkConnections: AddConnections(image, *line); break;
    case pkStations:
      for (const auto& station : line->Stations) AddMapStation(image, *line, *station);
      break;
    case pkLegend: AddLegend(image, *line); break;
    case pkBlackHeader: SetColors(image, kBlack); break;
    case pkOuterLine: AddTransferLine(image, Transfers[part.Index], 2); break;
    case pkOuterRing: AddEndRing(image, Ends[part.Index], 3); break;
    case pkWhiteHeader: SetColors(image, kWhite); break;
    case pkInnerRing: AddEndRing(image, Ends[part.Index], 2); break;
    case pkWhitePenHeader: image.AddPenColor(kWhite); break;
    case pkInnerLine: AddTransferLine(image, Transfers[part.Index], 4); break;
    case pkCentre: AddEndCentre(image, Ends[part.Index]); break;
    case pkBoxHeader: SetColors(image, kWhite); break;
    case pkBoxes: AddLabelBoxes(image, *line); break;
    case pkLabels:
      for (const auto& station : line->Stations) AddMapLabel(image, map, *line, *station);
      break;
    default: break;
  }
}

std::vector<bool> TMapPieces::ChangedParts(const TMetroMap& map,
                                           const std::vector<TMetroMapLine*>& lines) const {
  std::vector<bool> changed;
  if (map.IsVector != vector_ || map.Lines.size() != lineCount_) return changed;
  if (vector_) {
    if (VisibleTransfers(map) != Transfers) return changed;
    const std::vector<const TMetroMapStation*> stations = EndStations(Transfers);
    if (stations.size() != Ends.size()) return changed;
    for (size_t i = 0; i < stations.size(); ++i)
      if (stations[i] != Ends[i].Station) return changed;
  }
  std::vector<bool> lineChanged(map.Lines.size(), false);
  for (uint32_t i = 0; i < map.Lines.size(); ++i)
    for (const TMetroMapLine* line : lines) lineChanged[i] = lineChanged[i] || map.Lines[i].get() == line;
  auto touched = [&](uint32_t line) { return line != kNoLine && lineChanged[line]; };
  changed.resize(Parts.size(), false);
  for (size_t k = 0; k < Parts.size(); ++k) {
    const TMapPart part = Parts[k];
    // Headers are made again every time: the optimised list may have left
    // out their colours where the part before had set the same ones, and
    // that part may have changed.
    if (IsHeader(part.Kind)) {
      changed[k] = true;
    } else if (IsLinePart(part.Kind)) {
      changed[k] = lineChanged[part.Index];
    } else if (IsTransferPart(part.Kind)) {
      changed[k] = touched(transferLines_[part.Index][0]) || touched(transferLines_[part.Index][1]);
    } else if (IsEndPart(part.Kind)) {
      changed[k] = touched(endLines_[part.Index]);
    }
  }
  return changed;
}

// --- Building the map's layer ----------------------------------------------

void TMetroMap::BuildDrawing(bool replace) {
  // The labels are drawn in the settings' font, which must be in place first.
  Settings();
  // The replaced layer is freed only once the new one is made, so the new
  // picture never takes the old one's place in memory: whoever held on to
  // the old picture can tell that the map was drawn anew.
  std::unique_ptr<TLayer> replaced;
  if (replace && !Layers.empty()) {
    replaced = std::move(Layers.back());
    Layers.pop_back();
    SyncSegmentEnds();
  }
  auto document = std::make_unique<TVectorImage>();
  pieces_ = std::make_unique<TMapPieces>(*this);
  for (size_t k = 0; k < pieces_->Parts.size(); ++k) {
    pieces_->Starts.push_back(document->Commands.size());
    pieces_->AddPart(*this, k, *document);
  }
  pieces_->Starts.push_back(document->Commands.size());
  document->Optimize(&pieces_->Starts);
  pieces_->Document = document.get();
  auto picture = std::make_unique<TImage>();
  picture->SetVector(std::move(document));
  picture->Transparent = true;
  Layers.push_back(std::make_unique<TLayer>(std::move(picture), 100));
}

void TMetroMap::RebuildLines(const std::vector<TMetroMapLine*>& lines) {
  TVectorImage* document =
      !Layers.empty() && Layers.back()->Image != nullptr ? Layers.back()->Image->Vector.get() : nullptr;
  if (pieces_ == nullptr || document == nullptr || document != pieces_->Document ||
      document->Commands.size() != pieces_->Starts.back()) {
    return BuildDrawing(true);
  }
  for (TMetroMapLine* line : lines) line->SyncSegmentEnds();
  const std::vector<bool> changed = pieces_->ChangedParts(*this, lines);
  if (changed.empty()) return BuildDrawing(true);
  // The commands move into a new list part by part: kept ones from the old
  // list, changed parts made afresh (and left unoptimised, which draws the
  // same).
  TVectorCommands& old = document->Commands;
  TVectorCommands commands;
  commands.reserve(old.size());
  std::vector<size_t> starts;
  starts.reserve(pieces_->Starts.size());
  TVectorImage part;
  for (size_t k = 0; k < pieces_->Parts.size(); ++k) {
    starts.push_back(commands.size());
    if (changed[k]) {
      part.Commands.clear();
      pieces_->AddPart(*this, k, part);
      for (auto& command : part.Commands) commands.push_back(std::move(command));
    } else {
      for (size_t c = pieces_->Starts[k]; c < pieces_->Starts[k + 1]; ++c) commands.push_back(std::move(old[c]));
    }
  }
  starts.push_back(commands.size());
  old = std::move(commands);
  pieces_->Starts = std::move(starts);
}

}  // namespace varnik
