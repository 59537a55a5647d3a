#pragma once
// A transport (one .trp file: the underground, a tram network, ...) and the
// city's list of them.

#include <memory>
#include <string>
#include <vector>

#include "network/uRoute.h"

namespace varnik {

class TTransport {
 public:
  std::string Type;
  std::vector<std::unique_ptr<TRoute>> Routes;
  std::string FileName;  // the .trp file it was read from, without directory
};

class TTransports {
 public:
  std::vector<std::unique_ptr<TTransport>> Items;

  // First route, in transport then route order, whose name matches without
  // regard to letter case (Cyrillic folds too).
  TRoute* FindRouteByName(const std::string& name, bool report) const;

  void Link();
  void Clear() { Items.clear(); }
};

}  // namespace varnik
