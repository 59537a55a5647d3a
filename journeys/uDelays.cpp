#include "journeys/uDelays.h"

#include <algorithm>

#include "core/uUtils.h"
#include "network/uRoute.h"
#include "platform/uCodePage.h"

namespace varnik {

std::vector<std::string> DelayColumns(std::string_view delayNames) {
  std::vector<std::string> columns;
  TTokenReader reader(delayNames);
  while (!reader.AtEnd()) columns.push_back(reader.Next());
  return columns;
}

int FindDelayColumn(std::string_view delayNames, std::string_view name) {
  const std::vector<std::string> columns = DelayColumns(delayNames);
  for (size_t i = 0; i < columns.size(); ++i)
    if (SameTextLocale(columns[i], name)) return static_cast<int>(i);
  return -1;
}

int32_t RouteWait(const TRoute& route, int column) {
  if (column < 0) return 0;
  TTokenReader reader(route.Delays);
  std::string item;
  for (int i = 0; i <= column; ++i) {
    if (reader.AtEnd()) return 0;
    item = reader.Next();
  }
  return std::max(TimeStrToSeconds(item), 0) / 2;
}

}  // namespace varnik
