#pragma once
// Reading the transport network from transport files (.trp): each file's
// routes with their stops and neighbour lists, then the transfers the file
// declares, and finally the linking that indexes the network both ways.
// Nothing here knows of maps or pictures, so every program that needs only
// the network (the journey search, the import of timetables) reads it here.
//
// Transfers name routes, and are read right after their file: a transfer can
// only refer to routes of that file or of files read before it. Names that
// cannot be resolved are reported through the messages interface and the
// entry is skipped; reading never stops for them.

#include <string>
#include <string_view>

namespace varnik {

class TIniStream;
class TTransport;
class TTransports;

class TNetworkReader {
 public:
  // The transports read are appended to `transports`, which must outlive
  // the reader.
  explicit TNetworkReader(TTransports& transports) : transports_(transports) {}

  // Reads the transport file whose text `ini` holds: "Options", the route
  // sections "Line1", "Line2", ... up to the first missing number, then the
  // file's transfers. The transport is appended with `fileName` as its origin.
  TTransport& Read(TIniStream& ini, const std::string& fileName);
  TTransport& ReadText(std::string_view text, const std::string& fileName);

  // Reads the transport files of the current directory, "Metro.trp" first
  // and then the others in name order, and links the network. False, after
  // the message, when more than one file is named "Metro.trp" (letter case
  // ignored): then nothing is read.
  bool ReadCurrentDir();

 private:
  TTransports& transports_;
};

}  // namespace varnik
