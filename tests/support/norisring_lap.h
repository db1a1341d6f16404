#pragma once
// A real circuit's shape for tests of fitted heights: Norisring's centreline
// (tests/data/centrelines, a point every 5 m), and the same lap as GPX about a
// point in Bavaria, its metres turned into degrees at 111216 m a degree of
// latitude and 72583.5 m one of longitude.
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace meridal::testing {

constexpr double kLapLatitude = 49.43, kLapLongitude = 11.12;
constexpr double kMetresNorth = 111216.0, kMetresEast = 72583.5;

inline std::vector<std::pair<double, double>> NorisringPoints(int perStep = 1) {
  std::ifstream in(std::string(MERIDAL_TEST_DATA) + "/centrelines/Norisring.csv");
  std::string row;
  std::vector<std::pair<double, double>> given, points;
  while (std::getline(in, row)) {
    if (row.empty() || row[0] == '#') continue;
    double x = 0, y = 0;
    char comma = 0;
    std::istringstream(row) >> x >> comma >> y;
    given.emplace_back(x, y);
  }
  for (size_t i = 0; i < given.size(); ++i) {
    const auto& [x, y] = given[i];
    const auto& [nx, ny] = given[(i + 1) % given.size()];
    for (int k = 0; k < perStep; ++k) points.emplace_back(x + (nx - x) * k / perStep, y + (ny - y) * k / perStep);
  }
  return points;
}

inline double LapLatitude(double y) { return kLapLatitude + y / kMetresNorth; }
inline double LapLongitude(double x) { return kLapLongitude + x / kMetresEast; }

// The lap as GPX, each point with the ele `ele` gives it (none without).
inline std::string LapGpx(const std::vector<std::pair<double, double>>& points,
                          const std::function<double(double, double)>& ele = nullptr) {
  std::ostringstream g;
  g.precision(12);
  g << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\"><trk><trkseg>\n";
  for (const auto& [x, y] : points) {
    g << "<trkpt lat=\"" << LapLatitude(y) << "\" lon=\"" << LapLongitude(x) << "\">";
    if (ele) g << "<ele>" << ele(x, y) << "</ele>";
    g << "</trkpt>\n";
  }
  g << "</trkseg></trk></gpx>\n";
  return g.str();
}

}  // namespace meridal::testing
