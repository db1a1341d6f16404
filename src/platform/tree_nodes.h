#pragma once
// A tree view as the document's tree binder drives it: nodes are opaque handles
// that carry their object. The Qt adapter wraps the tree window's item model;
// tests use an in-memory tree.
#include <string>

namespace meridal {

class TBase;
using NodeHandle = void*;  // nullptr: no node

class ITreeNodes {
 public:
  virtual ~ITreeNodes() = default;
  // Appends a node as the last child of parent (nullptr: a new root node).
  virtual NodeHandle AddChild(NodeHandle parent, const std::string& text, const TBase* object) = 0;
  // Inserts a node as the first child of parent.
  virtual NodeHandle AddChildFirst(NodeHandle parent, const std::string& text, const TBase* object) = 0;
  // Inserts a node immediately before sibling, under sibling's parent.
  virtual NodeHandle Insert(NodeHandle sibling, const std::string& text, const TBase* object) = 0;
  // Deletes a node and its descendants.
  virtual void Delete(NodeHandle node) = 0;
  virtual void SetText(NodeHandle node, const std::string& text) = 0;
  // The node carries another object (its label stays).
  virtual void SetObject(NodeHandle node, const TBase* object) = 0;
  virtual void SetImages(NodeHandle node, int image, int selectedImage) = 0;
  // Makes node the selected one; the tree window's selection handling runs at once.
  virtual void Select(NodeHandle node) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

}  // namespace meridal
