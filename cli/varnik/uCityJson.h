#pragma once
// The JSON form of a loaded city printed by `varnik dump`. Names and texts
// are converted to UTF-8; times are in seconds.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace varnik {

class TCity;

// `diagnostics` are the Windows-1251 texts reported while loading.
nlohmann::ordered_json CityToJson(const TCity& city, const std::vector<std::string>& diagnostics);

}  // namespace varnik
