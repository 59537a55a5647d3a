#include "cli/varnik/uRouteCommand.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "journeys/uDelays.h"
#include "journeys/uJourneyPlanner.h"
#include "journeys/uJourneyQuery.h"
#include "city/uCity.h"
#include "platform/uCodePage.h"

namespace varnik {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kTool = "varnik";

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }
std::string StationName(const TStop* stop) { return Utf8(stop->Station->Name); }

// Names in double quotes, comma-separated: station names may hold commas.
std::string QuotedList(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + Utf8(name) + "\"";
  return text;
}

std::string Duration(int64_t seconds) { return DurationText(seconds, "min", "s"); }

void ReportUnknownStation(const std::string& typed, const std::vector<std::string>& similar) {
  std::cerr << kTool << ": the city has no station \"" << typed << "\"";
  if (!similar.empty()) std::cerr << "; similar names: " << QuotedList(similar);
  std::cerr << "\n";
}

// With a delay column chosen every ride tells its wait, 0 included.
void PrintText(const TJourney& journey, bool withWaits) {
  for (const TJourneyLeg& leg : journey.Legs) {
    if (leg.Kind == TLegKind::Walk) {
      std::cout << "walk " << StationName(leg.Stops[0]) << " (" << Utf8(leg.Stops[0]->Route->Name) << ") -> "
                << StationName(leg.Stops[1]) << " (" << Utf8(leg.Stops[1]->Route->Name)
                << "): " << Duration(leg.Seconds) << "\n";
      continue;
    }
    std::cout << "ride " << Utf8(leg.Route->Name) << ": ";
    for (size_t i = 0; i < leg.Stops.size(); ++i) std::cout << (i ? " -> " : "") << StationName(leg.Stops[i]);
    std::cout << ": " << Duration(leg.Seconds);
    if (withWaits) std::cout << " (after a wait of " << Duration(leg.WaitSeconds) << ")";
    std::cout << "\n";
  }
  std::cout << "total: " << Duration(journey.TotalSeconds) << ", " << journey.Boardings
            << (journey.Boardings == 1 ? " boarding\n" : " boardings\n");
}

Json LegJson(const TJourneyLeg& leg) {
  if (leg.Kind == TLegKind::Walk) {
    return {{"kind", "walk"},
            {"from", StationName(leg.Stops[0])},
            {"to", StationName(leg.Stops[1])},
            {"seconds", leg.Seconds}};
  }
  Json stations = Json::array();
  for (const TStop* stop : leg.Stops) stations.push_back(StationName(stop));
  return {{"kind", "ride"},
          {"route", Utf8(leg.Route->Name)},
          {"stations", stations},
          {"seconds", leg.Seconds},
          {"wait_seconds", leg.WaitSeconds}};
}

Json JourneyJson(const TJourney& journey, const std::optional<std::string>& delay) {
  Json legs = Json::array();
  for (const TJourneyLeg& leg : journey.Legs) legs.push_back(LegJson(leg));
  return {{"from", StationName(journey.Start)},
          {"to", StationName(journey.End)},
          {"delay", delay ? Json(Utf8(*delay)) : Json(nullptr)},
          {"total_seconds", journey.TotalSeconds},
          {"boardings", journey.Boardings},
          {"legs", legs}};
}

// The column the request names, -1 for none; false (said on stderr) when
// the city has no such column.
bool RequestedColumn(const TCity& city, const TRouteRequest& request, int& column) {
  column = -1;
  if (request.Delay.empty()) return true;
  column = FindDelayColumn(city.DelayNames, Utf8ToCp1251(request.Delay));
  if (column >= 0) return true;
  std::cerr << kTool << ": the city has no delay column \"" << request.Delay
            << "\"; its columns: " << QuotedList(DelayColumns(city.DelayNames)) << "\n";
  return false;
}

}  // namespace

std::optional<TJourney> FindRequestedJourney(const TCity& city, const TRouteRequest& request, int& exitCode) {
  exitCode = kExitUnknownName;
  int column = -1;
  if (!RequestedColumn(city, request, column)) return std::nullopt;
  const TJourneyPlanner planner(city.Transports);
  TJourneyAnswer answer = AskJourney(planner, Utf8ToCp1251(request.From), Utf8ToCp1251(request.To), column);
  switch (answer.Status) {
    case TJourneyStatus::Found:
      exitCode = 0;
      return std::move(answer.Journey);
    case TJourneyStatus::UnknownStart:
      ReportUnknownStation(request.From, answer.Similar);
      return std::nullopt;
    case TJourneyStatus::UnknownEnd:
      ReportUnknownStation(request.To, answer.Similar);
      return std::nullopt;
    case TJourneyStatus::NoJourney:
      break;
  }
  std::cerr << kTool << ": no journey from \"" << request.From << "\" to \"" << request.To << "\"\n";
  exitCode = kExitNoJourney;
  return std::nullopt;
}

int PrintRoute(const TCity& city, const TRouteRequest& request) {
  int exitCode = 0;
  const std::optional<TJourney> journey = FindRequestedJourney(city, request, exitCode);
  if (!journey) return exitCode;
  // The column as the city captions it (found, or there would be no journey).
  std::optional<std::string> delay;
  if (!request.Delay.empty())
    delay = DelayColumns(city.DelayNames)[FindDelayColumn(city.DelayNames, Utf8ToCp1251(request.Delay))];
  if (request.Json) {
    std::cout << JourneyJson(*journey, delay).dump(2) << "\n";
  } else {
    PrintText(*journey, delay.has_value());
  }
  return 0;
}

}  // namespace varnik
