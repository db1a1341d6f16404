// Copy and paste of runs of sections: the clipboard text, pasting across tracks
// with other traces (profiles taken at the target's traces, heights going on from
// where the target ends), joined placement, one step, and refusals that change
// nothing.
#include <gtest/gtest.h>

#include "clipboard/section_clipboard.h"
#include "clipboard/section_payload.h"
#include "document/document.h"
#include "edit/edit_support.h"
#include "files/format_test_support.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using history::Outcome;

// Three traces at -1, 0 and 1 cm (the source) or elsewhere (the target); every
// profile its own.
std::unique_ptr<TTrack> TrackWithTraces(std::vector<int32_t> traces) {
  auto track = std::make_unique<TTrack>();
  track->Traces = std::move(traces);
  auto first = std::make_unique<TStraightSection>(track.get());
  first->SetDefaults();
  track->Sections.push_back(std::move(first));
  track->RecomputeRecordIndices();
  track->RecomputeStarts();
  return track;
}

// A straight, a 45-degree left arc of 400000 and a straight, placed anywhere,
// with heights D = 1000 (j + 1) + 50000 s, C = 300 (j + 1), B = 10 (j + 1).
std::unique_ptr<TTrack> Source() {
  auto track = TrackWithTraces({-10000, 0, 10000});
  TTrack& t = *track;
  t.Section(0)->SetLength(500000);
  t.Section(0)->SetOrientation(123456789);
  t.Section(0)->SetStart(1000000, -2000000);
  for (int s : {1, 2}) EXPECT_TRUE(edit::AddChild(t, s - 1, false));
  EXPECT_TRUE(edit::ChangeChildType(t, 1));
  EXPECT_TRUE(t.Section(1)->SetValue("Radius", 400000));
  EXPECT_TRUE(t.Section(1)->SetValue("Curvature", 1 << 28));
  for (auto& s : t.Sections)
    for (auto& a : s->Altitudes) {
      a->HeightAtStart = 1000 * (a->Number + 1) + 50000 * s->Number;
      a->FirstOrder = 300 * (a->Number + 1);
      a->SetValue("2nd order coeff.", 10 * (a->Number + 1));
      a->SetValue("3rd order coeff.", 0);
    }
  return track;
}

// Two straights with traces at -0.5, 0.5 and 2 cm; section 0 ends at 7000 j + 100.
std::unique_ptr<TDocument> Target() {
  auto track = TrackWithTraces({-5000, 5000, 20000});
  EXPECT_TRUE(edit::AddChild(*track, 0, false));
  for (auto& a : track->Section(0)->Altitudes) {
    a->HeightAtStart = 7000 * a->Number;
    a->FirstOrder = 100;
  }
  return std::make_unique<TDocument>(std::move(track));
}

std::string CopyOf(const TTrack& track, int first, int last) {
  return clipboard::SectionsPayload(track, {first, last});
}

TEST(CopySections, TheTextIsTheJsonFormOfTheRunWithTheTracksTraces) {
  auto source = Source();
  const std::string text = CopyOf(*source, 1, 2);
  TTrack copied;
  std::string error;
  ASSERT_TRUE(clipboard::ReadSectionsPayload(text, copied, error)) << error;
  EXPECT_EQ(copied.Traces, source->Traces);
  ASSERT_EQ(copied.NumberOfSections(), 2);
  EXPECT_TRUE(copied.Section(0)->IsCurved());
  EXPECT_EQ(copied.Section(0)->ExportWords[2], 1 << 28);
  EXPECT_EQ(testing::JsonOf(copied), text);
  EXPECT_EQ(text.rfind("{\n  \"format\": \"meridal-track\",\n  \"version\": 1,\n  \"traces\": [-10000, 0, 10000],", 0), 0u);
}

