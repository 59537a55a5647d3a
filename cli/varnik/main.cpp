// varnik: the command-line tool over cities. It loads and draws through the
// same code as the map editor; messages the editor would show in a box are
// printed one per line in UTF-8.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "city/uCity.h"
#include "cli/common/uRenderView.h"
#include "cli/varnik/uCityCommands.h"
#include "cli/varnik/uCityJson.h"
#include "cli/varnik/uLayoutCommand.h"
#include "cli/varnik/uMapCommands.h"
#include "cli/varnik/uRouteCommand.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

constexpr int kExitCannotEnter = 2;

// Loads the city in `dir`, recording every message. False when the
// directory cannot be entered (said on stderr). `mapName` (UTF-8) is handed
// over as the editor's first argument when it is not empty.
bool LoadCity(const std::string& dir, TCity& city, TRecordingSink& messages,
              const std::string& mapName = "") {
  if (!SetCurrentDir(Utf8ToCp1251(dir))) {
    std::cerr << "varnik: cannot enter directory " << dir << "\n";
    return false;
  }
  TScopedMessageSink scope(messages);
  std::optional<std::string> firstArgument;
  if (!mapName.empty()) firstArgument = Utf8ToCp1251(mapName);
  city.LoadFromDir(firstArgument);
  return true;
}

void PrintLines(std::FILE* out, const std::vector<std::string>& texts) {
  TStderrSink printer(out);
  for (const std::string& text : texts) printer.Show(text, TMessageStyle::Plain);
}

int RunCheck(const std::string& dir) {
  TCity city;
  TRecordingSink messages;
  if (!LoadCity(dir, city, messages)) return kExitCannotEnter;
  std::vector<std::string> texts = messages.Texts();
  PrintLines(stdout, texts);
  if (texts.empty()) {
    std::cerr << "no diagnostics\n";
    return 0;
  }
  std::cerr << texts.size() << (texts.size() == 1 ? " diagnostic\n" : " diagnostics\n");
  return 1;
}

int RunDump(const std::string& dir) {
  TCity city;
  TRecordingSink messages;
  if (!LoadCity(dir, city, messages)) return kExitCannotEnter;
  std::vector<std::string> texts = messages.Texts();
  PrintLines(stderr, texts);
  std::cout << CityToJson(city, texts).dump(2) << "\n";
  return 0;
}

// Loads the city for a map command, prints its diagnostics on stderr and
// runs `command` on the chosen map; the exit code is the command's.
int RunMapCommand(const std::string& dir, const std::string& mapName,
                  const std::function<int(TCity&)>& command) {
  TCity city;
  TRecordingSink messages;
  if (!LoadCity(dir, city, messages, mapName)) return kExitCannotEnter;
  PrintLines(stderr, messages.Texts());
  if (!ChooseMap(city, mapName)) return 1;
  return command(city);
}

// `route` (two names) draws the journey between them over the map.
int RunRender(const std::string& dir, const std::string& mapName, TRenderOptions options,
              const std::vector<std::string>& route, const std::string& delay) {
  // The output is named from where the tool was started, before entering DIR.
  options.Out = std::filesystem::absolute(options.Out).string();
  return RunMapCommand(dir, mapName, [&](TCity& city) {
    if (route.empty()) return RenderMap(city, options, nullptr);
    int exitCode = 0;
    const std::optional<TJourney> journey = FindRequestedJourney(city, {route[0], route[1], delay}, exitCode);
    return journey ? RenderMap(city, options, &*journey) : exitCode;
  });
}

int RunRoute(const std::string& dir, const TRouteRequest& request) {
  TCity city;
  TRecordingSink messages;
  if (!LoadCity(dir, city, messages)) return kExitCannotEnter;
  PrintLines(stderr, messages.Texts());
  return PrintRoute(city, request);
}

}  // namespace
}  // namespace varnik

