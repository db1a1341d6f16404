#pragma once
// The frame window as the document's commands see it: the child windows of a
// document, the menu items the commands switch, the busy cursor. The Qt main
// window implements it; tests use a recording double.
#include <string>

namespace meridal {

class IEditCommands;
class ITreeNodes;
class TBase;
class TDocument;

class IShellWindows {
 public:
  virtual ~IShellWindows() = default;

  // The plan window of a new document, which listens to the document itself;
  // nothing while the program runs without one.
  virtual void CreatePlanWindow(TDocument& document) = 0;
  // The tree window of a new document: the nodes the document's tree is shown in.
  virtual ITreeNodes& CreateTreeWindow() = 0;
  virtual void DestroyPlanWindow() = 0;
  virtual void DestroyTreeWindow() = 0;
  virtual void TileWindows() = 0;

  // The document's selected object fills the property list anew.
  virtual void RefillProperties() = 0;

  // The main window's Edit menu in its ten-item layout.
  virtual IEditCommands& EditMenu() = 0;
  virtual void SetSaveEnabled(bool enabled) = 0;
  // "Save As..." and "Export Track File...".
  virtual void SetDocumentItemsEnabled(bool enabled) = 0;
  virtual void SetBusy(bool busy) = 0;
  // The frame's title names the document (its path; empty: no document) and
  // shows whether it has unsaved changes.
  virtual void SetDocumentTitle(const std::string& path, bool modified) = 0;
  // A word the title shows after the document's name ("(damaged)"), or none;
  // set before the title.
  virtual void SetDocumentNote(const std::string& /*note*/) {}
  // A short note in the status bar on what a command did ("Saved circuit.mrd").
  virtual void ShowStatus(const std::string& text) = 0;
  // The document or its history changed (an edit, an undo or a redo, a save, a
  // new, opened or closed document): the views that show them read them again,
  // and so do the Undo and Redo items.
  virtual void DocumentChanged() {}
  // The document's selection moved: the views that show it follow, the list
  // among them.
  virtual void SelectionMoved() {}
  // Another document is open, or none (nullptr): the views that listen to the
  // document listen to this one now.
  virtual void DocumentReplaced(TDocument* /*document*/) {}
  // The list of recently used files changed (the frame keeps it between runs).
  virtual void RecentFilesChanged() {}
};

}  // namespace meridal
