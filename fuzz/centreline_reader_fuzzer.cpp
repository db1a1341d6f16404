// Any bytes as a centreline in each of the three formats. A refused input says
// why and gives no points; an accepted one has between 8 and 100,000 points,
// every value finite and every width more than 0, one of each per point.
#include <cmath>
#include <string_view>

#include "fuzz_common.h"
#include "solve/centreline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace meridal;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (CentrelineFormat format : {CentrelineFormat::Csv, CentrelineFormat::Gpx, CentrelineFormat::GeoJson}) {
    const TCentrelineRead read = ReadCentreline(input, format, 12);
    if (!read.ok) {
      fuzz::Check(!read.error.empty());
      continue;
    }
    const TCentreline& line = read.line;
    const size_t n = line.Size();
    fuzz::Check(n >= kMinCentrelinePoints && n <= kMaxCentrelinePoints);
    fuzz::Check(line.y.size() == n && line.right.size() == n && line.left.size() == n);
    fuzz::Check(line.height.empty() || line.height.size() == n);
    for (size_t i = 0; i < n; ++i) {
      fuzz::Check(std::isfinite(line.x[i]) && std::isfinite(line.y[i]));
      fuzz::Check(line.right[i] > 0 && line.left[i] > 0);
      if (!line.height.empty()) fuzz::Check(std::isfinite(line.height[i]));
    }
  }
  return 0;
}
