#pragma once
// A main window wired to scripted boxes, file dialogs and dialogs, with either
// scripted or real files.
#include <QApplication>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"
#include "ui/main_window.h"
#include "ui/tree_window.h"

namespace meridal::testing {

struct UiFrame {
  explicit UiFrame(bool realFiles = false, bool realDialogs = false) {
    if (realFiles) disk = MakeDiskFiles();
    MainWindowServices services;
    services.messages = &messages;
    services.fileDialogs = &fileDialogs;
    services.dialogs = realDialogs ? nullptr : &dialogs;
    services.files = realFiles ? disk.get() : &files;
    window = std::make_unique<TFormMain>(services);
  }

  TDocumentShell& Shell() { return window->Shell(); }
  QTreeView* Tree() { return window->FormTree ? window->FormTree->TreeView : nullptr; }
  QTreeWidget* List() { return window->FormTree ? window->FormTree->ListView : nullptr; }
  QAbstractItemModel* TreeModel() { return Tree()->model(); }

  // The first tree node labelled `label`, or an invalid index.
  QModelIndex Node(const QString& label) {
    const auto found = TreeModel()->match(TreeModel()->index(0, 0), Qt::DisplayRole, label, 1,
                                          Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? QModelIndex() : found.front();
  }
  // Every node labelled `label`.
  int CountNodes(const QString& label) {
    return TreeModel()->match(TreeModel()->index(0, 0), Qt::DisplayRole, label, -1,
                              Qt::MatchExactly | Qt::MatchRecursive).size();
  }
  bool SelectNode(const QString& label) {
    const QModelIndex node = Node(label);
    if (!node.isValid()) return false;
    Tree()->setCurrentIndex(node);
    return true;
  }
  QString CurrentNode() { return Tree()->currentIndex().data().toString(); }
  // Clicks the node as a user would, its parents expanded first.
  bool ClickNode(const QModelIndex& node, Qt::MouseButton button = Qt::LeftButton) {
    if (!node.isValid()) return false;
    for (QModelIndex p = node.parent(); p.isValid(); p = p.parent()) Tree()->expand(p);
    Tree()->scrollTo(node);
    QTest::mouseClick(Tree()->viewport(), button, Qt::NoModifier, OnText(*Tree(), node));
    return Tree()->currentIndex() == node;
  }
  bool ClickNode(const QString& label) { return ClickNode(Node(label)); }
  // A point on the node's label, where its text begins.
  static QPoint OnText(const QTreeView& view, const QModelIndex& node) {
    const QRect row = view.visualRect(node);
    return QPoint(row.left() + std::min(24, row.width() / 2), row.center().y());
  }
  // Presses a mouse button on the list row whose Variable is `caption`.
  bool PressRow(const QString& caption, Qt::MouseButton button = Qt::LeftButton) {
    const auto found = List()->findItems(caption, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    List()->scrollToItem(found.front());
    const QPoint at = OnText(*List(), found.front());
    QTest::mousePress(List()->viewport(), button, Qt::NoModifier, at);
    QTest::mouseRelease(List()->viewport(), button, Qt::NoModifier, at);
    return true;
  }
  // A point on the item's first column, where its text begins: the row may reach
  // beyond a narrow viewport.
  static QPoint OnText(const QTreeWidget& view, QTreeWidgetItem* item) {
    const QRect row = view.visualItemRect(item);
    return QPoint(row.left() + std::min(24, row.width() / 2), row.center().y());
  }
  // Selects the list row whose Variable is `caption`.
  bool SelectRow(const QString& caption) {
    const auto found = List()->findItems(caption, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    List()->setCurrentItem(found.front());
    return true;
  }
  // Runs `answer` on the modal dialog the next command opens.
  template <class Dialog>
  static void WhenOpen(std::function<void(Dialog&)> answer) {
    QTimer::singleShot(0, [answer] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      answer(*dialog);
    });
  }

  ScriptedMessages messages;
  ScriptedFileDialogs fileDialogs;
  ScriptedDialogs dialogs;
  ScriptedFiles files;
  std::unique_ptr<IDocumentFiles> disk;
  std::unique_ptr<TFormMain> window;
};

}  // namespace meridal::testing
