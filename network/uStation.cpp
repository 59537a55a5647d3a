#include "network/uStation.h"

#include <unordered_map>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

// One end of a transfer line: the route, then its station; nullptr (after
// the look-up's message) when either cannot be found.
TStation* NextStation(const TTransports& transports, std::string_view& items) {
  TRoute* route = transports.FindRouteByName(NextToken(items), true);
  if (!route) return nullptr;
  return route->FindStationByName(NextToken(items), true);
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
void ReadTransferLine(const TTransports& transports, const std::string& line, std::vector<TTransfer*>& made) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return;
  std::string name = TrimBlank(std::string_view(line).substr(0, eq));
  std::string_view items = std::string_view(line).substr(eq + 1);
  if (items.empty()) return;

  TStation* station1 = NextStation(transports, items);
  if (!station1) return;
  TStation* station2 = NextStation(transports, items);
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
  for (const std::string& line : lines) ReadTransferLine(transports, line, made);

  ini.SelectSection("AdditionalInfo");
  const std::string pairsText = ini.ValueString("OnePlatformTransfers", "");
  std::string_view pairs = pairsText;
  std::unordered_map<std::string, std::vector<TTransfer*>> byName;
  if (!pairs.empty())
    for (TTransfer* transfer : made) byName[transfer->Name].push_back(transfer);
  while (!pairs.empty()) {
    std::string name = NextToken(pairs);
    uint8_t kind = KindOfWord(NextToken(pairs));
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
