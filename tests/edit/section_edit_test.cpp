// Removing, adding, splitting and retyping sections, with the tree kept in step.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "edit/edit_support.h"
#include "edit/track_edits.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {
namespace {

using testing::ExpectInStep;
using testing::SelectedObject;
using testing::Snapshot;
using testing::WatchedTree;
using Lines = std::vector<std::string>;

class SectionEdits : public ::testing::Test, public testing::DocumentFixture {
 protected:
  // A refused operation changes nothing: not the model, not the tree.
  void ExpectRefused(const std::function<bool()>& op) {
    const std::string model = Snapshot(track);
    const std::string shown = tree.Dump();
    const Lines lines = tree.Lines();
    const int deletions = tree.deletions;
    EXPECT_FALSE(op());
    EXPECT_EQ(Snapshot(track), model);
    EXPECT_EQ(tree.Dump(), shown);
    EXPECT_EQ(tree.Lines(), lines);
    EXPECT_EQ(tree.deletions, deletions);
  }
  TCurvedSection* Curve(int i) { return dynamic_cast<TCurvedSection*>(track.Section(i)); }
  void SetProfile(int s, int i, int32_t a, int32_t b, int32_t c, int32_t d) {
    TAltitude* altitude = track.Section(s)->Altitude(i);
    altitude->SetValue("3rd order coeff.", a);
    altitude->SetValue("2nd order coeff.", b);
    altitude->SetValue("1st order coeff.", c);
    altitude->SetValue("Height@Start", d);
  }
};

const Lines kSectionChildren = {"    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1"};

Lines TreeOf(const std::vector<std::string>& sections) {
  Lines out = {"Track"};
  for (const auto& s : sections) {
    out.push_back("  " + s);
    out.insert(out.end(), kSectionChildren.begin(), kSectionChildren.end());
  }
  return out;
}

// ---- remove ----

TEST_F(SectionEdits, RemovingSectionZeroOfTwoLeavesOneAndASecondRemoveIsRefused) {
  ASSERT_TRUE(AddChild(0, false));
  Show();
  Select(*track.Section(0));
  TSection* survivor = track.Section(1);
  const double x = survivor->StartX(), y = survivor->StartY();

  ASSERT_TRUE(Remove(*track.Section(0)));
  ASSERT_EQ(track.NumberOfSections(), 1);
  EXPECT_EQ(track.Section(0), survivor);
  EXPECT_EQ(survivor->Number, 0);
  EXPECT_EQ(survivor->StartX(), x);  // sections keep their absolute positions
  EXPECT_EQ(survivor->StartY(), y);
  EXPECT_EQ(Selection(), TObjectPath::Section(0));
  EXPECT_EQ(SelectedObject(tree), survivor);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)"}));
  ExpectInStep(track, tree);
  // The selected section's node went inside the tree's update; the new selection
  // came once it was over.
  EXPECT_EQ(tree.eventsAtSelectedDeletion, std::vector<bool>{false});
  EXPECT_EQ(tree.eventsAtSelection.back(), true);

  ExpectRefused([&] { return RemoveChild(0); });
}

TEST_F(SectionEdits, RemovingTheLastSectionHighlightsSectionZero) {
  ASSERT_TRUE(AddChild(0, false));
  ASSERT_TRUE(AddChild(1, false));
  Show();
  Select(*track.Section(2));
  Select(*track.Section(2));
  ASSERT_TRUE(RemoveChild(2));
  EXPECT_EQ(Selection(), TObjectPath::Section(0));
  EXPECT_EQ(SelectedObject(tree), track.Section(0));
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (straight)"}));
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, RemovingAMiddleSectionRenumbersTheRestAndLeavesAGap) {
  ASSERT_TRUE(AddChild(0, false));
  ASSERT_TRUE(track.Section(1)->SetLength(1000));
  ASSERT_TRUE(AddChild(1, false));
  ASSERT_TRUE(ChangeChildType(2));
  Show();
  // A wall of another section was highlighted: that highlight goes with the move.
  Select(*track.Section(0)->Wall(1));
  TSection* last = track.Section(2);
  ASSERT_TRUE(RemoveChild(1));
  EXPECT_EQ(track.Section(1), last);
  EXPECT_EQ(Selection(), TObjectPath::Section(1));
  EXPECT_EQ(Selection().kind, TObjectPath::Kind::Section);
  EXPECT_EQ(SelectedObject(tree), last);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (curved)"}));
  ExpectInStep(track, tree);
  EXPECT_EQ(last->Start, 984252);
  // The removed section's length now shows as a gap before its successor.
  EXPECT_NEAR(last->LongitudinalGap(), 1000, 1);
  EXPECT_NEAR(last->LateralGap(), 0, 1);
}

