#pragma once
// A circuit's centreline as a builder brings it: points along the middle of the
// road, in order, the loop closed implicitly, with the road's widths to the right
// and the left and perhaps heights. Read from a CSV (x, y and the widths in
// metres, the layout of the common racetrack databases, or plain x, y), a GPX
// track (trk/trkseg/trkpt) or a GeoJSON LineString; latitudes and longitudes are
// projected to metres about the first point.
//
//   TCentrelineRead read = ReadCentrelineFile("monza.csv", 12.0);
//   if (!read.ok) { std::cerr << read.error << '\n'; return 1; }
//   for (const std::string& w : read.warnings) std::cerr << w << '\n';
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace meridal {

struct TCentreline {
  // Plan metres, x to the east and y to the north.
  std::vector<double> x, y;
  // Metres from the centreline to the right and to the left of the direction of
  // travel, one of each a point.
  std::vector<double> right, left;
  // Metres, one a point, or none.
  std::vector<double> height;
  bool geographic = false;  // projected from latitude and longitude
  // The projection's origin (the first point), degrees, when geographic.
  double originLatitude = 0, originLongitude = 0;

  size_t Size() const { return x.size(); }
  bool HasHeights() const { return !height.empty(); }
};

struct TCentrelineRead {
  bool ok = false;
  std::string error;                  // "line 12: 'abc' is not a number"
  std::vector<std::string> warnings;  // "line 40: repeated point dropped"
  TCentreline line;
};

enum class CentrelineFormat { Csv, Gpx, GeoJson };

// The most points a centreline may have, and the fewest.
constexpr size_t kMaxCentrelinePoints = 100000;
constexpr size_t kMinCentrelinePoints = 8;
// The heights a point may have, metres: from the shores of the lowest sea to
// above the highest mountain.
constexpr double kLowestHeight = -500.0;
constexpr double kHighestHeight = 9000.0;
// A turn sharper than this between neighbouring points doubles back on itself.
constexpr double kDoublingBackDegrees = 170.0;
// The widest a side of the road may be, metres.
constexpr double kMaxCentrelineWidth = 1000.0;
// The lap is open when its last point is further from its first than this many
// times the usual distance between neighbours (and more than kOpenGap metres).
constexpr double kOpenGapRatio = 10.0;
constexpr double kOpenGap = 25.0;

// The format a path's extension names (.csv, .txt; .gpx; .geojson, .json).
std::optional<CentrelineFormat> CentrelineFormatOfPath(std::string_view path);
// The format the text looks like: XML a GPX track, '{' or '[' GeoJSON, else CSV.
CentrelineFormat SniffCentrelineFormat(std::string_view text);

// Reads and checks a centreline. `width` is the whole road's width for inputs
// that carry none (split evenly on both sides).
TCentrelineRead ReadCentreline(std::string_view text, CentrelineFormat format, double width);
// The file at `path`, in the format its extension names or its contents show.
TCentrelineRead ReadCentrelineFile(const std::string& path, double width);

}  // namespace meridal
