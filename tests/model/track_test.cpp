// The track: its default content, bookkeeping, trace names and highlighting.
#include <gtest/gtest.h>

#include "edit/track_edits.h"
#include "document/document.h"

#include "present/object_labels.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::AppendCopy;
using testing::DefaultTrack;

TEST(DefaultTrack, HasTwoTracesOneStraightAndItsTables) {
  auto track = DefaultTrack();
  EXPECT_STREQ(track->Tag, "TRAK");
  EXPECT_EQ(track->FormatCode, 3000);
  EXPECT_EQ(track->Traces, (std::vector<int32_t>{-98425, 98425}));
  ASSERT_EQ(track->NumberOfSections(), 1);
  EXPECT_EQ(track->Length, 984252);
  EXPECT_EQ(track->WallTableSize, 64);
  EXPECT_EQ(track->SectionTableSize, 52);

  const TSection& s = *track->Section(0);
  EXPECT_EQ(s.Type, kStraight);
  EXPECT_EQ(s.Start, 0);
  EXPECT_EQ(s.Length, 984252);
  EXPECT_EQ(s.Orientation, 0);
  EXPECT_EQ(s.Owner, track.get());
  const int32_t rotation[5] = {0x40000000, 0, 0, 0x40000000, 0x40000000};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(s.ExportWords[i], rotation[i]) << i;
  ASSERT_EQ(s.NumberOfAltitudes(), 2);
  EXPECT_EQ(s.Altitude(0)->X, 0);
  EXPECT_EQ(s.Altitude(0)->Y, -98425);
  EXPECT_EQ(s.Altitude(1)->Y, 98425);
  ASSERT_EQ(s.NumberOfWalls(), 2);
  EXPECT_EQ(s.Wall(0)->From, -98425);
  EXPECT_EQ(s.Wall(0)->To, -98425);
  EXPECT_EQ(s.Wall(0)->Surface, 1);
  EXPECT_EQ(s.Wall(1)->From, 98425);
  EXPECT_EQ(s.Wall(1)->Surface, 10);
  EXPECT_EQ(s.Wall(1)->Number, 1);
  // The box takes in the traces and walls, widened by a tenth of the height
  // sideways and a tenth of the width up and down.
  EXPECT_EQ(s.Extent, (TRect{-19685, 196850, 1003937, -196850}));
  // The track's extent adds one margin of a tenth of its width on every side.
  EXPECT_EQ(track->Extent, (TRect{-122047, 299212, 1106299, -299212}));
}

TEST(UpdateExtent, KeepsTheOriginAndTakesTheMarginFromTheWidth) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  s->Extent = TRect{1000, 600, 2000, 500};  // entirely at positive x and y
  track->UpdateExtent();
  // Origin kept: left 0 and bottom 0; margin (2000 - 0) / 10 = 200 on all sides.
  EXPECT_EQ(track->Extent, (TRect{-200, 800, 2200, -200}));

  s->Extent = TRect{0, 10, 0, -10};  // no width: no margin
  track->UpdateExtent();
  EXPECT_EQ(track->Extent, (TRect{0, 10, 0, -10}));

  s->Extent = TRect{-19, 0, 0, 0};  // a margin that truncates toward zero
  track->UpdateExtent();
  EXPECT_EQ(track->Extent, (TRect{-20, 1, 1, -1}));
}

TEST(TraceNames, OnlyTheCanonicalFormOfAnExistingTraceIsAccepted) {
  auto track = DefaultTrack();
  EXPECT_EQ(track->GetValue("Trace 0"), -98425);
  EXPECT_EQ(track->GetValue("Trace 1"), 98425);
  // The sixth character is not examined.
  EXPECT_EQ(track->GetValue("Trace_1"), 98425);
  for (const char* name : {"Trace 00", "Trace -1", "Trace 2", "Trace", "Trace ", "Trace 1x", "Trace +1", "trace 1",
                           "Trace 4294967296", "Trace 99999999999999999999"}) {
    EXPECT_EQ(track->GetValue(name), 0) << name;
    EXPECT_EQ(track->SetValue(name, 5), 0) << name;
  }
  EXPECT_EQ(track->Traces, (std::vector<int32_t>{-98425, 98425}));
}

TEST(TraceNames, SettingMovesTheTracePointsOfEverySection) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  EXPECT_EQ(track->SetValue("Trace 0", -50000), 1);
  EXPECT_EQ(track->Traces[0], -50000);
  for (auto& s : track->Sections) EXPECT_EQ(s->Altitude(0)->Y, -50000);
  EXPECT_EQ(track->Section(1)->Altitude(0)->X, 984252);
}

