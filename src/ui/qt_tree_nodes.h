#pragma once
// The model's view of the tree window's QTreeWidget: a node is a
// QTreeWidgetItem* that carries its object and its two image indices.
#include <Qt>
#include <functional>

#include "platform/tree_nodes.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace meridal {

class QtTreeNodes : public ITreeNodes {
 public:
  enum Role : int { kObjectRole = Qt::UserRole + 1, kImageRole, kSelectedImageRole };

  explicit QtTreeNodes(QTreeWidget& tree) : tree_(tree) {}

  NodeHandle AddChild(NodeHandle parent, const std::string& text, TBase* object) override;
  NodeHandle AddChildFirst(NodeHandle parent, const std::string& text, TBase* object) override;
  NodeHandle Insert(NodeHandle sibling, const std::string& text, TBase* object) override;
  void Delete(NodeHandle node) override;
  void SetText(NodeHandle node, const std::string& text) override;
  void SetImages(NodeHandle node, int image, int selectedImage) override;
  void Select(NodeHandle node) override;
  void BeginUpdate() override;
  void EndUpdate() override;

  static QTreeWidgetItem* Item(NodeHandle node) { return static_cast<QTreeWidgetItem*>(node); }

  // Run when the node to select is the current one already. Qt reports no change
  // then (an edit that deleted nodes may have made it current while the model was
  // half changed), yet the selection handling must run on the finished model.
  std::function<void(QTreeWidgetItem*)> OnReselect;
  static TBase* ObjectOf(const QTreeWidgetItem* item);

 private:
  QTreeWidgetItem* Make(const std::string& text, TBase* object) const;
  // Inserts at a position under parent (nullptr: among the top-level items).
  NodeHandle Place(QTreeWidgetItem* parent, int index, QTreeWidgetItem* item);

  QTreeWidget& tree_;
  int updateDepth_ = 0;
};

}  // namespace meridal
