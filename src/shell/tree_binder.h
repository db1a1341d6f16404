#pragma once
// TTreeBinder: keeps a tree view in step with a document. It builds the nodes of
// the track, its sections and their altitudes and walls, and after each change
// of the document adds, removes and relabels exactly the nodes the change
// touched; it selects the node of the document's selection. The tree is a view:
// what a user selects in it goes back to the document (TDocument::Select).
#include <vector>

#include "platform/tree_nodes.h"

namespace meridal {

class TDocument;
class TSection;
struct TDocumentChange;

class TTreeBinder {
 public:
  TTreeBinder(TDocument& document, ITreeNodes& nodes);
  ~TTreeBinder();
  TTreeBinder(const TTreeBinder&) = delete;
  TTreeBinder& operator=(const TTreeBinder&) = delete;

  // The node that shows the object at the path, or nullptr.
  NodeHandle NodeOf(const struct TObjectPath& path) const;

 private:
  struct SectionNodes {
    NodeHandle node = nullptr;
    std::vector<NodeHandle> altitudes, walls;
  };

  void Changed(const TDocumentChange& change);
  // The nodes of section s, inserted before `next` (nullptr: as the last).
  SectionNodes AddSection(int s, NodeHandle next);
  void DeleteSection(SectionNodes& nodes);
  void RelabelSectionsFrom(int first);
  void ReplaceWalls(int s);
  void InsertTrace(int at);
  void RemoveTrace(int at);
  void SelectCurrent();

  TDocument& document_;
  ITreeNodes& nodes_;
  int listener_ = 0;
  NodeHandle track_ = nullptr;
  std::vector<SectionNodes> sections_;
};

}  // namespace meridal
