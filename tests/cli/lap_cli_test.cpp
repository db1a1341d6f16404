// meridal-cli lap: the printout, the race-line CSV, the batch form and the refusals.
#include <regex>

#include "cli_fixture.h"

namespace meridal::cli_test {
namespace {

const std::string kCircuit = std::string(MERIDAL_EXAMPLES_DIR) + "/circuit.mrd";

TEST_F(Cli, LapPrintsTheTimesAndWritesTheLineAsCsv) {
  const std::string csv = (dir_ / "line.csv").string();
  const std::string out = Ok({"lap", kCircuit, "--line", "centre", "--csv", csv});
  const std::regex layout(
      "Formula, centre line\n"
      "lap time: [0-9.]+ s\n"
      "thirds: [0-9.]+ s, [0-9.]+ s, [0-9.]+ s\n"
      "top speed: [0-9.]+ m/s \\([0-9.]+ km/h\\)\n"
      "lowest speed: [0-9.]+ m/s \\([0-9.]+ km/h\\)\n"
      "line length: [0-9.]+ m\n"
      "greatest curvature: [0-9.]+ rad/m\n"
      "solved in: [0-9.]+ s\n");
  EXPECT_TRUE(std::regex_match(out, layout)) << out;

  std::istringstream rows(Bytes(csv));
  std::string header, row;
  std::getline(rows, header);
  EXPECT_EQ(header, "# s_m; x_m; y_m; psi_rad; kappa_radpm; vx_mps; ax_mps2");
  const std::regex number("-?[0-9]+\\.[0-9]+");
  int count = 0;
  double last = -1;
  while (std::getline(rows, row)) {
    ++count;
    std::smatch m;
    ASSERT_TRUE(std::regex_match(row, m, std::regex("(-?[0-9.]+); (-?[0-9.]+; ){5}-?[0-9.]+"))) << row;
    const double s = std::stod(m[1]);
    EXPECT_GT(s, last);  // one row a step, along the line
    last = s;
  }
  // Steps of at most 2 m along a line as long as the printout says.
  const double length = std::stod(std::regex_replace(out, std::regex("(?:.|\n)*line length: ([0-9.]+) m(?:.|\n)*"), "$1"));
  EXPECT_GE(count, length / 2);
  EXPECT_LT(last, length);

  // The batch form, one lap after the other on the document in memory.
  const Result batch = RunCommand({"batch", kCircuit}, "lap --line centre\nlap --line min-curvature\n");
  EXPECT_EQ(batch.code, 0) << batch.err;
  EXPECT_EQ(batch.out.substr(0, out.find("solved in")), out.substr(0, out.find("solved in")));
  EXPECT_NE(batch.out.find("Formula, min-curvature line\n"), std::string::npos);
}

TEST_F(Cli, LapRefusesAnUnknownLineAndABadVehicle) {
  const Result line = RunCommand({"lap", kCircuit, "--line", "fastest"});
  EXPECT_EQ(line.code, 2);
  EXPECT_EQ(line.err,
            "meridal-cli: --line takes centre or min-curvature\n"
            "usage: meridal-cli lap FILE.mrd [--vehicle V.json] [--line centre|min-curvature] [--csv OUT.csv]\n");
  const std::string car = (dir_ / "car.json").string();
  std::ofstream(car) << R"({"name": "Broken"})";
  const Result vehicle = RunCommand({"lap", kCircuit, "--vehicle", car});
  EXPECT_EQ(vehicle.code, 1);
  EXPECT_EQ(vehicle.err, car + ": \"mass_kg\" is missing\n");
  EXPECT_EQ(vehicle.out, "");
  // The new track is one straight: driven, with the gap it jumps told.
  const Result open = RunCommand({"lap", file_, "--line", "centre"});
  EXPECT_EQ(open.code, 0);
  EXPECT_EQ(open.err, "meridal-cli: warning: 1 gap along the track, the widest 50.00 m after section 0: the line jumps it\n");
}

}  // namespace
}  // namespace meridal::cli_test
