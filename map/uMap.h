#pragma once
// The base of every map of a city: its name, the background pictures named
// in its file (each held as a layer) and the transports whose routes it
// shows. A map gets its pictures from the city through a loader callback and
// never opens picture files itself.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "map/uLayer.h"

namespace varnik {

class TBitmap;
class TImage;
class TIniStream;
class TScale;
class TTransport;
class TTransports;

// Turns a picture file name into a picture of the city, or nullptr. The
// picture stays the city's.
using TImageLoader = std::function<TImage*(const std::string& fileName)>;

class TMap {
 public:
  // `allTransports` is the city's list; it must outlive the map.
  explicit TMap(TTransports& allTransports);
  virtual ~TMap();
  TMap(const TMap&) = delete;
  TMap& operator=(const TMap&) = delete;

  TImageLoader OnLoadImage;  // unset: no background picture is loaded
  std::string Name;          // file name with extension, no directory: the map's identity
  std::string ImageFileName;
  TTransports* AllTransports;
  std::vector<TTransport*> Transports;          // whose routes the map draws
  std::vector<TTransport*> CheckedTransports;   // kept, not used for drawing
  std::vector<std::unique_ptr<TLayer>> Layers;  // drawn first to last

  void SetImageLoader(TImageLoader loader) { OnLoadImage = std::move(loader); }

  // Reads the Options keys every map shares and builds the background layers.
  // Names of pictures and transports that match nothing are skipped silently.
  virtual void LoadFromIni(TIniStream& ini);
  // Frees the layers and empties both transport lists.
  virtual void Clear();
  virtual void UpdateLabelsVisibility() {}

  // The extent of the drawing: the largest picture among the visible layers;
  // 0 without visible layers.
  int32_t Width() const;
  int32_t Height() const;

  // Draws every visible layer in order.
  void Draw(TBitmap& bitmap, int level, const TScale& scale);

 private:
  void ReadTransportList(TIniStream& ini, const char* key, std::vector<TTransport*>& list);
};

// Draws the map being shown (nothing when `currentMap` is nullptr): its
// labels shown or hidden as the settings say, then every visible layer.
void DrawCurrentMap(TMap* currentMap, TBitmap& bitmap, int level, const TScale& scale);

}  // namespace varnik
