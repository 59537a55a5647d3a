#pragma once
// Where the files of a feed come from: a zip archive, a directory, or (for
// the tests and the fuzz target) memory. Files are handed out in pieces, so
// a large stop_times.txt never has to be held whole.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace varnik {

class TFeedSource {
 public:
  virtual ~TFeedSource() = default;
  // Receives the next piece of a file; false stops the reading.
  using TChunk = std::function<bool(std::string_view)>;

  virtual bool Has(const std::string& name) const = 0;
  // The size of the file in bytes (0 when unknown), for progress.
  virtual uint64_t Size(const std::string& name) const = 0;
  // Hands the whole file to `chunk`, piece by piece. False with `error` set
  // when the file cannot be read; true when `chunk` stopped the reading.
  virtual bool Read(const std::string& name, const TChunk& chunk, std::string& error) const = 0;
};

// Files held in memory, by name.
class TMemoryFeed : public TFeedSource {
 public:
  std::map<std::string, std::string> Files;

  bool Has(const std::string& name) const override { return Files.contains(name); }
  uint64_t Size(const std::string& name) const override;
  bool Read(const std::string& name, const TChunk& chunk, std::string& error) const override;
};

// Opens a directory of feed files or a zip archive. Null, with `error`
// saying why, when `path` is missing or is a file that is not a zip archive.
std::unique_ptr<TFeedSource> OpenFeed(const std::filesystem::path& path, std::string& error);

// A zip archive held in memory; null with `error` when it is not one.
std::unique_ptr<TFeedSource> OpenZipFeed(std::string bytes, std::string& error);

}  // namespace varnik
