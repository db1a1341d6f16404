#include "present/property_rows.h"
#include "ui/tree_window.h"

#include <QAction>
#include <algorithm>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QSplitter>
#include <QTreeView>
#include <QTreeWidget>

#include "document/document.h"
#include "model/track.h"
#include "present/object_labels.h"
#include "present/run_rows.h"
#include "present/value_tips.h"
#include "shell/document_shell.h"
#include "shell/edit_command_flow.h"
#include "shell/property_list_commands.h"
#include "ui/image_lists.h"

namespace meridal {

namespace {

struct Column {
  const char* caption;
  int width;
};
const Column kColumns[] = {{"Variable", 120}, {"Value", 100}, {"Meaning", 100}, {"Edit", 32}, {"Comment", 200}};

constexpr int kTreeWidth = 193;

}  // namespace

TFormTree::TFormTree(TDocumentShell& shell, TEditCommandFlow& editCommands, TPropertyListCommands& listCommands,
                     QWidget* parent)
    : QWidget(parent),
      TreeView(new QTreeView),
      TreeModel(new TTrackTreeModel(this)),
      Splitter(new QSplitter(Qt::Horizontal, this)),
      ListView(new QTreeWidget),
      shell_(shell),
      editCommands_(editCommands),
      listCommands_(listCommands),
      nodes_(*TreeView, *TreeModel) {
  setWindowTitle(QStringLiteral("Tree"));
  BuildTree();
  BuildList();
  BuildMenus();
  Splitter->addWidget(TreeView);
  Splitter->addWidget(ListView);
  Splitter->setHandleWidth(3);
  Splitter->setChildrenCollapsible(false);
  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Splitter);
  resize(661, 480);
}

void TFormTree::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The tree starts 193 pixels wide; the list takes whatever the window gains.
  if (shown_) return;
  shown_ = true;
  Splitter->setSizes({kTreeWidth, std::max(1, Splitter->width() - kTreeWidth - Splitter->handleWidth())});
}

TFormTree::~TFormTree() {
  // Tearing the views down moves their selections; nothing of this window may answer.
  TreeView->blockSignals(true);
  TreeView->selectionModel()->blockSignals(true);
  ListView->blockSignals(true);
}

void TFormTree::BuildTree() {
  TreeView->setModel(TreeModel);
  TreeView->setHeaderHidden(true);
  TreeView->setUniformRowHeights(true);  // a long track's rows are laid out without measuring each
  TreeView->setIndentation(19);
  TreeView->setSelectionMode(QAbstractItemView::SingleSelection);
  TreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TreeView->setIconSize(QSize(kImageSize, kImageSize));
  TreeView->viewport()->installEventFilter(this);
  connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { TreeViewChange(current); });
  nodes_.OnReselect = [this](const QModelIndex&) { RefillProperties(); };
}

void TFormTree::BuildList() {
  ListView->setRootIsDecorated(false);
  ListView->setItemsExpandable(false);
  ListView->setUniformRowHeights(true);
  ListView->setAllColumnsShowFocus(true);
  ListView->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView->setIconSize(QSize(kImageSize, kImageSize));
  ListView->setColumnCount(static_cast<int>(std::size(kColumns)));
  QStringList captions;
  for (const Column& c : kColumns) captions << QString::fromLatin1(c.caption);
  ListView->setHeaderLabels(captions);
  ListView->header()->setStretchLastSection(false);
  for (int i = 0; i < ListView->columnCount(); ++i) ListView->setColumnWidth(i, kColumns[i].width);
  ListView->setContextMenuPolicy(Qt::CustomContextMenu);
  ListView->installEventFilter(this);
  connect(ListView, &QTreeWidget::itemDoubleClicked, this, [this] { ListViewDblClick(); });
  // A mouse press makes the row current before it selects it; the popup follows
  // whichever comes last.
  connect(ListView, &QTreeWidget::currentItemChanged, this, [this] { ListViewChange(); });
  connect(ListView, &QTreeWidget::itemSelectionChanged, this, [this] { ListViewChange(); });
  connect(ListView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& p) { ListPopupMenu->popup(ListView->viewport()->mapToGlobal(p)); });
}

