// Heights from a terrain model: a GeoTIFF made here (a plane sloping 2 % to the
// east with a 15 m Gaussian hill, in UTM zone 32) under a GPX lap of Norisring's
// shape and under the same lap as a CSV in metres placed by an origin. Heights
// come within 0.1 m of the model's and every section's cross-fall within 0.2 %
// of the ground's; the model's place is kept for the 3D view; a lap that leaves
// the model or crosses a hole in it is refused with its place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>

#include "files/terrain/terrain_sampler.h"
#include "mesh/section_mesh.h"
#include "model/track.h"
#include "model/units.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"
#include "solve/geo_projection.h"
#include "support/norisring_lap.h"
#include "support/terrain_models.h"

namespace meridal {
namespace {

constexpr double kUnits = kUnitsPerMeter;

// The ground in UTM metres: 2 % up to the east from 300 m, and a hill of 15 m
// with a spread of 60 m on the lap's 200th point.
struct TGround {
  double east0 = 0, hillEast = 0, hillNorth = 0;
  double Hill(double e, double n) const {
    return 15 * std::exp(-(std::pow(e - hillEast, 2) + std::pow(n - hillNorth, 2)) / (2 * 60.0 * 60.0));
  }
  double operator()(double e, double n) const { return 300 + 0.02 * (e - east0) + Hill(e, n); }
};

class Terrain : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(MERIDAL_TEST_TMPDIR) / "terrain";
    std::filesystem::create_directories(dir_);
    points_ = testing::NorisringPoints();
    for (const auto& [x, y] : points_) {
      double e = 0, n = 0;
      testing::ToUtm32(testing::LapLatitude(y), testing::LapLongitude(x), e, n);
      utm_.emplace_back(e, n);
      west_ = std::min(west_, e), east_ = std::max(east_, e), south_ = std::min(south_, n), north_ = std::max(north_, n);
    }
    ground_ = {west_, utm_[200].first, utm_[200].second};
    model_ = (dir_ / "ground.tif").string();
    ASSERT_TRUE(Model(model_));
  }
  // The ground under the lap and 100 m about it, in cells of 2 m.
  bool Model(const std::string& path, const std::function<bool(double, double)>& hole = nullptr, double cut = 0) {
    const double west = std::floor(west_ - 100), north = std::ceil(north_ + 100);
    const int columns = int((east_ + 100 - west) / 2) - int(cut / 2), rows = int((north - south_ + 100) / 2);
    return testing::WriteUtmModel(path, west, north, 2, columns, rows, ground_, hole);
  }
  // The stored height of every trace about every metre against the ground
  // under it, and each section's cross-fall at its middle against the
  // ground's there: the largest differences.
  // `offset` is what the stored heights are less than the model's.
  void Compare(const TTrack& track, const std::function<void(double, double, double&, double&)>& toUtm, double offset,
               double& heights, double& crossFall, double& planeCrossFall) const {
    heights = crossFall = planeCrossFall = 0;
    const int last = track.NumberOfTraces() - 1;
    const double width = (track.Traces[size_t(last)] - track.Traces[0]) / kUnits;
    for (int k = 0; k < track.NumberOfSections(); ++k) {
      const int steps = std::max(4, int(track.Section(k)->Altitude(1)->TraceLength() / kUnits));
      for (int j = 0; j <= last; ++j)
        for (int i = 0; i <= steps; ++i) {
          const auto p = SurfacePointAt(track, k, double(i) / steps, track.Traces[size_t(j)]);
          double e = 0, n = 0;
          toUtm(p->x / kUnits, p->y / kUnits, e, n);
          heights = std::max(heights, std::fabs(p->height / kUnits + offset - ground_(e, n)));
        }
      const auto right = SurfacePointAt(track, k, 0.5, track.Traces[0]);
      const auto left = SurfacePointAt(track, k, 0.5, track.Traces[size_t(last)]);
      double er = 0, nr = 0, el = 0, nl = 0;
      toUtm(right->x / kUnits, right->y / kUnits, er, nr);
      toUtm(left->x / kUnits, left->y / kUnits, el, nl);
      const double stored = (left->height - right->height) / kUnits / width;
      crossFall = std::max(crossFall, std::fabs(stored - (ground_(el, nl) - ground_(er, nr)) / width));
      // Away from the hill, against the plane alone.
      if (std::fabs(ground_.Hill(el, nl) - ground_.Hill(er, nr)) < 1e-4 * width)
        planeCrossFall = std::max(planeCrossFall, std::fabs(stored - 0.02 * (el - er) / width));
    }
  }

  std::filesystem::path dir_;
  std::vector<std::pair<double, double>> points_, utm_;
  double west_ = 1e300, east_ = -1e300, south_ = 1e300, north_ = -1e300;
  TGround ground_;
  std::string model_;
};

