#pragma once
// An in-memory tree view for tests: nodes with text, images and their object, the
// selected node, and a log of the selection changes with the events flag at that time.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/tree_nodes.h"

namespace meridal::testing {

class MemoryTree : public ITreeNodes {
 public:
  struct Node {
    std::string text;
    int image = -1, selectedImage = -1;
    const TBase* object = nullptr;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> children;
  };

  NodeHandle AddChild(NodeHandle parent, const std::string& text, const TBase* object) override {
    auto& list = ChildrenOf(parent);
    list.push_back(Make(parent, text, object));
    return list.back().get();
  }
  NodeHandle AddChildFirst(NodeHandle parent, const std::string& text, const TBase* object) override {
    auto& list = ChildrenOf(parent);
    list.insert(list.begin(), Make(parent, text, object));
    return list.front().get();
  }
  NodeHandle Insert(NodeHandle sibling, const std::string& text, const TBase* object) override {
    Node* s = static_cast<Node*>(sibling);
    auto& list = ChildrenOf(s->parent);
    auto it = std::find_if(list.begin(), list.end(), [&](auto& n) { return n.get() == s; });
    return list.insert(it, Make(s->parent, text, object))->get();
  }
  void Delete(NodeHandle node) override {
    Node* n = static_cast<Node*>(node);
    if (Contains(n, selected)) {
      // Like a real tree view, deleting the selected node moves the selection.
      selected = nullptr;
      ++deletedSelections;
    }
    auto& list = ChildrenOf(n->parent);
    list.erase(std::find_if(list.begin(), list.end(), [&](auto& c) { return c.get() == n; }));
    ++deletions;
  }
  void SetText(NodeHandle node, const std::string& text) override { static_cast<Node*>(node)->text = text; }
  void SetObject(NodeHandle node, const TBase* object) override { static_cast<Node*>(node)->object = object; }
  void SetImages(NodeHandle node, int image, int selectedImage) override {
    static_cast<Node*>(node)->image = image;
    static_cast<Node*>(node)->selectedImage = selectedImage;
  }
  void Select(NodeHandle node) override {
    selected = static_cast<Node*>(node);
    if (onSelect) onSelect(selected);
  }
  void BeginUpdate() override { ++updateDepth; ++beginUpdates; }
  void EndUpdate() override { --updateDepth; }

  // The tree as indented labels, two spaces per level.
  std::vector<std::string> Lines() const {
    std::vector<std::string> out;
    for (auto& r : roots) Dump(*r, 0, out);
    return out;
  }
  // The labels of a node's children.
  static std::vector<std::string> ChildTexts(NodeHandle node) {
    std::vector<std::string> out;
    for (auto& c : static_cast<Node*>(node)->children) out.push_back(c->text);
    return out;
  }
  static Node* AsNode(NodeHandle h) { return static_cast<Node*>(h); }
  size_t NodeCount() const {
    size_t n = 0;
    std::function<void(const Node&)> count = [&](const Node& x) { ++n; for (auto& c : x.children) count(*c); };
    for (auto& r : roots) count(*r);
    return n;
  }

  std::vector<std::unique_ptr<Node>> roots;
  Node* selected = nullptr;
  std::function<void(Node*)> onSelect;
  int updateDepth = 0, beginUpdates = 0, deletions = 0, deletedSelections = 0;

 private:
  std::unique_ptr<Node> Make(NodeHandle parent, const std::string& text, const TBase* object) {
    auto n = std::make_unique<Node>();
    n->text = text;
    n->object = object;
    n->parent = static_cast<Node*>(parent);
    return n;
  }
  std::vector<std::unique_ptr<Node>>& ChildrenOf(NodeHandle parent) {
    return parent ? static_cast<Node*>(parent)->children : roots;
  }
  static bool Contains(const Node* root, const Node* target) {
    if (!target) return false;
    for (const Node* n = target; n; n = n->parent)
      if (n == root) return true;
    return false;
  }
  static void Dump(const Node& n, int depth, std::vector<std::string>& out) {
    out.push_back(std::string(static_cast<size_t>(depth) * 2, ' ') + n.text);
    for (auto& c : n.children) Dump(*c, depth + 1, out);
  }
};

}  // namespace meridal::testing
