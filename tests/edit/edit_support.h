#pragma once
// What the edit tests share: a full snapshot of a track (stored fields, caches,
// selection state and node handles) for proving that a refusal changed nothing, a
// check that the tree shows the model exactly, and a tree that records the events
// flag whenever the selected node is deleted or a node is selected.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "support/memory_tree.h"

namespace meridal::testing {

inline std::string Hex(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", v);
  return buffer;
}

// Every value of the track and its objects, doubles bit for bit. With handles
// true the node handles and object addresses are included too; with selection
// false the highlight indices are left out.
inline std::string Snapshot(const TTrack& t, bool handles = true, bool selection = true) {
  std::string s;
  auto add = [&](const std::string& name, long long v) { s += name + "=" + std::to_string(v) + " "; };
  auto addD = [&](const std::string& name, double v) { s += name + "=" + Hex(v) + " "; };
  auto addP = [&](const std::string& name, const void* p) {
    if (handles) {
      char buffer[32];
      std::snprintf(buffer, sizeof buffer, "%p", p);
      s += name + "=" + buffer + " ";
    }
  };
  auto addRect = [&](const TRect& r) {
    add("l", r.left); add("t", r.top); add("r", r.right); add("b", r.bottom);
  };
  add("Number", t.Number);
  if (selection) { add("Sel", t.SelectedChild); add("Item", t.SelectedItem); }
  add("Length", t.Length); add("Walls", t.WallTableSize); add("Sections", t.SectionTableSize);
  add("Events", t.TreeEventsEnabled);
  addRect(t.Extent);
  addP("node", t.TreeNode);
  for (int32_t trace : t.Traces) add("trace", trace);
  s += "\n";
  for (const auto& sec : t.Sections) {
    addP("section", sec.get()); addP("node", sec->TreeNode); addP("owner", sec->Owner);
    add("Number", sec->Number); add("Type", sec->Type); add("Start", sec->Start); add("Length", sec->Length);
    add("Orientation", sec->Orientation); add("Reserved", sec->Reserved);
    for (int32_t w : sec->ExportWords) add("w", w);
    add("FirstAltitude", sec->FirstAltitude); add("FirstWall", sec->FirstWall);
    if (selection) { add("Sel", sec->SelectedChild); add("Item", sec->SelectedItem); }
    addD("Radius", sec->Radius); addD("BaseX", sec->BaseX); addD("BaseY", sec->BaseY);
    addD("SpanX", sec->SpanX); addD("SpanY", sec->SpanY); addD("StartAngle", sec->StartAngle);
    addRect(sec->Extent);
    s += "\n";
    for (const auto& a : sec->Altitudes) {
      s += "  altitude ";
      addP("at", a.get()); addP("node", a->TreeNode); addP("owner", a->Owner);
      add("Number", a->Number); add("A", a->ThirdOrder); add("B", a->SecondOrder); add("C", a->FirstOrder);
      add("D", a->HeightAtStart); add("A3", a->A3); add("B2", a->B2); add("X", a->X); add("Y", a->Y);
      s += "\n";
    }
    for (const auto& w : sec->Walls) {
      s += "  wall ";
      addP("at", w.get()); addP("node", w->TreeNode); addP("owner", w->Owner);
      add("Number", w->Number); add("From", w->From); add("To", w->To); add("Surface", w->Surface);
      add("Unk1", w->Unk1); add("Height", w->Height); add("Unk2", w->Unk2); add("Unk3", w->Unk3);
      add("Unk4", w->Unk4);
      addD("fx", w->FromPoint.x); addD("fy", w->FromPoint.y); addD("tx", w->ToPoint.x); addD("ty", w->ToPoint.y);
      s += "\n";
    }
  }
  return s;
}

// A tree view that also notes, whenever a deleted node is or contains the
// selected one, whether the track's tree events were enabled at that moment, and
// the same for every selection.
class WatchedTree : public MemoryTree {
 public:
  const TTrack* track = nullptr;
  std::vector<bool> eventsAtSelectedDeletion;
  std::vector<bool> eventsAtSelection;

