// Laps of small tracks against what a hand computes: a circle, a stadium, banked,
// uphill and downhill, and the line kept within the drivable strips.
#include "drive/lap.h"

#include <gtest/gtest.h>

#include <cmath>

#include "drive/cancel_flag.h"
#include "drive/min_curvature.h"
#include "drive/track_stations.h"
#include "drive/vehicle.h"
#include "model/numbers.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

constexpr double kUnits = kUnitsPerMeter;

// The formula car without drag, so that a constant speed needs no push.
TVehicle NoDrag() {
  TVehicle v = DefaultVehicle();
  v.drag = 0;
  v.machine = {{0, 5.0}, {100, 5.0}};
  return v;
}

// A full circle of radius r metres, turning left: two half turns.
std::unique_ptr<TTrack> Circle(double r) {
  auto track = testing::DefaultTrack();
  TCurvedSection* arc = testing::ConvertToCurve(*track, 0);
  EXPECT_TRUE(arc->SetValue("Radius", nearest(r * kUnits)));
  EXPECT_TRUE(arc->SetValue("Curvature", 1 << 30));
  testing::AppendCopy<TCurvedSection>(*track);
  return track;
}

// Every altitude of a section: height d at the start rising by c (track units).
void Heights(TSection& s, int32_t right, int32_t left, int32_t rise = 0, int32_t bend = 0) {
  for (int j = 0; j < s.NumberOfAltitudes(); ++j) {
    TAltitude& a = *s.Altitude(j);
    a.HeightAtStart = j == 0 ? right : left;
    a.FirstOrder = rise - bend;
    a.SecondOrder = bend;
    a.ThirdOrder = 0;
  }
}

TLap Drive(const TTrack& track, const TVehicle& vehicle, TLineKind kind = TLineKind::Centre) {
  const TTrackStations stations = SampleStations(track, vehicle);
  TLap lap = DriveLap(stations, vehicle, kind);
  EXPECT_TRUE(lap.ok) << lap.error;
  return lap;
}

// The time from the first point of section a to the first point of section b.
double TimeBetween(const TLap& lap, const TTrackStations& st, int a, int b) {
  double from = -1, to = -1;
  for (size_t i = 0; i < lap.line.points.size(); ++i) {
    const int s = st.stations[lap.line.points[i].station].section;
    if (s == a && from < 0) from = lap.speed.time[i];
    if (s == b && to < 0) to = lap.speed.time[i];
  }
  return to - from;
}

TEST(Lap, ACircleIsDrivenAtTheSpeedItsGripAllowsBankedOrNot) {
  constexpr double kR = 50;
  const TVehicle car = NoDrag();
  auto circle = Circle(kR);
  const double v = std::sqrt(12.0 * kR);
  const TLap flat = Drive(*circle, car);
  for (double speed : flat.speed.v) ASSERT_NEAR(speed, v, 1e-6 * v);
  EXPECT_NEAR(flat.lapTime, 2 * Pi * kR / v, 0.001 * flat.lapTime);
  EXPECT_NEAR(flat.line.length, 2 * Pi * kR, 0.001 * flat.line.length);
  EXPECT_EQ(flat.corners.size(), 0u);  // never faster, never slower

  // The left side 1 m lower than the right, 10 m across: banked inward by
  // atan(0.1), which adds g sin(bank) to the grip.
  const int32_t up = nearest(0.5 * kUnits);
  for (auto& s : circle->Sections) Heights(*s, up, -up);
  const double fall = 2.0 * up / (circle->Traces[1] - circle->Traces[0]), bank = fall / std::sqrt(1 + fall * fall);
  const TLap banked = Drive(*circle, car);
  const double vBanked = std::sqrt((12.0 + kGravity * bank) * kR);
  for (double speed : banked.speed.v) ASSERT_NEAR(speed, vBanked, 1e-6 * vBanked);
  EXPECT_NEAR(flat.lapTime / banked.lapTime, vBanked / v, 1e-6);
  // Banked the other way it takes the grip away.
  for (auto& s : circle->Sections) Heights(*s, -up, up);
  EXPECT_NEAR(Drive(*circle, car).speed.v[0], std::sqrt((12.0 - kGravity * bank) * kR), 1e-6);
}

TEST(Lap, TheStadiumsCentreLineTakesTheHandComputedTime) {
  const TVehicle car = NoDrag();
  auto stadium = testing::Stadium();  // 50 m straights, half turns of 50 m radius
  const TLap lap = Drive(*stadium, car);
  // Each half turn at the grip's speed; each straight accelerating at 5 m/s^2
  // until it must brake at 12 m/s^2 to be at that speed again.
  const double vc = std::sqrt(12.0 * 50), x = 12.0 * 50 / (5 + 12), vp = std::sqrt(vc * vc + 2 * 5 * x);
  const double hand = 2 * (Pi * 50 / vc + (vp - vc) / 5 + (vp - vc) / 12);
  EXPECT_NEAR(lap.lapTime, hand, 0.005 * hand);
  EXPECT_NEAR(lap.topSpeed, vp, 0.01 * vp);
  EXPECT_NEAR(lap.thirds[0] + lap.thirds[1] + lap.thirds[2], lap.lapTime, 1e-9);
  ASSERT_EQ(lap.corners.size(), 2u);
  EXPECT_EQ(lap.corners[0].section, 1);
  EXPECT_EQ(lap.corners[1].section, 3);
  EXPECT_NEAR(lap.corners[0].speed, vc, 1e-6);

  // The same stadium raised by a metre everywhere is the same lap, to the bit.
  for (auto& s : stadium->Sections) Heights(*s, nearest(kUnits), nearest(kUnits));
  EXPECT_EQ(Drive(*stadium, car).lapTime, lap.lapTime);
}

