#pragma once
// Small tracks for tests, built with the model's own operations.
#include <gtest/gtest.h>

#include <memory>

#include "edit/track_edits.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal::testing {

// Replaces section i by a curved section converted from it (20 degrees left).
inline TCurvedSection* ConvertToCurve(TTrack& track, int i) {
  auto& slot = track.Sections[static_cast<size_t>(i)];
  auto curve = std::make_unique<TCurvedSection>(&track, static_cast<TStraightSection&>(*slot));
  curve->Number = i;
  TCurvedSection* raw = curve.get();
  slot = std::move(curve);
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  return raw;
}

// Appends a copy of the last section placed at its end with its end heading.
template <typename Section>
Section* AppendCopy(TTrack& track) {
  TSection* last = track.Sections.back().get();
  auto copy = std::make_unique<Section>(&track, static_cast<Section&>(*last));
  copy->Number = track.NumberOfSections();
  Section* raw = copy.get();
  const double x = last->EndX(), y = last->EndY();
  const int32_t heading = last->EndOrientation();
  track.Sections.push_back(std::move(copy));
  raw->SetStart(x, y);
  raw->SetOrientation(heading);
  track.RecomputeRecordIndices();
  track.RecomputeStarts();
  track.UpdateExtent();
  return raw;
}

// The default track (two traces, one 50 m straight).
inline std::unique_ptr<TTrack> DefaultTrack() {
  auto track = std::make_unique<TTrack>();
  track->SetDefaults();
  return track;
}

// Straight, half turn left, straight, half turn left: closed, level, walls in line.
inline std::unique_ptr<TTrack> Stadium() {
  auto track = DefaultTrack();
  TTrack& t = *track;
  // Each section a copy placed at the end of the one before, then reshaped.
  for (int s : {1, 2, 3}) {
    EXPECT_TRUE(edit::AddChild(t, s - 1, false));
    EXPECT_TRUE(edit::ChangeChildType(t, s));
    if (s == 2) {  // back to a straight, as long as the first
      EXPECT_TRUE(t.Section(s)->SetValue("Length", kFiftyMeters));
      continue;
    }
    EXPECT_TRUE(t.Section(s)->SetValue("Radius", kFiftyMeters));
    EXPECT_TRUE(t.Section(s)->SetValue("Curvature", 1 << 30));  // 180 degrees
  }
  return track;
}

}  // namespace meridal::testing
