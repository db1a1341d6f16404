#include "present/object_labels.h"
#include "present/property_rows.h"
#include "shell/document_shell.h"

#include <algorithm>

#include "check/track_check.h"
#include "files/safety/shown_text.h"
#include "files/track_formats.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "shape/readout.h"
#include "shell/document_files.h"
#include "shell/read_warnings.h"
#include "shell/shell_texts.h"
#include "shell/shell_windows.h"
#include "shell/tree_binder.h"
#include "present/object_labels.h"

namespace meridal {

namespace {

// The hourglass for the length of a file operation.
class BusyScope {
 public:
  explicit BusyScope(IShellWindows& windows) : windows_(windows) { windows_.SetBusy(true); }
  ~BusyScope() { End(); }
  void End() {
    if (busy_) windows_.SetBusy(false);
    busy_ = false;
  }

 private:
  IShellWindows& windows_;
  bool busy_ = true;
};

// The shell's own file message: title "Error", an OK button, no icon; the
// system's reason beneath it.
void ShowCannotOpenFile(IMessages& messages, const std::string& reason) {
  messages.Show("Error", WithReason(kCannotOpenFile, reason), MessageIcon::None, MessageButtons::Ok);
}

}  // namespace

TDocumentShell::TDocumentShell(IShellWindows& windows, IMessages& messages, IFileDialogs& fileDialogs,
                               IDocumentFiles& files)
    : windows_(windows), messages_(messages), fileDialogs_(fileDialogs), files_(files) {}

TDocumentShell::~TDocumentShell() { ReleaseDocument(); }

// ---- the document's life ----

void TDocumentShell::FileNew() {
  if (Modified() && !OfferToSave()) return;
  ReleaseDocument();
  Untitled = true;
  Adopt(TDocument::New(kNewFileName));
}

void TDocumentShell::FileOpen() {
  if (Modified() && !OfferToSave()) return;
  FileDialogRequest request;
  request.defaultExtension = kProjectExtension;
  request.filter = kOpenFilter;
  request.fileName = FileName();
  request.mustExist = true;
  const auto path = fileDialogs_.Open(request);
  if (!path) return;
  OpenPath(*path);
}

void TDocumentShell::FileOpenPath(const std::string& path) {
  if (Modified() && !OfferToSave()) return;
  OpenPath(path);
}

void TDocumentShell::FileImportTrackFile() {
  if (Modified() && !OfferToSave()) return;
  FileDialogRequest request;
  request.defaultExtension = kTrackExtension;
  request.filter = kTrackFilter;
  request.mustExist = true;
  const auto path = fileDialogs_.Open(request);
  if (path) ImportPath(*path);
}

std::unique_ptr<TTrack> TDocumentShell::ReadDocument(const std::string& path, std::vector<std::string>* damage) {
  BusyScope busy(windows_);
  auto track = std::make_unique<TTrack>();
  FileOutcome outcome = files_.Load(path, *track, messages_);
  switch (outcome.status) {
    case FileStatus::Ok:
      saveGuard_.Remember(path, outcome);
      if (damage) *damage = std::move(outcome.damage);
      return track;
    case FileStatus::CannotOpen:
      busy.End();
      ShowRefusal(messages_, WithReason(RefusalText("Unable to open", ShownPath(path)), outcome.reason));
      return nullptr;
    case FileStatus::Failed:  // the reader has said why; no partial track survives
      break;
  }
  return nullptr;
}

bool TDocumentShell::ImportPath(const std::string& path) {
  auto track = ReadDocument(path);  // the open document stays if this fails
  if (!track) return false;
  ReleaseDocument();
  Untitled = true;
  Adopt(std::make_unique<TDocument>(std::move(track), WithExtension(path, TrackFormat::Project)));
  MarkModified();  // an imported track matches no project file
  NoteRecent(path);
  WarnAboutReadDocument(messages_, path, document_->Track(), {});
  return true;
}

void TDocumentShell::NewFromTrack(std::unique_ptr<TTrack> track, const std::string& fileName,
                                  const std::string& status) {
  ReleaseDocument();
  Untitled = true;
  Adopt(std::make_unique<TDocument>(std::move(track), fileName));
  MarkModified();  // it matches no file until it is saved
  ShowStatus(status);
}

bool TDocumentShell::OpenPath(const std::string& path) {
  if (TrackFormatOfPath(path) == TrackFormat::TrackFile) return ImportPath(path);
  std::vector<std::string> damage;
  auto track = ReadDocument(path, &damage);  // the open document stays if this fails
  if (!track) return false;
  ReleaseDocument();
  fileName_ = path;
  Untitled = false;
  Adopt(std::make_unique<TDocument>(std::move(track), path));
  NoteRecent(path);
  Damaged = !damage.empty();
  if (Damaged) MarkModified();  // it differs from its file until saved
  WarnAboutReadDocument(messages_, path, document_->Track(), damage);
  return true;
}

void TDocumentShell::NoteRecent(const std::string& path) {
  Recent.Add(path);
  windows_.RecentFilesChanged();
}

void TDocumentShell::ReleaseDocument() {
  if (!document_) return;
  fileName_ = document_->FileName();
  document_->Unsubscribe(listener_);
  windows_.DocumentReplaced(nullptr);
  windows_.DestroyPlanWindow();
  tree_.reset();
  windows_.DestroyTreeWindow();
  document_.reset();
  Damaged = false;
  ClearStatus();  // it spoke of the document that went
  ShowTitle();
  windows_.DocumentChanged();
}

void TDocumentShell::Adopt(std::unique_ptr<TDocument> document) {
  document_ = std::move(document);
  TDocument& doc = *document_;
  windows_.CreatePlanWindow(doc);
  tree_ = std::make_unique<TTreeBinder>(doc, windows_.CreateTreeWindow());
  listener_ = doc.Subscribe([this](const TDocumentChange& change) { Changed(change); });
  windows_.DocumentReplaced(&doc);
  // The track is what the list shows first.
  TDocumentChange selected;
  selected.selection = true;
  Changed(selected);
  windows_.SetSaveEnabled(doc.Modified());
  ShowTitle();
  windows_.DocumentChanged();
  windows_.SetDocumentItemsEnabled(true);
  windows_.TileWindows();
}

// ---- saving ----

bool TDocumentShell::OfferToSave() {
  switch (messages_.Show(kAppTitle, SaveChangesText(FileName()), MessageIcon::Warning,
                         MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes:
      if (Untitled) {
        SaveCancelled = false;
        FileSaveAs();
        if (SaveCancelled) return false;
      } else {
        FileSave();
      }
      // A save that failed keeps the document rather than dropping the changes.
      return !Modified();
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void TDocumentShell::FileSave() {
  if (!document_ || !Modified() || FileName().empty()) return;
  // A document that has never been saved has no file of its own yet: writing
  // "noname.mrd" in the working folder, or an imported track's proposed name,
  // could replace someone else's file.
  if (Untitled) return FileSaveAs();
  if (!WriteProject()) OfferSaveElsewhere();
}

void TDocumentShell::Report(const std::string& text) {
  if (document_) ShowStatus(text);
}

void TDocumentShell::ShowStatus(const std::string& text) {
  windows_.ShowStatus(text);
  statusShown_ = true;
}

void TDocumentShell::ClearStatus() {
  if (!statusShown_) return;
  windows_.ShowStatus(std::string());
  statusShown_ = false;
}

void TDocumentShell::OfferSaveElsewhere() {
  // A folder that is gone or refuses to be written may leave the user no way to
  // keep the changes but another place; a track the writer refused would fail
  // there too.
  if (!saveRefusedByDisk_) return;
  if (AskYesNo(messages_, SaveElsewhereText(FileName()))) FileSaveAs();
}

void TDocumentShell::FileSaveAs() {
  if (!document_) return;
  FileDialogRequest request;
  request.defaultExtension = kProjectExtension;
  request.filter = kSaveAsFilter;
  request.fileName = FileName();
  request.promptOverwrite = true;
  const auto path = fileDialogs_.Save(request);
  if (!path) {
    SaveCancelled = true;
    return;
  }
  // Written under the new name; a failure keeps the old name, its untitled
  // state and its file, as nothing was written.
  const std::string oldName = FileName();
  const bool wasUntitled = Untitled;
  document_->SetFileName(*path);
  if (WriteProject()) return NoteRecent(FileName());
  if (FileName() == *path) {
    document_->SetFileName(oldName);
    Untitled = wasUntitled;
    ShowTitle();
  }
}

bool TDocumentShell::WriteProject() {
  BusyScope busy(windows_);
  FileOutcome outcome;
  // The writers only read the track.
  const TSaveGuard::Result result = saveGuard_.Save(FileName(), const_cast<TTrack&>(document_->Track()), outcome);
  busy.End();
  if (result == TSaveGuard::Result::SaveAs) {
    FileSaveAs();
    return !Modified();
  }
  saveRefusedByDisk_ = result == TSaveGuard::Result::Failed &&
                       (outcome.status == FileStatus::CannotOpen || !outcome.reason.empty());
  if (result == TSaveGuard::Result::Failed && outcome.status == FileStatus::CannotOpen)
    messages_.Show("Error", WithReason(kCannotWriteFile, outcome.reason), MessageIcon::None, MessageButtons::Ok);
  if (result != TSaveGuard::Result::Saved) return false;  // the old file is intact; the changes stay unsaved
  Untitled = false;
  Damaged = false;  // what was written is whole
  document_->MarkSaved();
  ShowStatus(SavedText(FileName(), outcome.inPlace));
  return true;
}

void TDocumentShell::FileExportTrackFile() {
  if (!document_) return;
  FileDialogRequest request;
  request.defaultExtension = kTrackExtension;
  request.filter = kTrackFilter;
  request.fileName = ExportNameProposal(FileName());
  request.title = kExportTitle;
  const auto path = fileDialogs_.Save(request);
  if (path) ExportTo(*path);
}

void TDocumentShell::ExportTo(const std::string& path) {
  if (!document_) return;
  BusyScope busy(windows_);
  TTrack& track = const_cast<TTrack&>(document_->Track());  // the writer only reads it
  const FileOutcome outcome = files_.Export(path, track, messages_);
  busy.End();
  if (outcome.status == FileStatus::CannotOpen) ShowCannotOpenFile(messages_, outcome.reason);
  if (outcome.status != FileStatus::Ok) return;
  // An open loop is exported all the same; the note says where to look.
  ShowStatus(ExportedText(path, outcome.bytes, static_cast<size_t>(OpenJoints(CheckTrack(track)))));
}

// ---- closing ----

bool TDocumentShell::CloseQuery() { return !Modified() || OfferToSave(); }

void TDocumentShell::Close() { ReleaseDocument(); }

// ---- changes ----

history::Outcome TDocumentShell::Change(const std::function<history::Outcome(history::TEditor&)>& change) {
  if (!document_) return history::Outcome::Refused;
  return document_->Change(change);
}

void TDocumentShell::Undo() {
  if (document_) document_->Undo();
}

void TDocumentShell::Redo() {
  if (document_) document_->Redo();
}

void TDocumentShell::GoTo(size_t index) {
  if (document_) document_->GoTo(index);
}

void TDocumentShell::MarkModified() {
  if (document_) document_->MarkNeverClean();
}

void TDocumentShell::Changed(const TDocumentChange& change) {
  if (!document_) return;
  const TDocument& doc = *document_;
  // What the status bar said of a save or an export was said of the track as it
  // was then.
  if (!change.track.Empty()) ClearStatus();
  // With Keep Joined the later sections followed the change: the loop's closure
  // at section 0 is what may open, and the status bar says how far.
  if (change.joined) ShowStatus(shape::LoopText(doc.Track()));
  if (change.selection) {
    if (const TBase* object = doc.SelectedObject()) EnableCommands(*object, windows_.EditMenu());
    windows_.SelectionMoved();
  }
  // The list shows the selected object as it is now.
  if (!change.track.Empty()) windows_.RefillProperties();
  if (change.modified || change.history) {
    windows_.SetSaveEnabled(doc.Modified());
    ShowTitle();
  }
  windows_.DocumentChanged();
}

void TDocumentShell::ShowTitle() {
  windows_.SetDocumentNote(document_ && Damaged ? kDamagedNote : "");
  windows_.SetDocumentTitle(document_ ? FileName() : std::string(), Modified());
}

}  // namespace meridal