TEST(SetTrace, KeepsTracesStrictlyIncreasing) {
  auto track = DefaultTrack();
  EXPECT_FALSE(track->SetTrace(0, 98425));   // equal to its neighbour
  EXPECT_FALSE(track->SetTrace(1, -98425));
  EXPECT_FALSE(track->SetTrace(0, 100000));  // beyond its neighbour
  EXPECT_FALSE(track->SetTrace(-1, 0));
  EXPECT_FALSE(track->SetTrace(2, 0));
  EXPECT_EQ(track->Traces, (std::vector<int32_t>{-98425, 98425}));
  EXPECT_EQ(track->Section(0)->Altitude(0)->Y, -98425);
  EXPECT_TRUE(track->SetTrace(0, 98424));
  EXPECT_TRUE(track->SetTrace(1, 2147483647));

  // The only trace of a one-trace track takes any value.
  TTrack single;
  single.Traces = {7};
  EXPECT_TRUE(single.SetTrace(0, -2147483647 - 1));
  EXPECT_TRUE(single.SetTrace(0, 2147483647));
}

TEST(TrackValues, LengthIsStoredWithoutRecomputing) {
  auto track = DefaultTrack();
  EXPECT_EQ(track->GetValue("Length"), 984252);
  EXPECT_EQ(track->SetValue("Length", 12), 1);
  EXPECT_EQ(track->Length, 12);
  EXPECT_EQ(track->Section(0)->Length, 984252);
  EXPECT_EQ(track->GetValue("Sum of Section Lengths"), 0);
  track->RecomputeStarts();
  EXPECT_EQ(track->Length, 984252);
}

TEST(Bookkeeping, StartsAndRecordIndicesFollowTheSections) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  track->Section(1)->SetLength(1000);
  EXPECT_EQ(track->Section(0)->Start, 0);
  EXPECT_EQ(track->Section(1)->Start, 984252);
  EXPECT_EQ(track->Section(2)->Start, 985252);
  EXPECT_EQ(track->Length, 984252 * 2 + 1000);
  track->Section(1)->Walls.pop_back();
  track->Traces.push_back(200000);
  track->RecomputeRecordIndices();
  EXPECT_EQ(track->Section(2)->FirstAltitude, 6);
  EXPECT_EQ(track->Section(1)->FirstWall, 2);
  EXPECT_EQ(track->Section(2)->FirstWall, 3);
  EXPECT_EQ(track->WallTableSize, 32 * 5);
  EXPECT_EQ(track->SectionTableSize, 52 * 3);
}

TEST(Neighbours, AreCyclic) {
  auto track = DefaultTrack();
  EXPECT_EQ(track->Section(0)->Next(), track->Section(0));
  EXPECT_EQ(track->Section(0)->Previous(), track->Section(0));
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  EXPECT_EQ(track->Section(0)->Previous(), track->Section(2));
  EXPECT_EQ(track->Section(2)->Next(), track->Section(0));
  EXPECT_EQ(track->Section(1)->Next(), track->Section(2));
  EXPECT_EQ(track->Section(1)->Previous(), track->Section(0));
  // Walls do not wrap; the track and altitudes have no neighbours.
  TSection* s = track->Section(1);
  EXPECT_EQ(s->Wall(0)->Next(), s->Wall(1));
  EXPECT_EQ(s->Wall(1)->Next(), nullptr);
  EXPECT_EQ(s->Wall(0)->Previous(), nullptr);
  EXPECT_EQ(s->Altitude(0)->Next(), nullptr);
  EXPECT_EQ(track->Next(), nullptr);
}

TEST(Selection, SelectingMovesTheDocumentsSelectionToWhatIsThere) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TDocument document(std::move(track));
  EXPECT_EQ(document.Selection(), TObjectPath::Track());
  document.Select(TObjectPath::Wall(1, 1));
  EXPECT_EQ(document.SelectedObject(), document.Track().Section(1)->Wall(1));
  document.Select(TObjectPath::Altitude(1, 0));
  EXPECT_EQ(document.SelectedObject(), document.Track().Section(1)->Altitude(0));
  // Nothing there: the track.
  document.Select(TObjectPath::Wall(0, 7));
  EXPECT_EQ(document.Selection(), TObjectPath::Track());
}

TEST(BaseDefaults, ForwardToTheOwnerAndRefuseElsewhere) {
  auto track = DefaultTrack();
  // A lone track has no owner: the forwarding operations refuse.
  EXPECT_FALSE(edit::Remove(*track));
  EXPECT_FALSE(edit::Split(*track, 10));
  EXPECT_FALSE(edit::Split(*track->Section(0)->Wall(0), 1));
  EXPECT_FALSE(edit::ChangeType(*track->Section(0)->Wall(0)));
  EXPECT_EQ(Label(*track->Section(0)->Wall(0)), "Wall 0");
  // The track names itself as its tree node does.
  EXPECT_EQ(Label(*track), "Track");
}

}  // namespace
}  // namespace meridal
