// The generated city is laid out on a square lattice. Even
// lines run left to right, odd ones top to bottom; each step moves one
// lattice point along the line's axis and, after a random bend, one point
// sideways too (45 degrees). A branch leaves its trunk square to the axis.
// Each line is nudged off the lattice by a few pixels of its own, so two
// lines meeting at a lattice point show two stations side by side, and those
// two are joined by a transfer (each station takes at most one).
//
// The map side grows with the square root of the number of stops, so that
// the density of the network, and with it the work per screen, stays about
// the same for every size.

#include "bench/uGeneratedCity.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace varnik {

namespace {

constexpr int kStopsPerLine = 100;
constexpr int kBranchAt = 60;  // the trunk stop a branch leaves from
constexpr int kBranchStops = 10;
// The lattice step between neighbouring stations, on the biggest maps;
// smaller maps take a finer lattice so that every line still fits.
constexpr int32_t kPitch = 40;
// Left of it sit the legends; the lines stay inside.
constexpr int32_t kMargin = 300;

// The same numbers on every platform and library (the standard
// distributions are free to differ).
class TRandom {
 public:
  explicit TRandom(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  int32_t Next(int32_t bound) {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int32_t>((state_ >> 33) % static_cast<uint64_t>(bound));
  }

 private:
  uint64_t state_;
};

struct TLatticePoint {
  int32_t Along = 0;   // on the line's own axis
  int32_t Across = 0;  // square to it
};

struct TLine {
  int Index = 0;
  bool Horizontal = true;
  bool InService = true;
  bool Branch = false;  // the last kBranchStops stops leave the trunk at kBranchAt
  int Trunk = kStopsPerLine;
  int32_t Pitch = kPitch;
  std::vector<TLatticePoint> Points;
};

struct TTransfer {
  int Line1, Stop1, Line2, Stop2;
};

std::string RouteName(int line) { return "Line " + std::to_string(line + 1); }

std::string StationName(int line, int stop) {
  static constexpr const char* kStems[] = {"Park", "Market", "Bridge", "Garden",
                                           "Depot", "Harbour", "Mill", "Square"};
  return std::string(kStems[(line * 7 + stop) % 8]) + " " + std::to_string(line + 1) + "-" + std::to_string(stop + 1);
}

std::string DrivingTime(int line, int stop) {
  static constexpr const char* kTimes[] = {"2", "1.45", "2.30", "3"};
  return kTimes[(line + stop) % 4];
}

std::string Color(int index) {
  static constexpr const char* kColors[] = {"E02020", "1060D0", "10A050", "8B5A2B", "E0B000", "A040C0",
                                            "00A0A0", "F07010", "606060", "C02070", "3050A0", "70A020"};
  return kColors[index % 12];
}

int32_t Side(int stops) { return static_cast<int32_t>(std::lround(12000 * std::sqrt(stops / 10000.0))); }

// The trunk of a hundred stops must fit along either axis.
int32_t Pitch(int32_t side) { return std::clamp<int32_t>((side - 2 * kMargin) / (kStopsPerLine + 1), 1, kPitch); }

TLine MakeLine(int index, int32_t cells, int32_t pitch) {
  TRandom random(static_cast<uint64_t>(index) + 1);
  TLine line;
  line.Index = index;
  line.Pitch = pitch;
  line.Horizontal = index % 2 == 0;
  line.InService = index % 10 != 9;
  line.Branch = line.InService && index % 3 == 1;
  line.Trunk = line.Branch ? kStopsPerLine - kBranchStops : kStopsPerLine;
  TLatticePoint p{random.Next(cells - line.Trunk + 1), random.Next(cells + 1)};
  int sideways = 0;
  for (int s = 0; s < line.Trunk; ++s) {
    line.Points.push_back(p);
    if (random.Next(6) == 0) sideways = random.Next(3) - 1;
    if (p.Across + sideways < 0 || p.Across + sideways > cells) sideways = -sideways;
    ++p.Along;
    p.Across += sideways;
  }
  if (line.Branch) {
    const TLatticePoint fork = line.Points[kBranchAt];
    const int away = fork.Across + kBranchStops <= cells ? 1 : -1;
    for (int s = 1; s <= kBranchStops; ++s) line.Points.push_back({fork.Along, fork.Across + away * s});
  }
  return line;
}

// Screen position of a stop: the lattice point, nudged by the line's offset.
struct TPixel {
  int32_t X, Y;
};
TPixel PixelOf(const TLine& line, int stop) {
  const TLatticePoint& p = line.Points[static_cast<size_t>(stop)];
  const int32_t x = line.Horizontal ? p.Along : p.Across;
  const int32_t y = line.Horizontal ? p.Across : p.Along;
  return {kMargin + x * line.Pitch + (line.Index % 5) * 7, kMargin + y * line.Pitch + (line.Index % 3) * 7};
}

std::vector<TTransfer> FindTransfers(const std::vector<TLine>& lines, int32_t cells) {
  std::vector<TTransfer> transfers;
  std::unordered_map<int64_t, std::pair<int, int>> first;  // lattice point -> its first stop
  std::vector<std::vector<bool>> joined(lines.size(), std::vector<bool>(kStopsPerLine, false));
  for (const TLine& line : lines) {
    for (int s = 0; s < static_cast<int>(line.Points.size()); ++s) {
      const TLatticePoint& p = line.Points[static_cast<size_t>(s)];
      const int64_t x = line.Horizontal ? p.Along : p.Across, y = line.Horizontal ? p.Across : p.Along;
      auto [it, added] = first.try_emplace(x * (cells + 1) + y, line.Index, s);
      if (added) continue;
      const auto [otherLine, otherStop] = it->second;
      if (otherLine == line.Index || joined[otherLine][otherStop] || joined[line.Index][s]) continue;
      joined[otherLine][otherStop] = joined[line.Index][s] = true;
      transfers.push_back({otherLine, otherStop, line.Index, s});
    }
  }
  return transfers;
}

// The Stations and Driving items of one stop. The fork and both ends of the
// branch list their neighbours; every other stop takes the default ones.
std::pair<std::string, std::string> StopItems(const TLine& line, int s) {
  const int k = line.Index;
  auto time = [&](int stop) { return line.InService ? DrivingTime(k, stop) : std::string(); };
  const std::string name = StationName(k, s);
  if (line.Branch && s == kBranchAt) {
    return {name + "(" + StationName(k, s + 1) + "," + StationName(k, s - 1) + "," + StationName(k, line.Trunk) + ")",
            "(" + time(s) + "," + time(s - 1) + "," + time(line.Trunk) + ")"};
  }
  if (line.Branch && s == line.Trunk - 1) return {name + "(," + StationName(k, s - 1) + ")", "(," + time(s - 1) + ")"};
  if (line.Branch && s == line.Trunk) {
    return {name + "(" + StationName(k, s + 1) + "," + StationName(k, kBranchAt) + ")",
            "(" + time(s) + "," + time(s) + ")"};
  }
  const bool last = s + 1 == static_cast<int>(line.Points.size());
  return {name, last ? std::string() : time(s)};
}

std::string TransportText(const std::vector<TLine>& lines, const std::vector<TTransfer>& transfers) {
  std::string text = "[Options]\r\nType=Metro\r\n";
  for (const TLine& line : lines) {
    std::string stations, driving;
    for (int s = 0; s < static_cast<int>(line.Points.size()); ++s) {
      const auto [station, time] = StopItems(line, s);
      stations += (s ? "," : "") + station;
      driving += (s ? "," : "") + time;
    }
    text += "\r\n[Line" + std::to_string(line.Index + 1) + "]\r\nName=" + RouteName(line.Index) +
            "\r\nStations=" + stations + "\r\nDriving=" + driving + "\r\nDelays=3,6\r\n";
  }
  text += "\r\n[Transfers]\r\n";
  for (size_t t = 0; t < transfers.size(); ++t) {
    const TTransfer& x = transfers[t];
    text += std::to_string(t + 1) + "=" + RouteName(x.Line1) + "," + StationName(x.Line1, x.Stop1) + "," +
            RouteName(x.Line2) + "," + StationName(x.Line2, x.Stop2) + ",1.30" + (t % 4 == 0 ? ",2" : "") +
            (t % 9 == 4 ? ",invisible" : "") + "\r\n";
  }
  return text;
}

// Horizontal lines get upright labels above their stations, vertical ones
// two-line labels to the right; every tenth station has none.
std::string LabelRect(const TLine& line, int s) {
  if (s % 10 == 5) return "0,0,0,0";
  const TPixel p = PixelOf(line, s);
  if (line.Horizontal) {
    const int32_t height = 7 * static_cast<int32_t>(StationName(line.Index, s).size());
    return std::to_string(p.X - 7) + "," + std::to_string(p.Y - 12 - height) + ",14," + std::to_string(height);
  }
  return std::to_string(p.X + 9) + "," + std::to_string(p.Y - 14) + ",60,28";
}

std::string MapLine(const TLine& line) {
  const int k = line.Index;
  std::string coordinates, rects;
  for (int s = 0; s < static_cast<int>(line.Points.size()); ++s) {
    const TPixel p = PixelOf(line, s);
    coordinates += (s ? ", " : "") + std::to_string(p.X) + "," + std::to_string(p.Y);
    rects += (s ? ", " : "") + LabelRect(line, s);
  }
  return "\r\n[" + RouteName(k) + "]\r\nColor=" + Color(k) + "\r\nLabelsColor=" + (k % 4 == 3 ? Color(k) : "000000") +
         "\r\nLabelsBColor=" + (k % 3 == 2 ? "-1" : "FFFFFF") + "\r\nCoordinates=" + coordinates +
         "\r\nRects=" + rects + "\r\nRect=20," + std::to_string(20 + 24 * k) + ",60,20\r\n";
}

// Every fifth link of a trunk is bent outwards through one node; every
// other of those is a spline.
std::string Segments(const TLine& line) {
  std::string text;
  for (int s = 2; s + 1 < line.Trunk; s += 5) {
    const TPixel a = PixelOf(line, s), b = PixelOf(line, s + 1);
    const int32_t x = (a.X + b.X) / 2 + (line.Horizontal ? 0 : 9), y = (a.Y + b.Y) / 2 + (line.Horizontal ? 9 : 0);
    text += std::to_string(line.Index + 1) + "-" + std::to_string(s + 1) + "=" + RouteName(line.Index) + "," +
            StationName(line.Index, s) + "," + StationName(line.Index, s + 1) + ", " + std::to_string(x) + "," +
            std::to_string(y) + (s % 10 == 2 ? ", spline" : "") + "\r\n";
  }
  return text;
}

std::string MapText(const std::vector<TLine>& lines) {
  std::string text =
      "[Options]\r\nImageFileName=Generated.vec\r\nTransports=Metro.trp\r\nStationDiameter=11\r\nLinesWidth=7\r\n";
  for (const TLine& line : lines) text += MapLine(line);
  text += "\r\n[AdditionalNodes]\r\n";
  for (const TLine& line : lines) text += Segments(line);
  return text;
}

// Land, a river across the whole map, a street grid and a park in every
// tile of 1500 pixels.
std::string BackgroundText(int32_t side) {
  const std::string w = std::to_string(side);
  std::string text = "Size " + w + "x" + w + "\r\nPenColor F2EEE3\r\nBrushColor F2EEE3\r\nPolygon 0,0, " + w +
                     ",0, " + w + "," + w + ", 0," + w + "\r\nPenColor B7D7F0\r\nLine ";
  TRandom random(7);
  for (int32_t x = 0; x <= side; x += 500) text += std::to_string(x) + "," + std::to_string(side / 3 + random.Next(400)) + ", ";
  text += "60\r\nPenColor FFFFFF\r\n";
  for (int32_t v = 400; v < side; v += 800) {
    const std::string a = std::to_string(v);
    text += "Line 0," + a + ", " + w + "," + a + ", 6\r\nLine " + a + ",0, " + a + "," + w + ", 6\r\n";
  }
  text += "PenColor 9CC98A\r\nBrushColor CFE7BD\r\n";
  for (int32_t y = 0; y + 1500 <= side; y += 1500) {
    for (int32_t x = 0; x + 1500 <= side; x += 1500) {
      const int32_t left = x + 200 + random.Next(800), top = y + 200 + random.Next(800);
      text += "Ellipse " + std::to_string(left) + "," + std::to_string(top) + ", " + std::to_string(left + 300) +
              "," + std::to_string(top + 200) + ", 2\r\n";
    }
  }
  return text;
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

TGeneratedCity WriteGeneratedCity(const std::filesystem::path& dir, int stops) {
  TGeneratedCity city;
  city.Lines = std::max(1, (stops + kStopsPerLine - 1) / kStopsPerLine);
  city.Stops = city.Lines * kStopsPerLine;
  city.Width = city.Height = Side(city.Stops);
  const int32_t pitch = Pitch(city.Width);
  const int32_t cells = (city.Width - 2 * kMargin) / pitch;
  std::vector<TLine> lines;
  for (int k = 0; k < city.Lines; ++k) lines.push_back(MakeLine(k, cells, pitch));
  const std::vector<TTransfer> transfers = FindTransfers(lines, cells);
  city.Transfers = static_cast<int>(transfers.size());

  std::filesystem::create_directories(dir);
  WriteFile(dir / "Generated.cty", "[Options]\r\nName=Generated\r\nCityName=Generated\r\n");
  WriteFile(dir / "Metro.trp", TransportText(lines, transfers));
  WriteFile(dir / "Metro.map", MapText(lines));
  WriteFile(dir / "Generated.vec", BackgroundText(city.Width));
  return city;
}

}  // namespace varnik
