#pragma once
// Temporary directories with city files for tests. Texts are written in
// UTF-8 in the tests and stored the way real city files are: Windows-1251
// bytes with CR LF line ends.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/uCodePage.h"
#include "platform/uFiles.h"

namespace varnik::test {

// "\n" becomes CR LF and the text becomes Windows-1251.
inline std::string CityText(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    if (c == '\n') out += "\r\n";
    else out += c;
  }
  return Utf8ToCp1251(out);
}

class TTempDir {
 public:
  TTempDir() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("varnik-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // Writes raw bytes to `name` (a UTF-8 file name) inside the directory.
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  // Writes a city text (see CityText).
  void Write(const std::string& name, const std::string& utf8) const { WriteBytes(name, CityText(utf8)); }

  std::string ReadBytes(const std::string& name) const {
    std::string data;
    ReadWholeFile(Utf8ToCp1251((path_ / name).string()), data);
    return data;
  }

 private:
  std::filesystem::path path_;
};

// Makes a directory the current one for a scope.
class TScopedCurrentDir {
 public:
  explicit TScopedCurrentDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~TScopedCurrentDir() { std::filesystem::current_path(previous_); }
  TScopedCurrentDir(const TScopedCurrentDir&) = delete;
  TScopedCurrentDir& operator=(const TScopedCurrentDir&) = delete;

 private:
  std::filesystem::path previous_;
};

}  // namespace varnik::test
