#pragma once
// --help and --version of the window programs. They are answered before the
// application object exists: a window program must be able to say what it
// is on a machine without a display, and must not open a window to say it.

#include <optional>
#include <string>

namespace varnik {

struct TProgramInfo {
  std::string Name;         // the program's file name
  std::string Description;  // one line, UTF-8
  std::string Arguments;    // the positional arguments as the usage line shows them
  std::string ArgumentsHelp;  // what they are, UTF-8
};

// When the arguments ask for help or the version (-h, --help, -?, -v,
// --version), prints the answer to standard output and gives the exit code;
// otherwise nullopt, and the program starts as usual. Every other argument
// is left to the program (a map file name, "/-AutoSave").
std::optional<int> AnswerInfoOptions(int argc, char** argv, const TProgramInfo& info);

}  // namespace varnik
