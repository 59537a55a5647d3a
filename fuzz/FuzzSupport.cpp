#include "FuzzSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>

#include "platform/uCodePage.h"
#include "platform/uMessages.h"

namespace varnik::fuzz {
namespace {

class TSilentSink : public TMessageSink {
 public:
  void Show(const std::string&, TMessageStyle) override {}
  bool Ask(const std::string&) override { return true; }
};

std::filesystem::path& WorkDirSlot() {
  static std::filesystem::path dir;
  return dir;
}

void RemoveWorkDir() {
  std::error_code ec;
  if (!WorkDirSlot().empty()) std::filesystem::remove_all(WorkDirSlot(), ec);
}

}  // namespace

void Initialise(const char* targetName) {
  static TSilentSink sink;
  SetMessageSink(&sink);
  // Fonts need a GUI application object; without a screen it must be the
  // offscreen one, and it must be chosen before the first text is drawn.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);

  std::filesystem::path dir = std::filesystem::temp_directory_path() /
                              (std::string("varnik-fuzz-") + targetName + "-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  WorkDirSlot() = dir;
  std::atexit(RemoveWorkDir);
}

const std::filesystem::path& WorkDir() { return WorkDirSlot(); }

TInWorkDir::TInWorkDir() : previous_(::open(".", O_RDONLY | O_DIRECTORY)) {
  std::filesystem::current_path(WorkDir());
}

TInWorkDir::~TInWorkDir() {
  if (previous_ < 0) return;
  (void)::fchdir(previous_);
  ::close(previous_);
}

void EmptyWorkDir() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(WorkDir(), ec))
    std::filesystem::remove_all(entry.path(), ec);
}

void WriteWorkFile(const std::string& name, std::string_view bytes) {
  std::ofstream out(WorkDir() / Cp1251ToUtf8(name), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

uint64_t InputHash(std::string_view data) {
  // FNV-1a, then a final mix so that neighbouring inputs pick unrelated views.
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : data) h = (h ^ c) * 1099511628211ull;
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdull;
  h ^= h >> 33;
  return h;
}

}  // namespace varnik::fuzz

// Fontconfig keeps caches for the life of the process; the leak checker
// would report them at every exit. Same list as fuzz/lsan.supp, built in so
// that a finding replays without any environment.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
