// The CSV centreline: one point a line, "x,y,right,left" in metres (a '#' line
// names the columns) or plain "x,y" with the widths given apart.
#include <cctype>
#include <charconv>
#include <cmath>

#include "solve/centreline.h"
#include "solve/centreline_parse.h"

namespace meridal::centreline {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t start = 0;;) {
    const size_t comma = line.find(',', start);
    fields.push_back(Trim(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
    if (comma == std::string_view::npos) return fields;
    start = comma + 1;
  }
}

// Shown in a message: the field as it stands, cut short when long.
std::string Quoted(std::string_view field) {
  std::string text(field.substr(0, 40));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20) c = '?';
  return "'" + text + (field.size() > 40 ? "...'" : "'");
}

}  // namespace

bool ParseNumber(std::string_view text, double& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

bool ParseCsv(std::string_view text, double width, TRawLine& line) {
  size_t columns = 0;
  int firstData = 0;
  int number = 0;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view raw = Trim(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (raw.empty() || raw.front() == '#') continue;
    const std::vector<std::string_view> fields = Fields(raw);
    const std::string where = line.Where(number);
    // A first line of names without the '#'.
    double probe = 0;
    if (columns == 0 && !ParseNumber(fields[0], probe) && !ParseNumber(fields.back(), probe)) {
      bool names = true;
      for (std::string_view f : fields) names = names && !f.empty() && !ParseNumber(f, probe);
      if (names && line.points.empty()) continue;
    }
    if (fields.size() != 2 && fields.size() != 4)
      return line.Fail(where + ": " + std::to_string(fields.size()) +
                       " fields; a point has x,y or x,y,right width,left width");
    if (columns == 0) {
      columns = fields.size();
      firstData = number;
    } else if (fields.size() != columns) {
      return line.Fail(where + ": " + std::to_string(fields.size()) + " fields where line " +
                       std::to_string(firstData) + " has " + std::to_string(columns));
    }
    double v[4] = {0, 0, width / 2, width / 2};
    for (size_t i = 0; i < fields.size(); ++i) {
      if (!ParseNumber(fields[i], v[i]))
        return line.Fail(where + ": " + (fields[i].empty() ? std::string("an empty field") : Quoted(fields[i])) +
                         " is not a number");
    }
    if (columns == 4 && (v[2] <= 0 || v[3] <= 0))
      return line.Fail(where + ": the widths must be more than 0 m");
    if (line.points.size() >= kMaxCentrelinePoints)
      return line.Fail(where + ": more than " + std::to_string(kMaxCentrelinePoints) + " points");
    TRawPoint p;
    p.a = v[0];
    p.b = v[1];
    p.right = v[2];
    p.left = v[3];
    p.where = number;
    line.points.push_back(p);
  }
  line.widths = columns == 4;
  return true;
}

}  // namespace meridal::centreline
