// Building and drawing a generated metro map of 20 lines with 30 stations
// each, every station labelled (horizontal labels on even lines, vertical on
// odd ones), shaped segments and transfers between neighbouring lines, drawn
// at 1920 x 1080 without and with the highest smoothing.

#include <benchmark/benchmark.h>

#include <string>

#include "core/uIniStream.h"
#include "image/uImage.h"
#include "map/uMetroMap.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uBitmap.h"
#include "platform/uMessages.h"
#include "vector/uScale.h"
#include "vector/uVectorImage.h"

namespace {

constexpr int kLines = 20;
constexpr int kStations = 30;

std::string StationName(int line, int s) {
  return "Station " + std::to_string(line) + "-" + std::to_string(s);
}
int X(int s) { return 40 + s * 62; }
int Y(int line, int s) { return 40 + line * 50 + (s % 3) * 6; }

std::string TransportText() {
  std::string text = "[Options]\r\nType=Metro\r\n";
  for (int line = 0; line < kLines; ++line) {
    text += "[Line" + std::to_string(line + 1) + "]\r\nName=Line " + std::to_string(line) + "\r\nStations=";
    for (int s = 0; s < kStations; ++s) text += (s ? "," : "") + StationName(line, s);
    // Every fifth line is not in service yet: dashed links, hollow stations.
    text += "\r\nDriving=";
    for (int s = 0; line % 5 != 4 && s + 1 < kStations; ++s) text += (s ? "," : "") + std::string("2.30");
    text += "\r\n";
  }
  text += "[Transfers]\r\n";
  for (int line = 0; line + 1 < kLines; ++line) {
    for (int s = 5; s < kStations; s += 10) {
      text += std::to_string(line) + "-" + std::to_string(s) + "=Line " + std::to_string(line) + "," +
              StationName(line, s) + ",Line " + std::to_string(line + 1) + "," + StationName(line + 1, s) +
              ",1.30\r\n";
    }
  }
  return text;
}

std::string MapText() {
  std::string text = "[Options]\r\nStationDiameter=11\r\nLinesWidth=7\r\n";
  std::string nodes;
  for (int line = 0; line < kLines; ++line) {
    text += "[Line " + std::to_string(line) + "]\r\nColor=" + (line % 2 ? "C03020" : "2040C0") +
            "\r\nLabelsBColor=" + (line % 3 ? "FFFFFF" : "-1") + "\r\nCoordinates=";
    std::string rects;
    for (int s = 0; s < kStations; ++s) {
      text += std::to_string(X(s)) + "," + std::to_string(Y(line, s)) + ", ";
      rects += line % 2 ? std::to_string(X(s) + 8) + "," + std::to_string(Y(line, s) - 40) + ",12,34, "
                        : std::to_string(X(s) - 25) + "," + std::to_string(Y(line, s) - 24) + ",50,16, ";
    }
    text += "\r\nRects=" + rects + "\r\nRect=10," + std::to_string(40 + line * 50) + ",60,20\r\n";
    for (int s = 0; s + 1 < kStations; s += 4) {
      nodes += std::to_string(line * 100 + s) + "=Line " + std::to_string(line) + "," + StationName(line, s) +
               "," + StationName(line, s + 1) + ", " + std::to_string(X(s) + 31) + "," +
               std::to_string(Y(line, s) - 12) + (s % 8 ? ", spline" : "") + "\r\n";
    }
  }
  return text + "[AdditionalNodes]\r\n" + nodes;
}

struct TBenchMap {
  varnik::TTransports transports;
  std::unique_ptr<varnik::TMetroMap> map;
  TBenchMap() {
    varnik::TNetworkReader(transports).ReadText(TransportText(), "Metro.trp");
    transports.Link();
    varnik::TIniStream ini;
    ini.LoadFromText(MapText());
    map = std::make_unique<varnik::TMetroMap>(transports, nullptr);
    map->Name = "Metro.map";
    map->LoadFromIni(ini);
  }
};

void BM_BuildDrawing(benchmark::State& state) {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope(messages);
  TBenchMap bench;
  for (auto _ : state) bench.map->BuildDrawing(true);
  state.counters["commands"] = static_cast<double>(bench.map->Layers.back()->Image->Vector->Commands.size());
  if (!messages.Entries.empty()) state.SkipWithError(messages.Entries.front().Text.c_str());
}
BENCHMARK(BM_BuildDrawing)->Unit(benchmark::kMillisecond);

// BuildDrawing plus a full draw of the map at 1920 x 1080, as the editor does
// after every edit; the argument is the smoothing level.
void BM_BuildAndRender(benchmark::State& state) {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope(messages);
  TBenchMap bench;
  varnik::TBitmap bitmap(1920, 1080);
  varnik::TScale view;
  view.Geographic = false;
  view.CenterX = view.ShiftX = 960;
  view.CenterY = view.ShiftY = 540;
  view.Changed();
  const int level = static_cast<int>(state.range(0));
  for (auto _ : state) {
    bench.map->BuildDrawing(true);
    bitmap.Fill(0xFFFFFF);
    bench.map->UpdateLabelsVisibility();
    bench.map->Draw(bitmap, level, view);
    benchmark::DoNotOptimize(bitmap.ScanLine(0));
  }
  if (!messages.Entries.empty()) state.SkipWithError(messages.Entries.front().Text.c_str());
}
BENCHMARK(BM_BuildAndRender)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
