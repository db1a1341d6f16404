// The tree of a track, labels, and the Edit commands each kind of object allows.
#include <gtest/gtest.h>

#include <array>

#include "present/object_labels.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "platform/edit_commands.h"
#include "document/document.h"
#include "shell/tree_binder.h"
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
  TDocument document(std::move(track));
  MemoryTree tree;
  TTreeBinder binder(document, tree);
  const std::vector<std::string> expected = {
      "Track",
      "  Section 0 (straight)", "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
      "  Section 1 (curved)",   "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
      "  Section 2 (straight)", "    Altitude 0", "    Altitude 1", "    Wall 0", "    Wall 1",
  };
  EXPECT_EQ(tree.Lines(), expected);
  // Built within one update bracket.
  EXPECT_EQ(tree.beginUpdates, 1);
  EXPECT_EQ(tree.updateDepth, 0);

  // Every node knows its object, with the kind's images.
  const TTrack& t = document.Track();
  auto* root = MemoryTree::AsNode(binder.NodeOf(TObjectPath::Track()));
  EXPECT_EQ(root->object, &t);
  EXPECT_EQ(root->image, 0);
  EXPECT_EQ(root->selectedImage, 1);
  const TSection* s1 = t.Section(1);
  auto* node = MemoryTree::AsNode(binder.NodeOf(TObjectPath::Section(1)));
  EXPECT_EQ(node->object, s1);
  EXPECT_EQ(node->parent, root);
  EXPECT_EQ(std::pair(node->image, node->selectedImage), std::pair(2, 3));
  auto* altitude = MemoryTree::AsNode(binder.NodeOf(TObjectPath::Altitude(1, 1)));
  EXPECT_EQ(altitude->object, s1->Altitude(1));
  EXPECT_EQ(std::pair(altitude->image, altitude->selectedImage), std::pair(4, 5));
  auto* wall = MemoryTree::AsNode(binder.NodeOf(TObjectPath::Wall(1, 0)));
  EXPECT_EQ(wall->object, s1->Wall(0));
  EXPECT_EQ(std::pair(wall->image, wall->selectedImage), std::pair(6, 7));
  // The track is selected to begin with.
  EXPECT_EQ(tree.selected, root);
}

TEST(Tree, ANewSectionInTheMiddleTakesItsPlaceBetweenItsNeighbours) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TDocument document(std::move(track));
  MemoryTree tree;
  TTreeBinder binder(document, tree);
  ASSERT_EQ(document.Add(TObjectPath::Section(0), false), history::Outcome::Changed);
  // Its node is new and in its place; the one after it is relabelled, not rebuilt.
  const NodeHandle root = binder.NodeOf(TObjectPath::Track());
  EXPECT_EQ(MemoryTree::ChildTexts(root),
            (std::vector<std::string>{"Section 0 (straight)", "Section 1 (straight)", "Section 2 (straight)"}));
  EXPECT_EQ(MemoryTree::AsNode(root)->children[1]->object, document.Track().Section(1));
  EXPECT_EQ(MemoryTree::AsNode(root)->children[2]->object, document.Track().Section(2));
  EXPECT_EQ(tree.deletions, 0);
  EXPECT_EQ(tree.selected, MemoryTree::AsNode(root)->children[1].get());
}

TEST(Labels, NameTheKindAndNumber) {
  auto track = DefaultTrack();
  AppendCopy<TStraightSection>(*track);
  TCurvedSection* c = ConvertToCurve(*track, 1);
  EXPECT_EQ(Label(*track->Section(0)), "Section 0 (straight)");
  EXPECT_EQ(Label(*c), "Section 1 (curved)");
  EXPECT_EQ(Label(*c->Altitude(1)), "Altitude 1");
  EXPECT_EQ(Label(*c->Wall(1)), "Wall 1");
  EXPECT_EQ(Label(*track), "Track");
}

TEST(EnableCommands, PerKindOfObjectLeavingTheSeparatorsAlone) {
  auto track = DefaultTrack();
  TSection* s = track->Section(0);
  using S = std::array<int, 10>;
  MenuState m;
  EnableCommands(*track, m);
  EXPECT_EQ(m.state, (S{0, 0, 0, -1, 0, 0, 0, 0, -1, 0}));
  EnableCommands(*s, m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 1, 1, 1, 1, -1, 0}));
  EnableCommands(*s->Wall(0), m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 0, 0, 0, 0, -1, 0}));
  EnableCommands(*s->Altitude(0), m);
  EXPECT_EQ(m.state, (S{0, 0, 0, -1, 0, 0, 0, 0, -1, 1}));
  EnableCommands(*ConvertToCurve(*track, 0), m);
  EXPECT_EQ(m.state, (S{1, 1, 1, -1, 1, 1, 1, 1, -1, 0}));
}

}  // namespace
}  // namespace meridal
