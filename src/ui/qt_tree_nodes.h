#pragma once
// The model's view of the tree window: a node is a record of the tree's item
// model (TTrackTreeModel), shown by a QTreeView. The model keeps the label, the
// two image indices and the object; the view asks only for the rows it shows.
#include <Qt>
#include <QModelIndex>
#include <functional>

#include "platform/tree_nodes.h"
#include "ui/track_tree_model.h"

class QTreeView;

namespace meridal {

class QtTreeNodes : public ITreeNodes {
 public:
  using Node = TTrackTreeModel::Node;
  static constexpr int kObjectRole = TTrackTreeModel::kObjectRole;
  static constexpr int kImageRole = TTrackTreeModel::kImageRole;
  static constexpr int kSelectedImageRole = TTrackTreeModel::kSelectedImageRole;

  QtTreeNodes(QTreeView& view, TTrackTreeModel& model) : view_(view), model_(model) {}

  NodeHandle AddChild(NodeHandle parent, const std::string& text, const TBase* object) override;
  NodeHandle AddChildFirst(NodeHandle parent, const std::string& text, const TBase* object) override;
  NodeHandle Insert(NodeHandle sibling, const std::string& text, const TBase* object) override;
  void Delete(NodeHandle node) override;
  void SetText(NodeHandle node, const std::string& text) override;
  void SetObject(NodeHandle node, const TBase* object) override;
  void SetImages(NodeHandle node, int image, int selectedImage) override;
  void Select(NodeHandle node) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  static Node* Item(NodeHandle node) { return static_cast<Node*>(node); }
  // Nodes are being added and removed: the view's own moves of its current row
  // are no choice of the user's.
  bool Updating() const { return updateDepth_ > 0; }
  QModelIndex IndexOf(NodeHandle node) const { return model_.IndexOf(Item(node)); }
  static const TBase* ObjectOf(const QModelIndex& index) { return TTrackTreeModel::ObjectOf(index); }

  // Run when the node to select is the current one already. Qt reports no change
  // then (an edit that deleted nodes may have made it current while the model was
  // half changed), yet the selection handling must run on the finished model.
  std::function<void(const QModelIndex&)> OnReselect;

 private:
  QTreeView& view_;
  TTrackTreeModel& model_;
  int updateDepth_ = 0;
  // A node selected while an update runs is selected when it ends: the view takes
  // the new layout only then.
  Node* pendingSelect_ = nullptr;
};

}  // namespace meridal
