#include "network/uNetworkReader.h"

#include <optional>
#include <set>
#include <unordered_map>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

std::string_view BeforeParen(std::string_view name) { return name.substr(0, name.find('(')); }

// The look-up of a neighbour entry while a route is read, kept as an index so
// that routes of many thousands of stops are read in linear time. A stop is
// keyed by its name cut before "(" (not trimmed), which changes once its own
// list has been read: an entry naming a later stop finds it by the text
// before that stop's "(" as written.
class TStopIndex {
 public:
  explicit TStopIndex(const TRoute& route) : route_(route) {
    for (size_t i = 0; i < route.Stops.size(); ++i)
      byName_[std::string(BeforeParen(route.Stops[i]->Station->Name))].insert(i);
  }

  void Rename(size_t i, const std::string& oldName, const std::string& newName) {
    auto it = byName_.find(std::string(BeforeParen(oldName)));
    if (it != byName_.end()) it->second.erase(i);
    byName_[std::string(BeforeParen(newName))].insert(i);
  }

  TStop* Find(const std::string& name) const {
    if (name.empty()) return nullptr;
    auto it = byName_.find(name);
    if (it == byName_.end() || it->second.empty()) {
      ReportStopNotFound(route_, name);
      return nullptr;
    }
    return route_.Stops[*it->second.begin()].get();
  }

 private:
  const TRoute& route_;
  std::unordered_map<std::string, std::set<size_t>> byName_;
};

void AddNeibour(TNeibourList& list, TStop* stop, int32_t time, bool reversed = false) {
  auto neibour = std::make_unique<TNeibourStop>();
  neibour->Stop = stop;
  neibour->Time = time;
  neibour->Reversed = reversed;
  list.push_back(std::move(neibour));
}

// Adds one entry of a neighbour list ("-" marks it reversed); an empty or
// unresolved entry adds nothing (the look-up reports the latter).
void AddListedNeibour(const TStopIndex& index, TNeibourList& list, std::string entry, int32_t time) {
  if (entry.empty()) return;
  bool reversed = entry[0] == '-';
  if (reversed) entry.erase(0, 1);
  if (TStop* stop = index.Find(entry)) AddNeibour(list, stop, time, reversed);
}

// Drops the first and the last character (the parentheses of a list item).
std::string StripEnds(const std::string& s) { return s.size() >= 2 ? s.substr(1, s.size() - 2) : ""; }

// A stop written with its own neighbour list: odd entries lead forward, even
// ones backward, each with the time in the same place of its driving item.
void ReadNeibourList(TStopIndex& index, size_t i, TStop& stop, const std::string& driving) {
  std::string& name = stop.Station->Name;
  size_t open = name.find('(');
  // With no ")" after the "(" the list is empty.
  size_t close = name.find(')');
  const std::string listText =
      close != std::string::npos && close > open ? name.substr(open + 1, close - open - 1) : "";
  std::string_view list = listText;
  const std::string timesText = StripEnds(driving);
  std::string_view times = timesText;
  while (!list.empty()) {
    int32_t t = TimeStrToSeconds(NextToken(times));
    AddListedNeibour(index, stop.Forward, NextToken(list), t);
    t = TimeStrToSeconds(NextToken(times));
    AddListedNeibour(index, stop.Backward, NextToken(list), t);
  }
  std::string finalName = TrimBlank(std::string_view(name).substr(0, open));
  index.Rename(i, name, finalName);
  name = std::move(finalName);
}

// A stop without a list: the previous stop behind it, the next one ahead.
void ReadDefaultNeibours(TRoute& route, size_t i, const std::string& driving) {
  TStop& stop = *route.Stops[i];
  int32_t forward = 0, backward = 0;
  if (driving.find('(') != std::string::npos) {
    const std::string timesText = StripEnds(driving);
    std::string_view times = timesText;
    forward = TimeStrToSeconds(NextToken(times));
    backward = TimeStrToSeconds(NextToken(times));
  } else {
    forward = TimeStrToSeconds(driving);
    // Without an explicit time, the way back takes as long as the way here,
    // whatever that time is (a negative one included).
    if (i > 0)
      if (std::optional<int32_t> previous = route.Stops[i - 1]->ForwardTimeTo(&stop)) backward = *previous;
  }
  if (i > 0) AddNeibour(stop.Backward, route.Stops[i - 1].get(), backward);
  if (i + 1 < route.Stops.size()) AddNeibour(stop.Forward, route.Stops[i + 1].get(), forward);
}

