#pragma once
// A route (line) of a transport: its stops in the order of the "Stations"
// key, each with explicit forward and backward neighbour lists, so that
// branches, forks and rings can be expressed.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "network/uStation.h"

namespace varnik {

class TRoute;
class TStop;
class TTransport;

class TNeibourStop {
 public:
  TStop* Stop = nullptr;  // not owned
  int32_t Time = 0;       // driving time in seconds
  bool Reversed = false;  // written with a leading "-"
};

using TNeibourList = std::vector<std::unique_ptr<TNeibourStop>>;

class TStop {
 public:
  TStop();
  // The stop's own station. Every stop has exactly one, created with it and
  // living as long as it; the city's station list refers to it.
  std::unique_ptr<TStation> OwnedStation;
  TStation* Station = nullptr;
  TNeibourList Backward, Forward;          // towards the start / the end of the station list
  TNeibourList BackwardFrom, ForwardFrom;  // reverse index, built by linking
  TRoute* Route = nullptr;                 // set by linking

  // The time of the first forward entry that leads to `to`, if any.
  std::optional<int32_t> ForwardTimeTo(const TStop* to) const;
};

class TRoute {
 public:
  std::string Name;
  std::string Alias;
  std::vector<std::unique_ptr<TStop>> Stops;
  std::string Delays;
  std::string LineMap;
  TTransport* Transport = nullptr;  // set by linking
  // Which route section of its transport file the route is, for the saver
  // that keeps the file in step with edits; 0 until the saver has seen it.
  uint64_t FileId = 0;

  // The station of the first stop named exactly `name`, or nullptr. With
  // `report`, a miss is shown as "Station <name> (Route <route>) not found.".
  TStation* FindStationByName(const std::string& name, bool report) const;

  // Resolves a neighbour entry while loading; a miss is always reported.
  TStop* FindStopByName(const std::string& name) const;

  // Builds the reverse neighbour lists and back-references, and marks the
  // stations whose stop has no driving time other than 0.
  void Link();
  // Link again after the stop list or a neighbour list changed: the reverse
  // lists are made afresh.
  void Relink();

  // The canonical "Stations" and "Driving" texts the editor writes back.
  std::string StationsToString() const;
  std::string DrivingToString() const;

  int IndexOf(const TStop* stop) const;
};

// The message of a neighbour look-up that found nothing:
// "Station <name> not found in Route <route>".
void ReportStopNotFound(const TRoute& route, const std::string& name);

// The message of a station look-up that found nothing:
// "Station <name> (Route <route>) not found.".
void ReportStationNotFound(const TRoute& route, const std::string& name);

// The stop of `station` in `route`; remembers it in the station.
TStop* FindStopByStation(const TRoute& route, TStation* station);

}  // namespace varnik
