#pragma once
// Writing a fresh city directory: the .cty file, one transport file per
// transport, the main map and a blank background picture that gives the map
// its extent. Every file is written whole, in the forms the city loader
// reads back without a diagnostic and the editor writes on saving (so a
// load and save of a written city changes no byte): Windows-1251 text,
// CR LF line ends, "Stations" and "Driving" in their canonical texts.
//
// Used by the commands that create cities (a new empty city, an imported
// network); editing an existing city goes through the key-by-key saver.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "map/uMetroMap.h"
#include "network/uTransport.h"

namespace varnik {

// The Options of the .cty file; texts in Windows-1251.
struct TCityHeader {
  std::string Name;
  std::string RusName;
  std::string Country;
  std::string CityName;
  std::string MapAuthors;  // line breaks become "\n"
  std::string DelayNames;  // empty: the key is left out
};

// A background picture of nothing but its size (and a white ground).
struct TBlankPicture {
  std::string FileName;
  int32_t Width = 0;
  int32_t Height = 0;
};

// Everything a fresh city directory holds. Routes, stops and neighbour
// lists are the network's own structures; transfers are the stations'
// transfer pairs as loading makes them (a transfer "N" at one station and
// its way back "-N" at the other), and every station must know its route
// (TTransports::Link does that). The map's lines refer to these routes and
// stops; its Transports list names the transport files it shows.
class TFreshCity {
 public:
  TFreshCity();
  TFreshCity(const TFreshCity&) = delete;
  TFreshCity& operator=(const TFreshCity&) = delete;

  std::string CtyFileName;
  TCityHeader Header;
  TTransports Transports;          // each transport with its FileName
  std::unique_ptr<TMetroMap> Map;  // named by its file, "Metro.map" for the main map
  TBlankPicture Background;        // the map's ImageFileName names it
};

// A fresh city of one empty metro transport and a map over a blank
// background of `width` by `height`; `name` (Windows-1251) names the city
// and its .cty file.
std::unique_ptr<TFreshCity> EmptyCity(const std::string& name, int32_t width, int32_t height);

// The .cty file name for a city name: characters a file name cannot hold
// become "_"; an empty name gives "City.cty".
std::string CtyFileNameFor(const std::string& name);

struct TCityFile {
  std::string Name;   // file name, Windows-1251
  std::string Bytes;  // the whole file
};

// The files of the city: the .cty file, the transports, the map, the
// background picture.
std::vector<TCityFile> CityFiles(const TFreshCity& city);

// The text of single files, exposed for the tests.
std::string CtyText(const TCityHeader& header);
std::string TransportText(const TTransport& transport, const TTransports& all);
std::string MapText(const TMetroMap& map);
std::string BlankPictureText(const TBlankPicture& picture);

// Canonical pieces shared with the saver of edited cities.
// Whether the city loader reads transport `a` before `b` ("Metro.trp"
// first, then the others by name); a transfer goes into the file of the
// later of its two routes, since it can name only routes read before it.
bool LoadedBefore(const TTransport& a, const TTransport& b);
const TTransport* LaterLoaded(const TTransport* a, const TTransport* b);
// The value of the declaration of `transfer` (leaving `from`), way back and
// "invisible" included; both stations must know their routes.
std::string TransferValue(const TTransfer& transfer, const TStation& from, TStationNaming name = NameOf);
// "name,alias" pairs of the stations whose alias differs from their name.
std::string AliasesValue(const TRoute& route, TStationNaming name = NameOf);
// The transports' file names, comma-separated (quoted when holding a comma).
std::string FileList(const std::vector<TTransport*>& transports);

// Writes `files` into the existing directory `dir`, each file atomically.
// False on the first failure, with `error` saying which file.
bool WriteCityFiles(const std::filesystem::path& dir, const std::vector<TCityFile>& files,
                    std::string& error);

// Builds the city in a new directory beside `dir` and renames it to `dir`
// at the end, so that `dir` never holds half a city. An existing `dir` is
// replaced (callers ask first); it is removed only after the new city is in
// place. False, with `error` set and nothing changed, on failure.
bool WriteCityDirectory(const std::filesystem::path& dir, const std::vector<TCityFile>& files,
                        std::string& error);

// Why NewCityDirectory made nothing.
enum class TNewCityError { None, NoDirectory, BadName, NotADirectory, NotEmpty, WriteFailed };

// The picture size of a new city when none is asked for.
inline constexpr int32_t kNewCityWidth = 2000, kNewCityHeight = 1500;

// Makes an empty city (EmptyCity) named `name` (UTF-8; blanks around it are
// dropped, and it must fit the city's code page) in `dir`, which must be a
// new directory (its parents are made) or an empty one: a city is never
// written over other files. On failure nothing is made and `error` says why
// in words naming `dir` as given.
TNewCityError NewCityDirectory(const std::filesystem::path& dir, const std::string& name, int32_t width,
                               int32_t height, std::string& error);

}  // namespace varnik
