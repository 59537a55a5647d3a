#pragma once
// The walking transfers between imported routes.
//
// Two routes that call at the same station get a transfer; so do two
// routes at different stations joined by a transfers.txt row. The time is
// the min_transfer_time of a row for the stops the routes use there (or for
// the station itself): a row one way serves both ways, rows both ways give
// the time and the time back. Without a row (or a time) the default time of
// the options stands. A row of transfer_type 3 (not possible) forbids the
// transfer; rows of the in-seat kinds (4, 5) are not about walking.

#include <vector>

namespace varnik {

class TGtfsFeed;
class TStationGroups;
struct TImportedLine;
struct TImportOptions;

// Adds each transfer to its two stations as the pair "N" and "-N" that
// loading makes; returns how many transfers were made.
int AddTransfers(const TGtfsFeed& feed, const TStationGroups& groups, const std::vector<TImportedLine>& lines,
                 const TImportOptions& options);

}  // namespace varnik
