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

void TCity::Clear() {
  Stations.clear();
  Transports.Clear();
}

void TCity::LoadFromDir() {
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
  // The metro is always the first transport, whatever the sort order of the others.
  if (files.size() == 1) LoadTransport(ini, files[0], "Metro.trp");

  files.clear();
  ListFiles("*.trp", files);
  for (const std::string& name : files)
    if (!SameTextAscii(name, "Metro.trp")) LoadTransport(ini, name, name);

  Transports.Link();
  for (const auto& transport : Transports.Items)
    for (const auto& route : transport->Routes)
      for (const auto& stop : route->Stops) Stations.push_back(stop->Station);
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