void ReadAliases(TRoute& route, const std::string& aliasesText) {
  if (aliasesText.empty()) return;
  // Every name is final now; the first stop of a name wins, as in FindStationByName.
  std::unordered_map<std::string, TStation*> stationByName;
  for (const auto& stop : route.Stops) stationByName.emplace(stop->Station->Name, stop->Station);
  TTokenReader aliases(aliasesText);
  for (bool more = true; more; more = !aliases.AtEnd()) {
    std::string name = aliases.Next();
    std::string alias = aliases.Next();
    if (name.empty()) continue;
    auto it = stationByName.find(name);
    if (it == stationByName.end()) {
      ReportStationNotFound(route, name);
    } else {
      it->second->Alias = alias;
    }
  }
}

// Reads the currently selected "LineN" section into `route`.
void ReadRoute(TRoute& route, TIniStream& ini) {
  route.Name = ini.ValueString("Name", "");
  route.Alias = ini.ValueString("Alias", route.Name);
  route.LineMap = ini.ValueString("LineMap", "");
  route.Delays = ini.ValueString("Delays", "");
  const std::string drivingText = ini.ValueString("Driving", "");
  TTokenReader driving(drivingText);
  if (route.Delays.empty())
    route.Delays = ini.ValueString("DelayDay", "0") + "," + ini.ValueString("DelayNight", "0");

  const std::string stationsText = ini.ValueString("Stations", "");
  // Checked on the raw text: a value of blanks alone still makes one stop.
  TTokenReader stations(stationsText);
  for (bool more = !stationsText.empty(); more; more = !stations.AtEnd()) {
    auto stop = std::make_unique<TStop>();
    stop->Station->Name = stations.Next();
    route.Stops.push_back(std::move(stop));
  }

  TStopIndex index(route);
  for (size_t i = 0; i < route.Stops.size(); ++i) {
    TStop& stop = *route.Stops[i];
    std::string d = driving.Next();
    if (stop.Station->Name.find('(') != std::string::npos) {
      ReadNeibourList(index, i, stop, d);
    } else {
      ReadDefaultNeibours(route, i, d);
    }
    stop.Station->Alias = stop.Station->Name;
  }
  ReadAliases(route, ini.ValueString("Aliases", ""));
}

// --- Transfers -------------------------------------------------------------

// Station look-ups by exact name for the duration of one file's transfers,
// indexed per route so that long transfer sections on long routes are read in
// linear time. The first stop of a name wins, as in TRoute::FindStationByName.
class TStationLookup {
 public:
  // As FindRouteByName over the transports read so far, which do not change
  // while one file's transfers are read; the first route of a name wins.
  TRoute* FindRoute(const TTransports& transports, const std::string& name) {
    if (routes_.empty())
      for (const auto& transport : transports.Items)
        for (const auto& route : transport->Routes) routes_.try_emplace(UpperCase1251(route->Name), route.get());
    auto it = routes_.find(UpperCase1251(name));
    return it != routes_.end() ? it->second : transports.FindRouteByName(name, true);
  }

  TStation* Find(TRoute& route, const std::string& name) {
    if (name.empty()) return nullptr;
    auto [entry, isNew] = byRoute_.try_emplace(&route);
    if (isNew)
      for (const auto& stop : route.Stops) entry->second.emplace(stop->Station->Name, stop->Station);
    auto it = entry->second.find(name);
    if (it != entry->second.end()) return it->second;
    ReportStationNotFound(route, name);
    return nullptr;
  }

 private:
  std::unordered_map<const TRoute*, std::unordered_map<std::string, TStation*>> byRoute_;
  std::unordered_map<std::string, TRoute*> routes_;  // by upper-cased name
};

// One end of a transfer line: the route, then its station; nullptr (after
// the look-up's message) when either cannot be found.
TStation* NextStation(const TTransports& transports, TStationLookup& stations, std::string_view& items) {
  TRoute* route = stations.FindRoute(transports, NextToken(items));
  if (!route) return nullptr;
  return stations.Find(*route, NextToken(items));
}

TTransfer* AddTransfer(TStation& from, std::string name, TStation& to, int32_t time, bool invisible) {
  auto transfer = std::make_unique<TTransfer>();
  transfer->Name = std::move(name);
  transfer->Station = &to;
  transfer->Time = time;
  transfer->Invisible = invisible;
  from.Transfers.push_back(std::move(transfer));
  return from.Transfers.back().get();
}

