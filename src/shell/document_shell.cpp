#include "shell/document_shell.h"

#include <algorithm>

#include "check/track_check.h"
#include "files/track_formats.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "shell/document_files.h"
#include "shell/read_warnings.h"
#include "shell/shell_texts.h"
#include "shell/shell_windows.h"

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

constexpr int32_t kGraphSizePixels = 600;
// Beyond this many boxes a change is drawn with one full repaint.
constexpr size_t kMostBoxesRedrawn = 16;

TRect Around(const std::vector<TRect>& boxes) {
  TRect around = boxes.front();
  for (const TRect& b : boxes) {
    around.left = std::min(around.left, b.left);
    around.right = std::max(around.right, b.right);
    around.top = std::max(around.top, b.top);
    around.bottom = std::min(around.bottom, b.bottom);
  }
  return around;
}

}  // namespace

TDocumentShell::TDocumentShell(IShellWindows& windows, IMessages& messages, IFileDialogs& fileDialogs,
                               IDocumentFiles& files)
    : windows_(windows), messages_(messages), fileDialogs_(fileDialogs), files_(files) {}

TDocumentShell::~TDocumentShell() = default;

// ---- the document's life ----

void TDocumentShell::FileNew() {
  if (Track && Modified && !OfferToSave()) return;
  ReleaseDocument();
  Track = std::make_unique<TTrack>();
  Track->SetDefaults();
  FileName = kNewFileName;
  Untitled = true;
  SetUpWindows();
}

void TDocumentShell::FileOpen() {
  if (Track && Modified && !OfferToSave()) return;
  FileDialogRequest request;
  request.defaultExtension = kProjectExtension;
  request.filter = kOpenFilter;
  request.fileName = FileName;
  request.mustExist = true;
  const auto path = fileDialogs_.Open(request);
  if (!path) return;
  OpenPath(*path);
}

void TDocumentShell::FileOpenPath(const std::string& path) {
  if (Track && Modified && !OfferToSave()) return;
  OpenPath(path);
}

void TDocumentShell::FileImportTrackFile() {
  if (Track && Modified && !OfferToSave()) return;
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
      if (damage) *damage = std::move(outcome.damage);
      return track;
    case FileStatus::CannotOpen:
      busy.End();
      ShowRefusal(messages_, WithReason(RefusalText("Unable to open", path), outcome.reason));
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
  Track = std::move(track);
  SetUpWindows();
  FileName = WithExtension(path, TrackFormat::Project);
  Untitled = true;
  MarkModified();  // an imported track matches no project file
  NoteRecent(path);
  WarnAboutReadDocument(messages_, path, *Track, {});
  return true;
}

bool TDocumentShell::OpenPath(const std::string& path) {
  if (TrackFormatOfPath(path) == TrackFormat::TrackFile) return ImportPath(path);
  std::vector<std::string> damage;
  auto track = ReadDocument(path, &damage);  // the open document stays if this fails
  if (!track) return false;
  ReleaseDocument();
  FileName = path;
  Track = std::move(track);
  SetUpWindows();
  Untitled = false;
  NoteRecent(path);
  Damaged = !damage.empty();
  if (Damaged) MarkModified();  // it differs from its file until saved
  WarnAboutReadDocument(messages_, path, *Track, damage);
  return true;
}

void TDocumentShell::NoteRecent(const std::string& path) {
  Recent.Add(path);
  windows_.RecentFilesChanged();
}

void TDocumentShell::ReleaseDocument() {
  if (!Track) return;
  windows_.DestroyGraphWindow();
  windows_.DestroyTreeWindow();
  Track.reset();
  Damaged = false;
  ScaleDraw.reset();
  History.Clear();
  ShowTitle();
  windows_.DocumentChanged();
}

void TDocumentShell::SetUpWindows() {
  if (IDrawWindow* graph = windows_.CreateGraphWindow())
    ScaleDraw = std::make_unique<TScaleDraw>(*graph, Track->Extent, kGraphSizePixels);
  ITreeNodes& nodes = windows_.CreateTreeWindow();
  Track->AddToTree(nodes, nullptr);
  nodes.Select(Track->TreeNode);
  History.Clear();  // a new or opened document starts a history of its own
  SetModified(false);
  windows_.SetDocumentItemsEnabled(true);
  windows_.TileWindows();
}

// ---- saving ----

