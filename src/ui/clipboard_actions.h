#pragma once
// The Edit menu's items for runs of sections and the whole track: Cut, Copy and
// Paste (Ctrl+X, Ctrl+C, Ctrl+V, through the system clipboard), Reverse Track
// and Mirror Track. They follow the frame's document: Cut, Copy and Paste need a
// selected section, the others an open document.
#include <QObject>

#include "shell/clipboard_command_flow.h"
#include "ui/qt_clipboard.h"

class QAction;
class QMenu;

namespace meridal {

class TDocumentShell;
class TDocumentSignals;

class TClipboardActions : public QObject {
  Q_OBJECT

 public:
  // Adds the items, after a separator, to the end of `edit`.
  TClipboardActions(TDocumentShell& shell, TDocumentSignals& documentSignals, QMenu& edit, QObject* parent = nullptr);

  QAction* Cut;
  QAction* Copy;
  QAction* Paste;
  QAction* Reverse;
  QAction* Mirror;

  // The items on or off for the document as it stands.
  void Refresh();

 private:
  TDocumentSignals& signals_;
  QtClipboard clipboard_;
  TClipboardCommandFlow flow_;
};

}  // namespace meridal
