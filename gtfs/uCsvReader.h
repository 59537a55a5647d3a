#pragma once
// Reading one table of a feed: a CSV file in UTF-8 with an optional byte
// order mark, a header row naming the columns, and double-quote quoting
// that is checked strictly. The parsing itself is libcsv's; this unit
// counts lines, maps the header to the columns a caller asks for and
// reports faults with the file name and line.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnik {

class TFeedSource;
class TImportLog;

struct TCsvColumn {
  std::string_view Name;
  bool Required = false;
};

// One data record: the values of the asked-for columns in the order they
// were asked for; empty for a column the file lacks or a record cut short.
class TCsvRow {
 public:
  const std::string& operator[](size_t i) const { return Values[i]; }
  std::vector<std::string> Values;
  int64_t Line = 0;  // where the record starts
};

// Calls `row` for every record after the header; `row` returns false to
// stop (having said why in the log). Stops with an error in `log` at broken
// quoting, at a record with more fields than the header, and at a missing
// required column or unreadable file; a record with fewer fields than the
// header is warned about and read with the missing fields empty. False when
// the reading ended in an error. `progress` (may be empty) gets the share
// of the file read so far.
bool ReadCsv(const TFeedSource& source, const std::string& file, std::span<const TCsvColumn> columns,
             const std::function<bool(const TCsvRow&)>& row, TImportLog& log,
             const std::function<void(double)>& progress = {});

}  // namespace varnik
