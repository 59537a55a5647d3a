#include "network/uTransport.h"

#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik {

TRoute* TTransports::FindRouteByName(const std::string& name, bool report) const {
  for (const auto& transport : Items)
    for (const auto& route : transport->Routes)
      if (SameTextLocale(route->Name, name)) return route.get();
  if (report)
    ShowMessage("TTransports.FindRouteByName: Route " + name + " not found", TMessageStyle::Foreground);
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
