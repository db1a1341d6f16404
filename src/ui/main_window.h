#pragma once
// TFormMain, the frame: a multiple-document window with the File, Edit, View,
// Window and About menus and a two-panel status bar. It owns the document shell
// and the child windows of the open document; its handlers call the shell's
// commands, which reach the user through the message and dialog seams.
#include <QMainWindow>
#include <functional>
#include <memory>

#include "shell/shell_windows.h"
#include "ui/action_edit_commands.h"
#include "ui/cursors.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace meridal {

class IDocumentFiles;
class IFileDialogs;
class IMessages;
class IShellDialogs;
class QtShellDialogs;
class TDocument;
class TDocumentShell;
class TDocumentSignals;
class TEditCommandFlow;
class TFormCheck;
class TFormGraph;
class TFormHistory;
class TFormProfile;
class TFormTree;
class TPropertyListCommands;

// What the frame reaches the user and the disk through; any left out is the
// program's own (Qt boxes and dialogs, the files on disk).
struct MainWindowServices {
  IMessages* messages = nullptr;
  IFileDialogs* fileDialogs = nullptr;
  IShellDialogs* dialogs = nullptr;
  IDocumentFiles* files = nullptr;
};

class TFormMain : public QMainWindow, public IShellWindows {
  Q_OBJECT

 public:
  explicit TFormMain(const MainWindowServices& services = {}, QWidget* parent = nullptr);
  ~TFormMain() override;

  TDocumentShell& Shell() { return *shell_; }
  TFormTree* FormTree = nullptr;    // only while a document is open
  TFormGraph* FormGraph = nullptr;  // the same
  QMdiArea* MdiArea;
  QLabel* StatusPanels[2];
  QLabel* StatusText;  // what the latest file command did
  TCursorSet Cursors;
  QtShellDialogs* Dialogs() const { return qtDialogs_.get(); }
  // The open document's announcements, for the windows to connect to.
  TDocumentSignals* Signals;

  // ---- menus ----
  QMenu* FileMenu;
  QAction* FileNew;
  QAction* FileOpen;
  QAction* FileSave;
  QMenu* FileOpenRecent;
  QAction* FileSaveAs;
  QAction* FileImportTrackFile;
  QAction* FileExportTrackFile;
  QAction* FileExit;
  QMenu* EditMenuItems;
  QAction* EditUndo;
  QAction* EditRedo;
  ActionEditCommands EditItems;
  QMenu* ViewMenu;
  QAction* ViewTraces;
  QAction* ViewZeroLine;
  QAction* ViewSFLine;
  QAction* ViewWallOutline;
  QAction* ViewShowNonZeroHeight;
  QAction* ViewShowNonZeroUnk1;
  QAction* ViewZoomToFit;
  QAction* ViewZoomIn;
  QAction* ViewZoomOut;
  QAction* ViewKeepJoined;  // the later sections follow a dragged one (also on the toolbar)
  QAction* ViewSmoothDrawing;
  QAction* ViewElevationProfile;
  QAction* ViewTrackCheck;
  // Made the first time the user asks for them; they live as long as the frame.
  TFormProfile* FormProfile = nullptr;
  TFormCheck* FormCheck = nullptr;
  QMenu* WindowMenu;
  QAction* WindowTile;
  QAction* WindowCascade;
  QAction* WindowHistory;
  TFormHistory* FormHistory = nullptr;  // made the first time the user asks for it
  QAction* AboutItem;
  QAction* Redraw;  // F5: the graphics window draws the track anew

  // ---- handlers ----
  void FileNewClick();
  void FileOpenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FileExportTrackFileClick();
  void FileImportTrackFileClick();
  void FileOpenRecentClick(const QString& path);
  void FileClearRecentClick();
  void FileExitClick();
  void EditUndoClick();
  void EditRedoClick();
  void EditRemoveClick();
  void EditAddBeforeClick();
  void EditAddAfterClick();
  void EditSplitClick();
  void EditChangeTypeClick();
  void EditCopyWallsFromClick();
  void EditCopyWallsToAllClick();
  void EditCopyAltitudeClick();
  void ViewTracesClick() { ViewToggled(); }
  void ViewZeroLineClick() { ViewToggled(); }
  void ViewSFLineClick() { ViewToggled(); }
  void ViewWallOutlineClick() { ViewToggled(); }
  void ViewShowNonZeroHeightClick() { ViewToggled(); }
  void ViewShowNonZeroUnk1Click() { ViewToggled(); }
  void ViewZoomToFitClick();
  void ViewZoomInClick();
  void ViewZoomOutClick();
  void ViewSmoothDrawingClick();
  void ViewElevationProfileClick();
  void ViewTrackCheckClick();
  void WindowTileClick();
  void WindowCascadeClick();
  void WindowHistoryClick();
  void AboutClick();

  // Opens a project named on the command line.
  bool OpenAtStartUp(const QString& path);
  // The View options as the drawing takes them, from the items' check marks.
  int32_t ViewFlagsFromMenu() const;

  // ---- IShellWindows ----
  IDrawWindow* CreateGraphWindow() override;
  ITreeNodes& CreateTreeWindow() override;
  void DestroyGraphWindow() override;
  void DestroyTreeWindow() override;
  void TileWindows() override;
  void RepaintGraph() override;
  void RefillProperties() override;
  IEditCommands& EditMenu() override { return EditItems; }
  void SetSaveEnabled(bool enabled) override;
  void SetDocumentItemsEnabled(bool enabled) override;
  void SetBusy(bool busy) override;
  void SetDocumentTitle(const std::string& path, bool modified) override;
  void ShowStatus(const std::string& text) override;
  void RecentFilesChanged() override;
  void DocumentChanged() override;
  void SelectionMoved() override;
  void DocumentReplaced(TDocument* document) override;

  // The file the program keeps the recent files in (under the user's
  // configuration folder, or the test one while QStandardPaths is in test mode).
  static QString SettingsPath();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dragged from a file manager: the first .mrd, .trk or .json opens.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void FormCreate();
  void BuildMenus();
  void BuildFileMenu();
  void BuildEditMenu();
  void BuildViewMenu();
  void BuildWindowMenu();
  void FillWindowMenu();
  void FillRecentMenu();
  void LoadRecentFiles();
  void BuildStatusBar();
  void ViewToggled();
  // Shows a view window of the frame, made by `make` the first time.
  void ShowViewWindow(QMdiSubWindow*& child, const std::function<QWidget*()>& make, QSize size);
  // Whether the profile window is the active one: the View menu's zoom is its.
  bool ProfileActive() const;

  // The program's own services, made when the caller gave none.
  std::unique_ptr<IMessages> ownMessages_;
  std::unique_ptr<IFileDialogs> ownFileDialogs_;
  std::unique_ptr<IDocumentFiles> ownFiles_;
  std::unique_ptr<QtShellDialogs> qtDialogs_;
  MainWindowServices services_;

  std::unique_ptr<TDocumentShell> shell_;
  std::unique_ptr<TEditCommandFlow> editCommands_;
  std::unique_ptr<TPropertyListCommands> listCommands_;
  QMdiSubWindow* treeChild_ = nullptr;
  QMdiSubWindow* graphChild_ = nullptr;
  QMdiSubWindow* historyChild_ = nullptr;
  QMdiSubWindow* profileChild_ = nullptr;
  QMdiSubWindow* checkChild_ = nullptr;
  int busyDepth_ = 0;
};

}  // namespace meridal
