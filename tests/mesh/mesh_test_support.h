#pragma once
// Tracks and measurements the mesh tests share.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "files/track_formats.h"
#include "mesh/section_mesh.h"
#include "model/curved_section.h"
#include "model/track.h"
#include "model/units.h"
#include "support/recording_messages.h"

namespace meridal::testing {

constexpr double kUnitsPerMetre = kUnitsPerMeter;

inline std::unique_ptr<TTrack> ExampleCircuit() {
  auto track = std::make_unique<TTrack>();
  RecordingMessages messages;
  EXPECT_EQ(LoadTrackFile(MERIDAL_EXAMPLES_DIR "/circuit.mrd", std::nullopt, *track, messages).status,
            FileStatus::Ok);
  return track;
}

// Hills: each section climbs from one height to the next with level ends,
// h(t) = h0 + (h1 - h0)(3t^2 - 2t^3); the outer traces 0.3 m below and above the
// centre's. The last section comes back to the first one's height.
inline void GiveHills(TTrack& track) {
  const int heights[] = {0, 6, 10, 8, 3, 5, 12, 9, 4, 1};
  const int count = track.NumberOfSections();
  const int unit = 19685;
  for (int s = 0; s < count; ++s) {
    const int h0 = heights[s % 10] * unit, rise = (heights[(s + 1) % count % 10] - heights[s % 10]) * unit;
    for (int j = 0; j < track.NumberOfTraces(); ++j) {
      TAltitude& a = *track.Section(s)->Altitude(j);
      a.SetValue("Height@Start", h0 + (j - 1) * 3 * unit / 10);
      a.SetValue("2nd order coeff.", 3 * rise);
      a.SetValue("3rd order coeff.", -2 * rise);
      a.SetValue("1st order coeff.", 0);
    }
  }
}

// Level ground at height 0 (the example has a hill on section 3).
inline void Flatten(TTrack& track) {
  for (auto& section : track.Sections)
    for (auto& a : section->Altitudes) a->ThirdOrder = a->SecondOrder = a->FirstOrder = a->HeightAtStart = 0;
}

// No strip raised: the example has a 1 m step on the tarmac of section 2.
inline void LevelStrips(TTrack& track) {
  for (auto& section : track.Sections)
    for (auto& wall : section->Walls) wall->Height = 0;
}

// Besides the example's 1 m step on the tarmac of section 2: kerbs 12 cm high on
// the curbs strip of the even sections, and a 80 cm barrier block on the gravel of
// sections 2 and 3 (so that it runs on across their joint).
constexpr int32_t kKerb = 2362, kBarrier = 15748;
inline void RaiseStrips(TTrack& track) {
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    if (s % 2 == 0) track.Section(s)->Wall(2)->Height = kKerb;
    if (s == 2 || s == 3) track.Section(s)->Wall(3)->Height = kBarrier;
  }
}

// A vertex's plan point (track units) and height.
struct TPlanPoint {
  double x, y, h;
};
inline TPlanPoint PlanOf(const float* p) {
  return {p[0] * kUnitsPerMetre, -p[2] * kUnitsPerMetre, p[1] * kUnitsPerMetre};
}

// Where a plan point lies on a section: t from 0 to 1 along, and the lateral
// position (positive to the left).
struct TOnSection {
  double t, lateral;
};
inline TOnSection Locate(const TSection& section, double x, double y) {
  if (const auto* arc = dynamic_cast<const TCurvedSection*>(&section)) {
    // The angle comes within one turn; a point a hair before the start is a hair
    // before it, not almost a turn on.
    double u = section.LocalU(x, y);
    const double turn = 2 * Pi * (arc->SweptAngle() < 0 ? -1 : 1);
    if (std::fabs(u - turn) < std::fabs(u)) u -= turn;
    return {u / arc->SweptAngle(), arc->Radius - section.LocalV(x, y)};
  }
  return {section.LocalU(x, y) / section.Length, section.LocalV(x, y)};
}

// The surface's height there: the traces' cubics, linear between traces, the
// nearest trace's beyond them.
inline double ExpectedHeight(const TTrack& track, const TSection& section, double t, double lateral) {
  const int traces = track.NumberOfTraces();
  const auto h = [&](int j) { return section.Altitude(j)->HeightAt(t); };
  if (lateral <= track.Traces[0]) return h(0);
  for (int j = 0; j + 1 < traces; ++j) {
    const double a = track.Traces[size_t(j)], b = track.Traces[size_t(j) + 1];
    if (lateral <= b) return h(j) + (lateral - a) / (b - a) * (h(j + 1) - h(j));
  }
  return h(traces - 1);
}

}  // namespace meridal::testing
