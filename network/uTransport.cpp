#include "network/uTransport.h"

#include "core/uIniStream.h"
#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {

void TTransport::Load(TIniStream& ini) {
  ini.SelectSection("Options");
  Type = ini.ValueString("Type", "");
  // Route sections are numbered from 1 without gaps; the first gap ends the list.
  for (int i = 1; ini.SectionExists("Line" + std::to_string(i)); ++i) {
    ini.SelectSection("Line" + std::to_string(i));
    auto route = std::make_unique<TRoute>();
    TRoute& loaded = *route;
    Routes.push_back(std::move(route));
    loaded.Load(ini);
  }
}

TRoute* TTransports::FindRouteByName(const std::string& name, bool report) const {
  for (const auto& transport : Items)
    for (const auto& route : transport->Routes)
      if (SameTextLocale(route->Name, name)) return route.get();
  if (report) ShowMessage("TTransports.FindRouteByName: Route " + name + " not found", TMessageStyle::Foreground);
  return nullptr;
}

void TTransports::Link() {
  for (const auto& transport : Items) {
    for (const auto& route : transport->Routes) {
      route->Link();
      route->Transport = transport.get();
    }
  }
}

}  // namespace varnik