// ---- add ----

TEST_F(SectionEdits, AddingAfterTheLastPlacesTheCopyAtItsEndAndRampsToSectionZero) {
  ASSERT_TRUE(AddChild(0, false));
  ASSERT_TRUE(ChangeChildType(1));
  SetProfile(0, 0, 0, 0, 0, 100);
  SetProfile(0, 1, 0, 0, 0, 200);
  SetProfile(1, 0, 1, 2, 3, 4);
  SetProfile(1, 1, 10, 20, 30, 40);
  Show();
  TCurvedSection* last = Curve(1);

  ASSERT_TRUE(Add(*last, false));
  ASSERT_EQ(track.NumberOfSections(), 3);
  TCurvedSection* added = Curve(2);
  ASSERT_NE(added, nullptr);
  EXPECT_EQ(added->Length, last->Length);
  EXPECT_EQ(added->Curvature(), last->Curvature());
  EXPECT_EQ(added->Orientation, last->EndOrientation());
  EXPECT_NEAR(added->StartX(), last->EndX(), 1.0);
  EXPECT_NEAR(added->StartY(), last->EndY(), 1.0);
  EXPECT_EQ(added->OrientationMismatch(), 0);
  EXPECT_NEAR(added->LongitudinalGap(), 0, 1);
  EXPECT_NEAR(added->LateralGap(), 0, 1);
  EXPECT_EQ(added->Start, 2 * 984252);
  // Straight ramps from the previous end height to section 0's start height.
  const int32_t ends[2] = {1 + 2 + 3 + 4, 10 + 20 + 30 + 40};
  const int32_t nexts[2] = {100, 200};
  for (int i = 0; i < 2; ++i) {
    const TAltitude* a = added->Altitude(i);
    EXPECT_EQ(std::vector<int32_t>({a->ThirdOrder, a->SecondOrder, a->A3, a->B2, a->HeightAtStart, a->FirstOrder}),
              std::vector<int32_t>({0, 0, 0, 0, ends[i], nexts[i] - ends[i]}));
  }
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (curved)", "Section 2 (curved)"}));
  EXPECT_EQ(SelectedObject(tree), added);
  EXPECT_EQ(Selection(), TObjectPath::Section(2));  // the document selects what it added
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, AddingBeforeSectionZeroPlacesTheCopyAtTheEndOfTheLastSection) {
  ASSERT_TRUE(AddChild(0, false));
  ASSERT_TRUE(ChangeChildType(1));
  SetProfile(0, 0, 0, 0, 0, 100);
  SetProfile(0, 1, 0, 0, 0, 200);
  SetProfile(1, 0, 1, 2, 3, 4);
  SetProfile(1, 1, 10, 20, 30, 40);
  Show();
  TSection* former0 = track.Section(0);
  TCurvedSection* curve = Curve(1);

  ASSERT_TRUE(Add(*former0, true));
  TSection* added = track.Section(0);
  ASSERT_NE(added, former0);
  EXPECT_EQ(added->Type, kStraight);
  EXPECT_EQ(track.Section(1), former0);
  EXPECT_EQ(track.Section(2), curve);
  // The previous section of section 0 is the last one: the circuit stays closed on
  // that side.
  EXPECT_NEAR(added->StartX(), curve->EndX(), 1.0);
  EXPECT_NEAR(added->StartY(), curve->EndY(), 1.0);
  EXPECT_EQ(added->Orientation, curve->EndOrientation());
  EXPECT_NEAR(added->LongitudinalGap(), 0, 1);
  EXPECT_NEAR(added->LateralGap(), 0, 1);
  EXPECT_EQ(added->Altitude(0)->HeightAtStart, 10);
  EXPECT_EQ(added->Altitude(0)->FirstOrder, 90);
  EXPECT_EQ(added->Altitude(1)->HeightAtStart, 100);
  EXPECT_EQ(added->Altitude(1)->FirstOrder, 100);
  // Every later section's start follows.
  EXPECT_EQ(former0->Start, 984252);
  EXPECT_EQ(curve->Start, 2 * 984252);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (straight)", "Section 2 (curved)"}));
  EXPECT_EQ(SelectedObject(tree), added);
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, AddingBesideNarrowingWallsGivesParallelWalls) {
  TSection* s = track.Section(0);
  ASSERT_TRUE(s->Wall(0)->SetValue("To", -50000));
  ASSERT_TRUE(s->Wall(1)->SetValue("To", 50000));
  s->Wall(1)->Height = 77;
  ASSERT_TRUE(AddChild(0, false));
  TSection* after = track.Section(1);
  const auto positions = [](const TSection* section) {
    return std::vector<int32_t>({section->Wall(0)->From, section->Wall(0)->To, section->Wall(1)->From, section->Wall(1)->To});
  };
  EXPECT_EQ(positions(after), std::vector<int32_t>({-50000, -50000, 50000, 50000}));
  EXPECT_EQ(after->Wall(1)->Height, 77);  // the other fields carry over
  EXPECT_EQ(after->Wall(0)->FromPoint, after->Wall(0)->ToPoint);

  ASSERT_TRUE(AddChild(0, true));
  EXPECT_EQ(positions(track.Section(0)), std::vector<int32_t>({-98425, -98425, 98425, 98425}));
  // The copied section is untouched.
  EXPECT_EQ(track.Section(1)->Wall(0)->To, -50000);
}

