#include "gtfs/uFeedSource.h"

#include <zip.h>

#include <fstream>
#include <vector>

namespace varnik {
namespace fs = std::filesystem;

namespace {

constexpr size_t kPieceSize = 1 << 20;

std::string ZipErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// The archive closes with its object; nothing is ever written into it.
struct TZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using TZipHandle = std::unique_ptr<zip_t, TZipCloser>;

class TZipFeed : public TFeedSource {
 public:
  // Archives made on some systems keep the files in a folder, or add
  // "__MACOSX/._name" shadows; a file at the top wins, otherwise the first
  // file of that name in a folder that is not such a shadow.
  TZipFeed(TZipHandle archive, std::unique_ptr<std::string> bytes)
      : bytes_(std::move(bytes)), archive_(std::move(archive)) {
    const zip_int64_t count = zip_get_num_entries(archive_.get(), 0);
    std::map<std::string, zip_uint64_t> nested;
    for (zip_int64_t i = 0; i < count; ++i) {
      const char* raw = zip_get_name(archive_.get(), static_cast<zip_uint64_t>(i), 0);
      if (raw == nullptr) continue;
      const std::string name = raw;
      const size_t slash = name.rfind('/');
      if (slash == std::string::npos) {
        entries_.emplace(name, i);
      } else {
        const std::string base = name.substr(slash + 1);
        if (!name.starts_with("__MACOSX/") && !base.starts_with("._")) nested.emplace(base, i);
      }
    }
    for (const auto& [base, index] : nested) entries_.emplace(base, index);
  }

  bool Has(const std::string& name) const override { return entries_.contains(name); }

  uint64_t Size(const std::string& name) const override {
    auto it = entries_.find(name);
    zip_stat_t stat;
    if (it == entries_.end() || zip_stat_index(archive_.get(), it->second, 0, &stat) != 0) return 0;
    return (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0;
  }

  bool Read(const std::string& name, const TChunk& chunk, std::string& error) const override {
    auto it = entries_.find(name);
    zip_file_t* file = it == entries_.end() ? nullptr : zip_fopen_index(archive_.get(), it->second, 0);
    if (file == nullptr) {
      error = "cannot be read from the archive: " + std::string(zip_strerror(archive_.get()));
      return false;
    }
    std::vector<char> piece(kPieceSize);
    bool ok = true;
    for (;;) {
      const zip_int64_t n = zip_fread(file, piece.data(), piece.size());
      if (n < 0) {
        error = "cannot be read from the archive: " + std::string(zip_file_strerror(file));
        ok = false;
        break;
      }
      if (n == 0 || !chunk(std::string_view(piece.data(), static_cast<size_t>(n)))) break;
    }
    zip_fclose(file);
    return ok;
  }

 private:
  std::unique_ptr<std::string> bytes_;  // the archive itself when it came from memory; outlives the handle
  TZipHandle archive_;
  std::map<std::string, zip_uint64_t> entries_;
};

class TDirectoryFeed : public TFeedSource {
 public:
  explicit TDirectoryFeed(fs::path dir) : dir_(std::move(dir)) {}

  bool Has(const std::string& name) const override {
    std::error_code ec;
    return fs::is_regular_file(dir_ / name, ec);
  }

  uint64_t Size(const std::string& name) const override {
    std::error_code ec;
    const auto size = fs::file_size(dir_ / name, ec);
    return ec ? 0 : size;
  }

  bool Read(const std::string& name, const TChunk& chunk, std::string& error) const override {
    std::ifstream in(dir_ / name, std::ios::binary);
    if (!in) {
      error = "cannot be opened";
      return false;
    }
    std::vector<char> piece(kPieceSize);
    while (in) {
      in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
      const auto n = static_cast<size_t>(in.gcount());
      if (n > 0 && !chunk(std::string_view(piece.data(), n))) return true;
    }
    if (in.bad()) {
      error = "cannot be read";
      return false;
    }
    return true;
  }

 private:
  fs::path dir_;
};

}  // namespace

uint64_t TMemoryFeed::Size(const std::string& name) const {
  auto it = Files.find(name);
  return it == Files.end() ? 0 : it->second.size();
}

bool TMemoryFeed::Read(const std::string& name, const TChunk& chunk, std::string& error) const {
  auto it = Files.find(name);
  if (it == Files.end()) {
    error = "is missing";
    return false;
  }
  // Small pieces, so that the readers meet files cut at every kind of place.
  std::string_view rest = it->second;
  while (!rest.empty()) {
    const size_t n = std::min<size_t>(rest.size(), 7);
    if (!chunk(rest.substr(0, n))) break;
    rest.remove_prefix(n);
  }
  return true;
}

std::unique_ptr<TFeedSource> OpenFeed(const fs::path& path, std::string& error) {
  std::error_code ec;
  if (fs::is_directory(path, ec)) return std::make_unique<TDirectoryFeed>(path);
  if (!fs::exists(path, ec)) {
    error = path.string() + ": no such file or directory";
    return nullptr;
  }
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) {
    error = path.string() + ": not a zip archive (" + ZipErrorText(code) + ")";
    return nullptr;
  }
  return std::make_unique<TZipFeed>(TZipHandle(archive), nullptr);
}

std::unique_ptr<TFeedSource> OpenZipFeed(std::string bytes, std::string& error) {
  // The archive reads the bytes where they are, so they get a place that
  // does not move.
  auto owned = std::make_unique<std::string>(std::move(bytes));
  zip_error_t zipError;
  zip_error_init(&zipError);
  zip_source_t* source = zip_source_buffer_create(owned->data(), owned->size(), 0, &zipError);
  zip_t* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr;
  if (archive == nullptr) {
    error = std::string("not a zip archive (") + zip_error_strerror(&zipError) + ")";
    if (source != nullptr) zip_source_free(source);
    zip_error_fini(&zipError);
    return nullptr;
  }
  zip_error_fini(&zipError);
  return std::make_unique<TZipFeed>(TZipHandle(archive), std::move(owned));
}

}  // namespace varnik
