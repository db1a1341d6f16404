// The GeoJSON centreline: a LineString, or a Feature or FeatureCollection that
// holds one; each position is longitude, latitude and an optional height.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

#include "solve/centreline.h"
#include "solve/centreline_parse.h"

namespace meridal::centreline {

namespace {

using nlohmann::json;

int LineOfByte(std::string_view text, size_t byte) {
  int line = 1;
  for (size_t i = 0; i < byte && i < text.size(); ++i) line += text[i] == '\n';
  return line;
}

bool IsType(const json& object, const char* type) {
  if (!object.is_object()) return false;
  const auto it = object.find("type");
  return it != object.end() && it->is_string() && it->get_ref<const std::string&>() == type;
}

// The LineString's object and its path, or nullptr after setting the error.
const json* FindLineString(const json& root, std::string& path, TRawLine& line) {
  if (IsType(root, "LineString")) return &root;
  if (IsType(root, "Feature")) {
    const auto it = root.find("geometry");
    if (it != root.end() && IsType(*it, "LineString")) {
      path = "geometry";
      return &*it;
    }
    line.Fail("geometry: not a LineString");
    return nullptr;
  }
  if (IsType(root, "FeatureCollection")) {
    const auto features = root.find("features");
    if (features == root.end() || !features->is_array()) {
      line.Fail("features: not an array");
      return nullptr;
    }
    const json* found = nullptr;
    for (size_t i = 0; i < features->size(); ++i) {
      const json& feature = (*features)[i];
      if (!IsType(feature, "Feature")) continue;
      const auto geometry = feature.find("geometry");
      if (geometry == feature.end() || !IsType(*geometry, "LineString")) continue;
      const std::string here = "features[" + std::to_string(i) + "].geometry";
      if (found) {
        line.Fail(here + ": a second LineString; the file must hold one");
        return nullptr;
      }
      found = &*geometry;
      path = here;
    }
    if (!found) line.Fail("features: no Feature with a LineString");
    return found;
  }
  line.Fail("the top level is not a LineString, Feature or FeatureCollection");
  return nullptr;
}

// How deep arrays and objects nest, strings skipped: a centreline needs five levels,
// and a file nested thousands deep is refused before the parser recurses into it.
size_t NestingDepth(std::string_view text) {
  size_t depth = 0, deepest = 0;
  bool inString = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

}  // namespace

bool ParseGeoJson(std::string_view text, TRawLine& line) {
  line.geographic = true;
  if (NestingDepth(text) > 64) return line.Fail("line 1: arrays and objects nested more than 64 deep");
  json root;
  try {
    root = json::parse(text.begin(), text.end());
  } catch (const json::parse_error& e) {
    return line.Fail("line " + std::to_string(LineOfByte(text, e.byte ? e.byte - 1 : 0)) + ": not valid JSON");
  } catch (const json::out_of_range& e) {
    // A number beyond a double's range; the library names it between quotes.
    const std::string what = e.what();
    const size_t open = what.find('\''), close = what.rfind('\'');
    const size_t at = open < close ? text.find(what.substr(open + 1, close - open - 1)) : 0;
    return line.Fail("line " + std::to_string(LineOfByte(text, at)) + ": a number too large to hold");
  }
  std::string path;
  const json* geometry = FindLineString(root, path, line);
  if (!geometry) return false;
  path += path.empty() ? "coordinates" : ".coordinates";
  const auto coordinates = geometry->find("coordinates");
  if (coordinates == geometry->end() || !coordinates->is_array()) return line.Fail(path + ": not an array");
  line.arrayPath = path;
  if (coordinates->size() > kMaxCentrelinePoints)
    return line.Fail(path + ": more than " + std::to_string(kMaxCentrelinePoints) + " points");
  for (size_t i = 0; i < coordinates->size(); ++i) {
    const json& position = (*coordinates)[i];
    const std::string where = line.Where(int(i));
    if (!position.is_array() || position.size() < 2 || position.size() > 3)
      return line.Fail(where + ": a position is [longitude, latitude] or [longitude, latitude, height]");
    double v[3] = {0, 0, 0};
    for (size_t k = 0; k < position.size(); ++k) {
      if (!position[k].is_number()) return line.Fail(where + ": " + position[k].dump().substr(0, 40) + " is not a number");
      v[k] = position[k].get<double>();
      if (!std::isfinite(v[k])) return line.Fail(where + ": not a finite number");
    }
    if (v[0] < -180 || v[0] > 180) return line.Fail(where + ": longitude " + std::to_string(v[0]) + " is out of range");
    if (v[1] < -90 || v[1] > 90) return line.Fail(where + ": latitude " + std::to_string(v[1]) + " is out of range");
    if (position.size() == 3 && (v[2] < kLowestHeight || v[2] > kHighestHeight))
      return line.Fail(where + ": height " + position[2].dump().substr(0, 40) + " is out of range " + HeightRangeText());
    TRawPoint p;
    p.a = v[0];
    p.b = v[1];
    p.height = v[2];
    p.hasHeight = position.size() == 3;
    p.where = int(i);
    line.points.push_back(p);
  }
  return true;
}

}  // namespace meridal::centreline
