#include "gtfs/uImportLog.h"

#include <algorithm>

namespace varnik {

TImportLog::TImportLog(std::ostream& out, bool showProgress)
    : out_(out), showProgress_(showProgress), start_(std::chrono::steady_clock::now()) {}

std::string TImportLog::Located(const std::string& file, int64_t line, const std::string& text) {
  std::string where = file;
  if (line > 0) where += (where.empty() ? "line " : ": line ") + std::to_string(line);
  return where.empty() ? text : where + ": " + text;
}

void TImportLog::Fail(const std::string& file, int64_t line, const std::string& text) {
  if (failed_) return;
  failed_ = true;
  error_ = Located(file, line, text);
}

void TImportLog::Warn(const std::string& file, int64_t line, const std::string& text) {
  if (++warnings_ > kShownWarnings) return;
  Say("warning: " + Located(file, line, text));
}

void TImportLog::Say(const std::string& text) {
  EndProgressLine();
  out_ << text << "\n";
}

void TImportLog::Progress(const std::string& stage, double fraction) {
  using namespace std::chrono;
  if (!showProgress_) return;
  if (!progressShown_ && steady_clock::now() - start_ < seconds(1)) return;
  const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100);
  std::string text = "import-gtfs: " + stage + " " + std::to_string(percent) + "%";
  if (text == lastProgress_) return;
  // Padded so that a shorter line covers the end of a longer one.
  std::string shown = text;
  if (shown.size() < lastProgress_.size()) shown.append(lastProgress_.size() - shown.size(), ' ');
  out_ << "\r" << shown << std::flush;
  lastProgress_ = text;
  progressShown_ = true;
}

void TImportLog::Finish() {
  if (warnings_ > kShownWarnings)
    Say("warning: " + std::to_string(warnings_ - kShownWarnings) + " more warnings not shown");
  EndProgressLine();
}

void TImportLog::EndProgressLine() {
  if (!progressShown_ || lastProgress_.empty()) return;
  out_ << "\n";
  lastProgress_.clear();
}

}  // namespace varnik
