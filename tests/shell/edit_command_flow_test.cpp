// The Edit menu's commands: confirmation, one operation, the refusal message and
// the refresh, tested on scripted objects so that only the flow is under test.
#include "shell/edit_command_flow.h"

#include <gtest/gtest.h>

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

class EditCommandFlowTest : public ::testing::Test {
 protected:
  testing::RecordingWindows windows;
  testing::ScriptedMessages messages;
  testing::ScriptedFileDialogs fileDialogs;
  testing::ScriptedFiles files;
  testing::ScriptedDialogs dialogs;
  TDocumentShell shell{windows, messages, fileDialogs, files};
  TEditCommandFlow flow{shell, dialogs};
  testing::ScriptedObject object;

  EditCommandFlowTest() {
    windows.onSelect = [this](TBase& o) { shell.SelectionChanged(o, nullptr); };
  }
  void SelectScripted(const std::string& label) {
    windows.selectedOverride = &object;
    windows.labelOverride = label;
  }
};

struct StructuralCase {
  void (TEditCommandFlow::*command)();
  const char* question;
  const char* refusal;
};

TEST_F(EditCommandFlowTest, StructuralCommandsConfirmOperateAndReport) {
  const StructuralCase cases[] = {
      {&TEditCommandFlow::Remove, "Remove Section 4 (curved) ?", "Cannot remove Section 4 (curved) !"},
      {&TEditCommandFlow::AddBefore, "Add before Section 4 (curved) ?", "Cannot add before Section 4 (curved) !"},
      {&TEditCommandFlow::AddAfter, "Add after Section 4 (curved) ?", "Cannot add after Section 4 (curved) !"},
      {&TEditCommandFlow::ChangeType, "Change Type of Section 4 (curved) ?",
       "Cannot change type of Section 4 (curved) !"},
  };
  shell.FileNew();
  SelectScripted("Section 4 (curved)");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.question);
    messages.shown.clear();
    shell.Modified = false;
    windows.repaints = 0;

    // No: nothing happens.
    messages.answers = {MessageAnswer::No};
    object.calls = 0;
    (flow.*c.command)();
    EXPECT_EQ(object.calls, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, c.question);
    EXPECT_EQ(messages.shown[0].title, "Meridal");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::YesNo);

    // Refused: the stop box, nothing refreshed.
    object.result = false;
    messages.answers = {MessageAnswer::Yes};
    (flow.*c.command)();
    EXPECT_EQ(object.calls, 1);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, c.refusal);
    EXPECT_EQ(messages.shown[2].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[2].buttons, MessageButtons::Ok);
    EXPECT_FALSE(shell.Modified);
    EXPECT_EQ(windows.repaints, 0);

    // Done: the common refresh.
    object.result = true;
    messages.answers = {MessageAnswer::Yes};
    (flow.*c.command)();
    EXPECT_EQ(messages.shown.size(), 4u);
    EXPECT_TRUE(shell.Modified);
    EXPECT_TRUE(windows.saveEnabled);
    EXPECT_EQ(windows.repaints, 1);
  }
  messages.answers = {MessageAnswer::Yes};
  flow.AddBefore();
  EXPECT_TRUE(object.addedBefore);
  messages.answers = {MessageAnswer::Yes};
  flow.AddAfter();
  EXPECT_FALSE(object.addedBefore);
}

TEST_F(EditCommandFlowTest, WithoutADocumentOrASelectionCommandsDoNothing) {
  SelectScripted("Section 0 (straight)");
  object.result = true;
  flow.Remove();
  flow.Split();
  flow.CopyWallsToAll();
  flow.CopyAltitude();
  flow.CopyWallsFrom();
  shell.FileNew();
  windows.selectedOverride = nullptr;
  windows.tree->selected = nullptr;
  flow.AddAfter();
  flow.ChangeType();
  flow.CopyWallsToAll();
  EXPECT_EQ(object.calls, 0);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(dialogs.splits + dialogs.copies, 0);
  EXPECT_FALSE(shell.Modified);
}

TEST_F(EditCommandFlowTest, SplitRefreshesOnlyAfterOK) {
  shell.FileNew();
  SelectScripted("Section 4 (curved)");
  flow.Split();
  EXPECT_EQ(dialogs.splits, 1);
  EXPECT_EQ(dialogs.splitTarget, &object);
  EXPECT_FALSE(shell.Modified);
  EXPECT_EQ(windows.refills, 0);
  dialogs.splitResult = true;
  flow.Split();
  EXPECT_TRUE(shell.Modified);
  EXPECT_EQ(windows.refills, 1);
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
  EXPECT_FALSE(shell.Modified);

  dialogs.copyResult = 5;  // refused by the track: no word, no change
  flow.CopyWallsFrom();
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(shell.Modified);
}

TEST_F(EditCommandFlowTest, CopyWallsToAllAsksThenRefreshesWhateverTheCopiesSay) {
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Section 0 (straight)"));
  messages.answers = {MessageAnswer::No};
  flow.CopyWallsToAll();
  EXPECT_FALSE(shell.Modified);
  messages.answers = {MessageAnswer::Yes};
  flow.CopyWallsToAll();
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, "Copy Walls of Section 0 (straight) to all Sections ?");
  EXPECT_TRUE(shell.Modified);
  EXPECT_EQ(windows.repaints, 1);
}

TEST_F(EditCommandFlowTest, CopyAltitudeAsksAndMarksTheDocument) {
  shell.FileNew();
  ASSERT_TRUE(windows.SelectNode("Altitude 1"));
  messages.answers = {MessageAnswer::Yes};
  flow.CopyAltitude();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Copy Altitude 1 ?");
  EXPECT_TRUE(shell.Modified);
  EXPECT_TRUE(windows.saveEnabled);
  EXPECT_EQ(windows.repaints, 1);

  // Without a highlighted section it does nothing, not even ask.
  ASSERT_TRUE(windows.SelectNode("Track"));
  windows.selectedOverride = shell.Track->Section(0)->Altitude(0);
  windows.labelOverride = "Altitude 0";
  flow.CopyAltitude();
  EXPECT_EQ(messages.shown.size(), 1u);
}

}  // namespace
}  // namespace meridal
