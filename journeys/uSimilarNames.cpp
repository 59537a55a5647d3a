#include "journeys/uSimilarNames.h"

#include <algorithm>
#include <numeric>
#include <tuple>

#include "platform/uCodePage.h"

namespace varnik {

namespace {

// The number of single-letter insertions, deletions and replacements that
// turn `a` into `b`. Windows-1251 holds one letter per byte.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), 0);
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

struct TCandidate {
  int Kind;  // 0 starts with the typed text, 1 contains it, 2 a few edits off
  size_t Edits;
  size_t Order;
};

}  // namespace

std::vector<std::string> SimilarNames(const std::vector<std::string>& names, std::string_view typed,
                                      size_t limit) {
  const std::string wanted = LowerCase1251(typed);
  const size_t maxEdits = std::max<size_t>(1, wanted.size() / 3);
  std::vector<TCandidate> candidates;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string name = LowerCase1251(names[i]);
    const size_t edits = EditDistance(wanted, name);
    const size_t at = name.find(wanted);
    if (at == 0) {
      candidates.push_back({0, edits, i});
    } else if (at != std::string::npos) {
      candidates.push_back({1, edits, i});
    } else if (edits <= maxEdits) {
      candidates.push_back({2, edits, i});
    }
  }
  std::sort(candidates.begin(), candidates.end(), [](const TCandidate& a, const TCandidate& b) {
    return std::tie(a.Kind, a.Edits, a.Order) < std::tie(b.Kind, b.Edits, b.Order);
  });
  std::vector<std::string> result;
  for (size_t i = 0; i < candidates.size() && i < limit; ++i) result.push_back(names[candidates[i].Order]);
  return result;
}

}  // namespace varnik