// ---- split ----

TEST_F(SectionEdits, SplitLengthsStrictlyInsideTheSectionAreAccepted) {
  Show();
  ExpectRefused([&] { return SplitChild(0, 0); });
  ExpectRefused([&] { return SplitChild(0, 984252); });
  ExpectRefused([&] { return SplitChild(0, -5); });

  ASSERT_TRUE(SplitChild(track.Section(0)->Number, 1));
  EXPECT_EQ(track.Section(0)->Length, 1);
  EXPECT_EQ(track.Section(1)->Length, 984251);
  EXPECT_EQ(track.Section(1)->StartX(), 1.0);
  EXPECT_EQ(track.Section(1)->StartY(), 0.0);
  EXPECT_EQ(track.Length, 984252);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (straight)"}));
  EXPECT_EQ(SelectedObject(tree), track.Section(1));
  ExpectInStep(track, tree);

  // Splitting the first part again, at its length minus one, in the middle of the
  // track: the nodes after it are renumbered and the starts follow.
  ASSERT_TRUE(SplitChild(1, 984250));
  EXPECT_EQ(track.Section(1)->Length, 984250);
  EXPECT_EQ(track.Section(2)->Length, 1);
  EXPECT_EQ(track.Section(2)->Start, 984251);
  EXPECT_EQ(track.Section(2)->StartX(), 984251.0);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (straight)", "Section 2 (straight)"}));
  EXPECT_EQ(SelectedObject(tree), track.Section(2));
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, SplitInterpolatesTheWallsAtTheSplitPoint) {
  TSection* s = track.Section(0);
  ASSERT_TRUE(s->Wall(0)->SetValue("From", -100));
  ASSERT_TRUE(s->Wall(0)->SetValue("To", 100));
  ASSERT_TRUE(SplitChild(0, 984252 / 4));
  EXPECT_EQ(track.Section(0)->Wall(0)->From, -100);
  EXPECT_EQ(track.Section(0)->Wall(0)->To, -50);
  EXPECT_EQ(track.Section(1)->Wall(0)->From, -50);
  EXPECT_EQ(track.Section(1)->Wall(0)->To, 100);
  EXPECT_EQ(track.Section(0)->Wall(1)->To, 98425);
  EXPECT_EQ(track.Section(1)->Wall(1)->From, 98425);
  // The wall points follow: the first part's end meets the second part's start.
  const TSection* first = track.Section(0);
  EXPECT_NEAR(first->Wall(0)->ToPoint.y, -50, 1e-9);
  EXPECT_NEAR(track.Section(1)->Wall(0)->FromPoint.y, -50, 1e-9);

  // Halves round away from zero, whichever way the wall runs.
  track.SetDefaults();
  s = track.Section(0);
  ASSERT_TRUE(s->Wall(0)->SetValue("To", -98424));
  ASSERT_TRUE(s->Wall(1)->SetValue("To", 98424));
  ASSERT_TRUE(SplitChild(0, 984252 / 2));
  EXPECT_EQ(track.Section(0)->Wall(0)->To, -98424);  // -98425 + nearest(0.5)
  EXPECT_EQ(track.Section(0)->Wall(1)->To, 98424);   // 98425 + nearest(-0.5)
  EXPECT_EQ(track.Section(1)->Wall(1)->From, 98424);
  EXPECT_EQ(track.Section(1)->Wall(1)->To, 98424);
}