TEST(PasteSections, JoinsAfterTheSectionWithProfilesAtTheTargetsTracesAndHeightsGoingOn) {
  auto document = Target();
  TTrack& track = const_cast<TTrack&>(document->Track());
  const std::string before = testing::Snapshot(track, false);
  const TSection& previous = *track.Section(0);
  const double endX = previous.EndX(), endY = previous.EndY();
  const int32_t heading = previous.EndOrientation();
  auto source = Source();
  std::string reason;
  ASSERT_EQ(clipboard::PasteSections(*document, CopyOf(*source, 0, 2), 0, reason), Outcome::Changed) << reason;

  ASSERT_EQ(track.NumberOfSections(), 5);
  EXPECT_EQ(document->History().UndoText(), "Paste 3 Sections");
  EXPECT_EQ(document->SelectedRun(), (TSectionRun{1, 3}));
  EXPECT_EQ(document->Selection(), TObjectPath::Section(3));
  // The first starts at the end of section 0 with its end heading, the others follow joined.
  const TSection& first = *track.Section(1);
  EXPECT_NEAR(first.StartX(), endX, 1);
  EXPECT_NEAR(first.StartY(), endY, 1);
  EXPECT_EQ(first.Orientation, heading);
  for (int s : {2, 3}) {
    EXPECT_EQ(track.Section(s)->OrientationMismatch(), 0);
    EXPECT_EQ(track.Section(s)->LongitudinalGap(), 0);
    EXPECT_EQ(track.Section(s)->LateralGap(), 0);
  }
  // Kinds, lengths, the arc and the walls as they were.
  for (int s = 0; s < 3; ++s) {
    const TSection& was = *source->Section(s);
    const TSection& now = *track.Section(s + 1);
    EXPECT_EQ(now.IsCurved(), was.IsCurved());
    EXPECT_EQ(now.Length, was.Length);
    ASSERT_EQ(now.NumberOfWalls(), was.NumberOfWalls());
    for (int k = 0; k < now.NumberOfWalls(); ++k) {
      EXPECT_EQ(now.Wall(k)->From, was.Wall(k)->From);
      EXPECT_EQ(now.Wall(k)->To, was.Wall(k)->To);
      EXPECT_EQ(now.Wall(k)->Surface, was.Wall(k)->Surface);
    }
  }
  EXPECT_EQ(track.Section(2)->ExportWords[2], 1 << 28);
  EXPECT_DOUBLE_EQ(track.Section(2)->Radius, 400000);
  // Trace -5000 lies halfway between the source's -10000 and 0, trace 5000 halfway
  // between 0 and 10000, trace 20000 beyond the last; each then goes on from
  // section 0's end height 7000 j + 100.
  const int32_t C[] = {450, 750, 900}, B[] = {15, 25, 30};
  for (int s = 0; s < 3; ++s)
    for (int j = 0; j < 3; ++j) {
      SCOPED_TRACE(testing::Hex(s * 10 + j));
      const TAltitude& a = *track.Section(s + 1)->Altitude(j);
      EXPECT_EQ(a.HeightAtStart, 7000 * j + 100 + 50000 * s);
      EXPECT_EQ(a.FirstOrder, C[j]);
      EXPECT_EQ(a.SecondOrder, B[j]);
      EXPECT_EQ(a.B2, 2 * B[j]);
    }
  EXPECT_EQ(track.Section(1)->Altitude(2)->HeightAtStart, track.Section(0)->Altitude(2)->HeightAtEnd());

  const std::string after = testing::Snapshot(track, false);
  ASSERT_TRUE(document->Undo());
  EXPECT_EQ(testing::Snapshot(track, false), before);
  EXPECT_EQ(document->Selection(), TObjectPath::Section(0));
  ASSERT_TRUE(document->Redo());
  EXPECT_EQ(testing::Snapshot(track, false), after);
}

TEST(PasteSections, RefusesWithTheReasonAndChangesNothing) {
  auto document = Target();
  TTrack& track = const_cast<TTrack&>(document->Track());
  std::string reason;
  const auto refused = [&](std::string_view text) {
    const std::string before = testing::Snapshot(track);
    const Outcome outcome = clipboard::PasteSections(*document, text, 1, reason);
    EXPECT_EQ(testing::Snapshot(track), before);
    EXPECT_EQ(document->History().Count(), 0u);
    return outcome == Outcome::Refused;
  };
  EXPECT_TRUE(refused("{\"format\": \"meridal-track\", \"version\": 1, \"traces\": [0], \"sections\": [{\"type\": "
                      "\"straight\", \"length\": 0, \"orientation\": 0, \"walls\": [], \"altitudes\": []}]}"));
  EXPECT_EQ(reason, "The text is not a list of sections: line 1: sections[0].altitudes: 0 altitudes, but the track has 1 traces");
  EXPECT_TRUE(refused("hello"));
  EXPECT_EQ(reason.rfind("The text is not a list of sections: line 1: syntax error", 0), 0u) << reason;

  // What Edit Value refuses, a paste refuses: a Length below 1, a Curvature of 0.
  const auto with = [](std::string text, const std::string& key, const std::string& value) {
    const size_t at = text.find("\"" + key + "\": ") + key.size() + 4;
    return text.replace(at, text.find_first_of(",}", at) - at, value);
  };
  for (const char* length : {"0", "-5"}) {
    EXPECT_TRUE(refused(with(CopyOf(*Source(), 0, 2), "length", length)));
    EXPECT_EQ(reason, "Pasted section 0: Length " + std::string(length) +
                          " is not a valid value (Edit Value refuses it too).");
  }
  EXPECT_TRUE(refused(with(CopyOf(*Source(), 0, 2), "curvature", "0")));
  EXPECT_EQ(reason, "Pasted section 1: Curvature 0 is not a valid value (Edit Value refuses it too).");

  // A track as long as 32-bit Length holds takes no more.
  ASSERT_TRUE(track.Section(1)->SetLength(INT32_MAX - 1000000 - track.Section(0)->Length));
  EXPECT_TRUE(refused(CopyOf(*Source(), 0, 2)));
  EXPECT_EQ(reason, "The track would be 109108.13 m long, longer than its 32-bit Length holds (109092.17 m).");
}

}  // namespace
}  // namespace meridal
