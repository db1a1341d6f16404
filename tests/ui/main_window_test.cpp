// The frame: its menus and status bar, and the File and View commands driven
// through the real window with scripted answers.
#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "present/position_text.h"
#include "ui/edit_value_dialog.h"
#include "ui/qt_shell_dialogs.h"

#include "files/project/project_io.h"
#include "files/json/track_json_writer.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::testing::UiFrame;

namespace {

QStringList Captions(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}

// A track of one straight of this length, written as a JSON text or a track file.
QString WriteTrack(const QTemporaryDir& dir, const QString& name, int32_t length) {
  meridal::TTrack track;
  track.SetDefaults();
  track.Section(0)->SetLength(length);
  const QString path = dir.filePath(name);
  meridal::testing::ScriptedMessages messages;
  if (name.endsWith(QStringLiteral(".trk"))) {
    meridal::ExportTrackFile(path.toStdString(), track, messages);
  } else {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(QByteArray::fromStdString(meridal::TrackJsonWriter().Write(track)));
  }
  return path;
}

// Drags files from a file manager over the window and drops them; whether the
// window took the drag.
bool DropFiles(QWidget* window, const QStringList& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  const QPoint at = window->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  return true;
}

QString States(const QMenu* menu) {
  QString out;
  for (const QAction* a : menu->actions()) out += a->isEnabled() ? (a->isChecked() ? 'x' : 'e') : 'd';
  return out;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void menusAreAsListed() {
    UiFrame f;
    const QList<QAction*> top = f.window->menuBar()->actions();
    QStringList titles;
    for (const QAction* a : top) titles << a->text();
    QCOMPARE(titles, (QStringList{"&File", "&Edit", "&View", "&Window", "&About"}));
    QVERIFY(!top.last()->menu());  // About has no submenu

    QCOMPARE(Captions(f.window->FileMenu),
             (QStringList{"&New...", "New &Window", "&Open...", "Open &Recent", "-", "&Save", "Save &As...",
                          "&Import Track File...", "Import &Centreline\u2026", "Export &Track File...", "Export &Image...", "Export &3D Model...", "-",
                          "E&xit"}));
    QCOMPARE(States(f.window->FileMenu), QStringLiteral("eeeedddeedddee"));
    QCOMPARE(Captions(f.window->EditMenuItems),
             (QStringList{"&Undo", "&Redo", "-", "&Remove", "Add &Before", "Add &After", "-", "&Split Section...", "Change Section &Type",
                          "Copy Walls &From...", "Copy &Walls To All ", "-", "&Copy Altitude", "-", "Cu&t", "&Copy",
                          "&Paste", "-", "Re&verse Track", "&Mirror Track", "-", "Close &Loop\u2026", "-",
                          "Pre&ferences\u2026"}));
    QCOMPARE(States(f.window->EditMenuItems), QStringLiteral("ddeeeeeeeeeeeedddeddedee"));  // on before the first document but undo and the clipboard
    QCOMPARE(Captions(f.window->ViewMenu),
             (QStringList{"&Traces", "&Zero Line", "&S/F Line", "-", "&Wall Outline",
                          "Show Non-Zero &Height (red ///)", "Show Non-Zero &Unk1 (green \\\\\\)", "-",
                          "Zoom to &Fit", "Zoom &In", "Zoom &Out", "&Go to Section...", "-", "S&mooth Drawing",
                          "&Keep Joined", "-", "Elevation &Profile", "Track &Check", "&Lap", "&3D View", "-", "&Measure\tM",
                          "&Background Image…", "&Centreline Overlay", "&Racing Line"}));
    QCOMPARE(States(f.window->ViewMenu), QStringLiteral("xxxexxxeeeedexxeeeeeeeede"));
    QCOMPARE(Captions(f.window->WindowMenu), (QStringList{"&Tile", "&Cascade", "&History"}));
  }

  void frameAndStatusBar() {
    UiFrame f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Meridal"));
    QVERIFY(f.window->windowState() & Qt::WindowMaximized);
    QCOMPARE(f.window->centralWidget(), f.window->MdiArea);
    QVERIFY(f.window->StatusPanels[0]->width() >= 140);
    QCOMPARE(f.window->StatusPanels[1]->width(), 50);
    QCOMPARE(f.window->FileNew->shortcut(), QKeySequence(QKeySequence::New));
    QCOMPARE(f.window->FileOpen->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(f.window->FileSave->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(f.window->FileSaveAs->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QCOMPARE(f.window->FileExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCOMPARE(f.Shell().ViewFlags, 63);
    QVERIFY(!f.Shell().Track());
    QVERIFY(!f.window->FormTree);
  }

  void newAsksNothingAndSelectsTheTrack() {
    UiFrame f;
    f.window->FileNewClick();
    f.window->FileNewClick();
    QVERIFY(f.messages.shown.empty());
    QVERIFY(f.window->FormTree);
    QVERIFY(f.window->PlanView);
    QCOMPARE(f.window->MdiArea->subWindowList().size(), 2);
    QCOMPARE(f.window->FormTree->SelectedLabel(), QStringLiteral("Track"));
    QCOMPARE(f.List()->topLevelItemCount(), 6);  // the track's rows
    QCOMPARE(f.List()->topLevelItem(0)->text(0), QStringLiteral("Length"));
    QCOMPARE(States(f.window->EditMenuItems), QStringLiteral("ddedddeddddededddeeeeeee"));  // nothing to undo yet
    QVERIFY(f.window->FileSaveAs->isEnabled());
    QVERIFY(f.window->FileExportTrackFile->isEnabled());
    QVERIFY(!f.window->FileSave->isEnabled());
  }

  void yesOnAModifiedNewDocumentRunsSaveAsAndItsCancelKeepsIt() {
    UiFrame f;
    f.window->FileNewClick();
    const meridal::TTrack* old = f.Shell().Track();
    f.Shell().MarkModified();
    f.messages.answers = {MessageAnswer::Yes};
    f.window->FileNewClick();
    QCOMPARE(f.messages.shown.size(), size_t{1});
    QCOMPARE(QString::fromStdString(f.messages.shown[0].text), QStringLiteral("Save changes to  noname.mrd ?"));
    QCOMPARE(f.messages.shown[0].buttons, meridal::MessageButtons::YesNoCancel);
    QCOMPARE(f.fileDialogs.asked.size(), size_t{1});
    QVERIFY(f.fileDialogs.asked[0].save);
    QCOMPARE(f.Shell().Track(), old);
    QVERIFY(f.Shell().Modified());
  }

  void saveIsEnabledByAChangeAndDisabledBySaveAs() {
    UiFrame f;
    f.window->FileNewClick();
    QVERIFY(!f.window->FileSave->isEnabled());
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    QVERIFY(f.SelectRow(QStringLiteral("Length")));
    f.dialogs.editResult = 500000;
    f.window->FormTree->ListViewDblClick();
    QCOMPARE(f.Shell().Track()->Section(0)->Length, 500000);
    QVERIFY(f.window->FileSave->isEnabled());
    QCOMPARE(f.List()->findItems(QStringLiteral("Length"), Qt::MatchExactly).front()->text(1),
             QStringLiteral("500000"));  // the list was refilled
    f.fileDialogs.answers = {std::string("elsewhere.mrd")};
    f.window->FileSaveAsClick();
    QCOMPARE(f.files.paths, std::vector<std::string>{"elsewhere.mrd"});
    QVERIFY(!f.window->FileSave->isEnabled());
    QVERIFY(!f.Shell().Modified());
  }

  void exportProposesTheTrackFileName() {
    UiFrame f;
    f.window->FileNewClick();
    f.window->FileExportTrackFileClick();
    QCOMPARE(f.fileDialogs.asked.size(), size_t{1});
    QCOMPARE(QString::fromStdString(f.fileDialogs.asked[0].request.fileName), QStringLiteral("noname.trk"));
    QVERIFY(f.files.paths.empty());
  }

  void openingAFileThatIsNoProjectKeepsTheOpenDocument() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("notes.mrd"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("Some notes about a circuit, written as plain text; not a track. ").repeated(3));
    file.close();
    UiFrame f(true);
    f.window->FileNewClick();
    const meridal::TTrack* open = f.Shell().Track();
    auto* tree = f.window->FormTree;
    const auto children = f.window->MdiArea->subWindowList();
    const QString title = f.window->windowTitle();
    f.fileDialogs.answers = {path.toStdString()};
    f.window->FileOpenClick();
    QCOMPARE(f.messages.Texts(),
             std::vector<std::string>{
                 "Not a MERIDAL File !\nnotes.mrd: the file begins with the bytes 53 6F 6D 65, not with MRDL"});
    // The document and its windows are as they were.
    QCOMPARE(f.Shell().Track(), open);
    QCOMPARE(f.window->FormTree, tree);
    QCOMPARE(f.window->MdiArea->subWindowList(), children);
    QCOMPARE(f.window->windowTitle(), title);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(f.window->FileSaveAs->isEnabled());
  }

  void aProjectNamedAtStartUpIsOpened() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("start.mrd"));
    {
      UiFrame writer(true);
      writer.window->FileNewClick();
      QCOMPARE(writer.Shell().Document()->SetValue(meridal::TObjectPath::Track(), "Trace 1", 150000), meridal::history::Outcome::Changed);
      writer.Shell().MarkModified();
      writer.fileDialogs.answers = {path.toStdString()};
      writer.window->FileSaveAsClick();
      QVERIFY(!writer.Shell().Modified());
    }
    UiFrame f(true);
    QVERIFY(f.window->OpenAtStartUp(path));
    QCOMPARE(f.Shell().Track()->Traces[1], 150000);
    QCOMPARE(f.Shell().FileName(), path.toStdString());
    QCOMPARE(f.window->FormTree->SelectedLabel(), QStringLiteral("Track"));
    QVERIFY(f.messages.shown.empty());
  }

  void droppedFilesOpenTheFirstTrackAfterThePrompt() {
    QTemporaryDir dir;
    const QString json = WriteTrack(dir, QStringLiteral("first.json"), 31337);
    const QString trk = WriteTrack(dir, QStringLiteral("second.trk"), 4242);
    UiFrame f(true);
    QVERIFY(!DropFiles(f.window.get(), {dir.filePath(QStringLiteral("notes.txt"))}));
    QVERIFY(DropFiles(f.window.get(), {dir.filePath(QStringLiteral("notes.txt")), json, trk}));
    QVERIFY(f.Shell().Track() && f.window->FormTree);
    QCOMPARE(f.Shell().Track()->Section(0)->Length, 31337);
    QCOMPARE(f.Shell().FileName(), json.toStdString());
    QVERIFY(!f.Shell().Modified());

    // With changes the prompt comes first; No lets the track file in, imported.
    f.Shell().MarkModified();
    f.messages.answers = {MessageAnswer::No};
    QVERIFY(DropFiles(f.window.get(), {trk}));
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"Save changes to  " + json.toStdString() + " ?"});
    QCOMPARE(f.Shell().Track()->Section(0)->Length, 4242);
    QCOMPARE(f.Shell().FileName(), dir.filePath(QStringLiteral("second.mrd")).toStdString());
    QVERIFY(f.Shell().Untitled && f.Shell().Modified() && f.window->FileSave->isEnabled());
  }

