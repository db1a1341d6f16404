// A run of selected sections: selecting it (Shift and Ctrl), a value set on the
// whole run as one step and refused whole, and the run removed as one step.
#include <gtest/gtest.h>

#include "edit/edit_support.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using history::Outcome;

struct RunFixture : testing::DocumentFixture {
  RunFixture() {
    document = std::make_unique<TDocument>(testing::Stadium());  // straight, arc, straight, arc
    Show();
    document->Subscribe([this](const TDocumentChange& change) { selections += change.selection; });
  }
  TSectionRun Selected() const { return document->SelectedRun(); }
  TTrack& Track() { return const_cast<TTrack&>(document->Track()); }
  int selections = 0;
};

TEST(SectionRun, ShiftExtendsFromTheAnchorAndCtrlAddsOrTakesAnEnd) {
  RunFixture r;
  r.document->Select(TObjectPath::Section(1));
  EXPECT_EQ(r.Selected(), (TSectionRun{1, 1}));
  r.document->ExtendRun(3);
  EXPECT_EQ(r.Selected(), (TSectionRun{1, 3}));
  EXPECT_EQ(r.Selection(), TObjectPath::Section(3));
  r.document->ExtendRun(0);  // the anchor stays
  EXPECT_EQ(r.Selected(), (TSectionRun{0, 1}));
  r.document->ToggleInRun(3);  // joins, with those between
  EXPECT_EQ(r.Selected(), (TSectionRun{0, 3}));
  r.document->ToggleInRun(3);  // the current end leaves
  EXPECT_EQ(r.Selected(), (TSectionRun{0, 2}));
  EXPECT_EQ(r.Selection(), TObjectPath::Section(2));
  r.document->ToggleInRun(0);  // so does the anchor's
  EXPECT_EQ(r.Selected(), (TSectionRun{1, 2}));
  r.document->ToggleInRun(1);
  r.document->ToggleInRun(2);  // a run keeps its current section
  EXPECT_EQ(r.Selected(), (TSectionRun{2, 2}));
  EXPECT_EQ(r.selections, 7);
  r.document->Select(TObjectPath::Wall(2, 0));
  EXPECT_TRUE(r.Selected().Empty());
}

TEST(SectionRun, AValueSetOnTheRunIsOneStepAndRefusedWhole) {
  RunFixture r;
  const std::string before = testing::Snapshot(r.Track(), false);
  r.document->SelectRun(0, 3);
  ASSERT_EQ(r.document->SetValueOnRun("Length", 300000), Outcome::Changed);
  EXPECT_EQ(r.document->History().UndoText(), "Set Length of 4 Sections");
  for (const auto& s : r.Track().Sections) EXPECT_EQ(s->Length, 300000);
  EXPECT_EQ(r.Track().Length, 1200000);
  ASSERT_TRUE(r.document->Undo());
  EXPECT_EQ(testing::Snapshot(r.Track(), false), before);
  EXPECT_EQ(r.Selected(), (TSectionRun{0, 3}));  // the run as it was selected

  // Radius only on the arcs; section 3's wall lies beyond 200000, so it refuses,
  // and section 1, which took it, gives it back.
  ASSERT_TRUE(r.Track().Section(3)->Wall(1)->SetValue("From", 250000));
  const std::string walled = testing::Snapshot(r.Track());
  EXPECT_EQ(r.document->SetValueOnRun("Radius", 200000), Outcome::Refused);
  EXPECT_EQ(testing::Snapshot(r.Track()), walled);
  r.document->SelectRun(0, 2);
  ASSERT_EQ(r.document->SetValueOnRun("Radius", 200000), Outcome::Changed);
  EXPECT_EQ(r.document->History().UndoText(), "Set Radius of Section 1");
  EXPECT_EQ(r.document->History().Count(), 1u);  // the refusal left no step
}

TEST(SectionRun, RemovingTheRunIsOneStep) {
  RunFixture r;
  const std::string before = testing::Snapshot(r.Track(), false);
  r.document->SelectRun(2, 1);
  ASSERT_EQ(r.document->RemoveRun(), Outcome::Changed);
  EXPECT_EQ(r.document->History().UndoText(), "Remove 2 Sections");
  EXPECT_EQ(r.Track().NumberOfSections(), 2);
  EXPECT_EQ(r.Selection(), TObjectPath::Section(1));
  testing::ExpectInStep(r.Track(), r.tree);
  ASSERT_TRUE(r.document->Undo());
  EXPECT_EQ(testing::Snapshot(r.Track(), false), before);
  EXPECT_EQ(r.Selected(), (TSectionRun{1, 2}));
  EXPECT_EQ(r.document->RunAnchor(), 2);
  testing::ExpectInStep(r.Track(), r.tree);
  r.document->SelectRun(0, 3);
  EXPECT_EQ(r.document->RemoveRun("Cut"), Outcome::Refused);  // a track keeps a section
  EXPECT_EQ(r.Track().NumberOfSections(), 4);
}

}  // namespace
}  // namespace meridal
