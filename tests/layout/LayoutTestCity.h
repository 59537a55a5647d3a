#pragma once
// A small city written from text into a temporary directory and loaded
// with its main map, for the layout tests.

#include <string>

#include "TestFiles.h"
#include "map/MapTestCity.h"

namespace varnik::test {

class TLayoutTestCity {
 public:
  // `lines` is the body of Metro.trp after its Options (UTF-8), `map` the
  // body of Metro.map after its Options.
  TLayoutTestCity(const std::string& lines, const std::string& map) {
    dir_.Write("Metro.trp", "[Options]\nType=Metro\n\n" + lines);
    dir_.Write("Metro.map", "[Options]\nTransports=Metro.trp\n\n" + map);
    city_.LoadNetwork(dir_.Path());
    map_ = &city_.LoadMap("Metro.map");
  }
  TMetroMap& Map() { return *map_; }

 private:
  TTempDir dir_;
  TMapTestCity city_;
  TMetroMap* map_ = nullptr;
};

}  // namespace varnik::test
