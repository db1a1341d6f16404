#pragma once
// What the edit tests share: a full snapshot of a track (stored fields, caches and
// object addresses) for proving that a refusal changed nothing, a check that the
// tree shows the model exactly, and a tree bound to a document that records
// whether an update was running whenever the selected node is deleted or a node
// is selected.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "present/object_labels.h"
#include "document/document.h"
#include "model/curved_section.h"
#include "model/straight_section.h"
#include "model/track.h"
#include "shell/tree_binder.h"
#include "support/memory_tree.h"

namespace meridal::testing {

inline std::string Hex(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", v);
  return buffer;
}

// Every value of the track and its objects, doubles bit for bit. With handles
// true the object addresses are included too.
inline std::string Snapshot(const TTrack& t, bool handles = true) {
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
  add("Length", t.Length); add("Walls", t.WallTableSize); add("Sections", t.SectionTableSize);
  addRect(t.Extent);
  for (int32_t trace : t.Traces) add("trace", trace);
  s += "\n";
  for (const auto& sec : t.Sections) {
    addP("section", sec.get()); addP("owner", sec->Owner);
    add("Number", sec->Number); add("Type", sec->Type); add("Start", sec->Start); add("Length", sec->Length);
    add("Orientation", sec->Orientation); add("Reserved", sec->Reserved);
    for (int32_t w : sec->ExportWords) add("w", w);
    add("FirstAltitude", sec->FirstAltitude); add("FirstWall", sec->FirstWall);
    addD("Radius", sec->Radius); addD("BaseX", sec->BaseX); addD("BaseY", sec->BaseY);
    addD("SpanX", sec->SpanX); addD("SpanY", sec->SpanY); addD("StartAngle", sec->StartAngle);
    addRect(sec->Extent);
    s += "\n";
    for (const auto& a : sec->Altitudes) {
      s += "  altitude ";
      addP("at", a.get()); addP("owner", a->Owner);
      add("Number", a->Number); add("A", a->ThirdOrder); add("B", a->SecondOrder); add("C", a->FirstOrder);
      add("D", a->HeightAtStart); add("A3", a->A3); add("B2", a->B2); add("X", a->X); add("Y", a->Y);
      s += "\n";
    }
    for (const auto& w : sec->Walls) {
      s += "  wall ";
      addP("at", w.get()); addP("owner", w->Owner);
      add("Number", w->Number); add("From", w->From); add("To", w->To); add("Surface", w->Surface);
      add("Unk1", w->Unk1); add("Height", w->Height); add("Unk2", w->Unk2); add("Unk3", w->Unk3);
      add("Unk4", w->Unk4);
      addD("fx", w->FromPoint.x); addD("fy", w->FromPoint.y); addD("tx", w->ToPoint.x); addD("ty", w->ToPoint.y);
      s += "\n";
    }
  }
  return s;
}

// A tree view bound to a document that also notes, whenever a deleted node is or
// contains the selected one, whether the tree was free of updates at that moment,
// and the same for every selection: a selection must come only once the tree
// shows the finished change.
class WatchedTree : public MemoryTree {
 public:
  std::vector<bool> eventsAtSelectedDeletion;
  std::vector<bool> eventsAtSelection;
  std::unique_ptr<TTreeBinder> binder;

  void Delete(NodeHandle node) override {
    for (const Node* n = selected; n; n = n->parent)
      if (n == node) {
        eventsAtSelectedDeletion.push_back(updateDepth == 0);
        break;
      }
    MemoryTree::Delete(node);
  }
  void Select(NodeHandle node) override {
    eventsAtSelection.push_back(updateDepth == 0);
    MemoryTree::Select(node);
  }
  void Attach(TDocument& document) { binder = std::make_unique<TTreeBinder>(document, *this); }
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
      std::snprintf(buffer, sizeof buffer, " %p %d/%d%s\n", static_cast<const void*>(n->object), n->image,
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
  ASSERT_EQ(root->children.size(), track.Sections.size());
  int32_t start = 0, walls = 0;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection* section = track.Section(s);
    SCOPED_TRACE(Label(*section));
    EXPECT_EQ(section->Number, s);
    EXPECT_EQ(section->Owner, &track);
    EXPECT_EQ(section->Start, start);
    EXPECT_EQ(section->FirstAltitude, s * track.NumberOfTraces());
    EXPECT_EQ(section->FirstWall, walls);
    start += section->Length;
    walls += section->NumberOfWalls();
    const MemoryTree::Node* node = root->children[static_cast<size_t>(s)].get();
    EXPECT_EQ(node->object, section);
    EXPECT_EQ(node->text, Label(*section));
    EXPECT_EQ(node->image, 2);
    ASSERT_EQ(node->children.size(), static_cast<size_t>(section->NumberOfAltitudes() + section->NumberOfWalls()));
    ASSERT_EQ(section->NumberOfAltitudes(), track.NumberOfTraces());
    size_t c = 0;
    for (int i = 0; i < section->NumberOfAltitudes(); ++i, ++c) {
      const TAltitude* a = section->Altitude(i);
      const MemoryTree::Node* child = node->children[c].get();
      EXPECT_EQ(a->Number, i);
      EXPECT_EQ(a->Owner, section);
      EXPECT_EQ(child->object, a);
      EXPECT_EQ(child->text, "Altitude " + std::to_string(i));
      EXPECT_EQ(child->image, 4);
    }
    for (int k = 0; k < section->NumberOfWalls(); ++k, ++c) {
      const TWall* w = section->Wall(k);
      const MemoryTree::Node* child = node->children[c].get();
      EXPECT_EQ(w->Number, k);
      EXPECT_EQ(w->Owner, section);
      EXPECT_EQ(child->object, w);
      EXPECT_EQ(child->text, "Wall " + std::to_string(k));
      EXPECT_EQ(child->image, 6);
    }
  }
  EXPECT_EQ(track.Length, start);
  EXPECT_EQ(track.WallTableSize, 32 * walls);
  EXPECT_EQ(track.SectionTableSize, 52 * track.NumberOfSections());
  EXPECT_EQ(tree.updateDepth, 0);
}

// The object whose node is selected.
inline const TBase* SelectedObject(const MemoryTree& tree) {
  return tree.selected ? tree.selected->object : nullptr;
}

// A document around a track a test builds: the track may be set up through the
// model's own operations before the document is shown; every change after that
// goes through the document, whose tree the watched tree shows.
struct DocumentFixture {
  std::unique_ptr<TDocument> document = TDocument::New();
  TTrack& track = const_cast<TTrack&>(document->Track());
  WatchedTree tree;

  void Show() { tree.Attach(*document); }
  static bool Changed(history::Outcome outcome) { return outcome == history::Outcome::Changed; }
  bool Remove(const TBase& object) { return Changed(document->Remove(PathOf(object))); }
  bool Add(const TBase& object, bool before) { return Changed(document->Add(PathOf(object), before)); }
  bool RemoveChild(int s) { return Changed(document->Remove(TObjectPath::Section(s))); }
  bool AddChild(int s, bool before) { return Changed(document->Add(TObjectPath::Section(s), before)); }
  bool SplitChild(int s, int32_t first) { return Changed(document->Split(TObjectPath::Section(s), first)); }
  bool ChangeChildType(int s) { return Changed(document->ChangeType(TObjectPath::Section(s))); }
  void Select(const TBase& object) { document->Select(PathOf(object)); }
  const TObjectPath& Selection() const { return document->Selection(); }
};

}  // namespace meridal::testing
