#pragma once
// A city for map tests: the transport network, the pictures and the maps of
// a test city directory, loaded the way the city loads them (Metro.trp
// first, each file's transfers right after it, then linking), without the
// city's own loader so that the map library is tested on its own.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "core/uIniStream.h"
#include "image/uImage.h"
#include "map/uCitySaver.h"
#include "map/uLayer.h"
#include "map/uMetroMap.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uMessages.h"
#include "vector/uVectorImage.h"

namespace varnik::test {

inline std::filesystem::path CityDir(const std::string& name) {
  return std::filesystem::path(VARNIK_TEST_DATA) / "cities" / name;
}

// Copies a test city into a fresh temporary directory.
inline void CopyCity(const std::string& name, const TTempDir& to) {
  std::filesystem::copy(CityDir(name), to.Path(), std::filesystem::copy_options::recursive);
}

class TMapTestCity {
 public:
  TTransports Transports;
  TImages Images;
  std::vector<std::unique_ptr<TMetroMap>> Maps;

  // Loads the network and the pictures of `dir` (not the maps).
  void LoadNetwork(const std::filesystem::path& dir) {
    dir_ = dir;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (entry.path().extension() != ".vec") continue;
      auto image = std::make_unique<TImage>();
      image->LoadFromFile(entry.path().string());
      Images.push_back(std::move(image));
    }
    TScopedCurrentDir here(dir);
    TNetworkReader(Transports).ReadCurrentDir();
  }

  TMetroMap& LoadMap(const std::string& name, TMetroMap* parent = nullptr) {
    Maps.push_back(LoadMapFile((dir_ / name).string(),
                               [this](const std::string& file) { return FindByName(Images, file); }, parent,
                               Transports));
    return *Maps.back();
  }

 private:
  std::filesystem::path dir_;
};

// The map's own layer as .vec text.
inline std::string LayerText(const TMetroMap& map) { return map.Layers.back()->Image->Vector->SaveToText(); }

// Lines joined with CR LF after each, as SaveToText writes them.
// A test on a copy of a city directory in a temporary directory: its
// network and "Metro.map" loaded, saved the way the editor saves it, and
// every message recorded.
class TSavedCityTest : public ::testing::Test {
 protected:
  void CopyAndLoad(const std::filesystem::path& from) {
    std::filesystem::copy(from, dir.Path(), std::filesystem::copy_options::recursive);
    Load();
  }
  // Loads the city again from what is on disk now.
  void Load() {
    city = std::make_unique<TMapTestCity>();
    city->LoadNetwork(dir.Path());
    map = &city->LoadMap("Metro.map");
  }
  bool Save(bool writeLegendRects = true) {
    TScopedCurrentDir here(dir.Path());
    return SaveCity(map, city->Transports, writeLegendRects);
  }

  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  TTempDir dir;
  std::unique_ptr<TMapTestCity> city;
  TMetroMap* map = nullptr;
};

inline std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

}  // namespace varnik::test
