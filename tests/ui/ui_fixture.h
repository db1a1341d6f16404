#pragma once
// A main window wired to scripted boxes, file dialogs and dialogs, with either
// scripted or real files.
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
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
  QTreeWidget* Tree() { return window->FormTree ? window->FormTree->TreeView : nullptr; }
  QTreeWidget* List() { return window->FormTree ? window->FormTree->ListView : nullptr; }

  // The tree item labelled `label`.
  QTreeWidgetItem* Node(const QString& label) {
    const auto found = Tree()->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
  }
  bool SelectNode(const QString& label) {
    QTreeWidgetItem* item = Node(label);
    if (!item) return false;
    Tree()->setCurrentItem(item);
    return true;
  }
  // Clicks the node labelled `label` as a user would, its parents expanded first.
  bool ClickNode(const QString& label) {
    QTreeWidgetItem* item = Node(label);
    if (!item) return false;
    for (QTreeWidgetItem* p = item->parent(); p; p = p->parent()) p->setExpanded(true);
    Tree()->scrollToItem(item);
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, OnText(*Tree(), item));
    return Tree()->currentItem() == item;
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

  ScriptedMessages messages;
  ScriptedFileDialogs fileDialogs;
  ScriptedDialogs dialogs;
  ScriptedFiles files;
  std::unique_ptr<IDocumentFiles> disk;
  std::unique_ptr<TFormMain> window;
};

}  // namespace meridal::testing
