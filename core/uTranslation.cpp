#include "core/uTranslation.h"

#include "core/uUtils.h"

namespace varnik {
namespace {

void ApplyPairs(std::string& text, const std::vector<std::string>& from, const std::vector<std::string>& to) {
  for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
    if (from[i].empty()) continue;
    for (size_t p; (p = text.find(from[i])) != std::string::npos;) text.replace(p, from[i].size(), to[i]);
  }
}

}  // namespace

std::string TTranslation::Translate(const std::string& section, const std::string& key,
                                    const std::string& defaultText) {
  Strings.SelectSection(section);
  std::string s = Strings.ValueString(key, "");
  if (s.empty()) s = defaultText;
  return ApplyReplacements(UnescapeText(s));
}

std::string TTranslation::ApplyReplacements(std::string text) const {
  if (!ReplacementsEnabled) return text;
  ApplyPairs(text, ReplaceFrom, ReplaceTo);
  ApplyPairs(text, ReplaceFrom2, ReplaceTo2);
  return text;
}

TTranslation& Translation() {
  static TTranslation instance;
  return instance;
}

}  // namespace varnik
