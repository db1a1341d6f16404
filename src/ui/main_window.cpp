#include "ui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

#include "files/track_formats.h"
#include "shell/document_files.h"
#include "shell/document_shell.h"
#include "shell/edit_command_flow.h"
#include "shell/property_list_commands.h"
#include "shell/shell_texts.h"
#include "ui/plan/plan_view.h"
#include "ui/check_window.h"
#include "ui/clipboard_actions.h"
#include "ui/document_signals.h"
#include "ui/history_window.h"
#include "ui/mdi_child.h"
#include "ui/plan_menu.h"
#include "ui/profile_plot.h"
#include "ui/profile_window.h"
#include "ui/qt_file_dialogs.h"
#include "ui/qt_messages.h"
#include "ui/qt_shell_dialogs.h"
#include "ui/lap/lap_runner.h"
#include "ui/settings_file.h"
#include "ui/tool_window.h"
#include "ui/tree_window.h"
#include "ui/ui_resources.h"

namespace meridal {

TFormMain::TFormMain(const MainWindowServices& services, QWidget* parent)
    : QMainWindow(parent), MdiArea(new QMdiArea(this)), given_(services), services_(services) {
  SetDocumentTitle(std::string(), false);
  setWindowIcon(ProgramIcon());
  setCentralWidget(MdiArea);
  BuildMenus();
  BuildStatusBar();
  AddPlanToolItems(*this);
  setWindowState(windowState() | Qt::WindowMaximized);

  if (!services_.messages) services_.messages = (ownMessages_ = std::make_unique<QtMessages>(this)).get();
  if (!services_.fileDialogs) services_.fileDialogs = (ownFileDialogs_ = std::make_unique<QtFileDialogs>(this)).get();
  if (!services_.files) services_.files = (ownFiles_ = MakeDiskFiles()).get();
  if (!services_.dialogs) services_.dialogs = (qtDialogs_ = std::make_unique<QtShellDialogs>(*services_.messages, this)).get();
  Signals = new TDocumentSignals(this);
  shell_ = std::make_unique<TDocumentShell>(*this, *services_.messages, *services_.fileDialogs, *services_.files);
  editCommands_ = std::make_unique<TEditCommandFlow>(*shell_, *services_.dialogs);
  listCommands_ = std::make_unique<TPropertyListCommands>(*shell_, *services_.dialogs);
  ClipboardItems = new TClipboardActions(*shell_, *Signals, *EditMenuItems, this);
  setAcceptDrops(true);
  BuildToolWindows();
  BuildTools();
  FormCreate();
  DocumentChanged();
}

TFormMain::~TFormMain() {
  // The child windows refer to the shell: they go first, with the document.
  shell_->Close();
  DestroyPlanWindow();
  DestroyTreeWindow();
  for (TToolWindow* tool : {historyTool_, profileTool_, checkTool_, lapTool_}) tool->Destroy();
  delete view3dChild_;
  view3dChild_ = nullptr;
  // No window shows the lap any more: a run under way stops.
  delete LapRunner;
  LapRunner = nullptr;
  FormLap = nullptr;
  FormHistory = nullptr;
  FormProfile = nullptr;
  FormCheck = nullptr;
}

// The program's start: no document yet, the cursors of the graphics window, and
// the View options as the menu shows them. (The filler generator is seeded by
// the files when they are made; pi and the project key are constants.)
void TFormMain::FormCreate() {
  Cursors.Load();
  shell_->ViewFlags = ViewFlagsFromMenu();
  LoadRecentFiles();
}

// ---- the recent files, kept between runs ----

QString TFormMain::SettingsPath() { return SettingsFile(); }

void TFormMain::LoadRecentFiles() {
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  std::vector<std::string> paths;
  for (const QString& path : settings.value(QStringLiteral("recentFiles")).toStringList())
    paths.push_back(path.toStdString());
  shell_->Recent.Set(paths);
  FillRecentMenu();
}

void TFormMain::RecentFilesChanged() {
  QStringList paths;
  for (const std::string& path : shell_->Recent.Paths()) paths << QString::fromStdString(path);
  QSettings settings(SettingsPath(), QSettings::IniFormat);
  settings.setValue(QStringLiteral("recentFiles"), paths);
  FillRecentMenu();
}

void TFormMain::FileOpenRecentClick(const QString& path) { shell_->FileOpenPath(path.toStdString()); }

void TFormMain::FileClearRecentClick() {
  shell_->Recent.Clear();
  RecentFilesChanged();
}

// ---- dropped files ----

namespace {

// The first local file of a kind the program reads, or the empty text.
QString FirstTrackFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return QString();
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (TrackFormatOfPath(path.toStdString())) return path;
  }
  return QString();
}

}  // namespace

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!FirstTrackFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
  const QString path = FirstTrackFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  shell_->FileOpenPath(path.toStdString());
}

