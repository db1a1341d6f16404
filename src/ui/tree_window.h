#pragma once
// TFormTree, the "Tree" window: the track's objects as a tree on the left, the
// selected object's values in a five-column list on the right. Selecting a node
// fills the list and sets the Edit commands; double-clicking an editable row
// edits its value; the trace rows have a popup menu, and so has every node.
// Shift+click and Ctrl+click on sections select a run of them: the tree shows the
// document's run as its selection, and the list the run's rows.
#include <QWidget>
#include <memory>

#include "model/object_path.h"
#include "present/rows.h"
#include "shell/property_list_commands.h"
#include "ui/action_edit_commands.h"
#include "ui/qt_tree_nodes.h"

class QAction;
class QMenu;
class QSplitter;
class QTreeView;
class QTreeWidget;

namespace meridal {

class TBase;
class TDocumentShell;
class TEditCommandFlow;

class TFormTree : public QWidget {
  Q_OBJECT

 public:
  TFormTree(TDocumentShell& shell, TEditCommandFlow& editCommands, TPropertyListCommands& listCommands,
            QWidget* parent = nullptr);
  ~TFormTree() override;

  QTreeView* TreeView;
  TTrackTreeModel* TreeModel;
  QSplitter* Splitter;
  QTreeWidget* ListView;
  QMenu* ListPopupMenu;
  QMenu* TreePopupMenu;
  ActionEditCommands TreePopupItems;

  QtTreeNodes& Nodes() { return nodes_; }
  // The document's selected object and its node's text.
  const TBase* SelectedObject() const;
  QString SelectedLabel() const;
  // The row of the selected list item, or nullptr.
  const PropertyRow* SelectedRow() const;
  const RowList& Rows() const { return rows_; }
  // The document's selected object (or its run of sections) fills the list anew,
  // and the tree shows the run.
  void RefillProperties();

  // ---- handlers ----
  void TreeViewChange(const QModelIndex& node);
  void TreeViewMouseDown(Qt::MouseButton button, const QPoint& position);
  // Shift+click extends the run to the section clicked, Ctrl+click adds it or
  // takes an end of the run; true when the click was one of those.
  bool TreeViewRunClick(Qt::KeyboardModifiers modifiers, const QPoint& position);
  void ListViewDblClick();
  void ListViewChange();
  void ListPopupRemoveClick();
  void ListPopupAddBeforeClick();
  void ListPopupAddAfterClick();
  void TreeRemoveClick();
  void TreeAddBeforeClick();
  void TreeAddAfterClick();
  void TreeSplitSectionClick();
  void TreeChangeSectionTypeClick();
  void TreeCopyWallsFromClick();
  void TreeCopyWallsToAllClick();
  void TreeCopyAltitudeClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildTree();
  void BuildList();
  void BuildMenus();
  void FillList(const RowList& rows);
  // The sections of the document's run selected in the tree, beside its current node.
  void ShowRun();
  QAction* ListPopupItem(int index) const;
  void RunTraceCommand(TraceCommand command);

  TDocumentShell& shell_;
  TEditCommandFlow& editCommands_;
  TPropertyListCommands& listCommands_;
  QtTreeNodes nodes_;
  RowList rows_;
  TObjectPath listed_;  // the object the list shows
  bool shown_ = false;
  bool swallowRelease_ = false;  // the press was a run click: its release is no click of the view's
};

}  // namespace meridal
