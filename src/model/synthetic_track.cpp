#include "model/synthetic_track.h"

#include <algorithm>

#include "model/curved_section.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

std::unique_ptr<TTrack> SyntheticTrack(int32_t sections, int32_t traces, int32_t walls) {
  if (sections < 1 || sections > kMaxSyntheticSections || traces < 1 || traces > 16 || walls < 0) return nullptr;
  auto track = std::make_unique<TTrack>();
  // Traces 1 m apart, centred on the zero line.
  for (int i = 0; i < traces; ++i) track->Traces.push_back((2 * i - (traces - 1)) * 9843);
  const int32_t halfWidth = 8 * kUnitsPerMeter;
  constexpr int kRow = 100;                 // sections per row, the half turn included
  constexpr int32_t kTurnRadius = 393701;  // 20 m
  // The straights share what the half turns leave of 95 % of the longest track.
  const int64_t turns = sections / kRow, straights = sections - turns;
  const int64_t budget = kMaxTrackLength / 20 * 19 - turns * nearest64(Pi * kTurnRadius);
  const int32_t straightLength = static_cast<int32_t>(std::clamp<int64_t>(budget / straights, 1, kTurnRadius));

  double x = 0, y = 0;
  int32_t heading = 0;
  for (int s = 0; s < sections; ++s) {
    auto straight = std::make_unique<TStraightSection>(track.get());
    straight->SetDefaults();  // one altitude per trace
    straight->SetLength(straightLength);
    straight->Walls.clear();
    for (int k = 0; k < walls; ++k) {
      auto wall = std::make_unique<TWall>(straight.get());
      wall->Number = k;
      wall->From = -halfWidth + (walls > 1 ? 2 * halfWidth * k / (walls - 1) : 0);
      wall->To = wall->From + ((k % 3) - 1) * 1000;
      wall->Surface = 1 + (s + k) % 7;
      // Heights and Unk1 values are flagged by hatches in the drawing; as on a real
      // track only some strips carry them (about one in six and one in eight).
      wall->Unk1 = (s + 2 * k) % 8 == 0 ? k + 1 : 0;
      wall->Height = (s + k) % 6 == 0 ? (s * 31 + k * 7) % 500 + 1 : 0;
      wall->Unk2 = s;
      straight->Walls.push_back(std::move(wall));
    }
    for (int i = 0; i < traces; ++i) {
      TAltitude& a = *straight->Altitude(i);
      a.SetValue("3rd order coeff.", (s + i) % 17 - 8);
      a.SetValue("2nd order coeff.", (s * 3 + i) % 23 - 11);
      a.FirstOrder = (s * 5 + i) % 101 - 50;
      a.HeightAtStart = (s * 7) % 4000;
    }
    std::unique_ptr<TSection> section;
    if (s % kRow != kRow - 1) {
      section = std::move(straight);
    } else {
      // The half turn at the end of a row, alternately to the left and the right.
      const int32_t radius = (s / kRow) % 2 == 0 ? kTurnRadius : -kTurnRadius;
      auto curve = std::make_unique<TCurvedSection>(track.get(), *straight);
      curve->SetRadius(radius);
      curve->SetCurvature(radius > 0 ? (1 << 30) : -(1 << 30));
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

}  // namespace meridal
