#pragma once
// A vehicle as the lap's point mass sees it, read from a JSON file in SI units:
//
//   {"name": "Formula", "mass_kg": 1200, "v_max_mps": 70, "drag_coefficient": 0.75,
//    "line_width_m": 3.4, "max_curvature_per_m": 0.12, "envelope_exponent": 1.0,
//    "ggv": [[0, 12, 12], [72, 12, 12]],          speed, longitudinal, lateral (tyres)
//    "machine_ax": [[0, 5.3], [72, 1.5]],         speed, forward acceleration (engine)
//    "surface_grip": {"1": 1.0, "2": 0.6}}        optional: a missing code grips 1.0
//
// The drag force is drag_coefficient x v^2 newtons. Tables are interpolated
// linearly between rows and held at their end rows beyond them. A file is refused
// with the name of the first field that is missing, of the wrong kind or sign, or
// a table that is unsorted or has fewer than two rows.
//
//   TVehicleRead read = ReadVehicleFile("cars/formula.json");
//   if (!read.ok) std::cerr << read.error << '\n';   // "formula.json: "ggv" is not sorted by speed (row 3)"
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace meridal {

struct TVehicle {
  std::string name;
  double mass = 0;          // kg
  double vMax = 0;          // m/s
  double drag = 0;          // N per (m/s)^2
  double lineWidth = 0;     // m: the line keeps half of it from each edge
  double maxCurvature = 0;  // 1/m
  double exponent = 1;      // the envelope's exponent e
  struct TGgvRow {
    double v = 0, ax = 0, ay = 0;
  };
  std::vector<TGgvRow> ggv;
  struct TMachineRow {
    double v = 0, ax = 0;
  };
  std::vector<TMachineRow> machine;
  std::map<int32_t, double> surfaceGrip;

  // The tyres' greatest longitudinal and lateral accelerations at speed v.
  double AxMax(double v) const;
  double AyMax(double v) const;
  // The engine's greatest forward acceleration at speed v.
  double MachineAx(double v) const;
  // The deceleration drag gives at speed v.
  double DragAx(double v) const { return drag * v * v / mass; }
  // How a surface code scales the tyres: the vehicle's figure, or that of the
  // code without its marking (2048 and above), or 1.
  double Grip(int32_t surface) const;

  bool operator==(const TVehicle&) const;
};

// The least grip of a surface the line may use.
constexpr double kDrivableGrip = 0.8;

struct TVehicleRead {
  bool ok = false;
  std::string error;
  TVehicle vehicle;
};

TVehicleRead ReadVehicle(std::string_view text);
// The file's errors begin with its path.
TVehicleRead ReadVehicleFile(const std::string& path);

// The editor's vehicle until another is chosen: the formula car of the examples.
const TVehicle& DefaultVehicle();

}  // namespace meridal
