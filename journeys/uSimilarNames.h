#pragma once
// Suggestions for a station name that the city does not have.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

// Up to `limit` names of `names` (Windows-1251, distinct, in the city's
// order) that look like `typed`, best first. Letter case is ignored
// throughout, Cyrillic included. Ranked: names that start with the typed
// text, then names that contain it, then names within a few edits of it
// (insertions, deletions, replacements: at most a third of the typed
// length, and at least 1); within each kind the fewer edits the better, and
// the city's order breaks ties. Names further off are not suggested.
std::vector<std::string> SimilarNames(const std::vector<std::string>& names, std::string_view typed,
                                      size_t limit = 5);

}  // namespace varnik