int main(int argc, char** argv) {
  CLI::App app{"varnik: check, dump and draw the schematic maps of a city directory; plan journeys"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("varnik ") + VARNIK_VERSION);
  std::string dir = ".";

  CLI::App* check = app.add_subcommand("check", "load the city in DIR and print every diagnostic");
  check->add_option("DIR", dir, "city directory (default: the current directory)");
  CLI::App* dump = app.add_subcommand("dump", "print the loaded city as JSON");
  dump->add_option("DIR", dir, "city directory (default: the current directory)");

  std::string mapName;
  varnik::TRenderOptions renderOptions;
  renderOptions.Out = "map.png";
  CLI::App* render = app.add_subcommand("render", "draw a map of the city as the editor shows it into a PNG, SVG or PDF");
  render->add_option("DIR", dir, "city directory (default: the current directory)");
  render->add_option("--map", mapName, "file name of the map (default: the current map)");
  varnik::AddRenderOptions(*render, renderOptions);
  std::vector<std::string> renderRoute;
  std::string renderDelay;
  CLI::Option* routeOption =
      render->add_option("--route", renderRoute, "highlight the fastest journey from FROM to TO")
          ->expected(2)
          ->type_name("FROM TO");
  render->add_option("--delay", renderDelay, "wait for trains as the city's delay column NAME says")
      ->type_name("NAME")
      ->needs(routeOption);
  CLI::App* save = app.add_subcommand("save", "load the city, then save it as the editor does on closing");
  save->add_option("DIR", dir, "city directory (default: the current directory)");
  save->add_option("--map", mapName, "file name of the map to save, as the editor's argument");
  CLI::App* layer = app.add_subcommand("layer", "print the vector layer a map builds of itself as .vec text");
  layer->add_option("DIR", dir, "city directory (default: the current directory)");
  layer->add_option("--map", mapName, "file name of the map (default: the current map)");

  varnik::TLayoutCommandOptions layoutOptions;
  CLI::App* layout = app.add_subcommand("layout", "lay the map out on an octilinear grid and save it; print the "
                                                  "figures of the drawing before and after");
  layout->add_option("DIR", dir, "city directory (default: the current directory)");
  layout->add_option("--map", mapName, "file name of the map (default: the current map)");
  layout->add_option("--grid", layoutOptions.GridStep,
                     "grid step in pixels (default: twice the station diameter plus the line width)")
      ->check(CLI::PositiveNumber);
  layout->add_option("--seconds", layoutOptions.Seconds, "give up after this many seconds (default: no limit)")
      ->check(CLI::PositiveNumber);

  std::string routeDir;
  varnik::TRouteRequest routeRequest;
  CLI::App* route = app.add_subcommand("route", "print the fastest journey between two stations");
  route->add_option("DIR", routeDir, "city directory")->required();
  route->add_option("FROM", routeRequest.From, "station to start from")->required();
  route->add_option("TO", routeRequest.To, "station to go to")->required();
  route->add_option("--delay", routeRequest.Delay, "wait for trains as the city's delay column NAME says")
      ->type_name("NAME");
  route->add_flag("--json", routeRequest.Json, "print the journey as JSON");

  varnik::TNewOptions newOptions;
  CLI::App* newCity = app.add_subcommand("new", "create an empty city to draw in: a .cty, an empty Metro.trp and "
                                                 "a Metro.map over a blank background");
  newCity->add_option("DIR", newOptions.Dir, "directory of the new city (new or empty)")->required();
  newCity->add_option("--name", newOptions.Name, "name of the city")->required();
  newCity->add_option("--size", newOptions.Size, "size of the background picture, WIDTHxHEIGHT (default 2000x1500)");

  varnik::TImportCommandOptions importOptions;
  CLI::App* import = app.add_subcommand("import-gtfs", "make a city directory from a GTFS feed");
  import->add_option("FEED", importOptions.Feed, "the feed: a .zip archive or a directory of its files")->required();
  import->add_option("OUTDIR", importOptions.OutDir, "directory of the new city")->required();
  import->add_option("--types", importOptions.Types, "route types to import, for example 0,1 (default: all)");
  import->add_option("--size", importOptions.Size, "longer side of the map in pixels (default 4000)");
  import->add_option("--transfer-time", importOptions.TransferMinutes,
                     "walking time of a transfer the feed gives no time for, in minutes (default 3)");
  import->add_flag("--force", importOptions.Force, "replace OUTDIR when it exists");
  import->add_flag("--verbose", importOptions.Verbose, "list the names that were changed");

  CLI11_PARSE(app, argc, argv);
  if (newCity->parsed()) return varnik::RunNew(newOptions);
  if (import->parsed()) return varnik::RunImportGtfs(importOptions);
  if (check->parsed()) return varnik::RunCheck(dir);
  if (dump->parsed()) return varnik::RunDump(dir);
  if (render->parsed()) return varnik::RunRender(dir, mapName, renderOptions, renderRoute, renderDelay);
  if (route->parsed()) return varnik::RunRoute(routeDir, routeRequest);
  if (save->parsed()) {
    const bool mapNamed = !mapName.empty();
    return varnik::RunMapCommand(dir, mapName,
                                 [&](varnik::TCity& city) { return varnik::SaveMap(city, mapNamed); });
  }
  if (layout->parsed()) {
    layoutOptions.MapNamed = !mapName.empty();
    return varnik::RunMapCommand(dir, mapName,
                                 [&](varnik::TCity& city) { return varnik::LayoutMap(city, layoutOptions); });
  }
  if (layer->parsed()) return varnik::RunMapCommand(dir, mapName, varnik::PrintLayer);
  return 1;
}
