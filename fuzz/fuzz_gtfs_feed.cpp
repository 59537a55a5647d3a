// The feed reader and the import behind `varnik import-gtfs`: any feed is
// read without a fault, and whenever it imports, the city written from it
// loads without a single diagnostic (the import must never hand the user a
// city the editor complains about).
//
// An input that starts with "PK" is a zip archive; any other is a list of
// feed files separated by the byte 0x1E, each its name, a line feed, and
// its content (like the city target's inputs).

#include <cstdlib>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "city/uCityWriter.h"
#include "gtfs/uFeedSource.h"
#include "gtfs/uGtfsImport.h"
#include "gtfs/uImportLog.h"
#include "city/uCity.h"
#include "platform/uMessages.h"

using namespace varnik;

namespace {

constexpr char kFileSeparator = '\x1E';
constexpr size_t kMaxFiles = 12;

std::unique_ptr<TFeedSource> FeedOf(std::string_view data) {
  if (data.starts_with("PK")) {
    std::string error;
    return OpenZipFeed(std::string(data), error);
  }
  auto feed = std::make_unique<TMemoryFeed>();
  while (!data.empty() && feed->Files.size() < kMaxFiles) {
    const size_t end = data.find(kFileSeparator);
    const std::string_view part = data.substr(0, end);
    const size_t nameEnd = part.find('\n');
    if (nameEnd != std::string_view::npos)
      feed->Files[std::string(part.substr(0, nameEnd))] = std::string(part.substr(nameEnd + 1));
    if (end == std::string_view::npos) break;
    data.remove_prefix(end + 1);
  }
  return feed;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::Initialise("gtfs");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto feed = FeedOf(fuzz::AsText(data, size));
  if (!feed) return 0;
  std::ostringstream said;
  TImportLog log(said);
  TImportSummary summary;
  TImportOptions options;
  options.Size = 400;  // a small canvas keeps the background cheap to load
  const auto city = ImportFeed(*feed, "Fuzz", options, log, summary);
  if (!city) return 0;

  fuzz::TInWorkDir inWorkDir;
  fuzz::EmptyWorkDir();
  for (const TCityFile& file : CityFiles(*city)) fuzz::WriteWorkFile(file.Name, file.Bytes);
  TRecordingSink messages;
  TScopedMessageSink scope(messages);
  TCity loaded;
  loaded.LoadFromDir();
  if (!messages.Entries.empty()) std::abort();
  return 0;
}
