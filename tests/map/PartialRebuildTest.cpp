#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "MapTestCity.h"
#include "bench/uGeneratedCity.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "vector/uScale.h"
#include "vector/uVectorBounds.h"

namespace varnik {
namespace {

constexpr long double kZoom = 0.125L;

// The pixels of `map` drawn at smoothing 1 through a plain view of zoom
// `zoom` whose top-left corner is the drawing point (left, top).
std::vector<uint32_t> Pixels(TMetroMap& map, int width, int height, long double zoom, long double left,
                             long double top) {
  TBitmap bitmap(width, height);
  bitmap.Fill(0xF0F0F0);
  TScale view;
  view.Geographic = false;
  view.ScaleX = view.ScaleY = zoom;
  view.CenterX = left;
  view.CenterY = top;
  view.Changed();
  map.Draw(bitmap, 1, view);
  std::vector<uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < width; ++x, row += TBitmap::kBytesPerPixel) pixels.push_back(row[0] | row[1] << 8 | row[2] << 16);
  }
  return pixels;
}

// The line and station indices of `station`.
std::pair<size_t, size_t> PlaceOf(const TMetroMap& map, const TMetroMapStation* station) {
  for (size_t l = 0; l < map.Lines.size(); ++l)
    for (size_t s = 0; s < map.Lines[l]->Stations.size(); ++s)
      if (map.Lines[l]->Stations[s].get() == station) return {l, s};
  return {0, 0};
}

// One random edit, made alike on both maps (which hold the same city): a
// station, a segment node, a label or a legend moved, now and then a
// station taken off the map. The line it belongs to is given back.
size_t Edit(std::mt19937& random, TMetroMap& a, TMetroMap& b) {
  auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  const int dx = static_cast<int>(random() % 61) - 30, dy = static_cast<int>(random() % 61) - 30;
  size_t l = pick(a.Lines.size()), s = pick(a.Lines[l]->Stations.size());
  const size_t kind = pick(10);
  // Every other station moved is the end of a transfer.
  if (kind % 2 == 1 && !a.Transfers.empty()) std::tie(l, s) = PlaceOf(a, a.Transfers[pick(a.Transfers.size())]->Station1);
  for (TMetroMap* map : {&a, &b}) {
    TMetroMapLine& line = *map->Lines[l];
    TMetroMapStation& station = *line.Stations[s];
    if (kind == 0) {
      station.Coordinate.X = station.Coordinate.Y = 0;
    } else if (kind < 5) {
      station.Coordinate.X += dx;
      station.Coordinate.Y += dy;
    } else if (kind < 7 && !line.Segments.empty()) {
      TCoordinate& node = line.Segments[s % line.Segments.size()]->Nodes[1]->Coordinate;
      node.X += dx;
      node.Y += dy;
    } else {
      TRect& r = kind < 9 ? station.LabelRect : line.LegendRect;
      r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
    }
  }
  return l;
}

class PartialRebuild : public ::testing::Test {
 protected:
  void SetUp() override {
    generated = WriteGeneratedCity(dir.Path(), 600);
    city.LoadNetwork(dir.Path());
    ASSERT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
  }
  TRecordingSink messages;
  TScopedMessageSink scope{messages};
  test::TTempDir dir;
  TGeneratedCity generated;
  test::TMapTestCity city;
};

// The drawing brought up to date line by line draws what a drawing built
// afresh draws, over the whole map and close up.
TEST_F(PartialRebuild, DrawsWhatAFullBuildDraws) {
  TMetroMap& partial = city.LoadMap("Metro.map");
  TMetroMap& full = city.LoadMap("Metro.map");
  const int side = static_cast<int>(generated.Width * kZoom);
  for (unsigned seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::vector<TMetroMapLine*> edited;
    for (int step = 0; step < 3; ++step) edited.push_back(partial.Lines[Edit(random, partial, full)].get());
    partial.RebuildLines(edited);
    full.BuildDrawing(true);
    ASSERT_EQ(Pixels(partial, side, side, kZoom, 0, 0), Pixels(full, side, side, kZoom, 0, 0));
    const TCoordinate& c = edited.front()->Stations.front()->Coordinate;
    ASSERT_EQ(Pixels(partial, 400, 300, 1, c.X - 200, c.Y - 150), Pixels(full, 400, 300, 1, c.X - 200, c.Y - 150));
  }
}

// The commands left out before drawing a part of the map put no pixel on
// the bitmap when they are drawn after all.
TEST_F(PartialRebuild, CommandsLeftOutDrawNothing) {
  TMetroMap& map = city.LoadMap("Metro.map");
  std::mt19937 random(5);
  int leftOut = 0;
  for (int view = 0; view < 30; ++view) {
    const long double zoom = std::pow(2.0L, static_cast<int>(random() % 6) - 3);
    TBitmap bitmap(300, 200);
    TScale scale;
    scale.Geographic = false;
    scale.ScaleX = scale.ScaleY = zoom;
    scale.CenterX = static_cast<long double>(random() % static_cast<unsigned>(generated.Width));
    scale.CenterY = static_cast<long double>(random() % static_cast<unsigned>(generated.Height));
    scale.Changed();
    const TVisibleArea area(bitmap, scale);
    bitmap.Fill(0xFFFFFF);
    bitmap.Canvas().Pen.Color = bitmap.Canvas().Brush.Color = 0;
    for (const TLayer* layer : {map.Layers.front().get(), map.Layers.back().get()}) {
      for (const auto& command : layer->Image->Vector->Commands) {
        if (area.MayReach(*command, scale)) continue;
        ++leftOut;
        TScale work;
        work.Assign(scale);
        command->Draw(bitmap, TRect{0, 0, 300, 200}, 1, work);
      }
    }
    for (int y = 0; y < 200; ++y)
      for (int x = 0; x < 300; ++x) ASSERT_EQ(bitmap.Pixel(x, y), 0xFFFFFF) << "zoom " << double(zoom);
  }
  EXPECT_GT(leftOut, 1000);
}

}  // namespace
}  // namespace varnik
