// Every program says its version and how to call it, and the window
// programs do so without a display: they must not open a window for it.

#include <gtest/gtest.h>

#include "cli/RunTool.h"

namespace varnik {
namespace {

using test::RunTool;

constexpr const char* kPrograms[] = {"varnik", "varnik-vec", "VarnikEditor", "VarnikVecEditor"};
// No display and no platform chosen: a window program that created its
// application object would stop with an error here.
constexpr const char* kNoDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";

TEST(InfoOptions, EveryProgramAnswersVersionAndHelp) {
  for (const char* program : kPrograms) {
    auto version = RunTool(program, "--version < /dev/null");
    EXPECT_EQ(version.ExitCode, 0) << program << version.Err;
    EXPECT_EQ(version.Out, std::string(program) + " " + VARNIK_VERSION + "\n") << program;
    auto help = RunTool(program, "--help < /dev/null");
    EXPECT_EQ(help.ExitCode, 0) << program << help.Err;
    EXPECT_NE(help.Out.find("--version"), std::string::npos) << program << help.Out;
  }
}

TEST(InfoOptions, WindowProgramsAnswerWithoutADisplay) {
  for (const char* program : {"VarnikEditor", "VarnikVecEditor"}) {
    auto result = test::RunCommand(std::string(kNoDisplay) + VARNIK_BIN_DIR + "/" + program + " --help");
    EXPECT_EQ(result.ExitCode, 0) << program << result.Err;
    EXPECT_NE(result.Out.find(std::string(program) + " [options]"), std::string::npos) << result.Out;
  }
}

}  // namespace
}  // namespace varnik
