#include "cli/varnik/uCityCommands.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "city/uCityWriter.h"
#include "core/uUtils.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uGtfsImport.h"
#include "gtfs/uImportLog.h"

namespace varnik {
namespace fs = std::filesystem;

namespace {

constexpr int32_t kMinCanvas = 16, kMaxCanvas = 20000;
constexpr int32_t kMinImportSize = 100, kMaxImportSize = 100000;
constexpr double kMaxTransferMinutes = 24 * 60;

int Refuse(const std::string& text) {
  std::cerr << "varnik: " << text << "\n";
  return 1;
}

bool ParseWhole(std::string_view text, int32_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The basic route types of "--types 0,1".
bool ParseTypes(const std::string& text, std::vector<int32_t>& types) {
  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    int32_t type = 0;
    if (!ParseWhole(TrimView(rest.substr(0, comma)), type) || type < 0) return false;
    types.push_back(type);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  }
  return !types.empty();
}

// The name of the directory itself, also for "." or a path ending in "/".
std::string DirectoryName(const fs::path& dir) {
  fs::path absolute = fs::absolute(dir).lexically_normal();
  if (absolute.filename().empty()) absolute = absolute.parent_path();
  return absolute.filename().string();
}

void ReportSummary(const TImportSummary& summary, const std::string& outDir, bool verbose, TImportLog& log) {
  log.Say("imported " + std::to_string(summary.Routes) + " routes, " + std::to_string(summary.Stations) +
          " stations and " + std::to_string(summary.Transfers) + " transfers into " + outDir);
  if (summary.ChangedNames.empty()) return;
  log.Say(std::to_string(summary.ChangedNames.size()) + " names changed to fit the city's code page" +
          (verbose ? ":" : " (--verbose lists them)"));
  if (!verbose) return;
  for (const auto& [from, to] : summary.ChangedNames) log.Say("  \"" + from + "\" -> \"" + to + "\"");
}

}  // namespace

bool ParseCanvasSize(const std::string& text, int32_t& width, int32_t& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  return ParseWhole(std::string_view(text).substr(0, x), width) &&
         ParseWhole(std::string_view(text).substr(x + 1), height) && width >= kMinCanvas &&
         width <= kMaxCanvas && height >= kMinCanvas && height <= kMaxCanvas;
}

int RunNew(const TNewOptions& options) {
  int32_t width = 0, height = 0;
  if (!ParseCanvasSize(options.Size, width, height))
    return Refuse("--size wants WIDTHxHEIGHT, each from " + std::to_string(kMinCanvas) + " to " +
                  std::to_string(kMaxCanvas) + ", for example 2000x1500");
  std::string error;
  if (NewCityDirectory(options.Dir, options.Name, width, height, error) != TNewCityError::None)
    return Refuse(error);
  std::cerr << "varnik: new city " << options.Name << " in " << options.Dir << "\n";
  return 0;
}

int RunImportGtfs(const TImportCommandOptions& options) {
  TImportOptions import;
  if (!options.Types.empty() && !ParseTypes(options.Types, import.Types))
    return Refuse("--types wants route types separated by commas, for example 0,1");
  if (options.Size < kMinImportSize || options.Size > kMaxImportSize)
    return Refuse("--size wants a number of pixels from " + std::to_string(kMinImportSize) + " to " +
                  std::to_string(kMaxImportSize));
  if (!(options.TransferMinutes >= 0 && options.TransferMinutes <= kMaxTransferMinutes))
    return Refuse("--transfer-time wants minutes from 0 to " +
                  std::to_string(static_cast<int>(kMaxTransferMinutes)));
  import.Size = options.Size;
  import.TransferTime = RoundToInt(options.TransferMinutes * 60);

  const fs::path outDir = options.OutDir;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(outDir, ec)) && !options.Force)
    return Refuse(options.OutDir + " already exists; --force replaces it");

  std::string error;
  const auto source = OpenFeed(options.Feed, error);
  if (!source) return Refuse(error);
  TImportLog log(std::cerr, ::isatty(STDERR_FILENO) != 0);
  TImportSummary summary;
  const auto city = ImportFeed(*source, DirectoryName(outDir), import, log, summary);
  log.Finish();
  if (!city) return Refuse(log.Error());
  fs::create_directories(fs::absolute(outDir).lexically_normal().parent_path(), ec);
  if (!WriteCityDirectory(outDir, CityFiles(*city), error)) return Refuse(error);
  ReportSummary(summary, options.OutDir, options.Verbose, log);
  return 0;
}

}  // namespace varnik
