#include "network/uCity.h"

#include "core/uIniStream.h"
#include "core/uTranslation.h"
#include "core/uUtils.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

void ReportLoadFailure(const std::string& text) { ShowMessage(text, TMessageStyle::Foreground); }

std::string DefaultDelayNames() {
  return Translation().Translate("gbDelay", "rbDelayDay", Utf8ToCp1251("День")) + "," +
         Translation().Translate("gbDelay", "rbDelayNight", Utf8ToCp1251("Ночь"));
}

}  // namespace

TCity::~TCity() { Clear(); }

void TCity::Clear() {
  // Maps refer to the network and the pictures, so they go first.
  CurrentMap = nullptr;
  Maps.clear();
  Images.clear();
  Stations.clear();
  Transports.Clear();
}

void TCity::LoadFromDir(const std::optional<std::string>& firstArgument) {
  Clear();

  std::vector<std::string> files;
  ListFiles("*.cty", files);
  if (files.empty()) return ReportLoadFailure("TCity.LoadFromDir: *.cty file not found.");
  if (files.size() > 1) return ReportLoadFailure("TCity.LoadFromDir: multiple *.cty not supported.");

  TIniStream ini;
  ini.LoadFromFile(files[0]);
  ini.SelectSection("Options");
  ReadOptions(ini);

  files.clear();
  ListFiles("Metro.trp", files);
  if (files.size() > 1) return ReportLoadFailure("TCity.LoadFromDir: multiple Metro.trp not supported.");
  // The metro is always the first transport, whatever the sort order of the
  // others; it keeps the name it has on disk, so that saving writes that file.
  if (files.size() == 1) LoadTransport(ini, files[0], files[0]);

  files.clear();
  ListFiles("*.trp", files);
  for (const std::string& name : files)
    if (!SameTextAscii(name, "Metro.trp")) LoadTransport(ini, name, name);

  Transports.Link();
  for (const auto& transport : Transports.Items)
    for (const auto& route : transport->Routes)
      for (const auto& stop : route->Stops) Stations.push_back(stop->Station);

  LoadImages();
  if (!LoadMaps()) return;
  if (Maps.empty()) return ReportLoadFailure("TCity.LoadFromDir: *.map not found");
  CurrentMap = Maps[0].get();
  if (firstArgument) SelectMap(*firstArgument);
}

void TCity::LoadImages() {
  std::vector<std::string> files;
  for (const char* mask : {"*.vec", "*.gif", "*.png", "*.bmp"}) ListFiles(mask, files);
  for (const std::string& name : files) {
    auto image = std::make_unique<TImage>();
    image->LoadFromFile(name);
    Images.push_back(std::move(image));
  }
}

bool TCity::LoadMaps() {
  std::vector<std::string> files;
  ListFiles("Metro.map", files);
  if (files.size() > 1) {
    ReportLoadFailure("TCity.LoadFromDir: multiple Metro.map not supported.");
    return false;
  }
  if (files.size() == 1) {
    AddMap(files[0], nullptr);
    CurrentMap = Maps.back().get();
  }
  // Every other map takes missing colours from the metro map (or has no parent).
  TMetroMap* parent = CurrentMap;
  files.clear();
  ListFiles("*.map", files);
  for (const std::string& name : files)
    if (!SameTextAscii(name, "Metro.map")) AddMap(name, parent);
  return true;
}

void TCity::AddMap(const std::string& fileName, TMetroMap* parentMap) {
  auto loader = [this](const std::string& name) { return FindImage(name); };
  Maps.push_back(LoadMapFile(fileName, loader, parentMap, Transports));
}

bool TCity::SelectMap(const std::string& name) {
  for (const auto& map : Maps) {
    if (SameTextLocale(map->Name, name)) {
      CurrentMap = map.get();
      return true;
    }
  }
  return false;
}

TImage* TCity::FindImage(const std::string& name) const { return FindByName(Images, name); }

void TCity::DrawCurrentMap(TBitmap& bitmap, int level, const TScale& scale) {
  if (!CurrentMap) return;
  CurrentMap->UpdateLabelsVisibility();
  CurrentMap->Draw(bitmap, level, scale);
}

void TCity::ReadOptions(TIniStream& ini) {
  std::string needVersion = ini.ValueString("NeedVersion", "");
  if (!needVersion.empty() && CompareVersions(kProgramVersion, needVersion) < 0) {
    std::string text = Translation().Translate("Messages", "NeedHigherVersion",
                                               Utf8ToCp1251("Требуется версия Varnik не ниже %s!"));
    ShowMessage(ReplaceAll(text, "%s", needVersion), TMessageStyle::Warning);
  }
  Name = ini.ValueString("Name", "");
  RusName = ini.ValueString("RusName", "");
  Country = ini.ValueString("Country", "");
  CityName = ini.ValueString("CityName", "");
  MapAuthors = UnescapeText(ini.ValueString("MapAuthors", ""));
  DelayNames = ini.ValueString("DelayNames", DefaultDelayNames());
  if (DelayNames == ",") DelayNames = Utf8ToCp1251("День,Ночь");
}

void TCity::LoadTransport(TIniStream& ini, const std::string& path, const std::string& fileName) {
  ini.LoadFromFile(path);
  auto transport = std::make_unique<TTransport>();
  transport->Load(ini);
  transport->FileName = fileName;
  Transports.Items.push_back(std::move(transport));
  LoadTransfers(Transports, ini);
}

}  // namespace varnik
