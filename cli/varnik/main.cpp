// varnik: the command-line tool over cities. It loads and draws through the
// same code as the map editor; messages the editor would show in a box are
// printed one per line in UTF-8.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/varnik/uCityJson.h"
#include "network/uCity.h"
#include "platform/uCodePage.h"
#include "platform/uFiles.h"
#include "platform/uMessages.h"

namespace varnik {
namespace {

constexpr int kExitCannotEnter = 2;

// Loads the city in `dir`, recording every message. False when the
// directory cannot be entered (said on stderr).
bool LoadCity(const std::string& dir, TCity& city, TRecordingSink& messages) {
  if (!SetCurrentDir(Utf8ToCp1251(dir))) {
    std::cerr << "varnik: cannot enter directory " << dir << "\n";
    return false;
  }
  TScopedMessageSink scope(messages);
  city.LoadFromDir();
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

}  // namespace
}  // namespace varnik

int main(int argc, char** argv) {
  CLI::App app{"varnik: check, dump and draw the schematic maps of a city directory"};
  app.require_subcommand(1);
  std::string dir = ".";

  CLI::App* check = app.add_subcommand("check", "load the city in DIR and print every diagnostic");
  check->add_option("DIR", dir, "city directory (default: the current directory)");
  CLI::App* dump = app.add_subcommand("dump", "print the loaded city as JSON");
  dump->add_option("DIR", dir, "city directory (default: the current directory)");

  CLI11_PARSE(app, argc, argv);
  if (check->parsed()) return varnik::RunCheck(dir);
  if (dump->parsed()) return varnik::RunDump(dir);
  return 1;
}