TEST_F(SectionEdits, SplittingAnArcGivesTwoArcsOnOneCircle) {
  for (int32_t curvature : {119304647, -300000000}) {
    SCOPED_TRACE(curvature);
    track.SetDefaults();
    ASSERT_TRUE(ChangeChildType(0));
    ASSERT_TRUE(Curve(0)->SetCurvature(curvature));
    ASSERT_TRUE(Curve(0)->SetOrientation(123456789));
    const TCurvedSection before(&track, *Curve(0));
    const int32_t first = before.Length / 3;
    ASSERT_TRUE(SplitChild(0, first));
    const TCurvedSection* a = Curve(0);
    const TCurvedSection* b = Curve(1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->Length, first);
    EXPECT_EQ(b->Length, before.Length - first);
    EXPECT_EQ(a->Radius, before.Radius);
    EXPECT_NEAR(b->Radius, a->Radius, 1.0);
    EXPECT_NEAR(b->CurveCenterX(), a->CurveCenterX(), 1);
    EXPECT_NEAR(b->CurveCenterY(), a->CurveCenterY(), 1);
    // The two curvatures add up to the whole arc's angle at that radius, each part
    // rounded by at most half a unit...
    const double k = 1073741824.0 / Pi;  // curvature units per radian
    const int64_t sum = int64_t{a->Curvature()} + b->Curvature();
    EXPECT_NEAR(sum, before.Length / a->Radius * k, 1.0);
    // ...which is the former curvature within the rounding of the stored length
    // and radius it was derived from.
    EXPECT_NEAR(sum, before.Curvature(), (0.5 * k + 0.5 * std::fabs(before.Curvature())) / std::fabs(a->Radius) + 1);
    EXPECT_NE(sum, 0);
    EXPECT_EQ(b->Orientation, a->EndOrientation());
    EXPECT_NEAR(b->StartX(), a->EndX(), 1.0);
    EXPECT_NEAR(b->StartY(), a->EndY(), 1.0);
    EXPECT_NEAR(b->EndX(), before.EndX(), 2.0);
    EXPECT_NEAR(b->EndY(), before.EndY(), 2.0);
    EXPECT_EQ(a->StartX(), before.StartX());
    EXPECT_EQ(track.Length, before.Length);
  }
}

TEST_F(SectionEdits, ASplitThatAPartCannotTakeIsRefusedAsAWhole) {
  ASSERT_TRUE(ChangeChildType(0));
  // So wide an arc that a part of length 1 turns by less than half a curvature unit.
  ASSERT_TRUE(Curve(0)->SetRadius(1000000000));
  Show();
  const int32_t length = track.Section(0)->Length;
  ExpectRefused([&] { return SplitChild(0, 1); });           // the first part
  ExpectRefused([&] { return SplitChild(0, length - 1); });  // the second part
  EXPECT_TRUE(SplitChild(0, length / 2));
  ExpectInStep(track, tree);
}

