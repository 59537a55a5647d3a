#include "network/uStation.h"

#include <unordered_map>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

// Station look-ups by exact name for the duration of one file's transfers,
// indexed per route so that long transfer sections on long routes load in
// linear time. Names are final once a route has loaded; the first stop of a
// name wins, as in TRoute::FindStationByName.
class TStationLookup {
 public:
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
};

// One end of a transfer line: the route, then its station; nullptr (after
// the look-up's message) when either cannot be found.
TStation* NextStation(const TTransports& transports, TStationLookup& stations, std::string_view& items) {
  TRoute* route = transports.FindRouteByName(NextToken(items), true);
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

}  // namespace

void LoadTransfers(TTransports& transports, TIniStream& ini) {
  ini.SelectSection("Transfers");
  std::vector<std::string> lines;
  ini.GetSectionData(lines);
  std::vector<TTransfer*> made;
  TStationLookup stations;
  for (const std::string& line : lines) ReadTransferLine(transports, stations, line, made);

  ini.SelectSection("AdditionalInfo");
  const std::string pairsText = ini.ValueString("OnePlatformTransfers", "");
  TTokenReader pairs(pairsText);
  std::unordered_map<std::string, std::vector<TTransfer*>> byName;
  if (!pairsText.empty())
    for (TTransfer* transfer : made) byName[transfer->Name].push_back(transfer);
  for (bool more = !pairsText.empty(); more; more = !pairs.AtEnd()) {
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

}  // namespace varnik
