#pragma once
// The frame window as the document's commands see it: the child windows of a
// document, the menu items the commands switch, the busy cursor. The Qt main
// window implements it; tests use a recording double.
#include <string>

namespace meridal {

class IDrawWindow;
class IEditCommands;
class ITreeNodes;
class TBase;

class IShellWindows {
 public:
  virtual ~IShellWindows() = default;

  // The graphics window of a new document: the surface the scale draw maps onto,
  // or nullptr while the program runs without one.
  virtual IDrawWindow* CreateGraphWindow() = 0;
  // The tree window of a new document; the track builds its tree in these nodes.
  virtual ITreeNodes& CreateTreeWindow() = 0;
  virtual void DestroyGraphWindow() = 0;
  virtual void DestroyTreeWindow() = 0;
  virtual void TileWindows() = 0;
  virtual void RepaintGraph() = 0;

  // The object of the node selected in the tree and that node's text; nullptr
  // without a tree window or without a selected node.
  virtual TBase* SelectedObject() = 0;
  virtual std::string SelectedLabel() = 0;
  // The selected node's object fills the property list anew.
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
  // The highlight moved to another object (the tree's selection changed): the
  // views that show the selection follow.
  virtual void SelectionMoved() {}
  // The list of recently used files changed (the frame keeps it between runs).
  virtual void RecentFilesChanged() {}
};

}  // namespace meridal
