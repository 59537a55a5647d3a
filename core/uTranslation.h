#pragma once
// User-visible texts that come with data are looked up here by section and
// key with a built-in default, so that a language table could replace them.
// No table or replacement pairs are ever loaded in this system, so every
// look-up returns its default with escapes expanded.

#include <string>
#include <vector>

#include "core/uIniStream.h"

namespace varnik {

class TTranslation {
 public:
  std::vector<std::string> ReplaceTo2, ReplaceFrom2;
  std::vector<std::string> ReplaceFrom, ReplaceTo;
  TIniStream Strings;
  bool ReplacementsEnabled = false;

  std::string Translate(const std::string& section, const std::string& key, const std::string& defaultText);

  // Rewrites `text` by the first list of pairs, then by the second. Each
  // pair is applied until its source no longer occurs, so the lists must not
  // hold a pair whose target contains its own source.
  std::string ApplyReplacements(std::string text) const;
};

// The program-wide instance.
TTranslation& Translation();

}  // namespace varnik
