#include "drive/vehicle.h"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>

#include "files/safety/input_file.h"

namespace meridal {

namespace {

using nlohmann::json;

// A vehicle file is a few hundred bytes; anything near this is not one.
constexpr uint64_t kMostVehicleBytes = 1 << 20;

// Linear between rows, the end rows' values beyond them.
template <typename Row, typename Value>
double Interpolate(const std::vector<Row>& rows, double v, Value value) {
  if (rows.empty()) return 0;
  if (v <= rows.front().v) return value(rows.front());
  if (v >= rows.back().v) return value(rows.back());
  size_t i = 1;
  while (rows[i].v < v) ++i;
  const Row &a = rows[i - 1], &b = rows[i];
  return value(a) + (value(b) - value(a)) * (v - a.v) / (b.v - a.v);
}

std::string Quoted(std::string_view name) { return "\"" + std::string(name) + "\""; }

enum class Sign { Positive, NotNegative };

// Reads the fields one by one; the first refusal stops it.
class TVehicleParser {
 public:
  explicit TVehicleParser(const json& root) : root_(root) {}

  bool Parse(TVehicle& v) {
    return Name(v.name) && Number("mass_kg", Sign::Positive, v.mass) && Number("v_max_mps", Sign::Positive, v.vMax) &&
           Number("drag_coefficient", Sign::NotNegative, v.drag) &&
           Number("line_width_m", Sign::NotNegative, v.lineWidth) &&
           Number("max_curvature_per_m", Sign::Positive, v.maxCurvature) &&
           Number("envelope_exponent", Sign::Positive, v.exponent) && Ggv(v.ggv) && Machine(v.machine) &&
           Grips(v.surfaceGrip);
  }
  const std::string& Error() const { return error_; }

 private:
  bool Refuse(std::string why) {
    error_ = std::move(why);
    return false;
  }
  const json* Field(const char* name) {
    const auto it = root_.find(name);
    if (it == root_.end()) {
      Refuse(Quoted(name) + " is missing");
      return nullptr;
    }
    return &*it;
  }
  bool Name(std::string& out) {
    const json* f = Field("name");
    if (!f) return false;
    if (!f->is_string()) return Refuse("\"name\" must be a text");
    out = f->get<std::string>();
    return true;
  }
  bool Value(const json& j, const std::string& what, Sign sign, double& out) {
    if (!j.is_number()) return Refuse(what + " must be a number");
    out = j.get<double>();
    if (!std::isfinite(out)) return Refuse(what + " must be a number");
    if (sign == Sign::Positive && !(out > 0)) return Refuse(what + " must be positive");
    if (sign == Sign::NotNegative && out < 0) return Refuse(what + " must not be negative");
    return true;
  }
  bool Number(const char* name, Sign sign, double& out) {
    const json* f = Field(name);
    return f && Value(*f, Quoted(name), sign, out);
  }
  // A table of rows [speed, value...], at least two, sorted by rising speed.
  bool Table(const char* name, size_t width, const char* layout, std::vector<std::vector<double>>& rows) {
    const json* f = Field(name);
    if (!f) return false;
    const std::string table = Quoted(name);
    if (!f->is_array()) return Refuse(table + " must be a list of rows " + layout);
    if (f->size() < 2) return Refuse(table + " must have at least two rows");
    for (size_t r = 0; r < f->size(); ++r) {
      const json& row = (*f)[r];
      const std::string where = table + " row " + std::to_string(r + 1);
      if (!row.is_array() || row.size() != width) return Refuse(where + " must be " + layout);
      std::vector<double> values(width);
      if (!Value(row[0], where + ": the speed", Sign::NotNegative, values[0])) return false;
      for (size_t c = 1; c < width; ++c)
        if (!Value(row[c], where + ": the acceleration", c + 1 == width && width == 2 ? Sign::NotNegative : Sign::Positive,
                   values[c]))
          return false;
      if (!rows.empty() && !(values[0] > rows.back()[0]))
        return Refuse(table + " is not sorted by speed (row " + std::to_string(r + 1) + ")");
      rows.push_back(std::move(values));
    }
    return true;
  }
  bool Ggv(std::vector<TVehicle::TGgvRow>& out) {
    std::vector<std::vector<double>> rows;
    if (!Table("ggv", 3, "[speed, longitudinal, lateral]", rows)) return false;
    for (const auto& r : rows) out.push_back({r[0], r[1], r[2]});
    return true;
  }
  bool Machine(std::vector<TVehicle::TMachineRow>& out) {
    std::vector<std::vector<double>> rows;
    if (!Table("machine_ax", 2, "[speed, acceleration]", rows)) return false;
    for (const auto& r : rows) out.push_back({r[0], r[1]});
    return true;
  }
  bool Grips(std::map<int32_t, double>& out) {
    const auto it = root_.find("surface_grip");
    if (it == root_.end()) return true;  // every surface grips fully
    if (!it->is_object()) return Refuse("\"surface_grip\" must be an object of surface codes");
    for (const auto& [key, value] : it->items()) {
      const std::string where = "\"surface_grip\" " + Quoted(key);
      size_t used = 0;
      long code = 0;
      try {
        code = std::stol(key, &used);
      } catch (const std::exception&) {
        used = 0;
      }
      if (used == 0 || used != key.size() || code < std::numeric_limits<int32_t>::min() ||
          code > std::numeric_limits<int32_t>::max())
        return Refuse(where + " is not a surface code");
      double grip = 0;
      if (!Value(value, where, Sign::Positive, grip)) return false;
      out[static_cast<int32_t>(code)] = grip;
    }
    return true;
  }

