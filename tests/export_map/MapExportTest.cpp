// The vector export of maps: the demo city's maps and the maps that use
// every drawing rule of a map (lines, splines, dashed links of stations
// without driving times, legends, transfers, labels, background pictures)
// render back from the SVG where `varnik render` puts them.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ExportCompare.h"
#include "TestFiles.h"
#include "city/uCity.h"
#include "export/uVectorExport.h"
#include "map/uMetroMap.h"
#include "map/uSettings.h"
#include "platform/uBitmap.h"
#include "platform/uCanvas.h"
#include "platform/uMessages.h"
#include "vector/uScale.h"

namespace varnik::test {
namespace {

// As for single shapes (see ExportCompare.h): the labels of maps are small
// enough for their glyphs to agree as well as lines do.
constexpr double kMapLimit = 0.05;

struct TMapCase {
  const char* Dir;   // under examples/ or tests/data/cities/
  const char* Map;
  bool Example;
};

const TMapCase kMaps[] = {
    {"Zarechensk", "Metro.map", true},
    {"Zarechensk", "Trams.map", true},
    {"Drawing", "Metro.map", false},
    {"Drawing", "Segments.map", false},
    {"Drawing", "Transfers.map", false},
    {"Drawing", "Labels.map", false},
    {"Drawing", "Night.map", false},
};

std::filesystem::path DirOf(const TMapCase& c) {
  return c.Example ? std::filesystem::path(VARNIK_EXAMPLES) / c.Dir
                   : std::filesystem::path(VARNIK_TEST_DATA) / "cities" / c.Dir;
}

class ExportMaps : public testing::TestWithParam<TMapCase> {};

TEST_P(ExportMaps, SvgRendersLikeThePng) {
  EnsureGuiApplication();
  // The label layer of a map over its own picture is shown, so that its
  // white boxes and labels are looked at too.
  TTempDir settings;
  settings.Write("Varnik.ini", "[Options]\nDrawLabels=1\n");
  LoadSettings((settings.Path() / "Varnik.ini").string());
  TRecordingSink messages;
  TScopedMessageSink scope(messages);
  TScopedCurrentDir here(DirOf(GetParam()));
  TCity city;
  city.LoadFromDir(std::string(GetParam().Map));
  ASSERT_TRUE(city.SelectMap(GetParam().Map));
  TMetroMap& map = *city.CurrentMap;
  map.UpdateLabelsVisibility();
  // A map without background pictures has an extent of 1 x 1; its lines
  // are looked at on a page that holds them all.
  const bool bare = map.Width() <= 1 && map.Height() <= 1;
  const int width = bare ? 400 : map.Width(), height = bare ? 300 : map.Height();
  const TPageDraw draw = [&](TBitmap& target) {
    TScale view;
    view.Geographic = false;
    view.Changed();
    DrawCurrentMap(city.CurrentMap, target, 4, view);
  };
  TBitmap raster(width, height);
  draw(raster);
  const QImage back = RenderSvg(DrawingToSvg({width, height, "", "map"}, draw), width, height);
  const TImageDifference d = Compare(raster.Image(), back);
  EXPECT_GT(d.Inked, 100);
  EXPECT_LT(d.Share(), kMapLimit) << d.Differing << " of " << d.Inked << " inked pixels differ";
}

INSTANTIATE_TEST_SUITE_P(Maps, ExportMaps, testing::ValuesIn(kMaps), [](const testing::TestParamInfo<TMapCase>& info) {
  std::string name = std::string(info.param.Dir) + info.param.Map;
  name.erase(name.find('.'));
  return name;
});

}  // namespace
}  // namespace varnik::test
