// Adding and removing traces and walls, Copy Walls and Copy Altitude, with the
// tree kept in step.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "present/property_rows.h"
#include "edit/edit_support.h"
#include "edit/track_edits.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {
namespace {

using testing::ExpectInStep;
using testing::SelectedObject;
using testing::Snapshot;
using testing::WatchedTree;
using Traces = std::vector<int32_t>;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

class LowerEdits : public ::testing::Test, public testing::DocumentFixture {
 protected:
  bool AddTrace(int n) { return Changed(document->AddTrace(n, false)); }
  bool RemoveTrace(int n) { return Changed(document->RemoveTrace(n)); }
  bool CopyWalls(int from, int to) { return document->CopyWallsFrom(from, to) != history::Outcome::Refused; }
  bool AddWall(const TSection* s, int k, bool before) {
    return Changed(document->Add(TObjectPath::Wall(s->Number, k), before));
  }
  bool RemoveWall(const TSection* s, int k) { return Changed(document->Remove(TObjectPath::Wall(s->Number, k))); }
  void ExpectRefused(const std::function<bool()>& op) {
    const std::string model = Snapshot(track);
    const std::string shown = tree.Dump();
    const auto lines = tree.Lines();
    EXPECT_FALSE(op());
    EXPECT_EQ(Snapshot(track), model);
    EXPECT_EQ(tree.Dump(), shown);
    EXPECT_EQ(tree.Lines(), lines);
  }
  void SetProfile(int s, int i, int32_t a, int32_t b, int32_t c, int32_t d) {
    TAltitude* altitude = track.Section(s)->Altitude(i);
    altitude->SetValue("3rd order coeff.", a);
    altitude->SetValue("2nd order coeff.", b);
    altitude->SetValue("1st order coeff.", c);
    altitude->SetValue("Height@Start", d);
  }
  std::vector<int32_t> Positions(int s, bool from) {
    std::vector<int32_t> out;
    for (const auto& w : track.Section(s)->Walls) out.push_back(from ? w->From : w->To);
    return out;
  }
  // A straight and a curved section.
  void TwoKinds() {
    ASSERT_TRUE(AddChild(0, false));
    ASSERT_TRUE(ChangeChildType(1));
  }
};

// ---- traces ----

TEST_F(LowerEdits, NewTracesAtTheEndsLieOneSpacingBeyondAndCopyTheEndProfile) {
  TwoKinds();
  for (int s = 0; s < 2; ++s) {
    SetProfile(s, 0, 2, 4, 6, 10);
    SetProfile(s, 1, 1, 1, 1, 20);
  }
  Show();
  Select(track);
  TAltitude* former0 = track.Section(0)->Altitude(0);

  ASSERT_TRUE(AddTrace(0));  // Add Before on trace 0
  EXPECT_EQ(track.Traces, (Traces{-295275, -98425, 98425}));
  for (int s = 0; s < 2; ++s) {
    const TAltitude* a = track.Section(s)->Altitude(0);
    EXPECT_EQ(a->ThirdOrder, 2);
    EXPECT_EQ(a->SecondOrder, 4);
    EXPECT_EQ(a->FirstOrder, 6);
    EXPECT_EQ(a->HeightAtStart, 10);
    EXPECT_EQ(a->A3, 6);
    EXPECT_EQ(a->B2, 8);
  }
  EXPECT_EQ(track.Section(0)->Altitude(1), former0);
  // The new trace point from each section's geometry.
  EXPECT_EQ(track.Section(0)->Altitude(0)->X, 0);
  EXPECT_EQ(track.Section(0)->Altitude(0)->Y, -295275);
  EXPECT_EQ(track.Section(1)->Altitude(0)->X, 2819674 + 295275);
  EXPECT_EQ(track.Section(1)->Altitude(0)->Y, 0x07070707);
  EXPECT_LE(track.Section(0)->Extent.bottom, -295275);  // the box takes in the new trace
  EXPECT_EQ(SelectedObject(tree), &track);
  ExpectInStep(track, tree);
  EXPECT_EQ(tree.updateDepth, 0);

  ASSERT_TRUE(AddTrace(3));  // Add After on the last trace
  EXPECT_EQ(track.Traces, (Traces{-295275, -98425, 98425, 295275}));
  EXPECT_EQ(track.Section(1)->Altitude(3)->HeightAtStart, 20);
  EXPECT_EQ(track.Section(1)->Altitude(3)->X, 2819674 - 295275);
  ExpectInStep(track, tree);
  EXPECT_EQ(track.Section(1)->FirstAltitude, 4);
}

TEST_F(LowerEdits, ANewTraceBetweenTwoTakesTheTruncatedMeans) {
  SetProfile(0, 0, 5, -7, kMax, 3);
  SetProfile(0, 1, 6, -8, kMax, 4);
  ASSERT_TRUE(AddTrace(1));  // Add After on trace 0
  EXPECT_EQ(track.Traces, (Traces{-98425, 0, 98425}));
  const TAltitude* a = track.Section(0)->Altitude(1);
  EXPECT_EQ(a->HeightAtStart, 3);
  EXPECT_EQ(a->ThirdOrder, 5);
  EXPECT_EQ(a->A3, 15);
  EXPECT_EQ(a->SecondOrder, -7);
  EXPECT_EQ(a->B2, -14);
  EXPECT_EQ(a->FirstOrder, kMax);  // the mean of two large values does not wrap
  EXPECT_EQ(a->Number, 1);
  EXPECT_EQ(track.Section(0)->Altitude(2)->Number, 2);

  track.SetDefaults();  // a new track for the model alone: the tree shows the old one
  SetProfile(0, 0, 0, 0, 0, -3);
  SetProfile(0, 1, 0, 0, 0, -4);
  ASSERT_TRUE(edit::AddTrace(track, 1));
  EXPECT_EQ(track.Section(0)->Altitude(1)->HeightAtStart, -3);
}

TEST_F(LowerEdits, TraceCountsStayBetweenTwoAndSixteen) {
  Show();
  for (int n : {-1, 0, 1, 2})
    ExpectRefused([&] { return RemoveTrace(n); });
  ExpectRefused([&] { return AddTrace(-1); });
  ExpectRefused([&] { return AddTrace(3); });
  while (track.NumberOfTraces() < 16) ASSERT_TRUE(AddTrace(track.NumberOfTraces()));
  EXPECT_EQ(track.Traces.back(), 98425 + 14 * 196850);
  ExpectInStep(track, tree);
  for (int n = -1; n <= 17; ++n) ExpectRefused([&] { return AddTrace(n); });
  ExpectRefused([&] { return RemoveTrace(16); });
}

TEST_F(LowerEdits, RemovingTraceZeroOfThreeKeepsTheOthersAsTheyWere) {
  ASSERT_TRUE(AddTrace(2));
  ASSERT_TRUE(AddChild(0, false));
  SetProfile(0, 1, 1, 2, 3, 4);
  SetProfile(0, 2, 5, 6, 7, 8);
  Show();
  TSection* s = track.Section(0);
  TAltitude* former1 = s->Altitude(1);
  TAltitude* former2 = s->Altitude(2);
  const int32_t x1 = former1->X, y1 = former1->Y;
  Select(*s->Altitude(2));  // altitude 2 of section 0 is selected

  ASSERT_TRUE(RemoveTrace(0));
  EXPECT_EQ(track.Traces, (Traces{98425, 295275}));
  EXPECT_EQ(s->Altitude(0), former1);
  EXPECT_EQ(s->Altitude(1), former2);
  EXPECT_EQ(former1->HeightAtStart, 4);
  EXPECT_EQ(former2->ThirdOrder, 5);
  EXPECT_EQ(former1->X, x1);
  EXPECT_EQ(former1->Y, y1);
  EXPECT_EQ(s->BaseY, 0.0);  // the straight keeps its start
  EXPECT_EQ(Selection(), TObjectPath::Altitude(0, 1));  // past the last altitude: the last one
  EXPECT_EQ(SelectedObject(tree), former2);
  EXPECT_EQ(track.WallTableSize, 128);
  ExpectInStep(track, tree);
  EXPECT_EQ(track.Section(1)->FirstAltitude, 2);
}

TEST_F(LowerEdits, ATraceThatWouldWrapOrTouchANeighbourIsRefused) {
  ASSERT_TRUE(track.SetTrace(1, 2000000000));
  ASSERT_TRUE(track.SetTrace(0, -2000000000));
  Show();
  ExpectRefused([&] { return AddTrace(0); });  // -6000000000
  ExpectRefused([&] { return AddTrace(2); });  // 6000000000
  ASSERT_TRUE(AddTrace(1));
  EXPECT_EQ(track.Traces, (Traces{-2000000000, 0, 2000000000}));
  ExpectInStep(track, tree);

  // Neighbours one unit apart have no integer strictly between them.
  track.SetDefaults();  // a new track for the model alone: the tree shows the old one
  ASSERT_TRUE(track.SetTrace(1, 0));
  ASSERT_TRUE(track.SetTrace(0, -1));
  ExpectRefused([&] { return edit::AddTrace(track, 1); });
  // The whole range halves without overflow.
  ASSERT_TRUE(track.SetTrace(0, kMin));
  ASSERT_TRUE(track.SetTrace(1, kMax));
  ASSERT_TRUE(edit::AddTrace(track, 1));
  EXPECT_EQ(track.Traces, (Traces{kMin, 0, kMax}));
}

// ---- walls ----

TEST_F(LowerEdits, NewWallsAtTheEndsLieOneStripBeyondAndBetweenHalveTheStrip) {
  Show();
  TSection* s = track.Section(0);
  Select(*s->Wall(0));
  ASSERT_TRUE(Add(*s->Wall(0), false));
  EXPECT_EQ(Positions(0, true), (std::vector<int32_t>{-98425, 0, 98425}));
  EXPECT_EQ(Positions(0, false), (std::vector<int32_t>{-98425, 0, 98425}));
  const TWall* added = s->Wall(1);
  EXPECT_EQ(added->Surface, kSurfaceTarmac);
  EXPECT_EQ(added->Height, 0);
  EXPECT_EQ(added->FromPoint, (TPointD{0, 0}));
  EXPECT_EQ(SelectedObject(tree), added);
  // The selected wall's node went inside the tree's update.
  EXPECT_EQ(tree.eventsAtSelectedDeletion, std::vector<bool>{false});
  EXPECT_EQ(tree.eventsAtSelection.back(), true);
  EXPECT_EQ(track.WallTableSize, 96);
  ExpectInStep(track, tree);

  track.SetDefaults();  // a new track for the model alone: the tree shows the old one
  ASSERT_TRUE(edit::AddChild(*track.Section(0), 0, true));
  EXPECT_EQ(Positions(0, true), (std::vector<int32_t>{-295275, -98425, 98425}));
  EXPECT_EQ(track.Section(0)->Wall(0)->Number, 0);
  EXPECT_EQ(track.Section(0)->Wall(2)->Number, 2);

  track.SetDefaults();
  ASSERT_TRUE(track.Section(0)->Wall(0)->SetValue("To", -50000));
  ASSERT_TRUE(edit::AddChild(*track.Section(0), 1, false));
  EXPECT_EQ(Positions(0, true), (std::vector<int32_t>{-98425, 98425, 295275}));
  EXPECT_EQ(Positions(0, false), (std::vector<int32_t>{-50000, 98425, 246850}));
  ExpectRefused([&] { return edit::AddChild(*track.Section(0), 3, true); });
  ExpectRefused([&] { return edit::AddChild(*track.Section(0), -1, false); });
}

TEST_F(LowerEdits, RemovingAWallKeepsAtLeastTwo) {
  Show();
  TSection* s = track.Section(0);
  ExpectRefused([&] { return RemoveWall(s, 0); });
  ExpectRefused([&] { return Remove(*s->Wall(1)); });
  ASSERT_TRUE(AddWall(s, 0, false));
  ASSERT_TRUE(AddWall(s, 2, false));  // walls -98425, 0, 98425, 196850
  ExpectRefused([&] { return RemoveWall(s, 4); });
  ExpectRefused([&] { return RemoveWall(s, -1); });

  TWall* last = s->Wall(3);
  Select(*s->Wall(1));
  tree.eventsAtSelectedDeletion.clear();
  ASSERT_TRUE(Remove(*s->Wall(1)));
  EXPECT_EQ(Positions(0, true), (std::vector<int32_t>{-98425, 98425, 196850}));
  EXPECT_EQ(Selection(), TObjectPath::Wall(0, 1));
  EXPECT_EQ(SelectedObject(tree), s->Wall(1));
  EXPECT_EQ(tree.eventsAtSelectedDeletion, std::vector<bool>{false});
  EXPECT_EQ(tree.eventsAtSelection.back(), true);
  // One strip now runs from the first wall to the next.
  EXPECT_EQ(s->FindWallStrip(1000, 50000), 0);
  ExpectInStep(track, tree);

  ASSERT_TRUE(RemoveWall(s, 2));  // the last: the highlight moves to the new last
  EXPECT_EQ(Selection(), TObjectPath::Wall(0, 1));
  EXPECT_EQ(SelectedObject(tree), s->Wall(1));
  EXPECT_NE(s->Wall(1), last);
  EXPECT_EQ(track.WallTableSize, 64);
  ExpectInStep(track, tree);
  ExpectRefused([&] { return RemoveWall(s, 0); });
}

TEST_F(LowerEdits, AWallThatWouldWrapIsRefused) {
  TSection* s = track.Section(0);
  ASSERT_TRUE(s->Wall(0)->SetValue("To", -2000000000));
  ASSERT_TRUE(s->Wall(1)->SetValue("To", 2000000000));
  Show();
  // From alone would fit; To would wrap.
  ExpectRefused([&] { return AddWall(s, 0, true); });
  ExpectRefused([&] { return AddWall(s, 1, false); });
  ASSERT_TRUE(AddWall(s, 0, false));
  EXPECT_EQ(Positions(0, false), (std::vector<int32_t>{-2000000000, 0, 2000000000}));
  ExpectInStep(track, tree);
}

TEST_F(LowerEdits, CopyWallsToAllMakesEveryWallListEqualToTheSource) {
  TwoKinds();
  ASSERT_TRUE(AddChild(1, false));
  TSection* source = track.Section(1);
  ASSERT_TRUE(AddWall(source, 0, false));
  TWall* w = source->Wall(1);
  w->Surface = 4;
  w->Unk1 = 1;
  w->Height = 2;
  w->Unk2 = 3;
  w->Unk3 = 4;
  w->Unk4 = 5;
  ASSERT_TRUE(w->SetValue("To", 40000));
  Show();
  Select(*track.Section(0)->Wall(1));
  const std::vector<TWall*> sourceWalls = {source->Wall(0), source->Wall(1), source->Wall(2)};

  for (int j = 0; j < track.NumberOfSections(); ++j) ASSERT_TRUE(CopyWalls(1, j));
  for (int s = 0; s < 3; ++s) {
    SCOPED_TRACE(s);
    TSection* section = track.Section(s);
    ASSERT_EQ(section->NumberOfWalls(), 3);
    for (int k = 0; k < 3; ++k) {
      const TWall* a = section->Wall(k);
      const TWall* b = sourceWalls[static_cast<size_t>(k)];
      EXPECT_EQ(std::vector<int32_t>({a->From, a->To, a->Surface, a->Unk1, a->Height, a->Unk2, a->Unk3, a->Unk4}),
                std::vector<int32_t>({b->From, b->To, b->Surface, b->Unk1, b->Height, b->Unk2, b->Unk3, b->Unk4}));
      EXPECT_EQ(a->Owner, section);
    }
    if (s == 1) continue;
    // The copies follow each destination's own geometry.
    const TPointD from = section->Wall(2)->FromPoint, to = section->Wall(2)->ToPoint;
    const TRect box = section->Extent;
    section->RecomputeAllWallPoints();
    section->RecomputeExtent();
    EXPECT_EQ(section->Wall(2)->FromPoint, from);
    EXPECT_EQ(section->Wall(2)->ToPoint, to);
    EXPECT_EQ(section->Extent, box);
  }
  EXPECT_EQ(track.Section(0)->Wall(1)->FromPoint, (TPointD{0, 0}));
  // The source keeps its own walls and nodes.
  for (int k = 0; k < 3; ++k) EXPECT_EQ(source->Wall(k), sourceWalls[static_cast<size_t>(k)]);
  EXPECT_EQ(tree.eventsAtSelectedDeletion, std::vector<bool>{false});
  EXPECT_EQ(track.WallTableSize, 32 * 9);
  ExpectInStep(track, tree);

  ExpectRefused([&] { return CopyWalls(-1, 0); });
  ExpectRefused([&] { return CopyWalls(0, 3); });
  ExpectRefused([&] { return CopyWalls(3, 3); });
  // Onto itself: success, and nothing changes.
  const std::string before = Snapshot(track);
  EXPECT_TRUE(CopyWalls(2, 2));
  EXPECT_EQ(Snapshot(track), before);
}

TEST_F(LowerEdits, CopyWallsKeepsTheHighlightedWallInRange) {
  ASSERT_TRUE(AddChild(0, false));
  ASSERT_TRUE(AddWall(track.Section(1), 1, false));
  Select(*track.Section(1)->Wall(2));
  ASSERT_TRUE(CopyWalls(0, 1));
  EXPECT_EQ(track.Section(1)->NumberOfWalls(), 2);
  EXPECT_EQ(Selection(), TObjectPath::Wall(1, 1));
}

TEST_F(LowerEdits, CopyAltitudeGivesEveryTraceOneProfile) {
  ASSERT_TRUE(AddTrace(2));
  SetProfile(0, 0, 1, 2, 3, 4);
  SetProfile(0, 1, 10, 20, 30, 19685);
  SetProfile(0, 2, -1, -2, -3, -4);
  TSection* s = track.Section(0);
  ASSERT_TRUE(s->Altitude(1)->SetValue("A3", 7));
  std::vector<std::pair<int32_t, int32_t>> points;
  for (const auto& a : s->Altitudes) points.emplace_back(a->X, a->Y);

  const std::string before = Snapshot(track);
  edit::CopyAltitude(*s, 3);  // no such altitude: nothing happens
  edit::CopyAltitude(*s, -1);
  EXPECT_EQ(Snapshot(track), before);

  edit::CopyAltitude(*s, 1);
  RowList reference;
  FillProperties(*s->Altitude(1), reference);
  for (int i = 0; i < 3; ++i) {
    const TAltitude* a = s->Altitude(i);
    EXPECT_EQ(std::vector<int32_t>({a->ThirdOrder, a->SecondOrder, a->FirstOrder, a->HeightAtStart, a->A3, a->B2}),
              std::vector<int32_t>({10, 20, 30, 19685, 7, 40}));
    EXPECT_EQ(std::pair(a->X, a->Y), points[static_cast<size_t>(i)]);
    // The same heights and gradients in the list, each at its own position.
    RowList rows;
    FillProperties(*s->Altitude(i), rows);
    EXPECT_EQ(rows, reference);
  }
}

}  // namespace
}  // namespace meridal
