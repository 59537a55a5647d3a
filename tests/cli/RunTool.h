#pragma once
// Runs a built command-line tool and captures what it prints.

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace varnik::test {

struct TToolResult {
  int ExitCode = -1;
  std::string Out;  // stdout
  std::string Err;  // stderr
};

inline std::string ReadAll(const std::string& path) {
  std::string data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::array<char, 4096> buffer;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0;) data.append(buffer.data(), n);
    std::fclose(f);
  }
  return data;
}

// Runs a shell command line, capturing its standard output and error.
inline TToolResult RunCommand(std::string command) {
  std::string errPath = "/tmp/varnik-tool-XXXXXX";
  int fd = mkstemp(errPath.data());
  if (fd >= 0) close(fd);
  command += " 2>" + errPath;
  TToolResult result;
  if (std::FILE* pipe = popen(command.c_str(), "r")) {
    std::array<char, 4096> buffer;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) result.Out.append(buffer.data(), n);
    int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  result.Err = ReadAll(errPath);
  std::remove(errPath.c_str());
  return result;
}

// `arguments` is appended to the tool's path as shell text.
inline TToolResult RunTool(const std::string& tool, const std::string& arguments) {
  return RunCommand(std::string(VARNIK_BIN_DIR) + "/" + tool + " " + arguments);
}

}  // namespace varnik::test
