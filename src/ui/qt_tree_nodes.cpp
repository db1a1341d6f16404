#include "ui/qt_tree_nodes.h"

#include <QTreeWidget>

#include "ui/image_lists.h"

namespace meridal {

TBase* QtTreeNodes::ObjectOf(const QTreeWidgetItem* item) {
  if (!item) return nullptr;
  return reinterpret_cast<TBase*>(item->data(0, kObjectRole).value<quintptr>());
}

QTreeWidgetItem* QtTreeNodes::Make(const std::string& text, TBase* object) const {
  auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
  item->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
  item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);  // labels are read-only
  return item;
}

NodeHandle QtTreeNodes::Place(QTreeWidgetItem* parent, int index, QTreeWidgetItem* item) {
  if (parent) parent->insertChild(index, item);
  else tree_.insertTopLevelItem(index, item);
  return item;
}

NodeHandle QtTreeNodes::AddChild(NodeHandle parent, const std::string& text, TBase* object) {
  QTreeWidgetItem* p = Item(parent);
  return Place(p, p ? p->childCount() : tree_.topLevelItemCount(), Make(text, object));
}

NodeHandle QtTreeNodes::AddChildFirst(NodeHandle parent, const std::string& text, TBase* object) {
  return Place(Item(parent), 0, Make(text, object));
}

NodeHandle QtTreeNodes::Insert(NodeHandle sibling, const std::string& text, TBase* object) {
  QTreeWidgetItem* s = Item(sibling);
  QTreeWidgetItem* parent = s->parent();
  const int index = parent ? parent->indexOfChild(s) : tree_.indexOfTopLevelItem(s);
  return Place(parent, index, Make(text, object));
}

void QtTreeNodes::Delete(NodeHandle node) {
  // Deleting the current item moves the selection, which runs the tree window's
  // selection handling like any other change.
  delete Item(node);
}

void QtTreeNodes::SetText(NodeHandle node, const std::string& text) {
  Item(node)->setText(0, QString::fromStdString(text));
}

void QtTreeNodes::SetImages(NodeHandle node, int image, int selectedImage) {
  QTreeWidgetItem* item = Item(node);
  item->setData(0, kImageRole, image);
  item->setData(0, kSelectedImageRole, selectedImage);
  item->setIcon(0, NodeIcon(image, selectedImage));
}

void QtTreeNodes::Select(NodeHandle node) {
  QTreeWidgetItem* item = Item(node);
  for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
  const bool current = tree_.currentItem() == item;
  tree_.setCurrentItem(item);
  tree_.scrollToItem(item);
  if (current && OnReselect) OnReselect(item);
}

void QtTreeNodes::BeginUpdate() {
  if (updateDepth_++ == 0) tree_.setUpdatesEnabled(false);
}

void QtTreeNodes::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0) tree_.setUpdatesEnabled(true);
}

}  // namespace meridal
