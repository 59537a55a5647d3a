#pragma once
// A generated city for measuring how the programs grow with the size of a
// network: one metro transport of lines with a hundred stops each, bending
// at 45 degrees on a lattice, every third line with a branch, transfers
// where two lines come to the same lattice point, a label on most stations,
// shaped segments (some as splines) and a vector background picture that
// gives the map its extent. The same size always gives the same files, and
// the city loads without a diagnostic.

#include <cstdint>
#include <filesystem>

namespace varnik {

struct TGeneratedCity {
  int32_t Width = 0;  // the map's extent (the background picture's size)
  int32_t Height = 0;
  int Lines = 0;
  int Stops = 0;
  int Transfers = 0;
};

// Writes the city of about `stops` stops (rounded up to whole lines of a
// hundred) into `dir`, which is created when missing: Generated.cty,
// Metro.trp, Metro.map and Generated.vec, replacing files of those names.
TGeneratedCity WriteGeneratedCity(const std::filesystem::path& dir, int stops);

}  // namespace varnik