void TFormTree::BuildMenus() {
  ListPopupMenu = new QMenu(this);
  connect(ListPopupMenu->addAction(QStringLiteral("&Remove")), &QAction::triggered, this,
          &TFormTree::ListPopupRemoveClick);
  connect(ListPopupMenu->addAction(QStringLiteral("Add &Before")), &QAction::triggered, this,
          &TFormTree::ListPopupAddBeforeClick);
  connect(ListPopupMenu->addAction(QStringLiteral("Add &After")), &QAction::triggered, this,
          &TFormTree::ListPopupAddAfterClick);
  // The same keys as the Edit menu, taken while the list has the focus: a trace
  // row is listed only for the track, whose Edit items are off, so the two never
  // compete for a key.
  SetStructuralShortcuts(ListPopupItem(0), ListPopupItem(1), ListPopupItem(2));
  for (QAction* item : ListPopupMenu->actions()) item->setShortcutContext(Qt::WidgetShortcut);
  ListView->addActions(ListPopupMenu->actions());
  ListViewChange();

  // F2 edits the selected row, wherever the focus is in this window.
  auto* editRow = new QAction(this);
  editRow->setShortcut(QKeySequence(Qt::Key_F2));
  editRow->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(editRow, &QAction::triggered, this, &TFormTree::ListViewDblClick);
  addAction(editRow);

  TreePopupMenu = new QMenu(this);
  TreePopupItems.Build(*TreePopupMenu, false);
  const std::pair<int, void (TFormTree::*)()> handlers[] = {
      {kEditRemove, &TFormTree::TreeRemoveClick},
      {kEditAddBefore, &TFormTree::TreeAddBeforeClick},
      {kEditAddAfter, &TFormTree::TreeAddAfterClick},
      {kEditSplit, &TFormTree::TreeSplitSectionClick},
      {kEditChangeType, &TFormTree::TreeChangeSectionTypeClick},
      {kEditCopyWallsFrom, &TFormTree::TreeCopyWallsFromClick},
      {kEditCopyWallsToAll, &TFormTree::TreeCopyWallsToAllClick},
      {kEditCopyAltitude, &TFormTree::TreeCopyAltitudeClick},
  };
  for (const auto& [index, handler] : handlers)
    connect(TreePopupItems.Action(index), &QAction::triggered, this, handler);
}

QAction* TFormTree::ListPopupItem(int index) const { return ListPopupMenu->actions().value(index); }

// ---- the tree ----

const TBase* TFormTree::SelectedObject() const {
  TDocument* document = shell_.Document();
  return document ? document->SelectedObject() : nullptr;
}

QString TFormTree::SelectedLabel() const { return TreeView->currentIndex().data().toString(); }

void TFormTree::TreeViewChange(const QModelIndex& node) {
  // What the user selects goes to the document; the list follows it from there.
  if (nodes_.Updating()) return;
  const TBase* object = QtTreeNodes::ObjectOf(node);
  TDocument* document = shell_.Document();
  if (object && document) document->Select(PathOf(*object));
}

void TFormTree::TreeViewMouseDown(Qt::MouseButton button, const QPoint& position) {
  if (button != Qt::RightButton) return;
  const QModelIndex node = TreeView->indexAt(position);
  if (!node.isValid()) return;
  TreeView->setCurrentIndex(node);
  TreePopupMenu->popup(TreeView->viewport()->mapToGlobal(position));
}

bool TFormTree::TreeViewRunClick(Qt::KeyboardModifiers modifiers, const QPoint& position) {
  const auto* section = dynamic_cast<const TSection*>(QtTreeNodes::ObjectOf(TreeView->indexAt(position)));
  TDocument* document = shell_.Document();
  if (!section || !document || !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier))) return false;
  TreeView->setFocus(Qt::MouseFocusReason);
  if (modifiers & Qt::ShiftModifier) document->ExtendRun(section->Number);
  else document->ToggleInRun(section->Number);
  return true;
}

void TFormTree::TreeRemoveClick() { editCommands_.Remove(); }
void TFormTree::TreeAddBeforeClick() { editCommands_.AddBefore(); }
void TFormTree::TreeAddAfterClick() { editCommands_.AddAfter(); }
void TFormTree::TreeSplitSectionClick() { editCommands_.Split(); }
void TFormTree::TreeChangeSectionTypeClick() { editCommands_.ChangeType(); }
void TFormTree::TreeCopyWallsFromClick() { editCommands_.CopyWallsFrom(); }
void TFormTree::TreeCopyWallsToAllClick() { editCommands_.CopyWallsToAll(); }
void TFormTree::TreeCopyAltitudeClick() { editCommands_.CopyAltitude(); }

// ---- the list ----