TEST(Lap, UphillIsSlowerThanDownhillAndACrestLightensTheCar) {
  const TVehicle car = DefaultVehicle();
  auto stadium = testing::Stadium();
  const int32_t h = nearest(2.5 * kUnits);  // 5 % over a 50 m straight
  Heights(*stadium->Section(0), 0, 0, h);
  Heights(*stadium->Section(1), h, h);
  Heights(*stadium->Section(2), h, h, -h);
  Heights(*stadium->Section(3), 0, 0);
  const TTrackStations st = SampleStations(*stadium, car);
  const TLap lap = DriveLap(st, car, TLineKind::Centre);
  ASSERT_TRUE(lap.ok);
  EXPECT_GT(TimeBetween(lap, st, 0, 1), TimeBetween(lap, st, 2, 3) + 0.01);

  // A crest on the first straight (0.5 m high in its middle) brakes worse than
  // the flat straight; a dip of the same depth better.
  auto flat = testing::Stadium();
  const double flatTime = Drive(*flat, car).lapTime;
  const int32_t crest = nearest(-2.0 * kUnits);  // h(t) = -2 t^2 + 2 t: 0.5 m at t = 0.5
  Heights(*flat->Section(0), 0, 0, 0, crest);
  EXPECT_GT(Drive(*flat, car).lapTime, flatTime + 1e-3);
  Heights(*flat->Section(0), 0, 0, 0, -crest);
  EXPECT_LT(Drive(*flat, car).lapTime, flatTime - 1e-3);
}

// Walls at these lateral positions (metres) with these surfaces, on every section.
void Walls(TTrack& track, std::initializer_list<std::pair<double, int32_t>> walls) {
  for (auto& s : track.Sections) {
    s->Walls.clear();
    for (const auto& [at, surface] : walls) {
      auto wall = std::make_unique<TWall>(s.get());
      wall->From = wall->To = nearest(at * kUnits);
      wall->Surface = surface;
      wall->Number = s->NumberOfWalls();
      s->Walls.push_back(std::move(wall));
    }
    s->RecomputeAllWallPoints();
  }
}

// A square of 100 m straights joined by quarter turns of 15 m radius, to the left.
std::unique_ptr<TTrack> Square() {
  auto track = testing::DefaultTrack();
  TTrack& t = *track;
  EXPECT_TRUE(t.Section(0)->SetValue("Length", nearest(100 * kUnits)));
  for (int s = 1; s < 8; ++s) {
    EXPECT_TRUE(edit::AddChild(t, s - 1, false));
    EXPECT_TRUE(edit::ChangeChildType(t, s));
    if (s % 2 == 1) {
      EXPECT_TRUE(t.Section(s)->SetValue("Radius", nearest(15 * kUnits)));
      EXPECT_TRUE(t.Section(s)->SetValue("Curvature", 1 << 29));  // 90 degrees
    } else {
      EXPECT_TRUE(t.Section(s)->SetValue("Length", nearest(100 * kUnits)));
    }
  }
  return track;
}

TEST(Lap, TheLineKeepsToTheStripsThatGripAndIsFasterThanTheCentre) {
  const TVehicle car = DefaultVehicle();
  auto stadium = Square();
  // Grass, tarmac, kerb, grass: the kerb grips 0.9, grass 0.5.
  Walls(*stadium, {{-8, kSurfaceGrass}, {-5, kSurfaceTarmac}, {5, kSurfaceCurbs}, {6, kSurfaceGrass},
                   {9, kSurfaceLeftBorder}});
  const TTrackStations st = SampleStations(*stadium, car);
  for (const TStation& s : st.stations) {
    ASSERT_NEAR(s.lo, -5, 1e-4);
    ASSERT_NEAR(s.hi, 6, 1e-4);
  }
  const TLap centre = DriveLap(st, car, TLineKind::Centre);
  const TLap line = DriveLap(st, car, TLineKind::MinCurvature);
  ASSERT_TRUE(line.ok) << line.error;
  EXPECT_GE(line.linearisations, 2);
  const double half = car.lineWidth / 2;
  const auto sum = [](const TLinePath& path) {
    double sum = 0;
    for (const TLinePoint& p : path.points) sum += p.kappa * p.kappa * p.step;
    return sum;
  };
  for (const TLinePoint& p : line.line.points) {
    ASSERT_GE(p.n, -5 + half - 1e-9) << p.station;
    ASSERT_LE(p.n, 6 - half + 1e-9) << p.station;
    ASSERT_GE(p.grip, kDrivableGrip) << p.station;
  }
  EXPECT_LT(sum(line.line), 0.5 * sum(centre.line));
  EXPECT_LT(line.lapTime, 0.95 * centre.lapTime);

  // A zero line on grass between two tarmac strips keeps to the nearest of them.
  Walls(*stadium, {{-8, kSurfaceTarmac}, {-2, kSurfaceGrass}, {2, kSurfaceTarmac}, {9, kSurfaceLeftBorder}});
  const TTrackStations split = SampleStations(*stadium, car);
  EXPECT_NEAR(split.stations[0].lo, -8, 1e-4);
  EXPECT_NEAR(split.stations[0].hi, -2, 1e-4);
}

TEST(Lap, ACancelledLapStopsWithoutAResult) {
  auto stadium = testing::Stadium();
  const TTrackStations st = SampleStations(*stadium, DefaultVehicle());
  TCancelFlag cancel;
  cancel.Cancel();
  for (TLineKind kind : {TLineKind::Centre, TLineKind::MinCurvature}) {
    const TLap lap = DriveLap(st, DefaultVehicle(), kind, &cancel);
    EXPECT_FALSE(lap.ok);
    EXPECT_TRUE(lap.cancelled);
  }
}

}  // namespace
}  // namespace meridal
