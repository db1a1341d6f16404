// The tree of a track, labels, and the Edit commands each kind of object allows.
#include <gtest/gtest.h>

#include <array>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "support/memory_tree.h"
#include "support/track_builders.h"

namespace meridal {
namespace {

using testing::AppendCopy;
using testing::ConvertToCurve;
using testing::DefaultTrack;
using testing::MemoryTree;

struct MenuState : IEditCommands {
  std::array<int, 10> state;  // -1: never set
  MenuState() { state.fill(-1); }
  void SetEnabled(int index, bool enabled) override { state.at(static_cast<size_t>(index)) = enabled; }
};

TEST(Tree, ShowsSectionsInOrderWithAltitudesBeforeWalls) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  AppendCopy<TStraightSection>(*track);
  ConvertToCurve(*track, 1);
  MemoryTree tree;
  track->AddToTree(tree, nullptr);
  const std::vector<std::string> expected = {
      "Track",
      "  Section 0 (straight)", "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
      "  Section 1 (curved)",   "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
      "  Section 2 (straight)", "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
  };
  EXPECT_EQ(tree.Lines(), expected);
  EXPECT_EQ(track->Nodes, &tree);
  // Built within one update bracket.
  EXPECT_EQ(tree.beginUpdates, 1);
  EXPECT_EQ(tree.updateDepth, 0);

  // Every object knows its node, every node its object, with the kind's images.
  auto* root = MemoryTree::AsNode(track->TreeNode);
  EXPECT_EQ(root->object, track.get());
  EXPECT_EQ(root->image, 0);
  EXPECT_EQ(root->selectedImage, 1);
  TSection* s1 = track->Section(1);
  auto* node = MemoryTree::AsNode(s1->TreeNode);
  EXPECT_EQ(node->object, s1);
  EXPECT_EQ(node->parent, root);
  EXPECT_EQ(std::pair(node->image, node->selectedImage), std::pair(2, 3));
  auto* altitude = MemoryTree::AsNode(s1->Altitude(1)->TreeNode);
  EXPECT_EQ(altitude->object, s1->Altitude(1));
  EXPECT_EQ(std::pair(altitude->image, altitude->selectedImage), std::pair(4, 5));
  auto* wall = MemoryTree::AsNode(s1->Wall(0)->TreeNode);
  EXPECT_EQ(wall->object, s1->Wall(0));
  EXPECT_EQ(std::pair(wall->image, wall->selectedImage), std::pair(6, 7));
}

TEST(Tree, ANewSectionInTheMiddleTakesItsPlaceBetweenItsNeighbours) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  MemoryTree tree;
  track->AddToTree(tree, nullptr);
  // Insert a section at index 1 and give it its node alone.
  auto extra = std::make_unique<TStraightSection>(track.get(), static_cast<TStraightSection&>(*track->Section(0)));
  track->Sections.insert(track->Sections.begin() + 1, std::move(extra));
  track->RenumberSections();
  track->Section(1)->AddToTree(tree, track->TreeNode);  // the old second node keeps its label
  EXPECT_EQ(MemoryTree::ChildTexts(track->TreeNode),
            (std::vector<std::string>{"Section 0 (straight)", "Section 1 (straight)", "Section 1 (straight)"}));
  EXPECT_EQ(MemoryTree::AsNode(track->TreeNode)->children[1]->object, track->Section(1));
}

TEST(Labels, NameTheKindAndNumber) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TCurvedSection* c = ConvertToCurve(*track, 1);
  EXPECT_EQ(track->Section(0)->Label(""), "Section 0 (straight)");
  EXPECT_EQ(c->Label("x"), "Section 1 (curved)");
  EXPECT_EQ(c->Altitude(1)->Label(""), "Altitude 1");
  EXPECT_EQ(c->Wall(1)->Label(""), "Wall 1");
  EXPECT_EQ(track->Label("as it was"), "as it was");
}

TEST(EnableCommands, PerKindOfObjectLeavingTheSeparatorsAlone) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  using S = std::array<int, 10>;
  MenuState m;
  track->EnableCommands(m);
  EXPECT_EQ(m.state, (S{0, 0, 0, -1, 0, 0, 0, 0, -1, 0}));
  s->EnableCommands(m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 1, 1, 1, 1, -1, 0}));
  s->Wall(0)->EnableCommands(m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 0, 0, 0, 0, -1, 0}));
  s->Altitude(0)->EnableCommands(m);
  EXPECT_EQ(m.state, (S{0, 0, 0, -1, 0, 0, 0, 0, -1, 1}));
  ConvertToCurve(*track, 0)->EnableCommands(m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 1, 1, 1, 1, -1, 0}));
}

}  // namespace
}  // namespace meridal