// Reads one line of the Transfers section; the two transfers it makes are
// appended to `made`.
void ReadTransferLine(const TTransports& transports, TStationLookup& stations, const std::string& line,
                      std::vector<TTransfer*>& made) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return;
  std::string name = TrimBlank(std::string_view(line).substr(0, eq));
  std::string_view items = std::string_view(line).substr(eq + 1);
  if (items.empty()) return;

  TStation* station1 = NextStation(transports, stations, items);
  if (!station1) return;
  TStation* station2 = NextStation(transports, stations, items);
  if (!station2) return;
  int32_t time = TimeStrToSeconds(NextToken(items));
  int32_t backTime = time;
  bool invisible = false;
  std::string sixth = NextToken(items);
  if (SameTextAscii(sixth, "invisible")) {
    invisible = true;
  } else if (!sixth.empty()) {
    backTime = TimeStrToSeconds(sixth);
    invisible = SameTextAscii(NextToken(items), "invisible");
  }
  made.push_back(AddTransfer(*station1, name, *station2, time, invisible));
  made.push_back(AddTransfer(*station2, "-" + name, *station1, backTime, invisible));
}

uint8_t KindOfWord(const std::string& word) {
  if (SameTextAscii(word, "opposite")) return 1;
  if (SameTextAscii(word, "parallel")) return 2;
  if (SameTextAscii(word, "indifferent")) return 3;
  return 0;
}

// "OnePlatformTransfers" classifies transfers of the same file only.
void ReadOnePlatformTransfers(TIniStream& ini, const std::vector<TTransfer*>& made) {
  ini.SelectSection("AdditionalInfo");
  const std::string pairsText = ini.ValueString("OnePlatformTransfers", "");
  if (pairsText.empty()) return;
  std::unordered_map<std::string, std::vector<TTransfer*>> byName;
  for (TTransfer* transfer : made) byName[transfer->Name].push_back(transfer);
  TTokenReader pairs(pairsText);
  for (bool more = true; more; more = !pairs.AtEnd()) {
    std::string name = pairs.Next();
    uint8_t kind = KindOfWord(pairs.Next());
    bool found = false;
    for (const std::string& key : {name, "-" + name}) {
      auto it = byName.find(key);
      if (it == byName.end()) continue;
      found = true;
      if (kind != 0)
        for (TTransfer* transfer : it->second) transfer->Kind = kind;
    }
    if (!found) ShowMessage("AdditionalInfo: Transfer " + name + " not found", TMessageStyle::Foreground);
  }
}

void ReadTransfers(TTransports& transports, TIniStream& ini) {
  ini.SelectSection("Transfers");
  std::vector<std::string> lines;
  ini.GetSectionData(lines);
  std::vector<TTransfer*> made;
  TStationLookup stations;
  for (const std::string& line : lines) ReadTransferLine(transports, stations, line, made);
  ReadOnePlatformTransfers(ini, made);
}

}  // namespace

TTransport& TNetworkReader::Read(TIniStream& ini, const std::string& fileName) {
  auto transport = std::make_unique<TTransport>();
  transport->FileName = fileName;
  ini.SelectSection("Options");
  transport->Type = ini.ValueString("Type", "");
  // Route sections are numbered from 1 without gaps; the first gap ends the list.
  for (int i = 1; ini.SectionExists("Line" + std::to_string(i)); ++i) {
    ini.SelectSection("Line" + std::to_string(i));
    transport->Routes.push_back(std::make_unique<TRoute>());
    ReadRoute(*transport->Routes.back(), ini);
  }
  transports_.Items.push_back(std::move(transport));
  ReadTransfers(transports_, ini);
  return *transports_.Items.back();
}

TTransport& TNetworkReader::ReadText(std::string_view text, const std::string& fileName) {
  TIniStream ini;
  ini.LoadFromText(text);
  return Read(ini, fileName);
}

bool TNetworkReader::ReadCurrentDir() {
  std::vector<std::string> files;
  ListFiles("Metro.trp", files);
  if (files.size() > 1) {
    ShowMessage("TCity.LoadFromDir: multiple Metro.trp not supported.", TMessageStyle::Foreground);
    return false;
  }
  TIniStream ini;
  // The metro is always the first transport, whatever the sort order of the
  // others; it keeps the name it has on disk, so that saving writes that file.
  if (files.size() == 1) {
    ini.LoadFromFile(files[0]);
    Read(ini, files[0]);
  }
  files.clear();
  ListFiles("*.trp", files);
  for (const std::string& name : files) {
    if (SameTextAscii(name, "Metro.trp")) continue;
    ini.LoadFromFile(name);
    Read(ini, name);
  }
  transports_.Link();
  return true;
}

}  // namespace varnik
