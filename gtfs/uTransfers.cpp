#include "gtfs/uTransfers.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "gtfs/uFeed.h"
#include "gtfs/uImportOptions.h"
#include "gtfs/uNetworkBuilder.h"
#include "gtfs/uStationGroups.h"
#include "network/uRoute.h"

namespace varnik {
namespace {

constexpr int32_t kNotPossible = 3;

// Where a line calls at a station first.
struct TCall {
  size_t Line;
  int32_t Position;
  int32_t Station;
  TStop* Stop;
};

class TTransferMaker {
 public:
  TTransferMaker(const TGtfsFeed& feed, const TStationGroups& groups, const std::vector<TImportedLine>& lines,
                 const TImportOptions& options)
      : groups_(groups), lines_(lines), options_(options) {
    for (size_t l = 0; l < lines.size(); ++l) {
      const std::vector<int32_t>& stations = lines[l].Pattern.Stations;
      for (size_t p = 0; p < stations.size(); ++p) {
        std::vector<TCall>& calls = calls_[stations[p]];
        if (!calls.empty() && calls.back().Line == l) continue;
        TStop* stop = lines[l].Network->Stops[static_cast<size_t>(lines[l].StopOfPosition[p])].get();
        calls.push_back({l, static_cast<int32_t>(p), stations[p], stop});
      }
    }
    for (const TGtfsTransfer& row : feed.Transfers) {
      const int32_t from = groups.StationOfStop[static_cast<size_t>(row.From)];
      const int32_t to = groups.StationOfStop[static_cast<size_t>(row.To)];
      if (from >= 0 && to >= 0 && row.Type >= 0 && row.Type <= kNotPossible)
        rows_[Key(from, to)].push_back(&row);
    }
  }

  int MakeAll(const TGtfsFeed& feed) {
    for (const auto& [station, calls] : calls_) {
      for (size_t i = 0; i < calls.size(); ++i) {
        for (size_t j = i + 1; j < calls.size(); ++j) Make(calls[i], calls[j]);
      }
    }
    // Rows between two stations, in the order of the file.
    for (const TGtfsTransfer& row : feed.Transfers) {
      const int32_t from = groups_.StationOfStop[static_cast<size_t>(row.From)];
      const int32_t to = groups_.StationOfStop[static_cast<size_t>(row.To)];
      if (from < 0 || to < 0 || from == to) continue;
      auto a = calls_.find(from), b = calls_.find(to);
      if (a == calls_.end() || b == calls_.end()) continue;
      for (const TCall& x : a->second) {
        for (const TCall& y : b->second) {
          if (x.Line != y.Line) Make(x, y);
        }
      }
    }
    return made_;
  }

 private:
  static uint64_t Key(int32_t from, int32_t to) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(from)) << 32) | static_cast<uint32_t>(to);
  }

  // True when the line of `call` uses `stop` there, or `stop` is the station itself.
  bool Uses(const TCall& call, int32_t stop) const {
    const std::vector<int32_t>& stops = lines_[call.Line].Pattern.StopsAt[static_cast<size_t>(call.Position)];
    return std::find(stops.begin(), stops.end(), stop) != stops.end() ||
           stop == groups_.Stations[static_cast<size_t>(call.Station)].Parent;
  }

  bool Applies(const TGtfsTransfer& row, const TCall& from, const TCall& to) const {
    return Uses(from, row.From) && Uses(to, row.To) &&
           (row.FromRoute == kNone || row.FromRoute == lines_[from.Line].Route) &&
           (row.ToRoute == kNone || row.ToRoute == lines_[to.Line].Route);
  }

  // The rows for the way from `from` to `to`.
  std::vector<const TGtfsTransfer*> RowsFor(const TCall& from, const TCall& to) const {
    std::vector<const TGtfsTransfer*> found;
    auto it = rows_.find(Key(from.Station, to.Station));
    if (it == rows_.end()) return found;
    for (const TGtfsTransfer* row : it->second) {
      if (Applies(*row, from, to)) found.push_back(row);
    }
    return found;
  }

  static int32_t FirstTime(const std::vector<const TGtfsTransfer*>& rows) {
    for (const TGtfsTransfer* row : rows) {
      if (row->MinTime != kNoTime) return row->MinTime;
    }
    return kNoTime;
  }

  void Make(const TCall& a, const TCall& b) {
    const std::pair x(a.Line, a.Station), y(b.Line, b.Station);
    if (!done_.emplace(std::min(x, y), std::max(x, y)).second) return;
    const auto there = RowsFor(a, b), back = RowsFor(b, a);
    auto forbidden = [](const TGtfsTransfer* row) { return row->Type == kNotPossible; };
    if (std::any_of(there.begin(), there.end(), forbidden) ||
        std::any_of(back.begin(), back.end(), forbidden))
      return;
    if (a.Station != b.Station && there.empty() && back.empty()) return;
    const int32_t thereTime = FirstTime(there), backTime = FirstTime(back);
    const int32_t time = thereTime != kNoTime  ? thereTime
                         : backTime != kNoTime ? backTime
                                               : options_.TransferTime;
    const std::string name = std::to_string(++made_);
    AddTransfer(*a.Stop->Station, *b.Stop->Station, name, time);
    AddTransfer(*b.Stop->Station, *a.Stop->Station, "-" + name, backTime != kNoTime ? backTime : time);
  }

  static void AddTransfer(TStation& from, TStation& to, const std::string& name, int32_t time) {
    auto transfer = std::make_unique<TTransfer>();
    transfer->Name = name;
    transfer->Station = &to;
    transfer->Time = time;
    from.Transfers.push_back(std::move(transfer));
  }

  const TStationGroups& groups_;
  const std::vector<TImportedLine>& lines_;
  const TImportOptions& options_;
  std::map<int32_t, std::vector<TCall>> calls_;  // by station, each line once
  std::unordered_map<uint64_t, std::vector<const TGtfsTransfer*>> rows_;
  std::set<std::pair<std::pair<size_t, int32_t>, std::pair<size_t, int32_t>>> done_;  // (line, station) pairs
  int made_ = 0;
};

}  // namespace

int AddTransfers(const TGtfsFeed& feed, const TStationGroups& groups, const std::vector<TImportedLine>& lines,
                 const TImportOptions& options) {
  return TTransferMaker(feed, groups, lines, options).MakeAll(feed);
}

}  // namespace varnik
