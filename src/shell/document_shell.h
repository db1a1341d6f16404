#pragma once
// TDocumentShell: the one open document and the File commands of the main
// window, free of any widget. It owns the track and the scale draw of the
// graphics window, knows the file name and whether there are unsaved changes,
// and reaches the user only through the message, file dialog and window seams.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "graphics/view_flags.h"
#include "history/editor.h"
#include "present/rows.h"
#include "shell/recent_files.h"

namespace meridal {

class IDocumentFiles;
class IEditCommands;
class IFileDialogs;
class IMessages;
class IShellWindows;
class TBase;
class TScaleDraw;
class TTrack;

class TDocumentShell {
 public:
  TDocumentShell(IShellWindows& windows, IMessages& messages, IFileDialogs& fileDialogs,
                 IDocumentFiles& files);
  ~TDocumentShell();
  TDocumentShell(const TDocumentShell&) = delete;
  TDocumentShell& operator=(const TDocumentShell&) = delete;

  std::unique_ptr<TTrack> Track;           // the open document, if any
  std::unique_ptr<TScaleDraw> ScaleDraw;   // only while a graphics window exists
  std::string FileName;                    // "noname.mrd" until a new document is saved
  // The document's steps: every change goes through it, and the document is
  // modified exactly when it stands at another step than the one last saved or
  // opened.
  history::THistory History;
  bool Modified = false;                   // changes not saved yet (follows History)
  bool SaveCancelled = false;              // Save As was cancelled in its dialog
  // The document has never been saved under FileName (a new document, an imported
  // track file): saving it asks for a name first, proposing FileName.
  bool Untitled = false;
  // The document was read all the same from a damaged file: the title says so,
  // and it is modified, until it is saved.
  bool Damaged = false;
  int32_t ViewFlags = kViewAll;
  TRecentFiles Recent;                     // File > Open Recent

  // ---- File menu ----
  void FileNew();
  void FileOpen();
  void FileSave();
  void FileSaveAs();
  void FileExportTrackFile();
  // Exports to a path chosen already; the status bar says what was written.
  void ExportTo(const std::string& path);
  // Reads a track file into a new untitled document (see ImportPath).
  void FileImportTrackFile();
  // Opens a named file as Open does once its dialog is answered: a recent file,
  // a dropped one. A modified document is offered for saving first.
  void FileOpenPath(const std::string& path);
  // Opens any of the three formats without asking for a name (a file given at
  // start-up); false when it could not be read. A project or JSON file replaces
  // the document once it has been read: a file that fails leaves the open
  // document as it was. A track file is imported (ImportPath).
  bool OpenPath(const std::string& path);
  // A track file becomes a new untitled, modified document named like it with
  // ".mrd"; a file that is refused leaves the open document as it was.
  bool ImportPath(const std::string& path);
  // Whether the program may close: a modified document is offered for saving.
  bool CloseQuery();
  // The program closes: the document goes.
  void Close();

  // ---- changes, and taking them back ----
  // Runs one change of the document through its history and, when it changed
  // anything, ends with the common refresh. Without a document: Refused.
  history::Outcome Change(const std::function<history::Outcome(history::TEditor&)>& change);
  void Undo();
  void Redo();
  // Undoes or redoes until `index` steps are done (the History window's click).
  void GoTo(size_t index);

  // ---- what every change ends with ----
  // The selected object's rows, the track's extent, the scale draw's bounds and a
  // repaint; Modified from the history; the windows told the document changed.
  // After a step whose change shows in a few boxes of the plan (and with the
  // bounds as they were) only those boxes are drawn again.
  void CommonRefresh(const history::TStep* step = nullptr);
  // The document differs from its file at every step (an imported track):
  // modified until it is saved.
  void MarkModified();
  // A new View option set; the drawing follows.
  void SetViewFlags(int32_t flags);

  // A node of the tree became selected: the rows of its object, the Edit menu and
  // the tree's popup set for it, and (while the track lets tree events through)
  // the highlight moved to it.
  RowList SelectionChanged(TBase& object, IEditCommands* treePopup);

  IShellWindows& Windows() const { return windows_; }
  IMessages& Messages() const { return messages_; }

 private:
  // The one place where Modified changes: Save follows it, and so does the title.
  void SetModified(bool modified);
  void ShowTitle();
  // The save-changes prompt; true when the command may go on.
  bool OfferToSave();
  // Writes the document to FileName in the format its extension names (a project
  // file when it names none); Modified is cleared only when it worked.
  bool WriteProject();
  void ReleaseDocument();
  void SetUpWindows();
  void NoteRecent(const std::string& path);
  // A new track read from the file, or nullptr after the failure was shown;
  // `damage` gets the damaged places of a file read all the same.
  std::unique_ptr<TTrack> ReadDocument(const std::string& path, std::vector<std::string>* damage = nullptr);

  IShellWindows& windows_;
  IMessages& messages_;
  IFileDialogs& fileDialogs_;
  IDocumentFiles& files_;
};

}  // namespace meridal
