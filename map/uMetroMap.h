#pragma once
// The schematic map: the routes of the network placed on a drawing. Every
// stop of a drawn route gets a position, a circle and a label rectangle; the
// connection between two neighbouring stops can be shaped by intermediate
// points; transfers between lines become connectors.
//
// The map refers to the network by name only (a section per route, positions
// in the order of the route's stops, segments naming their route and end
// stations) and copies nothing of it: every map object points to the network
// object it draws. Those pointers are not owned; the network outlives the map.
//
// A point whose X and Y are both 0 or less is "not placed": drawing, hit
// tests and transfers skip it.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/uUtils.h"
#include "map/uMap.h"
#include "network/uStation.h"

namespace varnik {

class TMapPieces;
class TProfileFile;
class TRoute;
class TStop;
class TStation;
class TVectorImage;

class TCoordinate {
 public:
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Height = 0;  // elevation from the file; kept, never used
  bool Placed() const { return X > 0 || Y > 0; }
};

class TMetroMapNode {
 public:
  TCoordinate Coordinate;
};

class TMetroMapStation {
 public:
  TStop* Stop = nullptr;
  TCoordinate Coordinate;  // centre of the circle
  // The name label; Left > 0 draws it. Narrower than high: written at 90 degrees.
  TRect LabelRect;
  int32_t Diameter = 0;
  // The network station of the stop.
  TStation* Station() const;
};

class TMetroMapSegment {
 public:
  std::string Name;  // its key in AdditionalNodes
  TMetroMapStation* FromStation = nullptr;
  TMetroMapStation* ToStation = nullptr;
  bool Spline = false;
  // At least two after every load and edit: the first at FromStation, the
  // last at ToStation, the shaping points between them in drawing order.
  std::vector<std::unique_ptr<TMetroMapNode>> Nodes;

  void AddNode(int32_t x, int32_t y);
};

class TMetroMapTransfer {
 public:
  TMetroMapStation* Station1 = nullptr;
  TMetroMapStation* Station2 = nullptr;
  bool Visible = true;  // not stored in any file
};

// Counts, per key name (letter case of A-Z ignored), the AdditionalNodes
// keys written so far in one save, so that segments sharing a name each keep
// their own line of the file instead of overwriting one another.
using TWrittenKeys = std::map<std::string, int>;

class TMetroMapLine {
 public:
  TRoute* Route = nullptr;
  std::vector<std::unique_ptr<TMetroMapStation>> Stations;  // one per stop, in stop order
  std::vector<std::unique_ptr<TMetroMapSegment>> Segments;
  TRect LegendRect;  // all zero: no legend
  TColor Color = 0;
  TColor LabelsColor = 0;
  TColor LabelsBColor = 0xFFFFFF;  // -1: no background, the labels get a halo
  int32_t Width = 0;

  // The station of `stop`; a miss is reported
  // ("TMetroMapLine.FindMetroMapStationFromStop: Stop not found").
  TMetroMapStation* FindMetroMapStationFromStop(const TStop* stop) const;
  // The segment between a and b in either order, or nullptr.
  TMetroMapSegment* FindSegment(const TMetroMapStation* a, const TMetroMapStation* b) const;
  // False without a legend (Right below 1); bounds included.
  bool LegendContains(long double x, long double y) const;
  // Puts the end nodes of every segment of the line back onto its stations.
  void SyncSegmentEnds();
  // Writes the line's segments into section AdditionalNodes.
  void SaveAdditionalNodes(TProfileFile& file, TWrittenKeys& written) const;
  // The value of one segment's AdditionalNodes key.
  std::string SegmentValue(const TMetroMapSegment& segment, TStationNaming name = NameOf) const;
  // The values of the keys Rects and Coordinates: one item per station up
  // to the last one that has a label (a place), so that a file stays as
  // short as the user left it.
  std::string RectsValue() const;
  std::string CoordinatesValue() const;
};

class TMetroMap : public TMap {
 public:
  TMetroMap(TTransports& allTransports, TMetroMap* parentMap);
  ~TMetroMap() override;

