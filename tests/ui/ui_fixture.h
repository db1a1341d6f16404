#pragma once
// A main window wired to scripted boxes, file dialogs and dialogs, with either
// scripted or real files.
#include <QStandardPaths>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "model/track.h"
#include "shell/document_shell.h"
#include "shell/shell_doubles.h"
#include "ui/main_window.h"
#include "ui/tree_window.h"

namespace meridal::testing {

struct UiFrame {
  explicit UiFrame(bool realFiles = false, bool realDialogs = false) {
    // The window keeps its recent files in the settings: never the user's own.
    QStandardPaths::setTestModeEnabled(true);
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
