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
class TClipboardActions;
class TDocumentShell;
class TDocumentSignals;
class TEditCommandFlow;
class TFormCheck;
class TPlanView;
class TFormHistory;
class TFormLap;
class TLapRunner;
class TFormProfile;
class TFormTree;
class TPropertyListCommands;
class TView3D;
class TToolWindow;

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
  IFileDialogs& FileDialogs() const { return *services_.fileDialogs; }
  IMessages& Messages() const { return *services_.messages; }
  TFormTree* FormTree = nullptr;    // only while a document is open
  TPlanView* PlanView = nullptr;  // the same
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
  QAction* FileNewWindow;
  QAction* FileOpen;
  QAction* FileSave;
  QMenu* FileOpenRecent;
  QAction* FileSaveAs;
  QAction* FileImportTrackFile;
  QAction* FileImportCentreline;  // a fitted centreline as a new document (centreline_import.h)
  QAction* FileExportTrackFile;
  QAction* FileExport3DModel;
  QAction* FileExit;
  QMenu* EditMenuItems;
  QAction* EditUndo;
  QAction* EditRedo;
  ActionEditCommands EditItems;
  TClipboardActions* ClipboardItems;  // Cut, Copy, Paste, Reverse Track, Mirror Track
  QAction* EditCloseLoop;  // its dialog (close_loop_dialog.h)
  QAction* EditPreferences;  // what meridal.conf keeps (preferences_dialog.h)
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
  QAction* View3DView;
  QAction* ViewLap;  // the Lap window (ui/lap/lap_window.h)
  // Made the first time the user asks for them; they live as long as the frame.
  TFormProfile* FormProfile = nullptr;
  TFormCheck* FormCheck = nullptr;
  TView3D* FormView3D = nullptr;  // while the 3D view is open
  TFormLap* FormLap = nullptr;
  // The lap of the open track, driven beside the editor for the windows that show it.
  TLapRunner* LapRunner = nullptr;
  QMenu* WindowMenu;
  QAction* WindowTile;
  QAction* WindowCascade;
  QAction* WindowHistory;
  TFormHistory* FormHistory = nullptr;  // made the first time the user asks for it
  // The small tools (main_window_tools.cpp).
  QAction* FileExportImage;
  QAction* ViewGoToSection;
  QAction* AboutItem;
  QAction* Redraw;  // F5: the graphics window draws the track anew

  // ---- handlers ----
  void FileNewClick();
  // Another frame in this process, with a document of its own.
  void FileNewWindowClick();
  void FileOpenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FileExportTrackFileClick();
  void FileImportTrackFileClick();
  void FileExport3DModelClick();
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
  void EditCloseLoopClick();
  void EditPreferencesClick();
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
  void View3DViewClick();
  void ViewLapClick();
  void WindowTileClick();
  void WindowCascadeClick();
  void WindowHistoryClick();
  void AboutClick();
  // Ctrl+G: a section number; the section is selected and the plan centres on it.
  void ViewGoToSectionClick();
  // The plan or the profile as a PNG or SVG file.
  void FileExportImageClick();

  // Opens a project named on the command line.
  bool OpenAtStartUp(const QString& path);
  // The View options as the drawing takes them, from the items' check marks.
  int32_t ViewFlagsFromMenu() const;

  // ---- IShellWindows ----
  void CreatePlanWindow(TDocument& document) override;
  ITreeNodes& CreateTreeWindow() override;
  void DestroyPlanWindow() override;
  void DestroyTreeWindow() override;
  void TileWindows() override;
  // F5: the plan is drawn anew.
  void RedrawPlan();
  void RefillProperties() override;
  IEditCommands& EditMenu() override { return EditItems; }
  void SetSaveEnabled(bool enabled) override;
  void SetDocumentItemsEnabled(bool enabled) override;
  void SetBusy(bool busy) override;
  void SetDocumentTitle(const std::string& path, bool modified) override;
  void SetDocumentNote(const std::string& note) override;
  void ShowStatus(const std::string& text) override;
  void RecentFilesChanged() override;
  void DocumentChanged() override;
  void SelectionMoved() override;
  void DocumentReplaced(TDocument* document) override;

  // The file the program keeps the recent files in (under the user's
  // configuration folder, or the test one while QStandardPaths is in test mode).
  static QString SettingsPath();
  // The settings key of the history's memory cap, in megabytes (a document's
  // history drops its oldest steps beyond it).
  static constexpr const char* kHistoryMegabytesKey = "historyMegabytes";

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dragged from a file manager: the first .mrd, .trk or .json opens.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The document's track in the 3D view, on its terrain model where it has one.
  void ShowTrackIn3D(const TDocument& document);
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
  // The tool windows that × closes and their menu items show or hide.
  void BuildToolWindows();
  // Go to Section, Export Image and the history's memory cap.
  void BuildTools();
  // A child maximised or restored leaves the frame's title as the child had it:
  // the title is set again from the document once the child has changed state.
  void KeepTitle(QMdiSubWindow* child);
  // Whether the profile window is the active one: the View menu's zoom is its.
  bool ProfileActive() const;

  // The program's own services, made when the caller gave none.
  std::unique_ptr<IMessages> ownMessages_;
  std::unique_ptr<IFileDialogs> ownFileDialogs_;
  std::unique_ptr<IDocumentFiles> ownFiles_;
  std::unique_ptr<QtShellDialogs> qtDialogs_;
  MainWindowServices given_;  // what the caller gave, for the frames File > New Window opens
  MainWindowServices services_;

  std::unique_ptr<TDocumentShell> shell_;
  std::unique_ptr<TEditCommandFlow> editCommands_;
  std::unique_ptr<TPropertyListCommands> listCommands_;
  QMdiSubWindow* treeChild_ = nullptr;
  QMdiSubWindow* planChild_ = nullptr;
  TToolWindow* historyTool_ = nullptr;
  TToolWindow* profileTool_ = nullptr;
  TToolWindow* checkTool_ = nullptr;
  TToolWindow* lapTool_ = nullptr;
  QMdiSubWindow* view3dChild_ = nullptr;
  int busyDepth_ = 0;
  QString titleNote_;  // after the document's name in the title
  size_t historyBytes_ = 0;  // each document's history cap, from the settings
};

}  // namespace meridal
