// The journey search on a generated city of 10,000 stops: 100 lines of 100
// stations each, every tenth station joined to a station of another line by
// a transfer. The goal is at most 5 ms for one search; the planner indexes
// the network once, and building that index is timed too.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/uIniStream.h"
#include "journeys/uJourneyPlanner.h"
#include "network/uNetworkReader.h"
#include "network/uTransport.h"
#include "platform/uMessages.h"

namespace {

constexpr int kLines = 100;
constexpr int kStations = 100;

std::string StationName(int line, int station) {
  return "Station " + std::to_string(line) + "-" + std::to_string(station);
}

std::string TransportText() {
  std::string text = "[Options]\r\nType=Metro\r\n";
  for (int line = 1; line <= kLines; ++line) {
    std::string stations, driving;
    for (int s = 0; s < kStations; ++s) {
      stations += (s ? "," : "") + StationName(line, s);
      if (s + 1 < kStations) driving += (s ? ",1." : "1.") + std::to_string(10 + (line + s) % 50);
    }
    text += "[Line" + std::to_string(line) + "]\r\nName=Line " + std::to_string(line) +
            "\r\nStations=" + stations + "\r\nDriving=" + driving + "\r\nDelays=4,8\r\n";
  }
  text += "[Transfers]\r\n";
  for (int a = 1; a <= kLines; ++a) {
    for (int s = 0; s < kStations; s += 10) {
      const int b = (a + 7 * (s / 10 + 1)) % kLines + 1;
      if (b == a) continue;
      text += std::to_string(a) + "-" + std::to_string(s) + "=Line " + std::to_string(a) + "," +
              StationName(a, s) + ",Line " + std::to_string(b) + "," + StationName(b, s) + ",1.30,2\r\n";
    }
  }
  return text;
}

class TBenchNetwork {
 public:
  TBenchNetwork() {
    varnik::TRecordingSink messages;
    varnik::TScopedMessageSink scope(messages);
    varnik::TNetworkReader(transports).ReadText(TransportText(), "Metro.trp");
    transports.Link();
    Clean = messages.Entries.empty();
  }
  varnik::TTransports transports;
  bool Clean = false;
};

// Journeys across the whole city, from one corner of the generated grid to
// far-off stations of other lines.
const std::vector<std::pair<std::string, std::string>>& Queries() {
  static const std::vector<std::pair<std::string, std::string>> queries = {
      {StationName(1, 0), StationName(100, 99)},
      {StationName(13, 55), StationName(71, 3)},
      {StationName(50, 99), StationName(2, 45)},
      {StationName(99, 10), StationName(37, 87)},
  };
  return queries;
}

void BM_FindJourney(benchmark::State& state) {
  TBenchNetwork network;
  const varnik::TJourneyPlanner planner(network.transports);
  size_t i = 0, found = 0;
  for (auto _ : state) {
    const auto& [from, to] = Queries()[i++ % Queries().size()];
    auto journey = planner.Find(from, to, 0);
    found += journey.has_value();
    benchmark::DoNotOptimize(journey);
  }
  if (!network.Clean || found != i) state.SkipWithError("the generated city is not connected as planned");
}
BENCHMARK(BM_FindJourney)->Unit(benchmark::kMillisecond);

void BM_IndexAndFindJourney(benchmark::State& state) {
  TBenchNetwork network;
  size_t i = 0;
  for (auto _ : state) {
    const varnik::TJourneyPlanner planner(network.transports);
    const auto& [from, to] = Queries()[i++ % Queries().size()];
    benchmark::DoNotOptimize(planner.Find(from, to, 0));
  }
}
BENCHMARK(BM_IndexAndFindJourney)->Unit(benchmark::kMillisecond);

}  // namespace
