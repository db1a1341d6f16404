#pragma once
// TTrackTreeModel: the nodes of the tree window as a Qt item model. A node is a
// small record (label, the two image indices, its object); the view asks for the
// rows it shows, so a track of 10,000 sections and 290,000 nodes costs a few tens
// of megabytes and no widget per node. Structural changes between BeginBatch and
// EndBatch reach the view as one layout change instead of one signal a node.
#include <QAbstractItemModel>
#include <memory>
#include <string>
#include <vector>

namespace meridal {

class TBase;

class TTrackTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  struct Node {
    std::string text;
    const TBase* object = nullptr;
    Node* parent = nullptr;
    // The node's index among its parent's children. During a batch it is only a
    // hint (the renumbering waits for the batch's end); RowOf finds the true row.
    mutable int row = 0;
    bool renumber = false;  // a batch has changed the children's order
    int image = -1, selectedImage = -1;
    std::vector<std::unique_ptr<Node>> children;
  };
  // The role that carries a node's object (as a quintptr), and its two images.
  enum Role : int { kObjectRole = Qt::UserRole + 1, kImageRole, kSelectedImageRole };

  explicit TTrackTreeModel(QObject* parent = nullptr);
  ~TTrackTreeModel() override;

  // Inserts a node at `position` among parent's children (parent nullptr: a top
  // node; position -1: the last).
  Node* Insert(Node* parent, int position, const std::string& text, const TBase* object);
  // Deletes a node and its descendants.
  void Delete(Node* node);
  void SetText(Node* node, const std::string& text);
  void SetObject(Node* node, const TBase* object);
  void SetImages(Node* node, int image, int selectedImage);
  void BeginBatch();
  void EndBatch();
  bool InBatch() const { return batchDepth_ > 0; }

  QModelIndex IndexOf(const Node* node) const;
  // The node's row among its parent's children (during a batch found from its hint).
  static int RowOf(const Node& node);
  static Node* NodeOf(const QModelIndex& index);
  static const TBase* ObjectOf(const QModelIndex& index);
  const Node& Root() const { return root_; }
  size_t NodeCount() const { return count_; }

  // ---- QAbstractItemModel ----
  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  Node* Parent(Node* node) { return node ? node : &root_; }
  static void Renumber(Node& parent, int from);
  // Renumbers now, or marks the parent for the batch's end.
  void Reordered(Node& parent, int from);
  size_t Count(const Node& node) const;

  Node root_;
  size_t count_ = 0;
  int batchDepth_ = 0;
  // While a batch runs: the view's persistent indexes by node, and deleted nodes,
  // kept until the batch ends so that those indexes can be told they are gone.
  QModelIndexList persistent_;
  std::vector<std::pair<Node*, int>> persistentNodes_;
  std::vector<std::unique_ptr<Node>> deleted_;
  std::vector<Node*> reordered_;  // parents to renumber when the batch ends
};

}  // namespace meridal