// ---- change type ----

TEST_F(SectionEdits, ChangingTheDefaultStraightGivesA20DegreeArcAndBack) {
  SetProfile(0, 1, 5, 6, 7, 8);
  ASSERT_TRUE(track.Section(0)->Wall(0)->SetValue("To", -90000));
  Show();
  Select(*track.Section(0));
  TSection* old = track.Section(0);

  ASSERT_TRUE(ChangeChildType(old->Number));
  TCurvedSection* curve = Curve(0);
  ASSERT_NE(curve, nullptr);
  EXPECT_EQ(curve->Curvature(), 119304647);
  EXPECT_EQ(curve->Radius, 2819674.0);
  EXPECT_EQ(curve->GetValue("Radius"), 2819674);
  EXPECT_EQ(curve->Length, 984252);
  EXPECT_EQ(curve->Orientation, 0);
  EXPECT_NEAR(curve->StartX(), 0.0, 1.0);
  EXPECT_NEAR(curve->StartY(), 0.0, 1.0);
  EXPECT_EQ(curve->Altitude(1)->ThirdOrder, 5);
  EXPECT_EQ(curve->Altitude(1)->HeightAtStart, 8);
  EXPECT_EQ(curve->Wall(0)->To, -90000);
  EXPECT_EQ(curve->Wall(1)->Surface, kSurfaceLeftBorder);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (curved)"}));
  EXPECT_EQ(SelectedObject(tree), curve);
  EXPECT_EQ(tree.eventsAtSelectedDeletion, std::vector<bool>{false});
  ExpectInStep(track, tree);

  ASSERT_TRUE(ChangeChildType(0));
  const TSection* straight = track.Section(0);
  EXPECT_EQ(straight->Type, kStraight);
  EXPECT_EQ(straight->Length, 984252);
  EXPECT_EQ(straight->Orientation, 0);
  EXPECT_NEAR(straight->StartX(), 0.0, 1.0);
  EXPECT_NEAR(straight->StartY(), 0.0, 1.0);
  EXPECT_EQ(straight->Altitude(1)->SecondOrder, 6);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)"}));
  EXPECT_EQ(SelectedObject(tree), straight);
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, ChangingTypeKeepsTheStartAndHeadingOfAPlacedSection) {
  ASSERT_TRUE(AddChild(0, false));
  TSection* s = track.Section(1);
  ASSERT_TRUE(s->SetOrientation(1000000000));
  ASSERT_TRUE(s->SetStart(12345, -6789));
  const double x = s->StartX(), y = s->StartY();
  Show();
  ASSERT_TRUE(ChangeChildType(1));
  EXPECT_EQ(track.Section(1)->Orientation, 1000000000);
  EXPECT_NEAR(track.Section(1)->StartX(), x, 1.0);
  EXPECT_NEAR(track.Section(1)->StartY(), y, 1.0);
  EXPECT_EQ(track.Section(1)->Start, 984252);
  EXPECT_EQ(tree.Lines(), TreeOf({"Section 0 (straight)", "Section 1 (curved)"}));
  ExpectInStep(track, tree);
  ASSERT_TRUE(ChangeChildType(1));
  EXPECT_EQ(track.Section(1)->Orientation, 1000000000);
  EXPECT_NEAR(track.Section(1)->StartX(), x, 2.0);
  EXPECT_NEAR(track.Section(1)->StartY(), y, 2.0);
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, AnArcTooWideFor32BitsIsRefused) {
  // A straight this long would become an arc whose radius (length over 20 degrees)
  // lies beyond the 32-bit range of the trace radii.
  ASSERT_TRUE(track.Section(0)->SetLength(800000000));
  Show();
  ExpectRefused([&] { return ChangeChildType(0); });
  // Just inside the range it converts.
  ASSERT_TRUE(track.Section(0)->SetLength(700000000));
  ASSERT_TRUE(ChangeChildType(0));
  EXPECT_NEAR(track.Section(0)->Radius, 700000000 / (119304647 * Pi / 1073741824.0), 1.0);
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, AStraightBeyondThe32BitPlanIsRefused) {
  ASSERT_TRUE(ChangeChildType(0));
  // A wide arc whose centre fits 32 bits but whose start lies beyond them: the
  // straight's trace points, stored as integers, could not be there.
  ASSERT_TRUE(Curve(0)->SetOrientation(1073741824));  // heading north: the start lies east of the centre
  ASSERT_TRUE(Curve(0)->SetRadius(2000000000));
  ASSERT_TRUE(Curve(0)->SetStart(4100000000.0, 0));
  ASSERT_EQ(Curve(0)->CurveCenterX(), 2100000000);
  Show();
  ExpectRefused([&] { return ChangeChildType(0); });
  ASSERT_TRUE(Curve(0)->SetStart(2100000000.0, 0));
  ASSERT_TRUE(ChangeChildType(0));
  EXPECT_NEAR(track.Section(0)->StartX(), 2100000000.0, 1.0);
  ExpectInStep(track, tree);
}

