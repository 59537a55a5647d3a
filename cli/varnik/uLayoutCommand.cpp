#include "cli/varnik/uLayoutCommand.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>

#include "city/uCity.h"
#include "layout/uLayoutFigures.h"
#include "layout/uMapGeometry.h"
#include "layout/uSchematicLayout.h"
#include "map/uCitySaver.h"
#include "map/uMetroMap.h"

namespace varnik {

int LayoutMap(TCity& city, const TLayoutCommandOptions& options) {
  TMetroMap& map = *city.CurrentMap;
  const auto start = std::chrono::steady_clock::now();
  auto seconds = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  std::atomic<bool> cancel = false;
  TLayoutOptions layoutOptions;
  layoutOptions.GridStep = options.GridStep;
  layoutOptions.Cancel = &cancel;
  layoutOptions.Progress = [&](int32_t, int32_t) {
    if (options.Seconds > 0 && seconds() > options.Seconds) cancel = true;
  };
  const TLayoutResult result = ComputeLayout(map, layoutOptions);
  const double taken = seconds();
  if (result.Cancelled) {
    std::cerr << "varnik: the layout took longer than " << options.Seconds << " s; the map is left as it was\n";
    return 1;
  }

  const TMapGeometry before = CaptureGeometry(map);
  const TLayoutFigures input = MeasureLayout(map, before, result.GridStep);
  ApplyGeometry(result.Geometry, map);
  const TLayoutFigures output = MeasureLayout(map, before, result.GridStep);
  std::cout << "grid step: " << result.GridStep << " px\n" << FiguresReport(map, input, output);
  if (result.Unrouted > 0) std::cout << "connections drawn straight (no grid path): " << result.Unrouted << "\n";
  std::printf("time: %.3f s\n", taken);
  std::fflush(stdout);
  // Only the map file: the layout changes nothing of the network.
  const TTransports noTransports;
  return SaveCity(&map, noTransports, !options.MapNamed) ? 0 : 1;
}

}  // namespace varnik