TEST_F(Terrain, AGpxLapTakesItsHeightsAndCrossFallFromTheModel) {
  // The lap's own ele is ignored, with a note: the model wins.
  const TCentrelineRead read =
      ReadCentreline(testing::LapGpx(points_, [](double, double) { return 1234.0; }), CentrelineFormat::Gpx, 12);
  ASSERT_TRUE(read.ok) << read.error;
  TFitOptions options;
  options.tolerance = 1.0;
  options.heights = HeightDatum::Absolute;
  options.terrain = model_;
  const TFitResult fit = FitCentreline(read.line, options);
  ASSERT_TRUE(fit.ok) << fit.error;
  ASSERT_EQ(fit.warnings.size(), 1u);
  EXPECT_EQ(fit.warnings[0], "heights from the terrain model; the input's own are ignored (a model's heights are "
                             "above the geoid, a GPS height above the ellipsoid)");
  const TLocalProjection projection(read.line.originLatitude, read.line.originLongitude);
  auto toUtm = [&](double x, double y, double& e, double& n) {
    double latitude = 0, longitude = 0;
    projection.Reverse(x, y, latitude, longitude);
    testing::ToUtm32(latitude, longitude, e, n);
  };
  double heights = 0, crossFall = 0, planeCrossFall = 0;
  Compare(*fit.track, toUtm, 0, heights, crossFall, planeCrossFall);
  EXPECT_LE(heights, 0.1);
  EXPECT_LE(crossFall, 0.002);
  EXPECT_LE(planeCrossFall, 0.002);
  EXPECT_LE(fit.summary.heights.rms, 0.05);
  std::printf("terrain, GPX: %d sections (%d split), heights within %.3f m of the model's, cross-fall within %.3f %% "
              "(%.3f %% of the plane's); against the samples largest %.3f m, RMS %.3f m\n",
              fit.track->NumberOfSections(), fit.summary.heights.splits, heights, crossFall * 100,
              planeCrossFall * 100, fit.summary.heights.largest, fit.summary.heights.rms);

  // The 3D view finds the same ground under the track through the kept link.
  ASSERT_TRUE(fit.terrain.has_value());
  EXPECT_EQ(fit.terrain->model, model_);
  EXPECT_TRUE(fit.terrain->origin.geographic);
  std::string error;
  auto sampler = TTerrainSampler::Open(*fit.terrain, error);
  ASSERT_TRUE(sampler) << error;
  const TSection& first = *fit.track->Section(0);
  ASSERT_TRUE(sampler->Read({{first.StartX() / kUnits, first.StartY() / kUnits}}, error)) << error;
  double h = 0;
  ASSERT_EQ(sampler->Height(first.StartX() / kUnits, first.StartY() / kUnits, h), TTerrainModel::Sample::Ok);
  EXPECT_NEAR(h, first.Altitude(1)->HeightAtStart / kUnits, 0.1);
}

TEST_F(Terrain, ACsvInMetresIsPlacedByItsOriginAndRefusalsNameThePlace) {
  // The lap in UTM metres less an origin, placed back on the model by it.
  const double e0 = std::floor(utm_[0].first), n0 = std::floor(utm_[0].second);
  std::ostringstream csv;
  csv.precision(12);
  for (const auto& [e, n] : utm_) csv << e - e0 << "," << n - n0 << "\n";
  const TCentrelineRead read = ReadCentreline(csv.str(), CentrelineFormat::Csv, 12);
  ASSERT_TRUE(read.ok) << read.error;
  TFitOptions options;
  options.tolerance = 1.0;
  options.terrain = model_;
  options.terrainOrigin = std::make_pair(e0, n0);
  const TFitResult fit = FitCentreline(read.line, options);
  ASSERT_TRUE(fit.ok) << fit.error;
  EXPECT_TRUE(fit.warnings.empty());
  // Relative: the lowest point at 0, the offset kept for the ground.
  const double offset = fit.terrain->heightOffset;
  EXPECT_GT(offset, 290);
  auto toUtm = [&](double x, double y, double& e, double& n) { e = x + e0, n = y + n0; };
  double heights = 0, crossFall = 0, planeCrossFall = 0;
  Compare(*fit.track, toUtm, offset, heights, crossFall, planeCrossFall);
  EXPECT_LE(heights, 0.1);
  EXPECT_LE(crossFall, 0.002);

  // A hole of no data under the lap's 300th point, and a model cut short of
  // its east end: refused, naming where.
  const std::string holed = (dir_ / "holed.tif").string(), cut = (dir_ / "cut.tif").string();
  const auto [he, hn] = utm_[300];
  ASSERT_TRUE(Model(holed, [&](double e, double n) { return std::hypot(e - he, n - hn) < 10; }));
  ASSERT_TRUE(Model(cut, nullptr, 150));
  for (const auto& [path, why] : {std::pair(holed, "a cell without data"), std::pair(cut, "outside the model")}) {
    options.terrain = path;
    const TFitResult refused = FitCentreline(read.line, options);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.error.rfind("the terrain model has no height at ", 0), 0u) << refused.error;
    EXPECT_NE(refused.error.find(std::string("): ") + why), std::string::npos) << refused.error;
  }
  options.terrain = (dir_ / "nothing.tif").string();
  EXPECT_EQ(FitCentreline(read.line, options).error, "the terrain model cannot be used: no such file");
  options.terrain = model_;
  options.heights = HeightDatum::None;
  EXPECT_EQ(FitCentreline(read.line, options).error, "a terrain model gives heights, and no heights were asked for");
}

}  // namespace
}  // namespace meridal
