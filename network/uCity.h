#pragma once
// The city: everything loaded from one directory (.cty, .trp, pictures,
// maps). LoadFromDir is the single entry through which the programs get
// their data.

#include <memory>
#include <string>
#include <vector>

#include "network/uTransport.h"

namespace varnik {

class TIniStream;

// The program version the data's "NeedVersion" is compared with.
inline constexpr const char* kProgramVersion = "5.0";

class TCity {
 public:
  std::string Name;
  std::string RusName;
  std::string Country;
  std::string CityName;
  std::string MapAuthors;
  std::vector<TStation*> Stations;  // every station, in transport, route, stop order
  TTransports Transports;
  std::string DelayNames;

  // Loads the city from the current directory. Failures are reported and end
  // the load early, keeping what was loaded so far.
  void LoadFromDir();
  void Clear();

 private:
  void ReadOptions(TIniStream& ini);
  // Reads one transport file and its transfers; `fileName` is what the
  // transport records as its origin.
  void LoadTransport(TIniStream& ini, const std::string& path, const std::string& fileName);
};

}  // namespace varnik
