#include "cli/varnik/uCityJson.h"

#include "network/uCity.h"
#include "platform/uCodePage.h"

namespace varnik {
namespace {

using Json = nlohmann::ordered_json;

std::string Utf8(const std::string& cp1251) { return Cp1251ToUtf8(cp1251); }

Json NeibourListJson(const TRoute& route, const TNeibourList& list) {
  Json items = Json::array();
  for (const auto& n : list) {
    items.push_back({{"stop", route.IndexOf(n->Stop)},
                     {"name", Utf8(n->Stop->Station->Name)},
                     {"time", n->Time},
                     {"reversed", n->Reversed}});
  }
  return items;
}

Json TransfersJson(const TStation& station) {
  Json items = Json::array();
  for (const auto& t : station.Transfers) {
    items.push_back({{"name", Utf8(t->Name)},
                     {"route", t->Station->Route ? Utf8(t->Station->Route->Name) : ""},
                     {"station", Utf8(t->Station->Name)},
                     {"time", t->Time},
                     {"kind", t->Kind},
                     {"invisible", t->Invisible}});
  }
  return items;
}

Json RouteJson(const TRoute& route) {
  Json stops = Json::array();
  for (const auto& stop : route.Stops) {
    const TStation& station = *stop->Station;
    stops.push_back({{"name", Utf8(station.Name)},
                     {"alias", Utf8(station.Alias)},
                     {"noDrivingTimes", station.NoDrivingTimes},
                     {"forward", NeibourListJson(route, stop->Forward)},
                     {"backward", NeibourListJson(route, stop->Backward)},
                     {"transfers", TransfersJson(station)}});
  }
  return {{"name", Utf8(route.Name)},
          {"alias", Utf8(route.Alias)},
          {"delays", Utf8(route.Delays)},
          {"lineMap", Utf8(route.LineMap)},
          {"stops", stops}};
}

}  // namespace

Json CityToJson(const TCity& city, const std::vector<std::string>& diagnostics) {
  Json transports = Json::array();
  for (const auto& transport : city.Transports.Items) {
    Json routes = Json::array();
    for (const auto& route : transport->Routes) routes.push_back(RouteJson(*route));
    transports.push_back(
        {{"file", Utf8(transport->FileName)}, {"type", Utf8(transport->Type)}, {"routes", routes}});
  }
  Json messages = Json::array();
  for (const std::string& text : diagnostics) messages.push_back(Utf8(text));
  return {{"city",
           {{"name", Utf8(city.Name)},
            {"rusName", Utf8(city.RusName)},
            {"country", Utf8(city.Country)},
            {"cityName", Utf8(city.CityName)},
            {"mapAuthors", Utf8(city.MapAuthors)},
            {"delayNames", Utf8(city.DelayNames)}}},
          {"transports", transports},
          {"diagnostics", messages}};
}

}  // namespace varnik
