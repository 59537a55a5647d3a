#include "map/uMap.h"

#include <algorithm>
#include <string_view>

#include "core/uIniStream.h"
#include "core/uUtils.h"
#include "image/uImage.h"
#include "network/uTransport.h"
#include "platform/uCodePage.h"

namespace varnik {

TMap::TMap(TTransports& allTransports) : AllTransports(&allTransports) {}

TMap::~TMap() = default;

void TMap::Clear() {
  Layers.clear();
  Transports.clear();
  CheckedTransports.clear();
}

void TMap::LoadFromIni(TIniStream& ini) {
  Clear();
  ini.SelectSection("Options");
  ImageFileName = ini.ValueString("ImageFileName", "");
  if (OnLoadImage) {
    std::string_view names = ImageFileName;
    while (!names.empty()) {
      TImage* image = OnLoadImage(NextToken(names));
      if (image == nullptr) continue;
      // The first picture is the opaque ground; later ones are laid over it.
      if (!Layers.empty()) image->Transparent = true;
      Layers.push_back(std::make_unique<TLayer>(image, false, 100));
    }
  }
  ReadTransportList(ini, "Transports", Transports);
  ReadTransportList(ini, "CheckedTransports", CheckedTransports);
}

void TMap::ReadTransportList(TIniStream& ini, const char* key, std::vector<TTransport*>& list) {
  std::string value = ini.ValueString(key, "Metro.trp");
  std::string_view names = value;
  while (!names.empty()) {
    std::string name = TrimBlank(NextToken(names));
    for (const auto& transport : AllTransports->Items) {
      if (SameTextLocale(transport->FileName, name)) {
        list.push_back(transport.get());
        break;
      }
    }
  }
}

int32_t TMap::Width() const {
  int32_t width = 0;
  for (const auto& layer : Layers) {
    if (layer->Visible && layer->Image != nullptr) width = std::max(width, layer->Image->Width);
  }
  return width;
}

int32_t TMap::Height() const {
  int32_t height = 0;
  for (const auto& layer : Layers) {
    if (layer->Visible && layer->Image != nullptr) height = std::max(height, layer->Image->Height);
  }
  return height;
}

void TMap::Draw(TBitmap& bitmap, int level, const TScale& scale) {
  for (const auto& layer : Layers) {
    if (layer->Visible) layer->Draw(bitmap, level, scale);
  }
}

void DrawCurrentMap(TMap* currentMap, TBitmap& bitmap, int level, const TScale& scale) {
  if (!currentMap) return;
  currentMap->UpdateLabelsVisibility();
  currentMap->Draw(bitmap, level, scale);
}

}  // namespace varnik
