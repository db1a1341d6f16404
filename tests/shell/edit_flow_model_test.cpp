// The Edit and trace commands on a real track: the model changes, the tree
// follows, and the document is marked.
#include <gtest/gtest.h>

#include "model/track.h"
#include "present/object_labels.h"
#include "shell/document_shell.h"
#include "shell/edit_command_flow.h"
#include "shell/property_list_commands.h"
#include "shell/shell_doubles.h"

namespace meridal {
namespace {

class EditFlowModelTest : public ::testing::Test, public testing::ShellFixture {
 protected:
  void SetUp() override {
    shell.FileNew();
  }
  size_t SectionNodes() const { return windows.tree->roots.at(0)->children.size(); }
  void Select(const std::string& label) { ASSERT_TRUE(windows.SelectNode(label)) << label; }
  void Yes(void (TEditCommandFlow::*command)()) {
    messages.answers = {MessageAnswer::Yes};
    (flow.*command)();
  }
  // Adds sections after the last one until there are n.
  void Sections(int n) {
    while (Track().NumberOfSections() < n) {
      Select(Label(*Track().Sections.back()));
      Yes(&TEditCommandFlow::AddAfter);
    }
  }
};

TEST_F(EditFlowModelTest, AddingAndRemovingSectionsKeepsTheTreeInStep) {
  Select("Section 0 (straight)");
  Yes(&TEditCommandFlow::AddAfter);
  ASSERT_EQ(Track().NumberOfSections(), 2);
  EXPECT_EQ(windows.tree->selected->text, "Section 1 (straight)");
  EXPECT_EQ(SectionNodes(), 2u);
  EXPECT_TRUE(shell.Modified());

  Select("Section 0 (straight)");
  Yes(&TEditCommandFlow::Remove);
  ASSERT_EQ(Track().NumberOfSections(), 1);
  EXPECT_EQ(SectionNodes(), 1u);
  Select("Section 0 (straight)");
  Yes(&TEditCommandFlow::Remove);  // the only section stays
  EXPECT_EQ(messages.Texts().back(), "Cannot remove Section 0 (straight) !");
  EXPECT_EQ(Track().NumberOfSections(), 1);
}

TEST_F(EditFlowModelTest, SplitAndChangeTypeThroughTheirCommands) {
  Select("Section 0 (straight)");
  dialogs.splitAt = 984252 / 4;
  flow.Split();
  ASSERT_EQ(Track().NumberOfSections(), 2);
  EXPECT_EQ(Track().Section(0)->Length, 984252 / 4);
  EXPECT_EQ(Track().Section(1)->Length, 984252 - 984252 / 4);
  EXPECT_EQ(windows.refills, 1);
  dialogs.splitAt = 0;  // refused by the section
  Select("Section 0 (straight)");
  flow.Split();
  EXPECT_EQ(Track().NumberOfSections(), 2);

  Select("Section 1 (straight)");
  Yes(&TEditCommandFlow::ChangeType);
  EXPECT_EQ(Track().Section(1)->Type, kCurved);
  EXPECT_EQ(windows.tree->selected->text, "Section 1 (curved)");
}

TEST_F(EditFlowModelTest, CopyWallsToAllCopiesTheHighlightedSection) {
  Sections(3);
  // Give section 1 a third wall.
  testing::MemoryTree::Node* sectionNode = windows.tree->roots.at(0)->children.at(1).get();
  windows.tree->Select(sectionNode->children[2].get());  // Wall 0 of section 1
  Yes(&TEditCommandFlow::AddAfter);
  ASSERT_EQ(Track().Section(1)->NumberOfWalls(), 3);
  Track().Section(1)->Wall(2)->Surface = 4;

  Select("Section 1 (straight)");
  Yes(&TEditCommandFlow::CopyWallsToAll);
  for (int s = 0; s < 3; ++s) {
    ASSERT_EQ(Track().Section(s)->NumberOfWalls(), 3) << s;
    EXPECT_EQ(Track().Section(s)->Wall(2)->Surface, 4) << s;
  }
}

TEST_F(EditFlowModelTest, CopyWallsFromOffersThePreviousSection) {
  Sections(3);
  Track().Section(1)->Wall(0)->Surface = 6;
  Select("Section 0 (straight)");
  dialogs.copyResult = 1;
  flow.CopyWallsFrom();
  EXPECT_EQ(dialogs.copyPreset, 2);  // before section 0 comes the last section
  EXPECT_EQ(dialogs.copyCount, 3);
  EXPECT_EQ(Track().Section(0)->Wall(0)->Surface, 6);
  EXPECT_TRUE(shell.Modified());
}

TEST_F(EditFlowModelTest, CopyAltitudeGivesTheSectionOneProfile) {
  TAltitude& pattern = *Track().Section(0)->Altitude(1);
  pattern.SetValue("Height@Start", 5);
  pattern.SetValue("3rd order coeff.", 2);
  Select("Altitude 1");
  Yes(&TEditCommandFlow::CopyAltitude);
  TAltitude& other = *Track().Section(0)->Altitude(0);
  EXPECT_EQ(other.GetValue("Height@Start"), 5);
  EXPECT_EQ(other.GetValue("3rd order coeff."), 2);
  EXPECT_TRUE(shell.Modified());
}

TEST_F(EditFlowModelTest, TraceCommandsAddAndRemoveAltitudesEverywhere) {
  Sections(2);
  const int refills = windows.refills;
  messages.answers = {MessageAnswer::Yes};
  list.RunTraceCommand(TraceCommand::AddAfter, "Trace 0");
  EXPECT_EQ(Track().Traces, (std::vector<int32_t>{-98425, 0, 98425}));
  EXPECT_EQ(windows.refills, refills + 1);
  EXPECT_TRUE(shell.Modified());
  for (int s = 0; s < 2; ++s) {
    const auto labels = testing::MemoryTree::ChildTexts(windows.tree->roots.at(0)->children.at(static_cast<size_t>(s)).get());
    EXPECT_EQ(labels[2], "Altitude 2") << s;
  }
  messages.answers = {MessageAnswer::Yes};
  list.RunTraceCommand(TraceCommand::Remove, "Trace 1");
  EXPECT_EQ(Track().Traces, (std::vector<int32_t>{-98425, 98425}));
  messages.answers = {MessageAnswer::Yes};
  list.RunTraceCommand(TraceCommand::AddBefore, "Trace 0");
  EXPECT_EQ(Track().Traces.front(), -295275);
}

}  // namespace
}  // namespace meridal
