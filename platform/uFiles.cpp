#include "platform/uFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/uCodePage.h"

namespace varnik {
namespace fs = std::filesystem;

namespace {

fs::path NativePath(const std::string& path) { return fs::path(Cp1251ToUtf8(path)); }

std::string ModelName(const fs::path& path) { return Utf8ToCp1251(path.string()); }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool ListOrder(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) return false;
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& data) {
  data.clear();
  std::ifstream in(NativePath(path), std::ios::binary);
  if (!in) return false;
  std::error_code ec;
  if (fs::is_directory(NativePath(path), ec)) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    data.clear();
    return false;
  }
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
  fs::path target = NativePath(path);
  std::string temp = target.string() + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  // mkstemp creates the file private to the user; give it the usual rights.
  ::fchmod(fd, 0644);
  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) std::remove(temp.c_str());
  return ok;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(NativePath(path), ec);
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  // Iterative glob match with one back-track point for the last "*".
  size_t n = 0, m = 0, starMask = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == '?' || UpperChar1251(mask[m]) == UpperChar1251(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

void ListFiles(std::string_view mask, std::vector<std::string>& names) {
  std::error_code ec;
  for (fs::directory_iterator it(fs::current_path(ec), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    std::string name = ModelName(it->path().filename());
    if (MatchesMask(name, mask)) names.push_back(std::move(name));
  }
  std::stable_sort(names.begin(), names.end(), ListOrder);
}

std::string ProgramDir() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return ModelName(exe.parent_path()) + "/";
}

std::string CurrentDir() {
  std::error_code ec;
  return ModelName(fs::current_path(ec));
}

bool SetCurrentDir(const std::string& path) {
  std::error_code ec;
  fs::current_path(NativePath(path), ec);
  return !ec;
}

}  // namespace varnik
