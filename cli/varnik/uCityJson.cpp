#include "cli/varnik/uCityJson.h"

#include "core/uUtils.h"
#include "city/uCity.h"
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

Json RectJson(const TRect& r) { return Json::array({r.Left, r.Top, r.Right, r.Bottom}); }

std::string StationName(const TMetroMapStation* station) {
  return station && station->Station() ? Utf8(station->Station()->Name) : "";
}

std::string RouteName(const TMetroMapStation* station) {
  return station && station->Stop && station->Stop->Route ? Utf8(station->Stop->Route->Name) : "";
}

Json MapLineJson(const TMetroMapLine& line) {
  Json stations = Json::array();
  for (const auto& s : line.Stations) {
    stations.push_back({{"x", s->Coordinate.X},
                        {"y", s->Coordinate.Y},
                        {"height", s->Coordinate.Height},
                        {"labelRect", RectJson(s->LabelRect)}});
  }
  Json segments = Json::array();
  for (const auto& segment : line.Segments) {
    Json nodes = Json::array();
    for (const auto& node : segment->Nodes) nodes.push_back({node->Coordinate.X, node->Coordinate.Y});
    segments.push_back({{"name", Utf8(segment->Name)},
                        {"from", StationName(segment->FromStation)},
                        {"to", StationName(segment->ToStation)},
                        {"spline", segment->Spline},
                        {"nodes", nodes}});
  }
  return {{"route", line.Route ? Utf8(line.Route->Name) : ""},
          {"color", ColorToHex(line.Color)},
          {"labelsColor", ColorToHex(line.LabelsColor)},
          {"labelsBColor", ColorToHex(line.LabelsBColor)},
          {"width", line.Width},
          {"legendRect", RectJson(line.LegendRect)},
          {"stations", stations},
          {"segments", segments}};
}

Json MapJson(const TMetroMap& map, bool current) {
  Json transports = Json::array();
  for (const TTransport* t : map.Transports) transports.push_back(Utf8(t->FileName));
  Json lines = Json::array();
  for (const auto& line : map.Lines) lines.push_back(MapLineJson(*line));
  Json transfers = Json::array();
  for (const auto& t : map.Transfers) {
    transfers.push_back({{"route1", RouteName(t->Station1)},
                         {"station1", StationName(t->Station1)},
                         {"route2", RouteName(t->Station2)},
                         {"station2", StationName(t->Station2)},
                         {"visible", t->Visible}});
  }
  return {{"name", Utf8(map.Name)},
          {"parent", map.ParentMap ? Json(Utf8(map.ParentMap->Name)) : Json(nullptr)},
          {"current", current},
          {"width", map.Width()},
          {"height", map.Height()},
          {"isVector", map.IsVector},
          {"upperCase", map.UpperCase},
          {"wordWrap", map.WordWrap},
          {"stationDiameter", map.StationDiameter},
          {"linesWidth", map.LinesWidth},
          {"transports", transports},
          {"lines", lines},
          {"transfers", transfers}};
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
  Json maps = Json::array();
  for (const auto& map : city.Maps) maps.push_back(MapJson(*map, map.get() == city.CurrentMap));
  Json images = Json::array();
  for (const auto& image : city.Images) {
    images.push_back(
        {{"name", Utf8(image->Name)}, {"kind", image->Kind}, {"width", image->Width}, {"height", image->Height}});
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
          {"maps", maps},
          {"images", images},
          {"diagnostics", messages}};
}

}  // namespace varnik
