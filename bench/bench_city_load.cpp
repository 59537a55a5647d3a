// Loading a large generated city: 50 metro lines of 40 stations each with
// 200 transfers between them.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
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
  return dir;
}

void BM_LoadCity(benchmark::State& state) {
  auto dir = WriteCity();
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  varnik::TRecordingSink messages;
  varnik::TScopedMessageSink scope(messages);
  for (auto _ : state) {
    varnik::TCity city;
    city.LoadFromDir();
    benchmark::DoNotOptimize(city.Stations.data());
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  if (!messages.Entries.empty()) state.SkipWithError("the generated city reported diagnostics");
}
BENCHMARK(BM_LoadCity)->Unit(benchmark::kMillisecond);

}  // namespace
