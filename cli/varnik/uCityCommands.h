#pragma once
// The commands of `varnik` that create a city directory: `new` (an empty
// city to draw in) and `import-gtfs` (a city made from a transit feed).
// Both write through the city writer and refuse to overwrite a city unless
// told to. Messages go to standard error; the result is the exit code.

#include <cstdint>
#include <string>

namespace varnik {

struct TNewOptions {
  std::string Dir;   // UTF-8
  std::string Name;  // UTF-8
  std::string Size = "2000x1500";
};

struct TImportCommandOptions {
  std::string Feed;    // UTF-8 path of a .zip or a directory
  std::string OutDir;  // UTF-8
  std::string Types;   // "0,1": basic route types; empty: all
  int32_t Size = 4000;
  double TransferMinutes = 3;
  bool Force = false;
  bool Verbose = false;
};

int RunNew(const TNewOptions& options);
int RunImportGtfs(const TImportCommandOptions& options);

// "WxH" with both in range; false for anything else.
bool ParseCanvasSize(const std::string& text, int32_t& width, int32_t& height);

}  // namespace varnik
