// Writing the editor's part of a .map file. Lists are written up to their
// last non-empty item, so that a file stays as short as the user left it.

#include "core/uUtils.h"
#include "map/uCitySaver.h"
#include "map/uMetroMap.h"
#include "network/uRoute.h"
#include "platform/uProfile.h"

namespace varnik {

namespace {

constexpr const char* kAdditionalNodes = "AdditionalNodes";

// The items joined by ", ", trimmed, with one trailing comma removed.
std::string JoinList(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += item + ", ";
  text = TrimBlank(text);
  if (!text.empty() && text.back() == ',') text.pop_back();
  return text;
}

// Key names of profile files match ignoring the case of A-Z only.
std::string AsciiLower(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return name;
}

std::string StationName(const TMetroMapStation* station, TStationNaming name) {
  const TStation* s = station != nullptr ? station->Station() : nullptr;
  return s != nullptr ? QuoteIfComma(name(*s)) : std::string();
}

}  // namespace

std::string TMetroMapLine::RectsValue() const {
  size_t count = 0;
  for (size_t i = 0; i < Stations.size(); ++i) {
    if (Stations[i]->LabelRect != TRect{}) count = i + 1;
  }
  std::vector<std::string> items;
  for (size_t i = 0; i < count; ++i) items.push_back(RectToStr(Stations[i]->LabelRect));
  return JoinList(items);
}

std::string TMetroMapLine::CoordinatesValue() const {
  size_t count = 0;
  for (size_t i = 0; i < Stations.size(); ++i) {
    const TCoordinate& c = Stations[i]->Coordinate;
    if (c.X != 0 || c.Y != 0) count = i + 1;
  }
  std::vector<std::string> items;
  for (size_t i = 0; i < count; ++i) {
    const TCoordinate& c = Stations[i]->Coordinate;
    items.push_back(std::to_string(c.X) + "," + std::to_string(c.Y));
  }
  return JoinList(items);
}

std::string TMetroMapLine::SegmentValue(const TMetroMapSegment& segment, TStationNaming name) const {
  std::string value = QuoteIfComma(Route->Name) + "," + StationName(segment.FromStation, name) + "," +
                      StationName(segment.ToStation, name);
  for (size_t i = 1; i + 1 < segment.Nodes.size(); ++i) {
    const TCoordinate& c = segment.Nodes[i]->Coordinate;
    value += ", " + std::to_string(c.X) + "," + std::to_string(c.Y);
  }
  if (segment.Spline) value += ", spline";
  return value;
}

void TMetroMapLine::SaveAdditionalNodes(TProfileFile& file, TWrittenKeys& written) const {
  for (const auto& segment : Segments) {
    int& occurrence = written[AsciiLower(segment->Name)];
    file.SetValue(kAdditionalNodes, segment->Name, SegmentValue(*segment), occurrence++);
  }
}

TWrittenKeys TMetroMap::SegmentKeys() const {
  TWrittenKeys keys;
  for (const auto& line : Lines)
    for (const auto& segment : line->Segments) ++keys[AsciiLower(segment->Name)];
  return keys;
}

TWrittenKeys WriteMapFile(const TMetroMap& map, TProfileFile& file, bool writeLegendRects) {
  TWrittenKeys written;
  for (const auto& line : map.Lines) {
    const std::string& section = line->Route->Name;
    file.SetValue(section, "Rects", line->RectsValue());
    if (writeLegendRects) {
      file.SetValue(section, "Rect",
                    line->LegendRect == TRect{} ? std::string() : RectToStr(line->LegendRect));
    }
    file.SetValue(section, "Coordinates", line->CoordinatesValue());
    line->SaveAdditionalNodes(file, written);
  }
  // The last occurrences of a key go first, so that the earlier ones keep
  // their numbers.
  for (const auto& [key, inFile] : map.SegmentKeysInFile) {
    auto now = written.find(key);
    for (int k = inFile - 1; k >= (now != written.end() ? now->second : 0); --k)
      file.RemoveValue(kAdditionalNodes, key, k);
  }
  return written;
}

}  // namespace varnik
