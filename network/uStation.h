#pragma once
// Stations (the place where one route stops) and the walking transfers
// between them, declared in the Transfers and AdditionalInfo sections of a
// transport file (read by the network reader).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace varnik {

class TRoute;
class TStop;
class TStation;

// One direction of a walking transfer; every declaration makes two.
class TTransfer {
 public:
  std::string Name;             // as declared, with a leading "-" for the way back
  TStation* Station = nullptr;  // where the transfer arrives (not owned)
  int32_t Time = 0;             // walking time in seconds
  uint8_t Kind = 0;             // one-platform kind: 0 none, 1 opposite, 2 parallel, 3 indifferent
  bool Invisible = false;
  // Which declaration of a transport file the transfer is, for the saver
  // that keeps the file in step with edits (both directions carry it);
  // 0 until the saver has seen it.
  uint64_t FileId = 0;
};

class TStation {
 public:
  std::string Name;
  std::string Alias;
  std::vector<std::unique_ptr<TTransfer>> Transfers;  // leaving this station, in declaration order
  bool NoDrivingTimes = false;
  TStop* Stop = nullptr;    // set by linking or by the first FindStopByStation
  TRoute* Route = nullptr;  // set by linking
  // The name the city's other entries (transfer lines, aliases, the
  // segments of maps not being edited) know the station by, for the saver
  // that keeps files in step with edits: renaming the station as a network
  // edit changes it with the name, the station dialog changes the name
  // alone, as it always did. Empty until that saver has seen the station.
  std::string CitedName;
};

// Which of a station's names an entry written for it uses.
using TStationNaming = const std::string& (*)(const TStation&);
inline const std::string& NameOf(const TStation& station) { return station.Name; }
inline const std::string& CitedNameOf(const TStation& station) { return station.CitedName; }

}  // namespace varnik
