#pragma once
// Large tracks for the benchmarks: a chain of sections laid end to end,
// alternating straights and curves (turning left and right in turn so the chain
// snakes instead of circling), every section with its altitudes and walls filled
// with varied values.
#include <memory>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal::bench {

inline std::unique_ptr<TTrack> SyntheticTrack(int sections, int traces = 16, int walls = 12) {
  auto track = std::make_unique<TTrack>();
  // Traces 1 m apart, centred on the zero line.
  for (int i = 0; i < traces; ++i) track->Traces.push_back((2 * i - (traces - 1)) * 9843);
  const int32_t halfWidth = 8 * kUnitsPerMeter;

  double x = 0, y = 0;
  int32_t heading = 0;
  for (int s = 0; s < sections; ++s) {
    auto straight = std::make_unique<TStraightSection>(track.get());
    straight->SetDefaults();  // one altitude per trace
    straight->Walls.clear();
    for (int k = 0; k < walls; ++k) {
      auto wall = std::make_unique<TWall>(straight.get());
      wall->Number = k;
      wall->From = -halfWidth + (walls > 1 ? 2 * halfWidth * k / (walls - 1) : 0);
      wall->To = wall->From + ((k % 3) - 1) * 1000;
      wall->Surface = 1 + (s + k) % 7;
      wall->Unk1 = k;
      wall->Height = (s * 31 + k * 7) % 500;
      wall->Unk2 = s;
      straight->Walls.push_back(std::move(wall));
    }
    for (int i = 0; i < traces; ++i) {
      TAltitude& a = *straight->Altitude(i);
      a.AccessValue("3rd order coeff.", (s + i) % 17 - 8, true);
      a.AccessValue("2nd order coeff.", (s * 3 + i) % 23 - 11, true);
      a.FirstOrder = (s * 5 + i) % 101 - 50;
      a.HeightAtStart = (s * 7) % 4000;
    }
    std::unique_ptr<TSection> section;
    if (s % 2 == 0) {
      section = std::move(straight);
    } else {
      auto curve = std::make_unique<TCurvedSection>(track.get(), *straight);
      if (s % 4 == 3) curve->SetCurvature(-curve->Curvature());
      section = std::move(curve);
    }
    section->Number = s;
    section->SetOrientation(heading);
    section->SetStart(x, y);
    x = section->EndX();
    y = section->EndY();
    heading = section->EndOrientation();
    track->Sections.push_back(std::move(section));
  }
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  track->UpdateExtent();
  return track;
}

}  // namespace meridal::bench
