#pragma once
// What every fuzz target shares. Damaged input is expected to complain, so
// messages are swallowed instead of flooding the fuzzer's output; targets
// that touch files work in a private directory that is the current one for
// the whole run; drawing parameters that are not part of a file format are
// derived from the input's bytes so that every input replays exactly.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace varnik::fuzz {

// Swallows messages, draws text without a screen, and makes a fresh private
// directory (removed when the program ends). Call once, from
// LLVMFuzzerInitialize.
void Initialise(const char* targetName);

// The private directory made by Initialise.
const std::filesystem::path& WorkDir();

// Makes the private directory the current one for a scope. The fuzzer reads
// its corpus and dictionary by the paths it was given, relative to the
// directory it was started in, so that one is only left while an input runs.
class TInWorkDir {
 public:
  TInWorkDir();
  ~TInWorkDir();
  TInWorkDir(const TInWorkDir&) = delete;
  TInWorkDir& operator=(const TInWorkDir&) = delete;

 private:
  int previous_;
};

// Removes every entry of the private directory.
void EmptyWorkDir();

// Writes `bytes` to `name` inside the private directory; `name` holds
// Windows-1251 bytes, like every file name of the model.
void WriteWorkFile(const std::string& name, std::string_view bytes);

// A well-mixed 64-bit hash of the input, for choosing views and levels.
uint64_t InputHash(std::string_view data);

inline std::string_view AsText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace varnik::fuzz