TEST_F(SectionEdits, IndicesOutsideTheTrackAreRefused) {
  ASSERT_TRUE(AddChild(0, false));
  Show();
  for (int32_t n : {-1, 2, 2147483647}) {
    SCOPED_TRACE(n);
    ExpectRefused([&] { return RemoveChild(n); });
    ExpectRefused([&] { return AddChild(n, true); });
    ExpectRefused([&] { return AddChild(n, false); });
    ExpectRefused([&] { return SplitChild(n, 10); });
    ExpectRefused([&] { return ChangeChildType(n); });
  }
}

// The edits give a bare track the same model as a document with a tree.
TEST(SectionEditsHeadless, AHeadlessTrackGetsTheSameModel) {
  testing::DocumentFixture shown;
  shown.Show();
  TTrack headless;
  headless.SetDefaults();
  using history::Outcome;
  const auto section = TObjectPath::Section;
  struct Step {
    std::function<bool(TTrack&)> edit;
    std::function<Outcome(TDocument&)> change;
  };
  const Step steps[] = {
      {[](TTrack& t) { return edit::AddChild(t, 0, false); }, [&](TDocument& d) { return d.Add(section(0), false); }},
      {[](TTrack& t) { return edit::ChangeChildType(t, 1); }, [&](TDocument& d) { return d.ChangeType(section(1)); }},
      {[](TTrack& t) { return edit::SplitChild(t, 1, 300000); }, [&](TDocument& d) { return d.Split(section(1), 300000); }},
      {[](TTrack& t) { return edit::AddChild(t, 0, true); }, [&](TDocument& d) { return d.Add(section(0), true); }},
      {[](TTrack& t) { return edit::RemoveChild(t, 2); }, [&](TDocument& d) { return d.Remove(section(2)); }},
      {[](TTrack& t) { return edit::AddTrace(t, 0); }, [](TDocument& d) { return d.AddTrace(0, false); }},
      {[](TTrack& t) { return edit::AddChild(*t.Section(1), 0, false); },
       [](TDocument& d) { return d.Add(TObjectPath::Wall(1, 0), false); }},
      {[](TTrack& t) { return edit::CopyWalls(t, 1, 0); }, [](TDocument& d) { return d.CopyWallsFrom(1, 0); }},
      {[](TTrack& t) { return edit::RemoveTrace(t, 1); }, [](TDocument& d) { return d.RemoveTrace(1); }},
      {[](TTrack& t) { return edit::RemoveChild(*t.Section(0), 1); },
       [](TDocument& d) { return d.Remove(TObjectPath::Wall(0, 1)); }},
      {[](TTrack& t) { return edit::AddTrace(t, 1); }, [](TDocument& d) { return d.AddTrace(1, false); }},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(step.edit(headless));
    headless.UpdateExtent();  // what every change of a document ends with
    ASSERT_EQ(step.change(*shown.document), Outcome::Changed);
    EXPECT_EQ(Snapshot(headless, false), Snapshot(shown.track, false));
    ExpectInStep(shown.track, shown.tree);
  }
}

}  // namespace
}  // namespace meridal
