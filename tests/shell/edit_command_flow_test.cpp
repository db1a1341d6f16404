// The Edit menu's commands: confirmation, one operation, the refusal message and
// the refresh.
#include "shell/edit_command_flow.h"

#include <gtest/gtest.h>

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

class EditCommandFlowTest : public ::testing::Test, public testing::ShellFixture {};

struct StructuralCase {
  void (TEditCommandFlow::*command)();
  const char* question;
  size_t sectionsAfter;
};

TEST_F(EditCommandFlowTest, StructuralCommandsConfirmOperateAndReport) {
  const StructuralCase cases[] = {
      {&TEditCommandFlow::AddBefore, "Add before Section 0 (straight) ?", 2},
      {&TEditCommandFlow::AddAfter, "Add after Section 0 (straight) ?", 3},
      {&TEditCommandFlow::ChangeType, "Change Type of Section 1 (straight) ?", 3},
      {&TEditCommandFlow::Remove, "Remove Section 1 (curved) ?", 2},
  };
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.question);
    messages.shown.clear();
    windows.repaints = 0;
    const size_t steps = shell.Document()->History().Count();

    // No: nothing happens.
    messages.answers = {MessageAnswer::No};
    (flow.*c.command)();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.question);
    EXPECT_EQ(messages.shown[0].title, "Meridal");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(shell.Document()->History().Count(), steps);

    // Yes: one step, and the common refresh.
    messages.answers = {MessageAnswer::Yes};
    (flow.*c.command)();
    EXPECT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(shell.Document()->History().Count(), steps + 1);
    EXPECT_EQ(shell.Track()->Sections.size(), c.sectionsAfter);
    EXPECT_TRUE(shell.Modified());
    EXPECT_TRUE(windows.saveEnabled);
    EXPECT_EQ(windows.repaints, 1);
  }
  // Refused: the stop box, nothing refreshed, no step.
  messages.answers = {MessageAnswer::No};  // the changes above are not saved
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  messages.shown.clear();
  windows.repaints = 0;
  messages.answers = {MessageAnswer::Yes};
  flow.Remove();  // the only section
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Cannot remove Section 0 (straight) !");
  EXPECT_EQ(messages.shown[1].icon, MessageIcon::Error);
  EXPECT_EQ(messages.shown[1].buttons, MessageButtons::Ok);
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(shell.Document()->History().Count(), 0u);
  EXPECT_EQ(windows.repaints, 0);
}

TEST_F(EditCommandFlowTest, WithoutADocumentCommandsDoNothing) {
  flow.Remove();
  flow.Split();
  flow.CopyWallsToAll();
  flow.CopyAltitude();
  flow.CopyWallsFrom();
  flow.AddAfter();
  flow.ChangeType();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialogs.splits + dialogs.copies, 0);
  // With the track selected, the commands for sections and altitudes do nothing.
  shell.FileNew();
  flow.CopyWallsToAll();
  flow.CopyAltitude();
  flow.CopyWallsFrom();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialogs.copies, 0);
  EXPECT_FALSE(shell.Modified());
}

TEST_F(EditCommandFlowTest, SplitRefreshesOnlyAfterOK) {
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  const int refills = windows.refills;
  flow.Split();  // cancelled
  EXPECT_EQ(dialogs.splits, 1);
  EXPECT_EQ(dialogs.splitTarget, shell.Track()->Section(0));
  EXPECT_FALSE(shell.Modified());
  EXPECT_EQ(windows.refills, refills);
  dialogs.splitAt = 0;  // refused: the dialog stays open, nothing changes
  flow.Split();
  EXPECT_FALSE(shell.Modified());
  dialogs.splitAt = 1000;
  flow.Split();
  EXPECT_TRUE(shell.Modified());
  EXPECT_EQ(shell.Track()->Sections.size(), 2u);
  EXPECT_EQ(shell.Document()->History().UndoText(), "Split Section 0");
  EXPECT_EQ(windows.refills, refills + 1);
  EXPECT_EQ(windows.repaints, 1);
  EXPECT_TRUE(messages.shown.empty());  // no confirmation; the dialog reports refusals
}

TEST_F(EditCommandFlowTest, CopyWallsFromNeedsAHighlightedSectionAndFailsSilently) {
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Track"));
  flow.CopyWallsFrom();  // nothing highlighted
  EXPECT_EQ(dialogs.copies, 0);

  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  flow.CopyWallsFrom();  // cancelled
  EXPECT_EQ(dialogs.copies, 1);
  EXPECT_EQ(dialogs.copyPreset, 0);  // the section before section 0 of a one-section track is itself
  EXPECT_EQ(dialogs.copyCount, 1);
  EXPECT_FALSE(shell.Modified());

  dialogs.copyResult = 5;  // refused by the track: no word, no change
  flow.CopyWallsFrom();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(shell.Modified());
}

TEST_F(EditCommandFlowTest, CopyWallsToAllAsksThenChangesWhatDiffers) {
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  messages.answers = {MessageAnswer::Yes};
  flow.CopyWallsToAll();  // one section: its walls are its own already
  EXPECT_FALSE(shell.Modified());
  ASSERT_EQ(shell.Document()->Add(TObjectPath::Section(0), false), history::Outcome::Changed);
  Track().Section(1)->Wall(0)->Surface = 4;
  shell.Document()->MarkSaved();
  windows.repaints = 0;
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  messages.shown.clear();
  messages.answers = {MessageAnswer::No};
  flow.CopyWallsToAll();
  EXPECT_FALSE(shell.Modified());
  messages.answers = {MessageAnswer::Yes};
  flow.CopyWallsToAll();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Copy Walls of Section 0 (straight) to all Sections ?");
  EXPECT_TRUE(shell.Modified());
  EXPECT_EQ(shell.Track()->Section(1)->Wall(0)->Surface, 1);
  EXPECT_EQ(windows.repaints, 1);
}

TEST_F(EditCommandFlowTest, CopyAltitudeAsksAndMarksTheDocument) {
  shell.FileNew();
  Track().Section(0)->Altitude(1)->HeightAtStart = 500;
  ASSERT_TRUE(windows.SelectNode("Altitude 1"));
  messages.answers = {MessageAnswer::Yes};
  flow.CopyAltitude();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Copy Altitude 1 ?");
  EXPECT_TRUE(shell.Modified());
  EXPECT_TRUE(windows.saveEnabled);
  EXPECT_EQ(windows.repaints, 1);

  // Without a selected altitude it does nothing, not even ask.
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  flow.CopyAltitude();
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace meridal
