#pragma once
// Saving a city whose network is edited: new, renamed and deleted lines,
// stations and transfers reach every file that names them, in the forms the
// loader reads back, while whatever no edit touched keeps its bytes.
//
// The store remembers what each file holds (which route is which "LineN"
// section, which route each map section draws, which transfer each line of
// a Transfers section declares, and the values it last wrote or read), and a
// save writes only what differs from that memory: a file no edit reached is
// written exactly as the plain save writes it. Routes and transfers are told
// apart by the FileId the store gives them, so an object that an undo puts
// back is recognised, and one that was deleted is never mistaken for a new
// one at the same address.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace varnik {

class TCity;
class TMetroMap;
class TProfileFile;
class TTransport;

class TCityStore {
 public:
  // Takes the files as they are now: call it right after loading `city`,
  // in the city's directory (the current directory), before any edit.
  explicit TCityStore(TCity& city);
  TCityStore(const TCityStore&) = delete;
  TCityStore& operator=(const TCityStore&) = delete;

  // Writes the city into the current directory: the current map as the
  // plain save does (Rect only with `writeLegendRects`), every transport's
  // "Stations" and "Driving", and then, in every file, what the edits since
  // the last save changed. A transport file this store created for a
  // transport that is gone again (an undone new line) is removed. A file
  // that cannot be written is reported once and remembered as it was;
  // false when any was.
  bool Save(bool writeLegendRects);

 private:
  struct TRouteRecord {
    std::string Name, Alias, Aliases;
  };
  struct TTransportRecord {
    std::vector<uint64_t> Sections;       // route FileId of "Line1", "Line2", ...
    std::vector<uint64_t> TransferLines;  // per key of Transfers: the transfer declared, 0 for none
    bool Created = false;                 // the file was written by this store first
    std::string FileName;
  };
  struct TLineRecord {
    std::string Section;  // the route name the file's section carries
    std::string Color, Coordinates, Rects, Heights;
    bool OwnHeights = false;  // the section has the key (else they come from the parent map)
  };
  struct TMapRecord {
    std::vector<std::pair<uint64_t, TLineRecord>> Lines;  // by route FileId, in line order
    // Every segment's key (letters A-Z lowered) and value, in line and
    // segment order; keys of one name are told apart by their order.
    std::vector<std::pair<std::string, std::string>> Segments;
    std::string Transports, CheckedTransports;
  };

  void Capture();
  void CaptureTransfers(size_t transportIndex, TTransportRecord& record);
  TRouteRecord RouteRecordOf(uint64_t routeId) const;
  // What `file`, holding `map`, says of it.
  TMapRecord MapRecordOf(const TMetroMap& map, const TProfileFile& file) const;

  std::string SaveTransport(TTransport& transport, TProfileFile& file, TTransportRecord& record);
  void SaveRoutes(TTransport& transport, TProfileFile& file, TTransportRecord& record);
  void SaveTransfers(const TTransport& transport, TProfileFile& file, TTransportRecord& record);
  void SaveMap(const TMetroMap& map, TProfileFile& file, bool current, bool writeLegendRects,
               const TMapRecord& record);
  void RemoveForgottenFiles();
  uint64_t NewId() { return nextId_++; }

  TCity& city_;
  uint64_t nextId_ = 1;
  std::map<std::string, TTransportRecord> transports_;  // by file name, letters A-Z lowered
  std::map<uint64_t, TRouteRecord> routes_;
  std::map<uint64_t, std::string> transfers_;  // the declaration's value as last written
  std::map<std::string, TMapRecord> maps_;     // by map name
};

}  // namespace varnik
