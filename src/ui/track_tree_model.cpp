#include "ui/track_tree_model.h"

#include <algorithm>
#include <unordered_set>

#include "ui/image_lists.h"

namespace meridal {

TTrackTreeModel::TTrackTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

TTrackTreeModel::~TTrackTreeModel() = default;

// ---- nodes ----

void TTrackTreeModel::Renumber(Node& parent, int from) {
  for (size_t i = static_cast<size_t>(from); i < parent.children.size(); ++i)
    parent.children[i]->row = static_cast<int>(i);
}

int TTrackTreeModel::RowOf(const Node& node) {
  const auto& siblings = node.parent->children;
  const int count = static_cast<int>(siblings.size());
  const int hint = node.row;
  // Inserting or deleting next to a node moves it by one or two: look near the
  // hint first.
  for (int d = 0; d <= count; ++d) {
    if (hint + d < count && hint + d >= 0 && siblings[static_cast<size_t>(hint + d)].get() == &node) return node.row = hint + d;
    if (d > 0 && hint - d >= 0 && hint - d < count && siblings[static_cast<size_t>(hint - d)].get() == &node)
      return node.row = hint - d;
  }
  return 0;
}

void TTrackTreeModel::Reordered(Node& parent, int from) {
  if (!InBatch()) {
    Renumber(parent, from);
    return;
  }
  if (!parent.renumber) {
    parent.renumber = true;
    reordered_.push_back(&parent);
  }
}

size_t TTrackTreeModel::Count(const Node& node) const {
  size_t n = 1;
  for (const auto& child : node.children) n += Count(*child);
  return n;
}

TTrackTreeModel::Node* TTrackTreeModel::Insert(Node* parent, int position, const std::string& text,
                                               const TBase* object) {
  Node& p = *Parent(parent);
  const int count = static_cast<int>(p.children.size());
  const int at = position < 0 || position > count ? count : position;
  auto node = std::make_unique<Node>();
  node->text = text;
  node->object = object;
  node->parent = &p;
  Node* raw = node.get();
  if (!InBatch()) beginInsertRows(IndexOf(parent), at, at);
  p.children.insert(p.children.begin() + at, std::move(node));
  raw->row = at;
  Reordered(p, at + 1);
  ++count_;
  if (!InBatch()) endInsertRows();
  return raw;
}

void TTrackTreeModel::Delete(Node* node) {
  Node& p = *node->parent;
  const int at = RowOf(*node);
  if (!InBatch()) beginRemoveRows(IndexOf(p.parent ? &p : nullptr), at, at);
  std::unique_ptr<Node> removed = std::move(p.children[static_cast<size_t>(at)]);
  p.children.erase(p.children.begin() + at);
  Reordered(p, at);
  count_ -= Count(*removed);
  if (InBatch()) deleted_.push_back(std::move(removed));  // freed when the batch ends
  if (!InBatch()) endRemoveRows();
}

void TTrackTreeModel::SetText(Node* node, const std::string& text) {
  if (node->text == text) return;
  node->text = text;
  if (InBatch()) return;  // the layout change at the end repaints it
  const QModelIndex i = IndexOf(node);
  emit dataChanged(i, i, {Qt::DisplayRole});
}

void TTrackTreeModel::SetObject(Node* node, const TBase* object) {
  if (node->object == object) return;
  node->object = object;
  if (InBatch()) return;
  const QModelIndex i = IndexOf(node);
  emit dataChanged(i, i, {kObjectRole});
}

void TTrackTreeModel::SetImages(Node* node, int image, int selectedImage) {
  node->image = image;
  node->selectedImage = selectedImage;
  if (InBatch()) return;
  const QModelIndex i = IndexOf(node);
  emit dataChanged(i, i, {Qt::DecorationRole, kImageRole, kSelectedImageRole});
}

void TTrackTreeModel::BeginBatch() {
  if (batchDepth_++ > 0) return;
  emit layoutAboutToBeChanged();
  persistent_ = persistentIndexList();
  persistentNodes_.clear();
  for (const QModelIndex& i : persistent_) persistentNodes_.emplace_back(NodeOf(i), i.column());
}

void TTrackTreeModel::EndBatch() {
  if (batchDepth_ == 0 || --batchDepth_ > 0) return;
  for (Node* parent : reordered_) {
    Renumber(*parent, 0);
    parent->renumber = false;
  }
  reordered_.clear();
  // Nodes deleted in the batch (and their descendants) take their indexes with them.
  std::unordered_set<const Node*> gone;
  const auto collect = [&gone](const Node& n, const auto& self) -> void {
    gone.insert(&n);
    for (const auto& c : n.children) self(*c, self);
  };
  for (const auto& d : deleted_) collect(*d, collect);
  QModelIndexList now;
  now.reserve(persistent_.size());
  for (const auto& [node, column] : persistentNodes_)
    now.append(node && !gone.count(node) ? createIndex(node->row, column, node) : QModelIndex());
  changePersistentIndexList(persistent_, now);
  persistent_.clear();
  persistentNodes_.clear();
  emit layoutChanged();
  deleted_.clear();
}

QModelIndex TTrackTreeModel::IndexOf(const Node* node) const {
  if (node == nullptr || node == &root_) return QModelIndex();
  return createIndex(node->row, 0, const_cast<Node*>(node));
}

TTrackTreeModel::Node* TTrackTreeModel::NodeOf(const QModelIndex& index) {
  return index.isValid() ? static_cast<Node*>(index.internalPointer()) : nullptr;
}

const TBase* TTrackTreeModel::ObjectOf(const QModelIndex& index) {
  const Node* node = NodeOf(index);
  return node ? node->object : nullptr;
}

// ---- QAbstractItemModel ----

QModelIndex TTrackTreeModel::index(int row, int column, const QModelIndex& parent) const {
  const Node* p = parent.isValid() ? NodeOf(parent) : &root_;
  if (column != 0 || row < 0 || row >= static_cast<int>(p->children.size())) return QModelIndex();
  return createIndex(row, 0, p->children[static_cast<size_t>(row)].get());
}

QModelIndex TTrackTreeModel::parent(const QModelIndex& child) const {
  const Node* node = NodeOf(child);
  if (node == nullptr || node->parent == &root_) return QModelIndex();
  return IndexOf(node->parent);
}

int TTrackTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.column() > 0) return 0;
  const Node* p = parent.isValid() ? NodeOf(parent) : &root_;
  return static_cast<int>(p->children.size());
}

int TTrackTreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TTrackTreeModel::data(const QModelIndex& index, int role) const {
  const Node* node = NodeOf(index);
  if (node == nullptr) return QVariant();
  switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(node->text);
    case Qt::DecorationRole:
      return node->image < 0 ? QVariant() : QVariant(NodeIcon(node->image, node->selectedImage));
    case kObjectRole: return QVariant::fromValue(reinterpret_cast<quintptr>(node->object));
    case kImageRole: return node->image;
    case kSelectedImageRole: return node->selectedImage;
    default: return QVariant();
  }
}

Qt::ItemFlags TTrackTreeModel::flags(const QModelIndex& index) const {
  // Labels are read-only.
  return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace meridal
