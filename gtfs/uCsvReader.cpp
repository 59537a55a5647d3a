#include "gtfs/uCsvReader.h"

#include <csv.h>

#include "gtfs/uFeedSource.h"
#include "gtfs/uImportLog.h"

namespace varnik {
namespace {

// The state libcsv is in between records (its ROW_NOT_BEGUN).
constexpr int kBetweenRecords = 0;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Feeds libcsv one physical line at a time, so that every record it
// completes is known to start on the line where the parser last stood
// between records (a quoted field may run over several lines).
class TCsvParser {
 public:
  TCsvParser(const std::string& file, std::span<const TCsvColumn> columns,
             const std::function<bool(const TCsvRow&)>& row, TImportLog& log)
      : file_(file), columns_(columns), row_(row), log_(log) {
    csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
    record_.Values.resize(columns.size());
  }
  ~TCsvParser() { csv_free(&parser_); }
  TCsvParser(const TCsvParser&) = delete;
  TCsvParser& operator=(const TCsvParser&) = delete;

  // False once the reading has to stop.
  bool Feed(std::string_view bytes) {
    if (!atStart_) return FeedLines(bytes);
    // The mark may come in pieces; only a whole one is dropped.
    pendingStart_ += bytes;
    if (pendingStart_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(pendingStart_))
      return true;
    return FeedStart();
  }

  bool Finish() {
    if (atStart_ && !FeedStart()) return false;
    if (stopped_) return false;
    // A quote left open runs to the end; the record it broke is named.
    if (csv_fini(&parser_, &OnField, &OnRecordEnd, this) != 0) return ParseError(recordLine_);
    if (!stopped_ && !headerDone_) CheckHeader();  // an empty file has no columns
    return !stopped_;
  }

 private:
  bool FeedStart() {
    atStart_ = false;
    std::string_view start = pendingStart_;
    if (start.starts_with(kByteOrderMark)) start.remove_prefix(kByteOrderMark.size());
    const bool ok = FeedLines(start);
    pendingStart_.clear();
    return ok;
  }

  bool FeedLines(std::string_view bytes) {
    while (!bytes.empty() && !stopped_) {
      const size_t end = bytes.find('\n');
      const size_t n = end == std::string_view::npos ? bytes.size() : end + 1;
      if (parser_.pstate == kBetweenRecords) recordLine_ = line_;
      if (csv_parse(&parser_, bytes.data(), n, &OnField, &OnRecordEnd, this) != n) return ParseError(line_);
      if (end != std::string_view::npos) ++line_;
      bytes.remove_prefix(n);
    }
    return !stopped_;
  }

  bool ParseError(int64_t line) {
    if (!stopped_) {
      const bool memory = csv_error(&parser_) != CSV_EPARSE;
      log_.Fail(file_, line, memory ? "too large to read" : "broken quoting");
    }
    stopped_ = true;
    return false;
  }

  static void OnField(void* text, size_t size, void* self) {
    static_cast<TCsvParser*>(self)->Field(std::string_view(static_cast<const char*>(text), size));
  }
  static void OnRecordEnd(int, void* self) { static_cast<TCsvParser*>(self)->RecordEnd(); }

  void Field(std::string_view text) {
    if (stopped_) return;
    if (!headerDone_) {
      header_.emplace_back(text);
    } else if (fieldCount_ < slotOfField_.size() && slotOfField_[fieldCount_] >= 0) {
      record_.Values[static_cast<size_t>(slotOfField_[fieldCount_])].assign(text);
    }
    ++fieldCount_;
  }

  void RecordEnd() {
    if (stopped_) return;
    if (!headerDone_) {
      CheckHeader();
    } else if (fieldCount_ > slotOfField_.size()) {
      log_.Fail(file_, recordLine_, "more fields than the header names");
      stopped_ = true;
    } else {
      if (fieldCount_ < slotOfField_.size())
        log_.Warn(file_, recordLine_, "fewer fields than the header names");
      record_.Line = recordLine_;
      if (!row_(record_)) stopped_ = true;
      for (std::string& value : record_.Values) value.clear();
    }
    fieldCount_ = 0;
  }

  // Maps the header's fields to the asked-for columns.
  void CheckHeader() {
    headerDone_ = true;
    slotOfField_.assign(header_.size(), -1);
    for (size_t slot = 0; slot < columns_.size(); ++slot) {
      bool found = false;
      for (size_t field = 0; field < header_.size(); ++field) {
        if (header_[field] == columns_[slot].Name && slotOfField_[field] < 0) {
          slotOfField_[field] = static_cast<int>(slot);
          found = true;
          break;
        }
      }
      if (!found && columns_[slot].Required) {
        log_.Fail(file_, 1, "no column " + std::string(columns_[slot].Name));
        stopped_ = true;
        return;
      }
    }
  }

  const std::string& file_;
  std::span<const TCsvColumn> columns_;
  const std::function<bool(const TCsvRow&)>& row_;
  TImportLog& log_;
  csv_parser parser_{};
  bool atStart_ = true;
  std::string pendingStart_;
  bool headerDone_ = false;
  bool stopped_ = false;
  std::vector<std::string> header_;
  std::vector<int> slotOfField_;  // per field of the header: the asked-for column it fills, or -1
  size_t fieldCount_ = 0;
  TCsvRow record_;
  int64_t line_ = 1;        // the physical line being fed
  int64_t recordLine_ = 1;  // where the record being read started
};

}  // namespace

bool ReadCsv(const TFeedSource& source, const std::string& file, std::span<const TCsvColumn> columns,
             const std::function<bool(const TCsvRow&)>& row, TImportLog& log,
             const std::function<void(double)>& progress) {
  TCsvParser parser(file, columns, row, log);
  const uint64_t size = source.Size(file);
  uint64_t done = 0;
  std::string error;
  const bool read = source.Read(
      file,
      [&](std::string_view piece) {
        done += piece.size();
        if (progress && size > 0) progress(static_cast<double>(done) / static_cast<double>(size));
        return parser.Feed(piece);
      },
      error);
  if (!read) {
    log.Fail(file, 0, error);
    return false;
  }
  return parser.Finish() && !log.Failed();
}

}  // namespace varnik
