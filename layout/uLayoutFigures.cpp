#include "layout/uLayoutFigures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <numbers>
#include <numeric>

#include "layout/uLineLinks.h"
#include "map/uMetroMap.h"
#include "network/uRoute.h"
#include "platform/uCodePage.h"

namespace varnik {

namespace {

struct TPiece {
  TPoint32 A, B;
  size_t Line = 0;
};

int64_t Orientation(const TPoint32& a, const TPoint32& b, const TPoint32& c) {
  const int64_t v = int64_t(b.X - a.X) * (c.Y - a.Y) - int64_t(b.Y - a.Y) * (c.X - a.X);
  return (v > 0) - (v < 0);
}

bool Cross(const TPiece& p, const TPiece& q) {
  if (std::max(p.A.X, p.B.X) < std::min(q.A.X, q.B.X) || std::max(q.A.X, q.B.X) < std::min(p.A.X, p.B.X) ||
      std::max(p.A.Y, p.B.Y) < std::min(q.A.Y, q.B.Y) || std::max(q.A.Y, q.B.Y) < std::min(p.A.Y, p.B.Y))
    return false;
  return Orientation(p.A, p.B, q.A) * Orientation(p.A, p.B, q.B) < 0 &&
         Orientation(q.A, q.B, p.A) * Orientation(q.A, q.B, p.B) < 0;
}

bool Octilinear(const TPiece& p) {
  const int64_t dx = std::abs(int64_t(p.B.X) - p.A.X), dy = std::abs(int64_t(p.B.Y) - p.A.Y);
  return dx == 0 || dy == 0 || dx == dy;
}

// A change of direction between a piece a->b and the next one b->c.
bool Turns(const TPoint32& a, const TPoint32& b, const TPoint32& c) {
  const int64_t ux = b.X - a.X, uy = b.Y - a.Y, vx = c.X - b.X, vy = c.Y - b.Y;
  return ux * vy - uy * vx != 0 || ux * vx + uy * vy < 0;
}

double Distance(const TPoint32& a, const TPoint32& b) { return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y); }

// The course of a link with repeated points dropped, so that each piece has
// a direction.
std::vector<TPoint32> DistinctCourse(const TMetroMapLine& line, const TLineLink& link) {
  std::vector<TPoint32> course = LinkCourse(line, link);
  course.erase(std::unique(course.begin(), course.end()), course.end());
  return course;
}

int32_t LineBends(const TMetroMapLine& line) {
  int32_t bends = 0;
  // The first point after the station along each connection, per station.
  std::vector<std::vector<TPoint32>> leaving(line.Stations.size());
  for (const TLineLink& link : LineLinks(line)) {
    const std::vector<TPoint32> course = DistinctCourse(line, link);
    if (course.size() < 2) continue;
    for (size_t i = 1; i + 1 < course.size(); ++i) bends += Turns(course[i - 1], course[i], course[i + 1]);
    leaving[static_cast<size_t>(link.From)].push_back(course[1]);
    leaving[static_cast<size_t>(link.To)].push_back(course[course.size() - 2]);
  }
  for (size_t s = 0; s < line.Stations.size(); ++s) {
    if (leaving[s].size() != 2) continue;
    const TPoint32 here{line.Stations[s]->Coordinate.X, line.Stations[s]->Coordinate.Y};
    bends += Turns(leaving[s][0], here, leaving[s][1]);
  }
  return bends;
}

std::vector<TPiece> Pieces(const TMetroMap& map) {
  std::vector<TPiece> pieces;
  for (size_t l = 0; l < map.Lines.size(); ++l)
    for (const TLineLink& link : LineLinks(*map.Lines[l])) {
      const std::vector<TPoint32> course = DistinctCourse(*map.Lines[l], link);
      for (size_t i = 1; i < course.size(); ++i) pieces.push_back({course[i - 1], course[i], l});
    }
  return pieces;
}

// Whether angle x lies strictly inside the counter-clockwise arc from `from`
// to `to`.
bool OnArc(double x, double from, double to) {
  const double turn = 2 * std::numbers::pi;
  auto along = [&](double a) { return std::fmod(std::fmod(a - from, turn) + turn, turn); };
  return along(x) > 0 && along(x) < along(to);
}

// Two lines that pass through one point (a station drawn on top of another,
// a shared bend) cross there when one comes in on one side of the other and
// leaves on the other side.
int32_t CrossingsAtSharedPoints(const std::vector<TPiece>& pieces) {
  // Per point, per line: the directions its pieces leave the point in.
  std::map<std::pair<int32_t, int32_t>, std::map<size_t, std::vector<double>>> leaving;
  for (const TPiece& p : pieces) {
    leaving[{p.A.X, p.A.Y}][p.Line].push_back(std::atan2(double(p.B.Y) - p.A.Y, double(p.B.X) - p.A.X));
    leaving[{p.B.X, p.B.Y}][p.Line].push_back(std::atan2(double(p.A.Y) - p.B.Y, double(p.A.X) - p.B.X));
  }
  int32_t crossings = 0;
  for (const auto& [point, lines] : leaving)
    for (auto a = lines.begin(); a != lines.end(); ++a)
      for (auto b = std::next(a); b != lines.end(); ++b) {
        if (a->second.size() != 2 || b->second.size() != 2) continue;
        const double a1 = a->second[0], a2 = a->second[1];
        const bool first = OnArc(b->second[0], a1, a2), second = OnArc(b->second[1], a1, a2);
        const bool touches = OnArc(b->second[0], a2, a1) == first || OnArc(b->second[1], a2, a1) == second;
        crossings += first != second && !touches;
      }
  return crossings;
}

bool InsidePiece(const TPoint32& v, const TPiece& p) {
  if (v == p.A || v == p.B || Orientation(p.A, p.B, v) != 0) return false;
  return std::min(p.A.X, p.B.X) <= v.X && v.X <= std::max(p.A.X, p.B.X) && std::min(p.A.Y, p.B.Y) <= v.Y &&
         v.Y <= std::max(p.A.Y, p.B.Y);
}

// Pieces cut where a corner or station of another line lies on them, so
// that a line bending on top of another meets it at a shared point.
std::vector<TPiece> SplitAtOtherLines(const std::vector<TPiece>& pieces) {
  std::vector<TPiece> split;
  for (const TPiece& piece : pieces) {
    std::vector<TPoint32> cuts;
    for (const TPiece& other : pieces) {
      if (other.Line == piece.Line) continue;
      for (const TPoint32& v : {other.A, other.B})
        if (InsidePiece(v, piece)) cuts.push_back(v);
    }
    auto along = [&](const TPoint32& v) { return std::abs(int64_t(v.X) - piece.A.X) + std::abs(int64_t(v.Y) - piece.A.Y); };
    std::sort(cuts.begin(), cuts.end(), [&](const TPoint32& a, const TPoint32& b) { return along(a) < along(b); });
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    TPoint32 from = piece.A;
    for (const TPoint32& cut : cuts) {
      split.push_back({from, cut, piece.Line});
      from = cut;
    }
    split.push_back({from, piece.B, piece.Line});
  }
  return split;
}

int32_t CountCrossings(const std::vector<TPiece>& whole) {
  const std::vector<TPiece> pieces = SplitAtOtherLines(whole);
  int32_t crossings = CrossingsAtSharedPoints(pieces);
  for (size_t i = 0; i < pieces.size(); ++i)
    for (size_t j = i + 1; j < pieces.size(); ++j)
      crossings += pieces[i].Line != pieces[j].Line && Cross(pieces[i], pieces[j]);
  return crossings;
}

double MeanDisplacement(const TMetroMap& map, const TMapGeometry& before) {
  double sum = 0;
  int32_t count = 0;
  for (size_t l = 0; l < map.Lines.size() && l < before.Lines.size(); ++l)
    for (size_t s = 0; s < map.Lines[l]->Stations.size() && s < before.Lines[l].Stations.size(); ++s) {
      const TCoordinate& now = map.Lines[l]->Stations[s]->Coordinate;
      const TPoint32& was = before.Lines[l].Stations[s];
      if (!now.Placed() || !(was.X > 0 || was.Y > 0)) continue;
      sum += Distance({now.X, now.Y}, was);
      ++count;
    }
  return count == 0 ? 0 : sum / count;
}

double LongestTransfer(const TMetroMap& map) {
  double longest = 0;
  for (const auto& transfer : map.Transfers) {
    const TCoordinate &a = transfer->Station1->Coordinate, &b = transfer->Station2->Coordinate;
    if (a.Placed() && b.Placed()) longest = std::max(longest, Distance({a.X, a.Y}, {b.X, b.Y}));
  }
  return longest;
}

double ClosestStations(const TMetroMap& map) {
  std::vector<TPoint32> places;
  for (const auto& line : map.Lines)
    for (const auto& station : line->Stations)
      if (station->Coordinate.Placed()) places.push_back({station->Coordinate.X, station->Coordinate.Y});
  double closest = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < places.size(); ++i)
    for (size_t j = i + 1; j < places.size(); ++j) closest = std::min(closest, Distance(places[i], places[j]));
  return places.size() < 2 ? 0 : closest;
}

}  // namespace