bool TDocumentShell::OfferToSave() {
  switch (messages_.Show(kAppTitle, SaveChangesText(FileName), MessageIcon::Warning,
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
      return !Modified;
    case MessageAnswer::No:
      return true;
    default:
      return false;
  }
}

void TDocumentShell::FileSave() {
  if (!Track || !Modified || FileName.empty()) return;
  // A document that has never been saved has no file of its own yet: writing
  // "noname.mrd" in the working folder, or an imported track's proposed name,
  // could replace someone else's file.
  if (Untitled) return FileSaveAs();
  WriteProject();
}

void TDocumentShell::FileSaveAs() {
  if (!Track) return;
  FileDialogRequest request;
  request.defaultExtension = kProjectExtension;
  request.filter = kSaveAsFilter;
  request.fileName = FileName;
  request.promptOverwrite = true;
  const auto path = fileDialogs_.Save(request);
  if (!path) {
    SaveCancelled = true;
    return;
  }
  FileName = *path;
  ShowTitle();
  if (WriteProject()) NoteRecent(FileName);
}

bool TDocumentShell::WriteProject() {
  BusyScope busy(windows_);
  const FileOutcome outcome = files_.Save(FileName, *Track, messages_);
  busy.End();
  if (outcome.status == FileStatus::CannotOpen) ShowCannotOpenFile(messages_, outcome.reason);
  if (outcome.status != FileStatus::Ok) return false;  // the old file is intact; the changes stay unsaved
  Untitled = false;
  Damaged = false;  // what was written is whole
  History.SetClean();
  SetModified(false);
  windows_.ShowStatus(SavedText(FileName, outcome.inPlace));
  return true;
}

void TDocumentShell::FileExportTrackFile() {
  if (!Track) return;
  FileDialogRequest request;
  request.defaultExtension = kTrackExtension;
  request.filter = kTrackFilter;
  request.fileName = ExportNameProposal(FileName);
  const auto path = fileDialogs_.Save(request);
  if (path) ExportTo(*path);
}

void TDocumentShell::ExportTo(const std::string& path) {
  if (!Track) return;
  BusyScope busy(windows_);
  const FileOutcome outcome = files_.Export(path, *Track, messages_);
  busy.End();
  if (outcome.status == FileStatus::CannotOpen) ShowCannotOpenFile(messages_, outcome.reason);
  if (outcome.status != FileStatus::Ok) return;
  // An open loop is exported all the same; the note says where to look.
  windows_.ShowStatus(ExportedText(path, outcome.bytes, static_cast<size_t>(OpenJoints(CheckTrack(*Track)))));
}

// ---- closing ----

bool TDocumentShell::CloseQuery() { return !Modified || OfferToSave(); }

void TDocumentShell::Close() { ReleaseDocument(); }

// ---- after changes ----

history::Outcome TDocumentShell::Change(const std::function<history::Outcome(history::TEditor&)>& change) {
  if (!Track) return history::Outcome::Refused;
  history::TEditor editor(*Track, History);
  const history::Outcome outcome = change(editor);
  if (outcome == history::Outcome::Changed) CommonRefresh(&History.Step(History.Index() - 1));
  return outcome;
}

void TDocumentShell::Undo() {
  if (!Track) return;
  if (const history::TStep* step = History.Undo(*Track)) CommonRefresh(step);
}

void TDocumentShell::Redo() {
  if (!Track) return;
  if (const history::TStep* step = History.Redo(*Track)) CommonRefresh(step);
}

void TDocumentShell::GoTo(size_t index) {
  if (Track && History.GoTo(*Track, index)) CommonRefresh();
}

void TDocumentShell::CommonRefresh(const history::TStep* step) {
  if (!Track) return;
  // The list shows the selected object as it is now, whatever an edit did to
  // the tree's selection on the way.
  windows_.RefillProperties();
  Track->UpdateExtent();
  std::vector<TRect> boxes;
  bool local = false;
  if (ScaleDraw) {
    // New bounds move the scroll bars, and with them possibly the whole picture.
    local = step && ScaleDraw->Bounds() == Track->Extent && step->DrawnWithin(boxes) &&
            boxes.size() <= kMostBoxesRedrawn;
    ScaleDraw->SetBounds(Track->Extent);
  }
  if (local) {
    // One box around them all, so that no pixel is drawn twice.
    if (!boxes.empty()) Track->RedrawBox(*ScaleDraw, ViewFlags, Around(boxes));
  } else {
    windows_.RepaintGraph();
  }
  SetModified(!History.IsClean());
}

void TDocumentShell::MarkModified() {
  History.SetNeverClean();
  SetModified(true);
}

void TDocumentShell::SetModified(bool modified) {
  Modified = modified;
  windows_.SetSaveEnabled(modified);
  ShowTitle();
  windows_.DocumentChanged();
}

void TDocumentShell::ShowTitle() {
  windows_.SetDocumentNote(Track && Damaged ? kDamagedNote : "");
  windows_.SetDocumentTitle(Track ? FileName : std::string(), Modified);
}

void TDocumentShell::SetViewFlags(int32_t flags) {
  ViewFlags = flags;
  if (Track) windows_.RepaintGraph();
}

RowList TDocumentShell::SelectionChanged(TBase& object, IEditCommands* treePopup) {
  RowList rows;
  object.FillProperties(rows);
  object.EnableCommands(windows_.EditMenu());
  if (treePopup) object.EnableCommands(*treePopup);
  if (Track && Track->TreeEventsEnabled) {
    if (ScaleDraw) Track->EraseSelection(*ScaleDraw, ViewFlags);
    object.Highlight();
    if (ScaleDraw) Track->DrawSelection(*ScaleDraw);
    windows_.SelectionMoved();
  }
  return rows;
}

}  // namespace meridal
