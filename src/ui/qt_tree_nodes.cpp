#include "ui/qt_tree_nodes.h"

#include <QTreeView>

namespace meridal {

NodeHandle QtTreeNodes::AddChild(NodeHandle parent, const std::string& text, const TBase* object) {
  return model_.Insert(Item(parent), -1, text, object);
}

NodeHandle QtTreeNodes::AddChildFirst(NodeHandle parent, const std::string& text, const TBase* object) {
  return model_.Insert(Item(parent), 0, text, object);
}

NodeHandle QtTreeNodes::Insert(NodeHandle sibling, const std::string& text, const TBase* object) {
  Node* s = Item(sibling);
  Node* parent = s->parent == &model_.Root() ? nullptr : s->parent;
  return model_.Insert(parent, TTrackTreeModel::RowOf(*s), text, object);
}

void QtTreeNodes::Delete(NodeHandle node) {
  // Deleting the current node moves the selection, which runs the tree window's
  // selection handling like any other change.
  if (pendingSelect_) {
    for (const Node* n = pendingSelect_; n; n = n->parent)
      if (n == node) pendingSelect_ = nullptr;
  }
  model_.Delete(Item(node));
}

void QtTreeNodes::SetText(NodeHandle node, const std::string& text) { model_.SetText(Item(node), text); }

void QtTreeNodes::SetObject(NodeHandle node, const TBase* object) { model_.SetObject(Item(node), object); }

void QtTreeNodes::SetImages(NodeHandle node, int image, int selectedImage) {
  model_.SetImages(Item(node), image, selectedImage);
}

void QtTreeNodes::Select(NodeHandle node) {
  if (updateDepth_ > 0) {
    pendingSelect_ = Item(node);
    return;
  }
  const QModelIndex index = IndexOf(node);
  for (QModelIndex p = index.parent(); p.isValid(); p = p.parent()) view_.expand(p);
  const bool current = view_.currentIndex() == index;
  view_.setCurrentIndex(index);
  view_.scrollTo(index);
  if (current && OnReselect) OnReselect(index);
}

void QtTreeNodes::BeginUpdate() {
  if (updateDepth_++ > 0) return;
  view_.setUpdatesEnabled(false);
  model_.BeginBatch();
}

void QtTreeNodes::EndUpdate() {
  if (updateDepth_ == 0 || updateDepth_ > 1) {
    if (updateDepth_ > 0) --updateDepth_;
    return;
  }
  // The view moves its current row off deleted nodes while the batch ends: that is
  // no choice of the user's, so the depth stays up until the selection is set.
  model_.EndBatch();
  view_.setUpdatesEnabled(true);
  updateDepth_ = 0;
  if (Node* node = pendingSelect_) {
    pendingSelect_ = nullptr;
    Select(node);
  }
}

}  // namespace meridal
