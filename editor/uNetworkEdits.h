#pragma once
// Edits of the network drawn on the map: new lines, stations added by a
// click, renamed and deleted stations and lines, line colours, transfers.
//
// Each edit is checked first. One that cannot apply is refused with a
// message for the user (UTF-8) and changes nothing; one that can is an undo
// command, and pushing it applies it. Redo and undo change the network and
// every map of the city and give it back exactly: objects taken out are kept
// by the command and put back themselves, so that whatever else refers to
// them (other commands, the selection) stays valid. The save (TCityStore)
// writes the result into the files.
//
// Names come from the user as UTF-8 and are held in the city's code page;
// a name the code page cannot hold is refused rather than changed.

#include <QUndoCommand>
#include <cstdint>
#include <memory>
#include <string>

#include "core/uUtils.h"

namespace varnik {

class TCity;
class TMetroMap;
class TMetroMapLine;
class TRoute;
class TStation;

// An edit made ready: the command to push, or why there is none. Both
// empty: the edit would change nothing (a name given again).
struct TNetworkEdit {
  std::unique_ptr<QUndoCommand> Command;
  std::string Refusal;
};

// The driving time of a link a new station makes, and the walking time a
// new transfer gets unless the user gives another.
inline constexpr int32_t kNewLinkSeconds = 120;

// A line without stations named `name`, of colour `color`, on `map`, whose
// route is the last of the transport file `transportFile` (".trp" is added
// when missing; a file the city lacks is made). Its legend goes below the
// lowest legend of the map. Refused: a name some route has (letter case
// ignored), an unusable name or file name.
TNetworkEdit NewLine(TCity& city, TMetroMap& map, const std::string& name, TColor color,
                     const std::string& transportFile);

// Where a station added by a click at map point (x, y) goes in the stop
// list of `line`'s route: between two stations next to each other in the
// list when the point lies within `tolerance` of the drawn connection
// between them (nearest such connection), else at the end nearer to the point.
size_t InsertionIndex(const TMetroMapLine& line, long double x, long double y, long double tolerance);

// A station of `line`'s route at map point (x, y) of `map`, placed as
// InsertionIndex says, with a name of its own and the label rectangle a
// click writes with "Записывать коорд."; its links take 2 minutes. Every
// other map drawing the route gets it unplaced. A shaped connection between
// the two stations it comes between goes.
TNetworkEdit AddStation(TCity& city, TMetroMap& map, TMetroMapLine& line, int32_t x, int32_t y,
                        long double tolerance);

// Renames the station; an alias that was only its name follows. Refused: a
// name another station of the route has, an unusable name.
TNetworkEdit RenameStation(TCity& city, TStation& station, const std::string& name);

// Deletes the station: stops that led to it lead on to where it led, the
// two driving times added up; its transfers, its places on the maps and the
// shaped connections ending at it go. Refused for the only station of a line.
TNetworkEdit DeleteStation(TCity& city, TStation& station);

// Deletes the route with its transfers and its line on every map.
TNetworkEdit DeleteLine(TCity& city, TRoute& route);

// Renames the route (an alias that was only its name follows). Refused: a
// name another route has (letter case ignored), an unusable name.
TNetworkEdit RenameLine(TCity& city, TRoute& route, const std::string& name);

TNetworkEdit SetLineColor(TCity& city, TMetroMapLine& line, TColor color);

// A transfer from `a` to `b` and back, `seconds` of walking each way.
// Refused: stations of one line, stations already joined by a transfer.
TNetworkEdit AddTransfer(TCity& city, TStation& a, TStation& b, int32_t seconds);

// Removes every transfer between `a` and `b`; refused when there is none.
TNetworkEdit RemoveTransfer(TCity& city, TStation& a, TStation& b);

}  // namespace varnik