bool TFormMain::OpenAtStartUp(const QString& path) { return shell_->OpenPath(path.toStdString()); }

// ---- File ----

void TFormMain::FileNewClick() { shell_->FileNew(); }
void TFormMain::FileOpenClick() { shell_->FileOpen(); }

void TFormMain::FileNewWindowClick() {
  auto* frame = new TFormMain(given_);
  frame->setAttribute(Qt::WA_DeleteOnClose);
  frame->show();
}
void TFormMain::FileSaveClick() { shell_->FileSave(); }
void TFormMain::FileSaveAsClick() { shell_->FileSaveAs(); }
void TFormMain::FileExportTrackFileClick() { shell_->FileExportTrackFile(); }
void TFormMain::FileImportTrackFileClick() { shell_->FileImportTrackFile(); }
void TFormMain::FileExitClick() { close(); }

void TFormMain::closeEvent(QCloseEvent* event) {
  // FormCloseQuery: a modified document is offered for saving first.
  if (!shell_->CloseQuery()) {
    event->ignore();
    return;
  }
  // FormClose: the document goes with the program.
  shell_->Close();
  event->accept();
}

// ---- Edit ----

void TFormMain::EditUndoClick() { shell_->Undo(); }
void TFormMain::EditRedoClick() { shell_->Redo(); }
void TFormMain::EditRemoveClick() { editCommands_->Remove(); }
void TFormMain::EditAddBeforeClick() { editCommands_->AddBefore(); }
void TFormMain::EditAddAfterClick() { editCommands_->AddAfter(); }
void TFormMain::EditSplitClick() { editCommands_->Split(); }
void TFormMain::EditChangeTypeClick() { editCommands_->ChangeType(); }
void TFormMain::EditCopyWallsFromClick() { editCommands_->CopyWallsFrom(); }
void TFormMain::EditCopyWallsToAllClick() { editCommands_->CopyWallsToAll(); }
void TFormMain::EditCopyAltitudeClick() { editCommands_->CopyAltitude(); }

// ---- View, Window, About ----

void TFormMain::ViewToggled() {
  shell_->ViewFlags = ViewFlagsFromMenu();
  if (PlanView) PlanView->SetViewFlags(shell_->ViewFlags);
}

void TFormMain::WindowTileClick() { MdiArea->tileSubWindows(); }
void TFormMain::WindowCascadeClick() { MdiArea->cascadeSubWindows(); }

// The Undo and Redo items name their steps.
void TFormMain::DocumentChanged() {
  const TDocument* document = shell_->Document();
  const bool undo = document && document->History().CanUndo();
  const bool redo = document && document->History().CanRedo();
  EditUndo->setEnabled(undo);
  EditRedo->setEnabled(redo);
  EditUndo->setText(undo ? QStringLiteral("&Undo %1").arg(QString::fromStdString(document->History().UndoText()))
                         : QStringLiteral("&Undo"));
  EditRedo->setText(redo ? QStringLiteral("&Redo %1").arg(QString::fromStdString(document->History().RedoText()))
                         : QStringLiteral("&Redo"));
}