int32_t TLayoutFigures::Bends() const { return std::accumulate(BendsPerLine.begin(), BendsPerLine.end(), 0); }

TLayoutFigures MeasureLayout(const TMetroMap& map, const TMapGeometry& before, int32_t gridStep) {
  TLayoutFigures figures;
  const std::vector<TPiece> pieces = Pieces(map);
  figures.Pieces = static_cast<int32_t>(pieces.size());
  figures.OctilinearPieces = static_cast<int32_t>(std::count_if(pieces.begin(), pieces.end(), Octilinear));
  figures.Crossings = CountCrossings(pieces);
  for (const auto& line : map.Lines) figures.BendsPerLine.push_back(LineBends(*line));
  const double step = std::max(gridStep, 1);
  figures.MeanDisplacement = MeanDisplacement(map, before) / step;
  figures.LongestTransfer = LongestTransfer(map) / step;
  figures.ClosestStations = ClosestStations(map) / step;
  return figures;
}

std::string FiguresReport(const TMetroMap& map, const TLayoutFigures& input, const TLayoutFigures& output) {
  char buffer[256];
  std::string text;
  auto add = [&](const char* format, auto... values) {
    std::snprintf(buffer, sizeof buffer, format, values...);
    text += buffer;
  };
  add("octilinear pieces: %d of %d (%.1f %%), before %.1f %%\n", output.OctilinearPieces, output.Pieces,
      100 * output.OctilinearShare(), 100 * input.OctilinearShare());
  add("crossings between lines: %d, before %d\n", output.Crossings, input.Crossings);
  add("bends: %d, before %d\n", output.Bends(), input.Bends());
  for (size_t l = 0; l < map.Lines.size() && l < output.BendsPerLine.size(); ++l)
    text += "  " + Cp1251ToUtf8(map.Lines[l]->Route->Name) + ": " + std::to_string(output.BendsPerLine[l]) + "\n";
  add("mean displacement: %.2f grid steps\n", output.MeanDisplacement);
  add("longest transfer: %.2f grid steps\n", output.LongestTransfer);
  add("closest stations: %.2f grid steps\n", output.ClosestStations);
  return text;
}

}  // namespace varnik
