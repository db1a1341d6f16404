// The vehicle file: the examples read, the default is the formula example, the
// tables interpolate, and every kind of bad field is refused by its name.
#include "drive/vehicle.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

namespace meridal {
namespace {

const std::string kExamples = std::string(MERIDAL_EXAMPLES_DIR) + "/vehicles/";

// The formula example with one field's value replaced by a JSON text, or
// removed when the text is empty.
std::string Formula(const std::string& field, const std::string& value) {
  nlohmann::json j = nlohmann::json::parse(R"({"name": "Formula", "mass_kg": 1200, "v_max_mps": 70,
    "drag_coefficient": 0.75, "line_width_m": 3.4, "max_curvature_per_m": 0.12, "envelope_exponent": 1.0,
    "ggv": [[0, 12.0, 12.0], [40, 12.0, 12.0], [72, 12.0, 12.0]],
    "machine_ax": [[0, 5.3], [40, 5.1], [72, 1.5]], "surface_grip": {"1": 1.0, "2": 0.6}})");
  if (value.empty())
    j.erase(field);
  else
    j[field] = nlohmann::json::parse(value);
  return j.dump();
}

TEST(Vehicle, TheExamplesReadAndTheDefaultIsTheFormulaCar) {
  for (const char* name : {"formula.json", "gt.json", "road.json"}) {
    const TVehicleRead read = ReadVehicleFile(kExamples + name);
    EXPECT_TRUE(read.ok) << name << ": " << read.error;
  }
  EXPECT_EQ(ReadVehicleFile(kExamples + "formula.json").vehicle, DefaultVehicle());
  const TVehicleRead plain = ReadVehicle(Formula("x", ""));
  ASSERT_TRUE(plain.ok) << plain.error;
  EXPECT_EQ(plain.vehicle.mass, 1200);
  EXPECT_EQ(plain.vehicle.ggv.size(), 3u);
}

TEST(Vehicle, TablesInterpolateAndSurfacesGripByCode) {
  const TVehicle& v = DefaultVehicle();
  EXPECT_DOUBLE_EQ(v.MachineAx(20), 5.2);
  EXPECT_DOUBLE_EQ(v.MachineAx(56), 3.3);
  EXPECT_DOUBLE_EQ(v.MachineAx(-1), 5.3);  // held at the end rows
  EXPECT_DOUBLE_EQ(v.MachineAx(100), 1.5);
  EXPECT_DOUBLE_EQ(v.DragAx(40), 0.75 * 1600 / 1200);
  EXPECT_EQ(v.Grip(2), 0.6);
  EXPECT_EQ(v.Grip(2048 + 4), 0.5);  // a marked code grips as the plain one
  EXPECT_EQ(v.Grip(10), 1.0);        // not listed
}

TEST(Vehicle, RefusesEachBadFieldByItsName) {
  const struct {
    std::string field, value, error;
  } cases[] = {
      {"mass_kg", "", R"("mass_kg" is missing)"},
      {"name", "", R"("name" is missing)"},
      {"name", "3", R"("name" must be a text)"},
      {"v_max_mps", "\"fast\"", R"("v_max_mps" must be a number)"},
      {"mass_kg", "0", R"("mass_kg" must be positive)"},
      {"drag_coefficient", "-0.1", R"("drag_coefficient" must not be negative)"},
      {"envelope_exponent", "-1", R"("envelope_exponent" must be positive)"},
      {"ggv", "[[0, 12, 12]]", R"("ggv" must have at least two rows)"},
      {"ggv", "[[0, 12, 12], [40, 12, 12], [30, 12, 12]]", R"("ggv" is not sorted by speed (row 3))"},
      {"ggv", "[[0, 12, 12], [40, 12]]", R"("ggv" row 2 must be [speed, longitudinal, lateral])"},
      {"ggv", "[[0, 12, 12], [40, 12, -3]]", R"("ggv" row 2: the acceleration must be positive)"},
      {"ggv", "{}", R"("ggv" must be a list of rows [speed, longitudinal, lateral])"},
      {"machine_ax", "[[0, 5], [0, 4]]", R"("machine_ax" is not sorted by speed (row 2))"},
      {"machine_ax", "[[-1, 5], [10, 4]]", R"("machine_ax" row 1: the speed must not be negative)"},
      {"surface_grip", R"({"tarmac": 1})", R"("surface_grip" "tarmac" is not a surface code)"},
      {"surface_grip", R"({"4": -0.5})", R"("surface_grip" "4" must be positive)"},
  };
  for (const auto& c : cases) {
    const TVehicleRead read = ReadVehicle(Formula(c.field, c.value));
    EXPECT_FALSE(read.ok) << c.field << " = " << c.value;
    EXPECT_EQ(read.error, c.error) << c.field << " = " << c.value;
  }
  EXPECT_EQ(ReadVehicle("{\"name\": ").error, "not a JSON text");
  EXPECT_EQ(ReadVehicle("[1, 2]").error, "a vehicle is a JSON object of named values");
  // A machine that gives nothing at some speed is a machine; surface_grip may be left out.
  EXPECT_TRUE(ReadVehicle(Formula("machine_ax", "[[0, 5], [80, 0]]")).ok);
  EXPECT_TRUE(ReadVehicle(Formula("surface_grip", "")).ok);

  std::filesystem::create_directories(MERIDAL_TEST_TMPDIR);
  const std::string path = std::string(MERIDAL_TEST_TMPDIR) + "/bad-vehicle.json";
  std::ofstream(path) << Formula("ggv", "[[0, 12, 12]]");
  EXPECT_EQ(ReadVehicleFile(path).error, path + R"(: "ggv" must have at least two rows)");
  EXPECT_EQ(ReadVehicleFile(path + ".none").error, path + ".none: No such file or directory");
}

}  // namespace
}  // namespace meridal
