#include <gtest/gtest.h>

#include "JourneyTestNetwork.h"
#include "journeys/uDelays.h"
#include "journeys/uSimilarNames.h"
#include "network/uRoute.h"

namespace varnik {
namespace {

std::vector<std::string> Cp1251(const std::vector<std::string>& utf8) {
  std::vector<std::string> result;
  for (const std::string& text : utf8) result.push_back(Utf8ToCp1251(text));
  return result;
}

TEST(SimilarNames, StartsThenContainsThenFewEdits) {
  const auto names = Cp1251({"Центральная", "Речная", "Центр", "Рыночная", "Парк", "Речной порт",
                             "Ботаническая", "Садовая", "Сад"});
  struct {
    const char* Typed;
    std::vector<std::string> Expected;
  } cases[] = {
      {"цЕН", {"Центр", "Центральная"}},
      {"ная", {"Речная", "Рыночная", "Центральная"}},
      {"Речнья", {"Речная"}},
      {"сад", {"Сад", "Садовая"}},
      {"Сады", {"Сад"}},
      {"ботаничесая", {"Ботаническая"}},
      {"zzz", {}},
      // At most five, the closest first.
      {"А", {"Сад", "Парк", "Речная", "Садовая", "Рыночная"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SimilarNames(names, Utf8ToCp1251(c.Typed)), Cp1251(c.Expected)) << c.Typed;
}

TEST(Delays, ColumnsAreFoundIgnoringLetterCase) {
  const std::string names = Utf8ToCp1251("День, Ночь");
  EXPECT_EQ(DelayColumns(names), Cp1251({"День", "Ночь"}));
  EXPECT_EQ(FindDelayColumn(names, Utf8ToCp1251("ночь")), 1);
  EXPECT_EQ(FindDelayColumn(names, Utf8ToCp1251("ДЕНЬ")), 0);
  EXPECT_EQ(FindDelayColumn(names, Utf8ToCp1251("Вечер")), -1);
}

TEST(Delays, TheWaitIsHalfTheIntervalRoundedDown) {
  struct {
    const char* Delays;
    int Column;
    int32_t Wait;
  } cases[] = {
      {"3,7", 0, 90}, {"3,7", 1, 210}, {"3,7", 2, 0}, {"3,7", -1, 0}, {"2.05", 0, 62},
      {",4", 0, 0},   {",4", 1, 120},  {"", 0, 0},    {"-4,2", 0, 0}, {"-4,2", 1, 60},
  };
  for (const auto& c : cases) {
    TRoute route;
    route.Delays = c.Delays;
    EXPECT_EQ(RouteWait(route, c.Column), c.Wait) << c.Delays << " column " << c.Column;
  }
}

}  // namespace
}  // namespace varnik
