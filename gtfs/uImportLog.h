#pragma once
// What an import has to say besides its result: the error that stops it,
// warnings about input it tolerated, and the progress of a long run. Every
// message about the feed names the file and, where there is one, the line.
// The import stops at the first error; warnings are shown up to a limit and
// counted beyond it.

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace varnik {

class TImportLog {
 public:
  // Warnings and progress go to `out` (standard error for the command).
  // Progress is redrawn in place with carriage returns, which only a
  // terminal shows as meant: elsewhere (a file, a pipe, a test) it is left
  // out unless `showProgress` asks for it.
  explicit TImportLog(std::ostream& out, bool showProgress = false);
  TImportLog(const TImportLog&) = delete;
  TImportLog& operator=(const TImportLog&) = delete;

  // "file: line N: text"; a line of 0 leaves the line out, an empty file
  // the file.
  static std::string Located(const std::string& file, int64_t line, const std::string& text);

  // Records the first error; later ones are ignored (they follow from it).
  void Fail(const std::string& file, int64_t line, const std::string& text);
  bool Failed() const { return failed_; }
  const std::string& Error() const { return error_; }

  void Warn(const std::string& file, int64_t line, const std::string& text);
  int64_t WarningCount() const { return warnings_; }

  // A plain line of output (the summary, the --verbose listing).
  void Say(const std::string& text);

  // Shows "stage NN%" once the import has run for longer than a second,
  // when progress is shown at all; `fraction` runs from 0 to 1.
  void Progress(const std::string& stage, double fraction);

  // Ends the progress line and says how many warnings were not shown.
  void Finish();

  static constexpr int kShownWarnings = 10;

 private:
  void EndProgressLine();

  std::ostream& out_;
  bool showProgress_;
  std::chrono::steady_clock::time_point start_;
  bool failed_ = false;
  std::string error_;
  int64_t warnings_ = 0;
  bool progressShown_ = false;
  std::string lastProgress_;
};

}  // namespace varnik