  const json& root_;
  std::string error_;
};

}  // namespace

double TVehicle::AxMax(double v) const {
  return Interpolate(ggv, v, [](const TGgvRow& r) { return r.ax; });
}
double TVehicle::AyMax(double v) const {
  return Interpolate(ggv, v, [](const TGgvRow& r) { return r.ay; });
}
double TVehicle::MachineAx(double v) const {
  return Interpolate(machine, v, [](const TMachineRow& r) { return r.ax; });
}

double TVehicle::Grip(int32_t surface) const {
  auto it = surfaceGrip.find(surface);
  if (it == surfaceGrip.end() && surface >= 2048) it = surfaceGrip.find(surface - 2048);
  return it == surfaceGrip.end() ? 1.0 : it->second;
}

bool TVehicle::operator==(const TVehicle& o) const {
  if (ggv.size() != o.ggv.size() || machine.size() != o.machine.size()) return false;
  for (size_t i = 0; i < ggv.size(); ++i)
    if (ggv[i].v != o.ggv[i].v || ggv[i].ax != o.ggv[i].ax || ggv[i].ay != o.ggv[i].ay) return false;
  for (size_t i = 0; i < machine.size(); ++i)
    if (machine[i].v != o.machine[i].v || machine[i].ax != o.machine[i].ax) return false;
  return name == o.name && mass == o.mass && vMax == o.vMax && drag == o.drag && lineWidth == o.lineWidth &&
         maxCurvature == o.maxCurvature && exponent == o.exponent && surfaceGrip == o.surfaceGrip;
}

TVehicleRead ReadVehicle(std::string_view text) {
  TVehicleRead read;
  const json root = json::parse(text.begin(), text.end(), nullptr, false);
  if (root.is_discarded()) {
    read.error = "not a JSON text";
    return read;
  }
  if (!root.is_object()) {
    read.error = "a vehicle is a JSON object of named values";
    return read;
  }
  TVehicleParser parser(root);
  read.ok = parser.Parse(read.vehicle);
  if (!read.ok) {
    read.error = parser.Error();
    read.vehicle = TVehicle{};
  }
  return read;
}

TVehicleRead ReadVehicleFile(const std::string& path) {
  TVehicleRead read;
  InputFile file(path, kMostVehicleBytes);
  std::vector<uint8_t> bytes;
  if (!file.Usable() || !file.ReadRest({}, bytes)) {
    read.error = file.Reason().empty() ? path + ": cannot be read" : file.Reason();
    return read;
  }
  read = ReadVehicle(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!read.ok) read.error = path + ": " + read.error;
  return read;
}

const TVehicle& DefaultVehicle() {
  // The formula car of examples/vehicles/formula.json (a test keeps them equal).
  static const TVehicle formula = [] {
    TVehicle v;
    v.name = "Formula";
    v.mass = 1200;
    v.vMax = 70;
    v.drag = 0.75;
    v.lineWidth = 3.4;
    v.maxCurvature = 0.12;
    v.exponent = 1.0;
    v.ggv = {{0, 12.0, 12.0}, {40, 12.0, 12.0}, {72, 12.0, 12.0}};
    v.machine = {{0, 5.3}, {40, 5.1}, {72, 1.5}};
    v.surfaceGrip = {{1, 1.0}, {2, 0.6}, {3, 0.9}, {4, 0.5}, {5, 0.55}, {6, 0.4}, {7, 1.0}};
    return v;
  }();
  return formula;
}

}  // namespace meridal