  void importedTrackFilesAreSavedUnderANewNameAndListedInOpenRecent() {
    QFile::remove(meridal::TFormMain::SettingsPath());
    QTemporaryDir dir;
    const QString trk = WriteTrack(dir, QStringLiteral("lap.trk"), 5555);
    const QString json = dir.filePath(QStringLiteral("lap.json"));
    {
      UiFrame f(true);
      QCOMPARE(Captions(f.window->FileOpenRecent), QStringList{"&Clear"});
      f.fileDialogs.answers = {trk.toStdString()};
      f.window->FileImportTrackFile->trigger();
      QCOMPARE(f.Shell().Track()->Section(0)->Length, 5555);
      // Save asks for a name, proposing the project's; the name chosen writes JSON.
      f.fileDialogs.answers = {json.toStdString()};
      f.window->FileSave->trigger();
      QCOMPARE(f.fileDialogs.asked.back().request.fileName, dir.filePath(QStringLiteral("lap.mrd")).toStdString());
      QVERIFY(f.fileDialogs.asked.back().save);
      QVERIFY(!f.Shell().Modified());
      QCOMPARE(Captions(f.window->FileOpenRecent), (QStringList{"&1 " + json, "&2 " + trk, "-", "&Clear"}));
    }
    // A later run has the same list, and opens a file from it.
    UiFrame later(true);
    QCOMPARE(Captions(later.window->FileOpenRecent), (QStringList{"&1 " + json, "&2 " + trk, "-", "&Clear"}));
    later.window->FileOpenRecent->actions().front()->trigger();
    QCOMPARE(later.Shell().FileName(), json.toStdString());
    QCOMPARE(later.Shell().Track()->Section(0)->Length, 5555);
    later.window->FileOpenRecent->actions().back()->trigger();
    QCOMPARE(Captions(later.window->FileOpenRecent), QStringList{"&Clear"});
    QCOMPARE(States(later.window->FileOpenRecent), QStringLiteral("d"));
    UiFrame third(true);
    QCOMPARE(Captions(third.window->FileOpenRecent), QStringList{"&Clear"});
  }