  int32_t LinesWidth = 9;
  bool UpperCase = true;
  bool WordWrap = true;
  // False: the background picture already shows lines and stations and the
  // map adds only its labels.
  bool IsVector = true;
  // Colours and heights missing here are taken from it (the city's main map).
  TMetroMap* ParentMap = nullptr;
  std::vector<std::string> StationLabels;  // raw lines, kept with the map
  std::vector<std::unique_ptr<TMetroMapLine>> Lines;
  std::vector<std::unique_ptr<TMetroMapTransfer>> Transfers;
  int32_t StationDiameter = 11;
  // The AdditionalNodes keys of the map's file that hold its segments: as
  // loaded, then as the last save wrote them. A save removes those that no
  // segment writes any more (the segment was taken back or deleted); keys
  // the load did not take as segments are never counted, so they stay.
  TWrittenKeys SegmentKeysInFile;

  // Reads the map file: shared keys, lines, transfers, segments, and finally
  // builds the map's own vector layer.
  void LoadFromIni(TIniStream& ini) override;
  // Also empties the lines, transfers and kept label lines, so that a second
  // load starts afresh.
  void Clear() override;
  // For a map drawn over its own picture: shows or hides the label layer as
  // the settings say.
  void UpdateLabelsVisibility() override;

  // Look-ups; each gives the first match in list order or nullptr.
  TMetroMapLine* FindLineByRoute(const TRoute* route) const;
  TMetroMapLine* FindLineByStation(const TMetroMapStation* station) const;
  TMetroMapStation* StationAt(int lineIndex, int stationIndex) const;
  bool TransferExists(const TMetroMapStation* a, const TMetroMapStation* b) const;
  // Appends the placed stations whose circle neighbourhood (2/3 of the
  // diameter either way, bounds excluded) holds the point.
  void FindStationsAtPoint(long double x, long double y, std::vector<TMetroMapStation*>& result) const;
  // Appends the placed stations whose label rectangle holds the point,
  // bounds included.
  void FindStationsByLabel(long double x, long double y, std::vector<TMetroMapStation*>& result) const;

  // The AdditionalNodes keys the segments write, counted by name.
  TWrittenKeys SegmentKeys() const;
  // Puts the end nodes of every segment back onto its stations.
  void SyncSegmentEnds();
  // One connector per pair of placed stations joined by a visible transfer
  // of the network.
  void BuildTransfers();
  void LoadAdditionalNodes(TIniStream& ini);

  // Builds the map's own vector layer and appends it to Layers; with
  // `replace` the previous one is removed first (and segment ends synced).
  void BuildDrawing(bool replace);
  // Brings the layer BuildDrawing made up to date after points or
  // rectangles of `lines` moved: only the drawing of those lines and of the
  // transfers touching them is made again, the rest is kept, so a drag step
  // on a big map costs little. The picture is the one BuildDrawing(true)
  // gives, though colour commands that a full build leaves out may stay.
  // Makes a full build when the layer is not the last one built or a
  // transfer end was placed or unplaced.
  void RebuildLines(const std::vector<TMetroMapLine*>& lines);
  // The drawing of lines, stations, legends and transfers (without labels)
  // appended to `image`; the editor also draws route outlines from it.
  void BuildLineDrawing(TVectorImage& image) const;
  // The station labels (and, for a map over its own picture, the white
  // boxes that cover the picture's labels) appended to `image`.
  void BuildLabelDrawing(TVectorImage& image) const;

 private:
  void LoadLines(TIniStream& ini);
  // Where the parts of the last built layer lie; nullptr before a build.
  std::unique_ptr<TMapPieces> pieces_;
  void LoadLine(TIniStream& ini, TRoute& route);
  TRoute* FindMapRoute(const std::string& name) const;
};

// Creates a map from a .map file: reads it, names the map after the file
// (name part with extension) and loads it. `onLoadImage` resolves its
// picture names; `parentMap` (or nullptr) gives missing colours and heights.
std::unique_ptr<TMetroMap> LoadMapFile(const std::string& fileName, TImageLoader onLoadImage,
                                       TMetroMap* parentMap, TTransports& allTransports);

}  // namespace varnik
