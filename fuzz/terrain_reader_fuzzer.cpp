// Any bytes as a terrain model: written to a file of the harness's own and
// opened as the fit opens one, then a window about the model's middle read and
// heights taken from it. A refused model says why; an accepted one gives only
// finite heights, and a window of at most the bounded number of cells.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>

#include "files/terrain/terrain_model.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

const std::string& Path() {
  static const std::string path = "/tmp/meridal-terrain-fuzz-" + std::to_string(getpid()) + ".tif";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace meridal;
  {
    std::ofstream out(Path(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::string error;
  auto model = TTerrainModel::Open(Path(), error);
  if (!model) {
    Check(!error.empty());
    return 0;
  }
  // Windows of 64 cells across about a few places of the model, and the
  // heights at their middles.
  for (const double f : {0.0, 0.5, 1.0}) {
    const double column = f * model->Columns(), row = f * model->Rows();
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, x = 0, y = 0, h = 0;
    model->CellToModel(column - 32, row - 32, x0, y0);
    model->CellToModel(column + 32, row + 32, x1, y1);
    model->CellToModel(column, row, x, y);
    if (!model->ReadWindow(std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), error)) {
      Check(!error.empty());
      continue;
    }
    if (model->HeightAt(x, y, h) == TTerrainModel::Sample::Ok) Check(std::isfinite(h));
  }
  return 0;
}