  void viewTogglesOnlyCheckWithoutADocument() {
    UiFrame f;
    f.window->ViewTraces->trigger();
    QVERIFY(!f.window->ViewTraces->isChecked());
    QCOMPARE(f.Shell().ViewFlags, 62);
    f.window->ViewShowNonZeroUnk1->trigger();
    QCOMPARE(f.Shell().ViewFlags, 30);
    f.window->ViewWallOutline->trigger();
    QCOMPARE(f.Shell().ViewFlags, 26);
    f.window->ViewTraces->trigger();
    QCOMPARE(f.Shell().ViewFlags, 27);
    QVERIFY(!f.Shell().Track());
  }

  void closingAChildWindowMinimisesIt() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    for (QMdiSubWindow* child : f.window->MdiArea->subWindowList()) {
      QVERIFY(!child->close());
      QVERIFY(child->isMinimized());
    }
    QCOMPARE(f.window->MdiArea->subWindowList().size(), 2);
    QVERIFY(f.window->FormTree);
    QVERIFY(f.window->PlanView);
  }

  void closingWithChangesAsksFirst() {
    UiFrame f;
    f.window->show();
    f.window->FileNewClick();
    f.Shell().MarkModified();
    f.messages.answers = {MessageAnswer::Cancel};
    QVERIFY(!f.window->close());
    QVERIFY(f.Shell().Track());
    f.messages.answers = {MessageAnswer::No};
    QVERIFY(f.window->close());
    QVERIFY(!f.Shell().Track());
    QCOMPARE(f.messages.shown.size(), size_t{2});
  }

  void windowMenuListsTheChildWindows() {
    UiFrame f;
    f.window->FileNewClick();
    emit f.window->WindowMenu->aboutToShow();
    const QStringList captions = Captions(f.window->WindowMenu);
    QCOMPARE(captions.mid(0, 4), (QStringList{"&Tile", "&Cascade", "&History", "-"}));
    QCOMPARE(captions.mid(4), (QStringList{"&1 Graphics", "&2 Tree"}));
  }

  // A never-saved document has no file of its own: Save asks for one and leaves
  // a noname.mrd that is already in the working folder alone.
  void saveOnANewDocumentAsksForAName() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    const auto back = qScopeGuard([&] { QDir::setCurrent(previous); });
    QFile existing(QStringLiteral("noname.mrd"));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("someone else's notes");
    existing.close();
    UiFrame f(true);
    f.window->FileNewClick();
    f.Shell().MarkModified();
    f.window->FileSave->trigger();
    QCOMPARE(f.fileDialogs.asked.size(), size_t{1});
    QVERIFY(f.fileDialogs.asked[0].save);
    QCOMPARE(QString::fromStdString(f.fileDialogs.asked[0].request.fileName), QStringLiteral("noname.mrd"));
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("someone else's notes"));
    QVERIFY(f.Shell().Modified());
  }

  // Enter on a text that is not valid says so and keeps the dialog open, as OK
  // does; the document is not marked modified.
  void enterOnAnInvalidValueKeepsTheDialogOpen() {
    UiFrame f(false, true);
    f.window->show();
    f.window->FileNewClick();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    QVERIFY(f.PressRow(QStringLiteral("Length")));
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
      meridal::TFormEditValue* dialog = f.window->Dialogs()->FormEditValue;
      dialog->EditValue->selectAll();
      QTest::keyClicks(dialog->EditValue, QStringLiteral("12x"));
      QTest::keyClick(dialog->EditValue, Qt::Key_Return);
      stayedOpen = dialog->isVisible();
      dialog->reject();
    });
    QTest::keyClick(f.List(), Qt::Key_Return);  // edit the selected row
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"Input not valid !\nLength takes a length in m, cm, mm or km "
                                                          "(at most 109092.17 m either way)"});
    QVERIFY(stayedOpen);
    QVERIFY(!f.Shell().Modified());
    QVERIFY(!f.window->FileSave->isEnabled());
    QCOMPARE(f.Shell().Track()->Section(0)->Length, 984252);
  }

  // The title names the document and marks unsaved changes; Save and Export say
  // in the status bar what they wrote; the keys of the Edit menu and the list work.
  void theTitleTheStatusBarAndTheKeys() {
    QTemporaryDir dir;
    UiFrame f(true);
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Meridal"));
    f.window->FileNewClick();
    QCOMPARE(f.window->windowTitle(), QStringLiteral("noname.mrd[*] \u2013 Meridal"));
    QVERIFY(!f.window->isWindowModified());
    QCOMPARE(f.window->EditItems.Action(meridal::kEditRemove)->shortcut(), QKeySequence(Qt::Key_Delete));
    QCOMPARE(f.window->EditItems.Action(meridal::kEditAddBefore)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    QCOMPARE(f.window->EditItems.Action(meridal::kEditAddAfter)->shortcut(), QKeySequence(Qt::Key_Insert));

    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    f.messages.answers = {MessageAnswer::Yes};
    QTest::keyClick(f.Tree(), Qt::Key_Insert);
    QCOMPARE(f.messages.Texts().back(), std::string("Add after Section 0 (straight) ?"));
    QCOMPARE(f.Shell().Track()->NumberOfSections(), 2);
    QVERIFY(f.window->isWindowModified());
    QVERIFY(f.PressRow(QStringLiteral("Length")));
    QTest::keyClick(f.List(), Qt::Key_F2);
    QCOMPARE(f.dialogs.editedName, std::string("Length"));

    f.fileDialogs.answers = {dir.filePath(QStringLiteral("circuit.mrd")).toStdString()};
    QTest::keyClick(f.Tree(), Qt::Key_S, Qt::ControlModifier);  // never saved: Save asks for the name
    QCOMPARE(f.window->windowTitle(), QStringLiteral("circuit.mrd[*] \u2013 Meridal"));
    QVERIFY(!f.window->isWindowModified());
    QCOMPARE(f.window->StatusText->text(), QStringLiteral("Saved circuit.mrd"));
    const QString exported = dir.filePath(QStringLiteral("circuit.trk"));
    f.fileDialogs.answers = {exported.toStdString()};
    f.window->FileExportTrackFile->trigger();
    QVERIFY(QFileInfo(exported).size() > 0);
    // The second straight ends where the first began only in a closed loop.
    QCOMPARE(f.window->StatusText->text(), QStringLiteral("Exported; the track has 1 gap (see View > Track Check)"));

    // Delete in the list removes the trace row it is on.
    QVERIFY(f.ClickNode(QStringLiteral("Track")));
    QVERIFY(f.PressRow(QStringLiteral("Trace 1")));
    f.messages.answers = {MessageAnswer::No};
    QTest::keyClick(f.List(), Qt::Key_Delete);
    QCOMPARE(f.messages.Texts().back(), std::string("Remove Trace 1 ?"));
  }

  // The modified mark follows the history through a maximised child; a Save As
  // that cannot write keeps the name, the mark and the old file, and says why.
  void theTitleBelongsToTheDocumentThroughMaximiseAndAFailedSaveAs() {
    QTemporaryDir dir;
    UiFrame f(true);
    f.window->show();
    const QString saved = dir.filePath(QStringLiteral("kept.mrd"));
    f.window->FileNewClick();
    f.fileDialogs.answers = {saved.toStdString()};
    f.window->FileSaveAs->trigger();
    const QByteArray before = [&] {
      QFile file(saved);
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QVERIFY(!before.isEmpty());
    QMdiSubWindow* plan = f.window->MdiArea->subWindowList().front();
    plan->showMaximized();
    QCoreApplication::processEvents();
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    f.messages.answers = {MessageAnswer::Yes};
    QTest::keyClick(f.Tree(), Qt::Key_Insert);
    QVERIFY(f.window->isWindowModified());
    // Restored: the child that is maximised now (the tree, clicked last).
    f.window->MdiArea->activeSubWindow()->showNormal();
    QCoreApplication::processEvents();
    QVERIFY(f.window->isWindowModified());
    QCOMPARE(f.window->windowTitle(), QStringLiteral("kept.mrd[*] \u2013 Meridal"));

    const QString refused = dir.filePath(QStringLiteral("no-such-folder/new.mrd"));
    f.fileDialogs.answers = {refused.toStdString()};
    f.window->FileSaveAs->trigger();
    QCOMPARE(QString::fromStdString(f.messages.Texts().back()),
             QStringLiteral("Unable to write\n") + refused + QStringLiteral(": No such file or directory"));
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), saved);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("kept.mrd[*] \u2013 Meridal"));
    QVERIFY(f.window->isWindowModified());
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QVERIFY(!QFileInfo::exists(refused));
  }

  // The pointer's position, at its longest, fits the first panel in its font.
  void thePositionPanelHoldsTheLongestPosition() {
    UiFrame f;
    QLabel* panel = f.window->StatusPanels[0];
    for (int32_t x : {INT32_MIN, -19684, -19683, -1, 19686, 577870})
      for (int32_t y : {INT32_MIN, -19684, -121147}) {
        panel->setText(QString::fromStdString(meridal::PositionText(x, y)));
        QVERIFY2(panel->sizeHint().width() <= panel->width(), qPrintable(panel->text()));
      }
  }

  // Qt's file dialog keeps its settings; the tests must not write the user's.
  void theSuiteKeepsItsSettingsToItself() {
    const QString settings = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    QVERIFY2(settings.startsWith(QDir::tempPath()), qPrintable(settings));
  }

  void aboutOpensTheAboutBox() {
    UiFrame f;
    f.window->AboutItem->trigger();
    QCOMPARE(f.dialogs.abouts, 1);
  }
};

MERIDAL_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
