#pragma once
// Saving the edited city: the map's positions back into its .map file and
// the routes' station lists and driving times back into the transport
// files, key by key, so that everything the editor does not own (colours,
// widths, heights, options, comments, transfers, unknown sections) stays
// byte for byte as the user wrote it. The editor window and the command line
// both save through here.

#include <functional>
#include <string>
#include <string_view>

#include "map/uMetroMap.h"

namespace varnik {

class TMetroMap;
class TProfileFile;
class TTransports;

// Writes, for every line of `map`, the keys Rects, Rect (only with
// `writeLegendRects`) and Coordinates of the route's section and the line's
// segments in AdditionalNodes, and removes the keys of SegmentKeysInFile
// that no segment wrote. Colours, widths, heights and Options are never
// written. Gives the segment keys written.
TWrittenKeys WriteMapFile(const TMetroMap& map, TProfileFile& file, bool writeLegendRects);

// The text of a map file after the clean-up walk: every line trimmed, and
// everything after the first line that reads "[]" dropped; lines end CR LF.
std::string CleanUpMapText(std::string_view text);

// Loads the profile file `path`, lets `edit` change it and return its new
// text, and writes that back when it differs (so two saves in a row touch
// nothing) or when the file did not exist. A file that exists but cannot be
// read is not written. A failure is reported once; false then.
bool EditProfileFile(const std::string& path, const std::function<std::string(TProfileFile&)>& edit);

// Saves `map` (when not nullptr) into the file of its name and every
// transport into the file it was read from, both in the current directory
// (the directory the city was loaded from). A file that cannot be read or
// written is reported once and left as it was; false when any was.
// `writeLegendRects` is false when the editor was started for one named map.
// The map's SegmentKeysInFile follow a map file that was written.
bool SaveCity(TMetroMap* map, const TTransports& transports, bool writeLegendRects);

}  // namespace varnik
