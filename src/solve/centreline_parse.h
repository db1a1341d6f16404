#pragma once
// What the three centreline readers share: the points as the file gives them,
// each with where it stands in the file, before they are projected and checked.
#include <string>
#include <string_view>
#include <vector>

namespace meridal::centreline {

struct TRawPoint {
  double a = 0, b = 0;  // x and y in metres, or longitude and latitude in degrees
  double right = 0, left = 0;
  double height = 0;
  bool hasHeight = false;
  int where = 0;  // the line, or the index in the coordinates array
};

struct TRawLine {
  std::vector<TRawPoint> points;
  bool geographic = false;
  bool widths = false;  // the file gave the widths
  // How a point's place is named: "line 12", or the array's path and the index.
  std::string arrayPath;  // empty: points are named by their line
  std::string error;      // set when the file cannot be read

  std::string Where(int where) const {
    if (arrayPath.empty()) return "line " + std::to_string(where);
    return arrayPath + "[" + std::to_string(where) + "]";
  }
  bool Fail(std::string message) {
    error = std::move(message);
    return false;
  }
};

// A number as the whole of `text` (blanks around it allowed): false for anything
// else, NaN and the infinities included.
bool ParseNumber(std::string_view text, double& value);

// "(-500 m to 9000 m)": the heights a point may have.
std::string HeightRangeText();

bool ParseCsv(std::string_view text, double width, TRawLine& line);
bool ParseGpx(std::string_view text, TRawLine& line);
bool ParseGeoJson(std::string_view text, TRawLine& line);

}  // namespace meridal::centreline
