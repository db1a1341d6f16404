#pragma once
// TDocumentShell: the open document and the File commands of the main window,
// free of any widget. It owns the document, and reaches the user only through
// the message, file dialog and window seams. It listens to the document: after
// every change it refreshes the title and the menus, and tells the windows (the
// views listen to the document themselves).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/document.h"
#include "graphics/view_flags.h"
#include "shell/recent_files.h"
#include "shell/save_guard.h"

namespace meridal {

class IDocumentFiles;
class IFileDialogs;
class IMessages;
class IShellWindows;
class TTrack;
class TTreeBinder;

class TDocumentShell {
 public:
  TDocumentShell(IShellWindows& windows, IMessages& messages, IFileDialogs& fileDialogs,
                 IDocumentFiles& files);
  ~TDocumentShell();
  TDocumentShell(const TDocumentShell&) = delete;
  TDocumentShell& operator=(const TDocumentShell&) = delete;

  // The open document, or nullptr.
  TDocument* Document() const { return document_.get(); }
  const TTrack* Track() const { return document_ ? &document_->Track() : nullptr; }
  // The document's file name: "noname.mrd" until a new document is saved.
  const std::string& FileName() const { return document_ ? document_->FileName() : fileName_; }
  // Changes not saved yet (follows the document's history).
  bool Modified() const { return document_ && document_->Modified(); }
  bool SaveCancelled = false;  // Save As was cancelled in its dialog
  // The document has never been saved under its name (a new document, an
  // imported track file): saving it asks for a name first, proposing the name.
  bool Untitled = false;
  // The document was read all the same from a damaged file: the title says so,
  // and it is modified, until it is saved.
  bool Damaged = false;
  int32_t ViewFlags = kViewAll;  // the View menu's options, as the drawing takes them
  TRecentFiles Recent;  // File > Open Recent

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
  // A track built elsewhere (a fitted centreline) becomes a new untitled,
  // modified document proposed under `fileName`, in the windows File > New makes;
  // the status bar says `status` until the track first changes. The caller
  // offers a modified document for saving first (CloseQuery).
  void NewFromTrack(std::unique_ptr<TTrack> track, const std::string& fileName, const std::string& status);
  // Whether the program may close: a modified document is offered for saving.
  bool CloseQuery();
  // The program closes: the document goes.
  void Close();

  // ---- changes, and taking them back ----
  // Runs one change of the document through its history. Without a document:
  // Refused.
  history::Outcome Change(const std::function<history::Outcome(history::TEditor&)>& change);
  void Undo();
  void Redo();
  // Undoes or redoes until `index` steps are done (the History window's click).
  void GoTo(size_t index);

  // The document differs from its file at every step (an imported track):
  // modified until it is saved.
  void MarkModified();

  // A note in the status bar on what a command did to the track as it is now
  // (a loop closed, an image exported); cleared by the next change of the track
  // and when the document goes.
  void Report(const std::string& text);

  IShellWindows& Windows() const { return windows_; }
  IMessages& Messages() const { return messages_; }

 private:
  // What the shell does after every change of the document.
  void Changed(const TDocumentChange& change);
  void ShowTitle();
  // The save-changes prompt; true when the command may go on.
  bool OfferToSave();
  // Writes the document to its file in the format its extension names (a project
  // file when it names none); the saved state moves only when it worked.
  bool WriteProject();
  // After a Save the disk refused: the user may save under another name.
  void OfferSaveElsewhere();
  // What the status bar says of a save or an export; cleared when the track
  // changes or the document goes, as it spoke of the track as it was.
  void ShowStatus(const std::string& text);
  void ClearStatus();
  void ReleaseDocument();
  // A document takes the shell's windows: the plan and tree windows, the
  // tree bound to it, the shell listening.
  void Adopt(std::unique_ptr<TDocument> document);
  void NoteRecent(const std::string& path);
  // A new track read from the file, or nullptr after the failure was shown;
  // `damage` gets the damaged places of a file read all the same.
  std::unique_ptr<TTrack> ReadDocument(const std::string& path, std::vector<std::string>* damage = nullptr);

  IShellWindows& windows_;
  IMessages& messages_;
  IFileDialogs& fileDialogs_;
  IDocumentFiles& files_;
  std::unique_ptr<TDocument> document_;
  std::unique_ptr<TTreeBinder> tree_;
  int listener_ = 0;
  std::string fileName_;  // the name proposed while no document is open
  bool statusShown_ = false;  // the status bar holds a text of the shell's
  bool saveRefusedByDisk_ = false;  // the last save failed for want of a writable file
  TSaveGuard saveGuard_{files_, messages_};
};

}  // namespace meridal
