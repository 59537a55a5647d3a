// Loading a large generated city: 50 metro lines of 40 stations each with
// 200 transfers between them, and a map that places every station.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "city/uCity.h"
#include "platform/uMessages.h"

namespace {

std::string Line(int line) {
  std::string stations, driving;
  for (int s = 0; s < 40; ++s) {
    stations += (s ? "," : "") + std::string("Station ") + std::to_string(line) + "-" + std::to_string(s);
    if (s < 39) driving += (s ? "," : "") + std::string("2.") + std::to_string(10 + s);
  }
  return "[Line" + std::to_string(line) + "]\r\nName=Line " + std::to_string(line) + "\r\nStations=" + stations +
         "\r\nDriving=" + driving + "\r\n";
}

// The map's section of a line: its stations 20 apart along a row of their own.
std::string MapLine(int line) {
  std::string coordinates;
  for (int s = 0; s < 40; ++s)
    coordinates += (s ? ", " : "") + std::to_string(20 + 20 * s) + "," + std::to_string(20 * line);
  return "[Line " + std::to_string(line) + "]\r\nColor=E02020\r\nCoordinates=" + coordinates + "\r\n";
}

std::filesystem::path WriteCity() {
  auto dir = std::filesystem::temp_directory_path() / "varnik-bench-city";
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "Big.cty", std::ios::binary) << "[Options]\r\nName=Big\r\n";
  std::ofstream trp(dir / "Metro.trp", std::ios::binary);
  trp << "[Options]\r\nType=Metro\r\n";
  for (int line = 1; line <= 50; ++line) trp << Line(line);
  trp << "[Transfers]\r\n";
  for (int t = 0; t < 200; ++t) {
    int a = t % 50 + 1, b = (t * 7 + 3) % 50 + 1, s = t % 40;
    trp << t << "=Line " << a << ",Station " << a << "-" << s << ",Line " << b << ",Station " << b << "-" << s
        << ",1.30,2\r\n";
  }
  std::ofstream map(dir / "Metro.map", std::ios::binary);
  map << "[Options]\r\nTransports=Metro.trp\r\n";
  for (int line = 1; line <= 50; ++line) map << MapLine(line);
  return dir;
}

// Loads the city of the current directory; the first diagnostic, if any.
std::optional<std::string> LoadDiagnostic() {
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope(messages);
  varnik::TCity city;
  city.LoadFromDir();
  if (messages.Entries.empty()) return std::nullopt;
  return messages.Texts().front();
}

void BM_LoadCity(benchmark::State& state) {
  auto dir = WriteCity();
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  // A load that reports something measures a city cut short.
  if (const std::optional<std::string> diagnostic = LoadDiagnostic()) {
    state.SkipWithError(("the generated city reported: " + *diagnostic).c_str());
  } else {
    varnik::TRecordingSink messages;
    varnik::TScopedMessageSink scope(messages);
    for (auto _ : state) {
      varnik::TCity city;
      city.LoadFromDir();
      benchmark::DoNotOptimize(city.Stations.data());
    }
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_LoadCity)->Unit(benchmark::kMillisecond);

}  // namespace
