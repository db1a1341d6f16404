// Reading a centreline: the format's parser, the projection to metres, and the
// checks every format shares.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>

#include "solve/centreline.h"
#include "solve/centreline_parse.h"
#include "solve/geo_projection.h"

namespace meridal {

std::string centreline::HeightRangeText() {
  return "(" + std::to_string(int(kLowestHeight)) + " m to " + std::to_string(int(kHighestHeight)) + " m)";
}

namespace {

using centreline::TRawLine;
using centreline::TRawPoint;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool Same(const TRawPoint& p, const TRawPoint& q) { return p.a == q.a && p.b == q.b; }

// The points in metres, repeated ones dropped (a lap that ends on its first point
// without a word).
void Collect(const TRawLine& raw, TCentrelineRead& read, std::vector<int>& where) {
  TCentreline& line = read.line;
  line.geographic = raw.geographic;
  std::vector<TRawPoint> points;
  // One word for them all, where the first was: a logger's file may repeat
  // thousands.
  size_t dropped = 0;
  int firstDropped = 0;
  const auto drop = [&](int where) {
    if (dropped++ == 0) firstDropped = where;
  };
  for (const TRawPoint& p : raw.points) {
    if (!points.empty() && Same(points.back(), p)) {
      drop(p.where);
      continue;
    }
    points.push_back(p);
  }
  while (points.size() > 1 && Same(points.front(), points.back())) {
    if (!raw.geographic) drop(points.back().where);
    points.pop_back();
  }
  if (dropped > 0)
    read.warnings.push_back(raw.Where(firstDropped) + ": repeated point dropped" +
                            (dropped > 1 ? ", and " + std::to_string(dropped - 1) + " more after it" : ""));
  bool heights = !points.empty();
  for (const TRawPoint& p : points) heights = heights && p.hasHeight;
  bool someHeights = false;
  for (const TRawPoint& p : points) someHeights = someHeights || p.hasHeight;
  if (someHeights && !heights) read.warnings.push_back("heights ignored: not every point has one");
  std::optional<TLocalProjection> projection;
  if (raw.geographic && !points.empty()) {
    projection.emplace(points[0].b, points[0].a);
    line.originLatitude = points[0].b;
    line.originLongitude = points[0].a;
  }
  for (const TRawPoint& p : points) {
    double x = p.a, y = p.b;
    if (projection) projection->Forward(p.b, p.a, x, y);
    line.x.push_back(x);
    line.y.push_back(y);
    line.right.push_back(p.right);
    line.left.push_back(p.left);
    if (heights) line.height.push_back(p.height);
    where.push_back(p.where);
  }
}

// A turn of nearly a half circle between neighbouring points: the line doubles
// back on itself.
int DoublingBack(const TCentreline& line) {
  const size_t n = line.Size();
  const double limit = std::cos(kDoublingBackDegrees * std::numbers::pi / 180.0);
  for (size_t i = 0; i < n; ++i) {
    const size_t a = (i + n - 1) % n, c = (i + 1) % n;
    const double ux = line.x[i] - line.x[a], uy = line.y[i] - line.y[a];
    const double vx = line.x[c] - line.x[i], vy = line.y[c] - line.y[i];
    const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    if (lu == 0 || lv == 0) return int(i);  // points that meet once projected
    if ((ux * vx + uy * vy) / (lu * lv) < limit) return int(i);
  }
  return -1;
}

// How far the last point lies from the first, when that is so much more than
// the usual step between neighbours that the points do not close a lap; else 0.
double OpenGap(const TCentreline& line, double& usual) {
  const size_t n = line.Size();
  std::vector<double> steps;
  for (size_t i = 0; i + 1 < n; ++i) steps.push_back(std::hypot(line.x[i + 1] - line.x[i], line.y[i + 1] - line.y[i]));
  std::nth_element(steps.begin(), steps.begin() + long(steps.size() / 2), steps.end());
  usual = steps[steps.size() / 2];
  const double gap = std::hypot(line.x[0] - line.x[n - 1], line.y[0] - line.y[n - 1]);
  return gap > kOpenGap && gap > kOpenGapRatio * usual ? gap : 0.0;
}

}  // namespace

std::optional<CentrelineFormat> CentrelineFormatOfPath(std::string_view path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  const std::string extension = Lower(path.substr(dot + 1));
  if (extension == "csv" || extension == "txt") return CentrelineFormat::Csv;
  if (extension == "gpx") return CentrelineFormat::Gpx;
  if (extension == "geojson" || extension == "json") return CentrelineFormat::GeoJson;
  return std::nullopt;
}

CentrelineFormat SniffCentrelineFormat(std::string_view text) {
  size_t i = 0;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") i = 3;  // a byte order mark
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  if (i < text.size() && text[i] == '<') return CentrelineFormat::Gpx;
  if (i < text.size() && (text[i] == '{' || text[i] == '[')) return CentrelineFormat::GeoJson;
  return CentrelineFormat::Csv;
}

TCentrelineRead ReadCentreline(std::string_view text, CentrelineFormat format, double width) {
  TCentrelineRead read;
  TRawLine raw;
  bool parsed = false;
  switch (format) {
    case CentrelineFormat::Csv: parsed = centreline::ParseCsv(text, width, raw); break;
    case CentrelineFormat::Gpx: parsed = centreline::ParseGpx(text, raw); break;
    case CentrelineFormat::GeoJson: parsed = centreline::ParseGeoJson(text, raw); break;
  }
  if (!parsed) {
    read.error = raw.error;
    return read;
  }
  if (format != CentrelineFormat::Csv) {
    for (TRawPoint& p : raw.points) p.right = p.left = width / 2;
  }
  for (const TRawPoint& p : raw.points) {
    if (p.right > kMaxCentrelineWidth || p.left > kMaxCentrelineWidth) {
      char text[128];
      std::snprintf(text, sizeof text, ": a width of %g m is more than the %g m a side may have",
                    std::max(p.right, p.left), kMaxCentrelineWidth);
      read.error = raw.Where(p.where) + text;
      return read;
    }
  }
  std::vector<int> where;
  Collect(raw, read, where);
  const size_t n = read.line.Size();
  if (n < kMinCentrelinePoints) {
    read.error = std::to_string(n) + (n == 1 ? " point" : " points") + ": a centreline needs at least " +
                 std::to_string(kMinCentrelinePoints);
    read.warnings.clear();
    return read;
  }
  double usual = 0;
  if (const double gap = OpenGap(read.line, usual); gap > 0) {
    char text[192];
    std::snprintf(text, sizeof text,
                  ": the points do not form a loop: this last point is %.1f m from the first, where neighbours are "
                  "about %.1f m apart",
                  gap, usual);
    read.error = raw.Where(where.back()) + text;
    return read;
  }
  if (const int i = DoublingBack(read.line); i >= 0) {
    read.error = raw.Where(where[size_t(i)]) + ": the line doubles back on itself";
    return read;
  }
  read.ok = true;
  return read;
}

TCentrelineRead ReadCentrelineFile(const std::string& path, double width) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    TCentrelineRead read;
    read.error = "the file cannot be read";
    return read;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::optional<CentrelineFormat> format = CentrelineFormatOfPath(path);
  return ReadCentreline(text, format.value_or(SniffCentrelineFormat(text)), width);
}

}  // namespace meridal
