#include "city/uCityWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "core/uUtils.h"
#include "network/uRoute.h"
#include "network/uStation.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "vector/uVectorImage.h"

namespace varnik {
namespace fs = std::filesystem;

namespace {

constexpr const char* kMetroTransport = "Metro.trp";
constexpr TColor kWhite = 0xFFFFFF;

// One "key=value" line. The reader trims values and strips one pair of
// enclosing single quotes, so a value that is itself enclosed in them gets
// a second pair; line breaks would end the line and become blanks.
std::string KeyLine(const std::string& key, std::string value) {
  std::replace_if(
      value.begin(), value.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') value = "'" + value + "'";
  return key + "=" + value + "\r\n";
}

std::string SectionLine(const std::string& name) { return "[" + name + "]\r\n"; }

std::string BoolText(bool value) { return value ? "1" : "0"; }

}  // namespace

// The transports are loaded "Metro.trp" first, then the others in the
// order of the directory listing; a transfer must be read after both of
// its routes, so it goes into the later of their two files.
bool LoadedBefore(const TTransport& a, const TTransport& b) {
  const bool aMetro = SameTextAscii(a.FileName, kMetroTransport);
  const bool bMetro = SameTextAscii(b.FileName, kMetroTransport);
  if (aMetro != bMetro) return aMetro;
  return ListedBefore(a.FileName, b.FileName);
}

const TTransport* LaterLoaded(const TTransport* a, const TTransport* b) {
  return LoadedBefore(*a, *b) ? b : a;
}

namespace {

// The time of the way back of `transfer` (declared at `from`): the
// transfer named "-" + name at the other end that leads back to `from`.
int32_t BackTime(const TTransfer& transfer, const TStation& from) {
  for (const auto& back : transfer.Station->Transfers) {
    if (back->Station == &from && back->Name == "-" + transfer.Name) return back->Time;
  }
  return transfer.Time;
}

std::string KindWord(uint8_t kind) {
  switch (kind) {
    case 1:
      return "opposite";
    case 2:
      return "parallel";
    case 3:
      return "indifferent";
    default:
      return "";
  }
}

}  // namespace

std::string TransferValue(const TTransfer& transfer, const TStation& from, TStationNaming name) {
  const TStation& to = *transfer.Station;
  std::string value = QuoteIfComma(from.Route->Name) + "," + QuoteIfComma(name(from)) + "," +
                      QuoteIfComma(to.Route->Name) + "," + QuoteIfComma(name(to)) + "," +
                      SecondsToTimeStr(transfer.Time);
  const int32_t back = BackTime(transfer, from);
  if (back != transfer.Time) value += "," + SecondsToTimeStr(back);
  if (transfer.Invisible) value += ",invisible";
  return value;
}

namespace {

// The Transfers and AdditionalInfo sections of `transport`: every declared
// transfer of the city whose later-loaded route is in this file, numbered
// from 1 in the order of the stations.
std::string TransfersText(const TTransport& transport, const TTransports& all) {
  std::string lines, kinds;
  int number = 0;
  for (const auto& owner : all.Items) {
    for (const auto& route : owner->Routes) {
      for (const auto& stop : route->Stops) {
        const TStation& from = *stop->Station;
        for (const auto& transfer : from.Transfers) {
          if (transfer->Name.starts_with("-")) continue;
          if (LaterLoaded(owner.get(), transfer->Station->Route->Transport) != &transport) continue;
          const std::string name = std::to_string(++number);
          lines += KeyLine(name, TransferValue(*transfer, from));
          if (transfer->Kind != 0)
            kinds += (kinds.empty() ? "" : ",") + name + "," + KindWord(transfer->Kind);
        }
      }
    }
  }
  std::string text;
  if (!lines.empty()) text += "\r\n" + SectionLine("Transfers") + lines;
  if (!kinds.empty()) text += "\r\n" + SectionLine("AdditionalInfo") + KeyLine("OnePlatformTransfers", kinds);
  return text;
}

}  // namespace

std::string AliasesValue(const TRoute& route, TStationNaming name) {
  std::string value;
  for (const auto& stop : route.Stops) {
    const TStation& station = *stop->Station;
    if (station.Alias == name(station)) continue;
    value += (value.empty() ? "" : ",") + QuoteIfComma(name(station)) + "," + QuoteIfComma(station.Alias);
  }
  return value;
}

namespace {

std::string RouteText(const TRoute& route, int number) {
  std::string text = "\r\n" + SectionLine("Line" + std::to_string(number)) + KeyLine("Name", route.Name);
  if (route.Alias != route.Name) text += KeyLine("Alias", route.Alias);
  if (!route.LineMap.empty()) text += KeyLine("LineMap", route.LineMap);
  // Both keys are always there, as the editor's save writes them.
  text += KeyLine("Stations", route.StationsToString());
  text += KeyLine("Driving", route.DrivingToString());
  if (!route.Delays.empty()) text += KeyLine("Delays", route.Delays);
  const std::string aliases = AliasesValue(route);
  if (!aliases.empty()) text += KeyLine("Aliases", aliases);
  return text;
}

}  // namespace

std::string FileList(const std::vector<TTransport*>& transports) {
  std::string value;
  for (const TTransport* transport : transports)
    value += (value.empty() ? "" : ",") + QuoteIfComma(transport->FileName);
  return value;
}

namespace {

std::string MapLineText(const TMetroMapLine& line, int32_t linesWidth) {
  std::string text = "\r\n" + SectionLine(line.Route->Name);
  text += KeyLine("Color", ColorToHex(line.Color));
  text += KeyLine("LabelsColor", ColorToHex(line.LabelsColor));
  text += KeyLine("LabelsBColor", ColorToHex(line.LabelsBColor));
  if (line.Width != linesWidth) text += KeyLine("Width", std::to_string(line.Width));
  // Written as the editor's save writes them, so a save changes nothing.
  text += KeyLine("Coordinates", line.CoordinatesValue());
  text += KeyLine("Rects", line.RectsValue());
  text += KeyLine("Rect", line.LegendRect == TRect{} ? std::string() : RectToStr(line.LegendRect));
  return text;
}

bool IsEmptyDirectory(const fs::path& dir) {
  std::error_code ec;
  return fs::is_directory(dir, ec) && fs::is_empty(dir, ec) && !ec;
}

std::string TempPattern(const fs::path& target, const char* what) {
  return (target.parent_path() / ("." + target.filename().string() + what)).string();
}

}  // namespace

TFreshCity::TFreshCity() = default;

std::string CtyFileNameFor(const std::string& name) {
  std::string file = TrimBlank(name);
  for (char& c : file) {
    if (static_cast<unsigned char>(c) < 32 ||
        std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
      c = '_';
  }
  if (file.empty() || file == "." || file == "..") file = "City";
  return file + ".cty";
}

std::unique_ptr<TFreshCity> EmptyCity(const std::string& name, int32_t width, int32_t height) {
  auto city = std::make_unique<TFreshCity>();
  city->CtyFileName = CtyFileNameFor(name);
  city->Header.Name = name;
  city->Header.RusName = name;
  city->Header.CityName = name;
  city->Header.DelayNames = Utf8ToCp1251("День,Ночь");
  auto metro = std::make_unique<TTransport>();
  metro->FileName = kMetroTransport;
  metro->Type = Utf8ToCp1251("Метро");
  TTransport* transport = metro.get();
  city->Transports.Items.push_back(std::move(metro));
  city->Background = {"Background.vec", width, height};
  city->Map = std::make_unique<TMetroMap>(city->Transports, nullptr);
  city->Map->Name = "Metro.map";
  city->Map->ImageFileName = city->Background.FileName;
  city->Map->Transports = {transport};
  city->Map->CheckedTransports = {transport};
  return city;
}

std::string CtyText(const TCityHeader& header) {
  std::string text = SectionLine("Options") + KeyLine("NeedVersion", "5.0");
  text += KeyLine("Name", header.Name);
  text += KeyLine("RusName", header.RusName);
  text += KeyLine("Country", header.Country);
  text += KeyLine("CityName", header.CityName);
  text += KeyLine("MapAuthors", ReplaceAll(ReplaceAll(header.MapAuthors, "\r\n", "\\n"), "\n", "\\n"));
  if (!header.DelayNames.empty()) text += KeyLine("DelayNames", header.DelayNames);
  return text;
}

std::string TransportText(const TTransport& transport, const TTransports& all) {
  std::string text = SectionLine("Options") + KeyLine("Type", transport.Type);
  int number = 0;
  for (const auto& route : transport.Routes) text += RouteText(*route, ++number);
  return text + TransfersText(transport, all);
}

std::string MapText(const TMetroMap& map) {
  std::string text = SectionLine("Options");
  text += KeyLine("ImageFileName", map.ImageFileName);
  text += KeyLine("Transports", FileList(map.Transports));
  text += KeyLine("CheckedTransports", FileList(map.CheckedTransports));
  text += KeyLine("StationDiameter", std::to_string(map.StationDiameter));
  text += KeyLine("LinesWidth", std::to_string(map.LinesWidth));
  text += KeyLine("WordWrap", BoolText(map.WordWrap));
  text += KeyLine("UpperCase", BoolText(map.UpperCase));
  text += KeyLine("IsVector", BoolText(map.IsVector));
  std::string segments;
  for (const auto& line : map.Lines) {
    text += MapLineText(*line, map.LinesWidth);
    for (const auto& segment : line->Segments)
      segments += KeyLine(segment->Name, line->SegmentValue(*segment));
  }
  if (!segments.empty()) text += "\r\n" + SectionLine("AdditionalNodes") + segments;
  return text;
}

std::string BlankPictureText(const TBlankPicture& picture) {
  TVectorImage image;
  image.AddSize(picture.Width, picture.Height);
  image.AddPenColor(kWhite);
  image.AddBrushColor(kWhite);
  image.AddPolygon(1);
  const long double w = picture.Width, h = picture.Height;
  for (auto [x, y] : {std::pair<long double, long double>{0, 0}, {w, 0}, {w, h}, {0, h}})
    image.AddPointToLast(x, y);
  return image.SaveToText();
}

std::vector<TCityFile> CityFiles(const TFreshCity& city) {
  std::vector<TCityFile> files;
  files.push_back({city.CtyFileName, CtyText(city.Header)});
  for (const auto& transport : city.Transports.Items)
    files.push_back({transport->FileName, TransportText(*transport, city.Transports)});
  if (city.Map) files.push_back({city.Map->Name, MapText(*city.Map)});
  if (!city.Background.FileName.empty())
    files.push_back({city.Background.FileName, BlankPictureText(city.Background)});
  return files;
}

bool WriteCityFiles(const fs::path& dir, const std::vector<TCityFile>& files, std::string& error) {
  const std::string dirName = Utf8ToCp1251(dir.string());
  for (const TCityFile& file : files) {
    if (!WriteFileAtomic(dirName + "/" + file.Name, file.Bytes)) {
      error = "cannot write " + (dir / Cp1251ToUtf8(file.Name)).string();
      return false;
    }
  }
  return true;
}

bool WriteCityDirectory(const fs::path& dir, const std::vector<TCityFile>& files, std::string& error) {
  fs::path target = fs::absolute(dir).lexically_normal();
  if (target.filename().empty()) target = target.parent_path();
  std::string temp = TempPattern(target, ".new-XXXXXX");
  if (::mkdtemp(temp.data()) == nullptr) {
    error = "cannot create a directory beside " + target.string();
    return false;
  }
  // The temporary directory is private; the city gets the rights of any
  // directory the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  std::error_code ec;
  fs::permissions(temp, static_cast<fs::perms>(0777 & ~mask), ec);
  if (!WriteCityFiles(temp, files, error)) {
    fs::remove_all(temp, ec);
    return false;
  }
  // The old directory steps aside under a name of its own and goes only
  // once the new one has taken its place.
  const fs::path old = temp + ".old";
  const bool replacing = fs::exists(fs::symlink_status(target, ec));
  ec.clear();
  if (replacing) fs::rename(target, old, ec);
  if (!ec) fs::rename(temp, target, ec);
  if (ec) {
    error = "cannot move the new city to " + target.string() + ": " + ec.message();
    std::error_code ignored;
    if (replacing && !fs::exists(fs::symlink_status(target, ignored))) fs::rename(old, target, ignored);
    fs::remove_all(temp, ignored);
    return false;
  }
  if (replacing) fs::remove_all(old, ec);
  return true;
}

TNewCityError NewCityDirectory(const fs::path& dir, const std::string& name, int32_t width, int32_t height,
                               std::string& error) {
  // An empty path has no absolute form; the file system library throws on it.
  if (dir.empty()) {
    error = "no directory given for the new city";
    return TNewCityError::NoDirectory;
  }
  const std::string trimmed = TrimBlank(name);
  const std::string cityName = Utf8ToCp1251(trimmed);
  if (cityName.empty() || Cp1251ToUtf8(cityName) != trimmed) {
    error = "the name \"" + name + "\" cannot be written in the city's code page (Windows-1251)";
    return TNewCityError::BadName;
  }
  std::error_code ec;
  const bool exists = fs::exists(dir, ec);
  if (exists && !fs::is_directory(dir, ec)) {
    error = dir.string() + " is not a directory";
    return TNewCityError::NotADirectory;
  }
  if (exists && !IsEmptyDirectory(dir)) {
    error = dir.string() + " is not empty; a new city needs a new or empty directory";
    return TNewCityError::NotEmpty;
  }
  const std::vector<TCityFile> files = CityFiles(*EmptyCity(cityName, width, height));
  bool written;
  if (exists) {
    written = WriteCityFiles(dir, files, error);
  } else {
    fs::create_directories(fs::absolute(dir).lexically_normal().parent_path(), ec);
    written = WriteCityDirectory(dir, files, error);
  }
  return written ? TNewCityError::None : TNewCityError::WriteFailed;
}

}  // namespace varnik