void TFormMain::DocumentReplaced(TDocument* document) {
  // Keep Joined holds for every change of every document, typed or dragged.
  if (document) document->SetKeepJoined(ViewKeepJoined->isChecked());
  Signals->Attach(document);
}
void TFormMain::AboutClick() { services_.dialogs->About(); }

// ---- the document's windows ----

void TFormMain::CreatePlanWindow(TDocument& document) {
  DestroyPlanWindow();
  PlanView = new TPlanView(document, shell_->Untitled, Cursors, *StatusPanels[0], shell_->ViewFlags);
  PlanView->SetSmooth(ViewSmoothDrawing->isChecked());
  PlanView->SetKeepJoined(ViewKeepJoined->isChecked());
  planChild_ = new MdiChild;
  planChild_->setWidget(PlanView);
  planChild_->setWindowIcon(windowIcon());
  MdiArea->addSubWindow(planChild_);
  planChild_->resize(696, 480);
  planChild_->show();
  KeepTitle(planChild_);
  ConnectPlanTools(*this);
}

void TFormMain::KeepTitle(QMdiSubWindow* child) {
  connect(child, &QMdiSubWindow::windowStateChanged, this, [this] {
    // After the sub-window has put back the title it saved when it was maximised.
    QMetaObject::invokeMethod(this, [this] {
      SetDocumentTitle(shell_->Document() ? shell_->FileName() : std::string(), shell_->Modified());
    }, Qt::QueuedConnection);
  });
}

void TFormMain::DestroyPlanWindow() {
  if (!planChild_) return;
  PlanView = nullptr;
  delete planChild_;
  planChild_ = nullptr;
  StatusPanels[0]->clear();  // a point of a document that is gone
}

void TFormMain::RedrawPlan() {
  if (PlanView) PlanView->Repaint();
}

ITreeNodes& TFormMain::CreateTreeWindow() {
  DestroyTreeWindow();
  FormTree = new TFormTree(*shell_, *editCommands_, *listCommands_);
  treeChild_ = new MdiChild;
  treeChild_->setWidget(FormTree);
  treeChild_->setWindowIcon(windowIcon());
  MdiArea->addSubWindow(treeChild_);
  treeChild_->resize(661, 480);
  treeChild_->show();
  KeepTitle(treeChild_);
  return FormTree->Nodes();
}

void TFormMain::DestroyTreeWindow() {
  if (!treeChild_) return;
  FormTree = nullptr;
  delete treeChild_;
  treeChild_ = nullptr;
}

void TFormMain::TileWindows() { MdiArea->tileSubWindows(); }

void TFormMain::RefillProperties() {
  if (FormTree) FormTree->RefillProperties();
}

void TFormMain::SetSaveEnabled(bool enabled) { FileSave->setEnabled(enabled); }

void TFormMain::SetDocumentItemsEnabled(bool enabled) {
  FileSaveAs->setEnabled(enabled);
  FileExportTrackFile->setEnabled(enabled);
  FileExport3DModel->setEnabled(enabled);
}

// "circuit.mrd* – Meridal" while there are unsaved changes; Qt puts the mark in
// place of [*]. The file path also gives the platform its document proxy. A note
// follows the name: "circuit.mrd (damaged)* – Meridal".
void TFormMain::SetDocumentTitle(const std::string& path, bool modified) {
  const QString file = QString::fromStdString(path);
  setWindowFilePath(file);
  const QString app = QString::fromLatin1(kAppTitle);
  const QString note = titleNote_.isEmpty() ? QString() : QStringLiteral(" ") + titleNote_;
  setWindowTitle(file.isEmpty() ? app : QFileInfo(file).fileName() + note + QStringLiteral("[*] \u2013 ") + app);
  setWindowModified(modified);
}

void TFormMain::SetDocumentNote(const std::string& note) { titleNote_ = QString::fromStdString(note); }

void TFormMain::ShowStatus(const std::string& text) { StatusText->setText(QString::fromStdString(text)); }

void TFormMain::SetBusy(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busyDepth_;
  } else if (busyDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busyDepth_;
  }
}

}  // namespace meridal
