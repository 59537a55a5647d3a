#include "platform/uFiles.h"

#include <algorithm>
#include <cerrno>
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

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
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
  // Read in blocks: taking the stream a character at a time was the
  // largest part of loading a big city.
  std::string block(size_t{1} << 16, '\0');
  while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
    data.append(block.data(), static_cast<size_t>(in.gcount()));
  if (in.bad()) {
    data.clear();
    return false;
  }
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view data) {
  fs::path target = NativePath(path);
  // A link is written through: the file it names gets the bytes and the
  // link stays, as with any other program that edits the file.
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::canonical(target, ec);
    if (ec) return false;
    target = resolved;
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  // The rename below would replace a file the user has made read-only; it
  // is refused instead, as an in-place write would be. A file without any
  // write permission counts as read-only even for the superuser.
  if (exists && S_ISREG(old.st_mode) &&
      ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(target.c_str(), W_OK) != 0)) {
    return false;
  }
  std::string temp = target.string() + ".tmp-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  // mkstemp creates the file private to the user; the new file keeps the
  // rights of the one it replaces, or gets the usual ones.
  ::fchmod(fd, exists && S_ISREG(old.st_mode) ? (old.st_mode & 07777) : 0644);
  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  // The rename itself must reach the disk before the save counts as done.
  int dir = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(NativePath(path), ec);
}

bool RemoveFile(const std::string& path) {
  std::error_code ec;
  fs::remove(NativePath(path), ec);
  return !ec;
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
  std::stable_sort(names.begin(), names.end(),
                   [](const std::string& a, const std::string& b) { return ListedBefore(a, b); });
}

bool ListedBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
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