  void Delete(NodeHandle node) override {
    for (const Node* n = selected; n; n = n->parent)
      if (n == node) {
        eventsAtSelectedDeletion.push_back(track->TreeEventsEnabled);
        break;
      }
    MemoryTree::Delete(node);
  }
  void Select(NodeHandle node) override {
    eventsAtSelection.push_back(track->TreeEventsEnabled);
    MemoryTree::Select(node);
  }
  void Attach(TTrack& t) {
    track = &t;
    t.AddToTree(*this, nullptr);
  }
  // The tree as text, with each node's object and the selection, for comparing the
  // whole tree before and after a refusal.
  std::string Dump() const {
    std::string out;
    std::vector<const Node*> stack;
    for (auto it = roots.rbegin(); it != roots.rend(); ++it) stack.push_back(it->get());
    while (!stack.empty()) {
      const Node* n = stack.back();
      stack.pop_back();
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, " %p %d/%d%s\n", static_cast<void*>(n->object), n->image,
                    n->selectedImage, n == selected ? " selected" : "");
      out += n->text + buffer;
      for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) stack.push_back(it->get());
    }
    return out;
  }
};

// The tree shows the model exactly: one node per object, in order, with the
// object's label, images and data, and every object knows its node. The model is
// numbered in list order with its starts and record indices up to date.
inline void ExpectInStep(const TTrack& track, const MemoryTree& tree) {
  ASSERT_EQ(tree.roots.size(), 1u);
  const MemoryTree::Node* root = tree.roots[0].get();
  EXPECT_EQ(root->object, &track);
  EXPECT_EQ(track.TreeNode, root);
  ASSERT_EQ(root->children.size(), track.Sections.size());
  int32_t start = 0, walls = 0;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection* section = track.Section(s);
    SCOPED_TRACE(section->Label(std::string()));
    EXPECT_EQ(section->Number, s);
    EXPECT_EQ(section->Owner, &track);
    EXPECT_EQ(section->Start, start);
    EXPECT_EQ(section->FirstAltitude, s * track.NumberOfTraces());
    EXPECT_EQ(section->FirstWall, walls);
    start += section->Length;
    walls += section->NumberOfWalls();
    const MemoryTree::Node* node = root->children[static_cast<size_t>(s)].get();
    EXPECT_EQ(section->TreeNode, node);
    EXPECT_EQ(node->object, section);
    EXPECT_EQ(node->text, section->Label(std::string()));
    EXPECT_EQ(node->image, 2);
    ASSERT_EQ(node->children.size(), static_cast<size_t>(section->NumberOfAltitudes() + section->NumberOfWalls()));
    ASSERT_EQ(section->NumberOfAltitudes(), track.NumberOfTraces());
    size_t c = 0;
    for (int i = 0; i < section->NumberOfAltitudes(); ++i, ++c) {
      const TAltitude* a = section->Altitude(i);
      const MemoryTree::Node* child = node->children[c].get();
      EXPECT_EQ(a->Number, i);
      EXPECT_EQ(a->Owner, section);
      EXPECT_EQ(a->TreeNode, child);
      EXPECT_EQ(child->object, a);
      EXPECT_EQ(child->text, "Altitude " + std::to_string(i));
      EXPECT_EQ(child->image, 4);
    }
    for (int k = 0; k < section->NumberOfWalls(); ++k, ++c) {
      const TWall* w = section->Wall(k);
      const MemoryTree::Node* child = node->children[c].get();
      EXPECT_EQ(w->Number, k);
      EXPECT_EQ(w->Owner, section);
      EXPECT_EQ(w->TreeNode, child);
      EXPECT_EQ(child->object, w);
      EXPECT_EQ(child->text, "Wall " + std::to_string(k));
      EXPECT_EQ(child->image, 6);
    }
  }
  EXPECT_EQ(track.Length, start);
  EXPECT_EQ(track.WallTableSize, 32 * walls);
  EXPECT_EQ(track.SectionTableSize, 52 * track.NumberOfSections());
  EXPECT_TRUE(track.TreeEventsEnabled);
  EXPECT_EQ(tree.updateDepth, 0);
}

// The object whose node is selected.
inline const TBase* SelectedObject(const MemoryTree& tree) {
  return tree.selected ? tree.selected->object : nullptr;
}

}  // namespace meridal::testing