void TFormTree::FillList(const RowList& rows) {
  rows_ = rows;
  ListView->clear();
  QList<QTreeWidgetItem*> items;
  for (const PropertyRow& row : rows_) {
    QStringList texts(QString::fromStdString(row.Caption));
    for (const std::string& sub : row.SubItems) texts << QString::fromStdString(sub);
    auto* item = new QTreeWidgetItem(texts);
    item->setIcon(0, RowIcon(row.ImageIndex));
    // The name is the file's; the tip says what it is in a builder's words.
    if (const std::string tip = ValueTip(row.Caption); !tip.empty()) item->setToolTip(0, QString::fromStdString(tip));
    items << item;
  }
  ListView->addTopLevelItems(items);
  ListViewChange();
}

void TFormTree::RefillProperties() {
  const TBase* object = SelectedObject();
  // The list shows the same object again after an edit: the row that was current
  // (the one just edited) stays current.
  const TObjectPath path = object ? PathOf(*object) : TObjectPath::Track();
  const QTreeWidgetItem* current = ListView->currentItem();
  const QString keep = object && path == listed_ && current ? current->text(0) : QString();
  const TDocument* document = shell_.Document();
  const TSectionRun run = document ? document->SelectedRun() : TSectionRun{};
  RowList rows;
  if (object) {
    if (run.Count() > 1) FillRunProperties(document->Track(), run, document->Selection().section, rows);
    else FillProperties(*object, rows);
    EnableCommands(*object, TreePopupItems);
  }
  FillList(rows);
  listed_ = path;
  const auto found = keep.isEmpty() ? QList<QTreeWidgetItem*>() : ListView->findItems(keep, Qt::MatchExactly);
  if (!found.isEmpty()) ListView->setCurrentItem(found.front());
  ShowRun();
}

void TFormTree::ShowRun() {
  const TDocument* document = shell_.Document();
  const QModelIndex current = TreeView->currentIndex();
  if (!document || !current.isValid() || nodes_.Updating()) return;
  const TSectionRun run = document->SelectedRun();
  QItemSelectionModel& selection = *TreeView->selectionModel();
  if (run.Count() <= 1) {
    if (selection.selectedIndexes() != QModelIndexList{current}) selection.select(current, QItemSelectionModel::ClearAndSelect);
    return;
  }
  const QModelIndex track = TreeModel->index(0, 0);
  selection.select(QItemSelection(TreeModel->index(run.first, 0, track), TreeModel->index(run.last, 0, track)),
                   QItemSelectionModel::ClearAndSelect);
}

const PropertyRow* TFormTree::SelectedRow() const {
  const QTreeWidgetItem* item = ListView->currentItem();
  if (!item || !item->isSelected()) return nullptr;
  const int index = ListView->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
  if (index < 0 || index >= static_cast<int>(rows_.size())) return nullptr;
  return &rows_[static_cast<size_t>(index)];
}

void TFormTree::ListViewDblClick() {
  // A copy: editing refills the list and with it the rows.
  const PropertyRow* selected = SelectedRow();
  if (!selected) return;
  const PropertyRow row = *selected;
  listCommands_.EditRow(SelectedObject(), &row);
}

void TFormTree::ListViewChange() {
  const bool trace = TPropertyListCommands::TraceRowSelected(SelectedRow());
  for (int i = 0; i < 3; ++i)
    if (QAction* item = ListPopupItem(i)) item->setEnabled(trace);
}

void TFormTree::ListPopupRemoveClick() { RunTraceCommand(TraceCommand::Remove); }

void TFormTree::ListPopupAddBeforeClick() { RunTraceCommand(TraceCommand::AddBefore); }

void TFormTree::ListPopupAddAfterClick() { RunTraceCommand(TraceCommand::AddAfter); }

void TFormTree::RunTraceCommand(TraceCommand command) {
  const PropertyRow* row = SelectedRow();
  if (!row) return;
  const std::string name = row->Caption;  // a copy: the command refills the list
  listCommands_.RunTraceCommand(command, name);
}

bool TFormTree::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TreeView->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton) {
      TreeViewMouseDown(mouse->button(), mouse->position().toPoint());
      return true;
    }
    if (mouse->button() == Qt::LeftButton && TreeViewRunClick(mouse->modifiers(), mouse->position().toPoint())) {
      swallowRelease_ = true;
      return true;
    }
  }
  if (watched == TreeView->viewport() && event->type() == QEvent::MouseButtonRelease && swallowRelease_) {
    swallowRelease_ = false;
    return true;
  }
  if (watched == ListView && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      ListViewDblClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace meridal
