#include "city/uCityStore.h"

#include <set>

#include "city/uCity.h"
#include "city/uCityWriter.h"
#include "core/uUtils.h"
#include "map/uCitySaver.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uProfile.h"

namespace varnik {

namespace {

constexpr const char* kTransfers = "Transfers";
constexpr const char* kAdditionalNodes = "AdditionalNodes";
constexpr const char* kMetroTransport = "Metro.trp";

std::string AsciiLower(std::string name) {
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return name;
}

std::string LineSection(size_t index) { return "Line" + std::to_string(index + 1); }

std::string HeightsValue(const TMetroMapLine& line) {
  std::string value;
  bool any = false;
  for (const auto& station : line.Stations) {
    value += (value.empty() ? "" : ",") + std::to_string(station->Coordinate.Height);
    any = any || station->Coordinate.Height != 0;
  }
  return any ? value : std::string();
}

// The heights a line without its own key gets from the parent map.
std::string InheritedHeights(const TMetroMap& map, const TMetroMapLine& line) {
  const TMetroMapLine* parent =
      map.ParentMap != nullptr ? map.ParentMap->FindLineByRoute(line.Route) : nullptr;
  std::string value;
  bool any = false;
  for (size_t i = 0; i < line.Stations.size(); ++i) {
    const int32_t height =
        parent != nullptr && i < parent->Stations.size() ? parent->Stations[i]->Coordinate.Height : 0;
    value += (value.empty() ? "" : ",") + std::to_string(height);
    any = any || height != 0;
  }
  return any ? value : std::string();
}

// The way back of a declared transfer: at the other station, leading back,
// named "-" + the declaration's name, of the same file identity.
const TTransfer* WayBack(const TTransfer& transfer, const TStation& from) {
  for (const auto& back : transfer.Station->Transfers)
    if (back->Station == &from && back->FileId == transfer.FileId && back->Name == "-" + transfer.Name)
      return back.get();
  return nullptr;
}

struct TDeclared {
  TTransfer* Transfer = nullptr;
  TStation* From = nullptr;
};

// Every transfer of the city that a declaration line stands for (the
// direction whose way back carries "-" before its name).
std::vector<TDeclared> Declarations(const TCity& city) {
  std::vector<TDeclared> result;
  for (TStation* station : city.Stations)
    for (const auto& transfer : station->Transfers)
      if (WayBack(*transfer, *station) != nullptr) result.push_back({transfer.get(), station});
  return result;
}

// The segments of a map as (key lowered, value), line by line.
std::vector<std::pair<std::string, std::string>> SegmentValues(const TMetroMap& map) {
  std::vector<std::pair<std::string, std::string>> values;
  for (const auto& line : map.Lines)
    for (const auto& segment : line->Segments)
      values.emplace_back(AsciiLower(segment->Name), line->SegmentValue(*segment, CitedNameOf));
  return values;
}

// Renames sections all at once, so that one's new name may be another's old
// one: each goes through a name no file holds first.
void RenameSections(TProfileFile& file, const std::vector<std::pair<std::string, std::string>>& renames) {
  auto passing = [](size_t i) { return "renamed:" + std::to_string(i) + ":"; };
  for (size_t i = 0; i < renames.size(); ++i) file.RenameSection(renames[i].first, passing(i));
  for (size_t i = 0; i < renames.size(); ++i) file.RenameSection(passing(i), renames[i].second);
}

// A map's list of transports, written when an edit changed it. The list
// the loader assumes without the key goes back to having no key.
void WriteTransportList(TProfileFile& file, const char* key, const std::string& value,
                        const std::string& was) {
  if (value == was) return;
  if (value == kMetroTransport) {
    const auto keys = file.Keys("Options");
    for (size_t k = keys.size(); k-- > 0;)
      if (SameTextAscii(keys[k].first, key)) file.RemoveKeyAt("Options", k);
    return;
  }
  file.SetValue("Options", key, value);
}

}  // namespace

TCityStore::TCityStore(TCity& city) : city_(city) { Capture(); }

void TCityStore::Capture() {
  for (TStation* station : city_.Stations) station->CitedName = station->Name;
  for (size_t t = 0; t < city_.Transports.Items.size(); ++t) {
    TTransport& transport = *city_.Transports.Items[t];
    TTransportRecord record;
    for (const auto& route : transport.Routes) {
      route->FileId = NewId();
      record.Sections.push_back(route->FileId);
      routes_[route->FileId] = {route->Name, route->Alias, AliasesValue(*route, CitedNameOf)};
    }
    CaptureTransfers(t, record);
    transports_[AsciiLower(transport.FileName)] = std::move(record);
  }
  for (const auto& map : city_.Maps) {
    TProfileFile file;
    file.Load(map->Name);
    maps_[map->Name] = MapRecordOf(*map, file);
  }
}

// Reads the file's Transfers lines again as the loader did and tells which
// transfer each one made; lines that made none stay the user's.
void TCityStore::CaptureTransfers(size_t transportIndex, TTransportRecord& record) {
  const TTransports& transports = city_.Transports;
  // A line names only routes of its file or of files read before it.
  auto findStation = [&](std::string_view& items) -> TStation* {
    const std::string routeName = NextToken(items);
    const std::string stationName = NextToken(items);
    for (size_t t = 0; t <= transportIndex; ++t)
      for (const auto& route : transports.Items[t]->Routes)
        if (SameTextLocale(route->Name, routeName)) return route->FindStationByName(stationName, false);
    return nullptr;
  };
  TProfileFile file;
  file.Load(transports.Items[transportIndex]->FileName);
  for (const auto& [name, value] : file.Keys(kTransfers)) {
    uint64_t id = 0;
    std::string_view items = value;
    TStation* from = value.empty() ? nullptr : findStation(items);
    TStation* to = from != nullptr ? findStation(items) : nullptr;
    if (to != nullptr) {
      for (const auto& transfer : from->Transfers) {
        if (transfer->FileId != 0 || transfer->Station != to || transfer->Name != name) continue;
        TTransfer* back = nullptr;
        for (const auto& candidate : to->Transfers)
          if (candidate->FileId == 0 && candidate->Station == from && candidate->Name == "-" + name)
            back = candidate.get();
        if (back == nullptr) continue;
        id = NewId();
        transfer->FileId = back->FileId = id;
        transfers_[id] = TransferValue(*transfer, *from, CitedNameOf);
        break;
      }
    }
    record.TransferLines.push_back(id);
  }
}

TCityStore::TMapRecord TCityStore::MapRecordOf(const TMetroMap& map, const TProfileFile& file) const {
  TMapRecord record;
  for (const auto& line : map.Lines) {
    record.Lines.emplace_back(
        line->Route->FileId,
        TLineRecord{line->Route->Name, ColorToHex(line->Color), line->CoordinatesValue(), line->RectsValue(),
                    HeightsValue(*line), file.Value(line->Route->Name, "Heights").has_value()});
  }
  record.Segments = SegmentValues(map);
  record.Transports = FileList(map.Transports);
  record.CheckedTransports = FileList(map.CheckedTransports);
  return record;
}

bool TCityStore::Save(bool writeLegendRects) {
  bool ok = true;
  RemoveForgottenFiles();
  for (const auto& transport : city_.Transports.Items) {
    const std::string key = AsciiLower(transport->FileName);
    auto known = transports_.find(key);
    TTransportRecord record;
    if (known != transports_.end()) {
      record = known->second;
    } else {
      record.Created = !FileExists(transport->FileName);
      record.FileName = transport->FileName;
    }
    // What this file's save remembers counts only once the file is written.
    const auto routesBefore = routes_;
    const auto transfersBefore = transfers_;
    if (EditProfileFile(transport->FileName,
                        [&](TProfileFile& file) { return SaveTransport(*transport, file, record); })) {
      transports_[key] = std::move(record);
    } else {
      routes_ = routesBefore;
      transfers_ = transfersBefore;
      ok = false;
    }
  }
  for (const auto& map : city_.Maps) {
    const bool current = map.get() == city_.CurrentMap;
    TMapRecord saved;
    if (EditProfileFile(map->Name, [&](TProfileFile& file) {
          SaveMap(*map, file, current, writeLegendRects, maps_.at(map->Name));
          if (current) file.LoadFromText(CleanUpMapText(file.Text()));
          saved = MapRecordOf(*map, file);
          return file.Text();
        })) {
      maps_[map->Name] = std::move(saved);
      map->SegmentKeysInFile = map->SegmentKeys();
    } else {
      ok = false;
    }
  }
  return ok;
}

void TCityStore::RemoveForgottenFiles() {
  std::set<std::string> named;
  for (const auto& transport : city_.Transports.Items) named.insert(AsciiLower(transport->FileName));
  for (auto it = transports_.begin(); it != transports_.end();) {
    // Only a file this store made: the user's own files are never removed.
    if (it->second.Created && !named.count(it->first) && RemoveFile(it->second.FileName)) {
      it = transports_.erase(it);
    } else {
      ++it;
    }
  }
}

std::string TCityStore::SaveTransport(TTransport& transport, TProfileFile& file, TTransportRecord& record) {
  if (file.Text().empty()) file.SetValue("Options", "Type", transport.Type);
  SaveRoutes(transport, file, record);
  SaveTransfers(transport, file, record);
  return file.Text();
}

void TCityStore::SaveRoutes(TTransport& transport, TProfileFile& file, TTransportRecord& record) {
  std::vector<uint64_t>& sections = record.Sections;
  auto sectionOf = [&](uint64_t id) -> int {
    for (size_t k = 0; k < sections.size(); ++k)
      if (id != 0 && sections[k] == id) return static_cast<int>(k);
    return -1;
  };
  // Sections of routes that are gone go first; the rest are numbered anew.
  std::set<uint64_t> kept;
  for (const auto& route : transport.Routes)
    if (sectionOf(route->FileId) >= 0) kept.insert(route->FileId);
  for (size_t k = sections.size(); k-- > 0;)
    if (!kept.count(sections[k])) file.RemoveSection(LineSection(k));
  std::vector<std::pair<std::string, std::string>> renames;
  for (size_t i = 0; i < transport.Routes.size(); ++i) {
    int k = sectionOf(transport.Routes[i]->FileId);
    if (k >= 0 && static_cast<size_t>(k) != i)
      renames.emplace_back(LineSection(static_cast<size_t>(k)), LineSection(i));
  }
  RenameSections(file, renames);

  std::vector<uint64_t> written;
  for (size_t i = 0; i < transport.Routes.size(); ++i) {
    TRoute& route = *transport.Routes[i];
    const std::string section = LineSection(i);
    const std::string aliases = AliasesValue(route, CitedNameOf);
    if (sectionOf(route.FileId) >= 0) {
      const TRouteRecord& was = routes_[route.FileId];
      if (was.Name != route.Name) file.SetValue(section, "Name", route.Name);
      // An alias that only followed the name needs no key.
      if (was.Alias != route.Alias && (file.Value(section, "Alias") || route.Alias != route.Name))
        file.SetValue(section, "Alias", route.Alias);
      // No aliases left: no key, as a route without them is written.
      if (was.Aliases != aliases && aliases.empty()) file.RemoveValue(section, "Aliases");
      if (was.Aliases != aliases && !aliases.empty()) file.SetValue(section, "Aliases", aliases);
    } else {
      route.FileId = NewId();
      file.AppendSection(section);
      file.SetValue(section, "Name", route.Name);
      if (route.Alias != route.Name) file.SetValue(section, "Alias", route.Alias);
      if (!route.LineMap.empty()) file.SetValue(section, "LineMap", route.LineMap);
      file.SetValue(section, "Stations", "");
      file.SetValue(section, "Driving", "");
      if (!route.Delays.empty()) file.SetValue(section, "Delays", route.Delays);
      if (!aliases.empty()) file.SetValue(section, "Aliases", aliases);
    }
    file.SetValue(section, "Stations", route.StationsToString());
    file.SetValue(section, "Driving", route.DrivingToString());
    routes_[route.FileId] = {route.Name, route.Alias, aliases};
    written.push_back(route.FileId);
  }
  sections = std::move(written);
}

void TCityStore::SaveTransfers(const TTransport& transport, TProfileFile& file, TTransportRecord& record) {
  std::map<uint64_t, TDeclared> live;
  std::vector<TDeclared> fresh;
  std::set<uint64_t> here(record.TransferLines.begin(), record.TransferLines.end());
  // A declaration some file holds stays in that file, wherever the user put it.
  std::set<uint64_t> known = here;
  for (const auto& [name, other] : transports_)
    known.insert(other.TransferLines.begin(), other.TransferLines.end());
  for (const TDeclared& d : Declarations(city_)) {
    const uint64_t id = d.Transfer->FileId;
    if (id != 0 && here.count(id)) {
      live[id] = d;
    } else if ((id == 0 || !known.count(id)) &&
               LaterLoaded(d.From->Route->Transport, d.Transfer->Station->Route->Transport) == &transport) {
      fresh.push_back(d);
    }
  }
  // Lines of transfers that are gone are removed; lines whose names changed
  // are written anew under their own key.
  const auto keys = file.Keys(kTransfers);
  std::set<std::string> removedNames;
  for (size_t k = record.TransferLines.size(); k-- > 0;) {
    const uint64_t id = record.TransferLines[k];
    if (id == 0 || k >= keys.size()) continue;
    auto it = live.find(id);
    if (it == live.end()) {
      file.RemoveKeyAt(kTransfers, k);
      removedNames.insert(keys[k].first);
      record.TransferLines.erase(record.TransferLines.begin() + static_cast<std::ptrdiff_t>(k));
      continue;
    }
    const std::string value = TransferValue(*it->second.Transfer, *it->second.From, CitedNameOf);
    if (transfers_[id] != value) file.SetKeyAt(kTransfers, k, keys[k].first, value);
    transfers_[id] = value;
  }
  for (const TDeclared& d : fresh) {
    if (d.Transfer->FileId == 0) {
      const uint64_t id = NewId();
      for (const auto& back : d.Transfer->Station->Transfers)
        if (back->Station == d.From && back->FileId == 0 && back->Name == "-" + d.Transfer->Name)
          back->FileId = id;
      d.Transfer->FileId = id;
    }
    const std::string value = TransferValue(*d.Transfer, *d.From, CitedNameOf);
    file.AppendKey(kTransfers, d.Transfer->Name, value);
    record.TransferLines.push_back(d.Transfer->FileId);
    transfers_[d.Transfer->FileId] = value;
  }
  if (removedNames.empty()) return;
  // A one-platform entry of a declaration that is gone would be reported
  // at every load.
  std::optional<std::string> pairs = file.Value("AdditionalInfo", "OnePlatformTransfers");
  if (!pairs) return;
  std::set<std::string> remaining;
  for (const auto& key : file.Keys(kTransfers)) remaining.insert(key.first);
  std::string kept;
  bool dropped = false;
  TTokenReader reader(*pairs);
  while (!reader.AtEnd()) {
    std::string name = reader.Next();
    std::string kind = reader.Next();
    if (removedNames.count(name) && !remaining.count(name)) {
      dropped = true;
      continue;
    }
    kept += (kept.empty() ? "" : ",") + QuoteIfComma(name) + "," + kind;
  }
  if (dropped) file.SetValue("AdditionalInfo", "OnePlatformTransfers", kept);
}

void TCityStore::SaveMap(const TMetroMap& map, TProfileFile& file, bool current, bool writeLegendRects,
                         const TMapRecord& record) {
  // The keys go where the clean-up leaves them (see SaveCity).
  if (current) file.LoadFromText(CleanUpMapText(file.Text()));
  WriteTransportList(file, "Transports", FileList(map.Transports), record.Transports);
  WriteTransportList(file, "CheckedTransports", FileList(map.CheckedTransports), record.CheckedTransports);

  auto recordOf = [&](const TRoute* route) -> const TLineRecord* {
    for (const auto& [id, line] : record.Lines)
      if (id != 0 && id == route->FileId) return &line;
    return nullptr;
  };
  std::set<uint64_t> drawn;
  for (const auto& line : map.Lines) drawn.insert(line->Route->FileId);
  for (const auto& [id, line] : record.Lines)
    if (!drawn.count(id)) file.RemoveSection(line.Section);
  std::vector<std::pair<std::string, std::string>> renames;
  for (const auto& line : map.Lines) {
    const TLineRecord* was = recordOf(line->Route);
    if (was != nullptr && was->Section != line->Route->Name)
      renames.emplace_back(was->Section, line->Route->Name);
  }
  RenameSections(file, renames);

  for (const auto& line : map.Lines) {
    const std::string& section = line->Route->Name;
    const TLineRecord* was = recordOf(line->Route);
    if (was == nullptr) {
      file.AppendSection(section);
      file.SetValue(section, "Color", ColorToHex(line->Color));
      file.SetValue(section, "LabelsColor", ColorToHex(line->LabelsColor));
      file.SetValue(section, "LabelsBColor", ColorToHex(line->LabelsBColor));
      if (line->Width != map.LinesWidth) file.SetValue(section, "Width", std::to_string(line->Width));
      file.SetValue(section, "Coordinates", line->CoordinatesValue());
      file.SetValue(section, "Rects", line->RectsValue());
      file.SetValue(section, "Rect",
                    line->LegendRect == TRect{} ? std::string() : RectToStr(line->LegendRect));
      continue;
    }
    if (ColorToHex(line->Color) != was->Color) file.SetValue(section, "Color", ColorToHex(line->Color));
    // The current map writes its places below, as every save does.
    if (!current && line->CoordinatesValue() != was->Coordinates)
      file.SetValue(section, "Coordinates", line->CoordinatesValue());
    if (!current && line->RectsValue() != was->Rects) file.SetValue(section, "Rects", line->RectsValue());
    const std::string heights = HeightsValue(*line);
    if (heights != was->Heights) {
      // Heights the parent map gives again need no key of their own.
      if (!was->OwnHeights && heights == InheritedHeights(map, *line)) {
        file.RemoveValue(section, "Heights");
      } else {
        file.SetValue(section, "Heights", heights);
      }
    }
  }

  // The current map writes its segments as every save does, removing the
  // keys of segments that are gone.
  if (current) {
    WriteMapFile(map, file, writeLegendRects);
    return;
  }
  // Another map's segments that are gone lose their key: of the keys of one name, those
  // past the number that is left (the remaining ones are written in order).
  const auto segments = SegmentValues(map);
  std::map<std::string, int> left, had, seen;
  for (const auto& segment : segments) ++left[segment.first];
  for (const auto& segment : record.Segments) ++had[segment.first];
  const auto keys = file.Keys(kAdditionalNodes);
  std::vector<size_t> gone;
  for (size_t k = 0; k < keys.size(); ++k) {
    const std::string name = AsciiLower(keys[k].first);
    const int occurrence = seen[name]++;
    if (occurrence >= left[name] && occurrence < had[name]) gone.push_back(k);
  }
  for (size_t k = gone.size(); k-- > 0;) file.RemoveKeyAt(kAdditionalNodes, gone[k]);

  // Another map's segments are written only where an edit changed them.
  std::map<std::string, std::vector<std::string>> before;
  for (const auto& segment : record.Segments) before[segment.first].push_back(segment.second);
  std::map<std::string, int> occurrence;
  for (const auto& line : map.Lines) {
    for (const auto& segment : line->Segments) {
      const std::string name = AsciiLower(segment->Name);
      const int o = occurrence[name]++;
      const std::string value = line->SegmentValue(*segment, CitedNameOf);
      const auto& was = before[name];
      if (static_cast<size_t>(o) >= was.size() || was[static_cast<size_t>(o)] != value)
        file.SetValue(kAdditionalNodes, segment->Name, value, o);
    }
  }
}

}  // namespace varnik
