#pragma once
// The city: everything loaded from one directory (.cty, .trp, pictures,
// maps). LoadFromDir is the single entry through which the programs get
// their data.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image/uImage.h"
#include "map/uMetroMap.h"
#include "network/uTransport.h"

namespace varnik {

class TIniStream;

// The program version the data's "NeedVersion" is compared with.
inline constexpr const char* kProgramVersion = VARNIK_VERSION;

class TCity {
 public:
  std::string Name;
  std::string RusName;
  std::string Country;
  std::string CityName;
  std::string MapAuthors;
  std::vector<TStation*> Stations;  // every station, in transport, route, stop order
  TTransports Transports;
  std::vector<std::unique_ptr<TMetroMap>> Maps;  // "Metro.map" first, then the others by name
  TImages Images;                                // every picture file of the directory
  TMetroMap* CurrentMap = nullptr;
  std::string DelayNames;

  TCity() = default;
  TCity(const TCity&) = delete;
  TCity& operator=(const TCity&) = delete;
  ~TCity();

  // Loads the city from the current directory. Failures are reported and end
  // the load early, keeping what was loaded so far. `firstArgument` is the
  // program's first command-line argument, if it had one: the map to show.
  void LoadFromDir(const std::optional<std::string>& firstArgument = std::nullopt);
  void Clear();

  // Makes current the first map whose file name matches `name` ignoring
  // letter case (Cyrillic too); false, and no change, when none does.
  bool SelectMap(const std::string& name);
  // The first picture named `name`, letter case ignored, or nullptr.
  TImage* FindImage(const std::string& name) const;

 private:
  void ReadOptions(TIniStream& ini);
  void LoadImages();
  // Steps that read the maps; false when the load has to stop.
  bool LoadMaps();
  void AddMap(const std::string& fileName, TMetroMap* parentMap);
};

}  // namespace varnik
