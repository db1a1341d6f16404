// The 3D view in the editor, driven as a user drives it on a display with OpenGL
// (Xvfb with Mesa's software renderer): View > 3D View opens it on the open
// document; a click in it selects the section in the tree and the list; an edit
// made in the list changes the picture and rebuilds only the meshes it reaches;
// the drive camera moves the document's selection; the racing line is laid over
// the track and Play rides it; File > Export 3D Model... writes the track and
// says what it wrote, or why it could not.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <filesystem>
#include <set>

#include "document/document.h"
#include "mesh/section_mesh.h"
#include "shell/shell_texts.h"
#include "ui/edit_value_dialog.h"
#include "ui/lap/lap_runner.h"
#include "ui/qt_shell_dialogs.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"
#include "ui/view3d/view3d.h"
#include "view3d/view3d_pixels.h"

using meridal::TObjectPath;
using meridal::TView3D;

namespace {

using meridal::testing::GrassPixels;

struct Frame3D : meridal::testing::UiFrame {
  Frame3D() : UiFrame(true, true) {
    window->resize(1400, 1000);
    window->show();
  }
  bool OpenExample() { return Shell().OpenPath(MERIDAL_EXAMPLES_DIR "/circuit.mrd"); }
  TView3D* View() { return window->FormView3D; }
  const meridal::TTrack& Track() { return *Shell().Track(); }
  TObjectPath Selection() { return Shell().Document()->Selection(); }
  // Where the middle of a section's zero line shows in the view.
  QPoint MiddleOf(int section) {
    const auto p = meridal::SurfacePointAt(Track(), section, 0.5, 0);
    return View()->ViewportPointOf(p->x, p->y, p->height + p->raised).toPoint();
  }
  void Press(const char* action) {
    auto* bar = View()->findChild<QToolBar*>();
    QTest::mouseClick(bar->widgetForAction(View()->findChild<QAction*>(action)), Qt::LeftButton);
  }
  // Where each section's vertices are kept: a mesh made again is kept elsewhere.
  std::vector<const void*> MeshStorage() {
    std::vector<const void*> storage;
    for (int s = 0; s < View()->Scene().Sections(); ++s) storage.push_back(View()->Scene().Mesh(s).vertices.data());
    return storage;
  }
  // Double-clicks the list row `caption` and enters `text` in the Edit Value dialog.
  bool EditRow(const QString& caption, const QString& text) {
    const auto found = List()->findItems(caption, Qt::MatchExactly);
    if (found.isEmpty()) return false;
    bool typed = false;
    // The dialog runs its own event loop: answer it once it shows.
    QTimer answer;
    answer.setInterval(10);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      meridal::TFormEditValue* dialog = window->Dialogs()->FormEditValue;
      if (!dialog || QApplication::activeModalWidget() != dialog) return;
      answer.stop();
      dialog->EditValue->selectAll();
      QTest::keyClicks(dialog->EditValue, text);
      QTest::keyClick(dialog->EditValue, Qt::Key_Return);
      typed = true;
    });
    answer.start();
    List()->scrollToItem(found.front());
    const QPoint at = OnText(*List(), found.front());
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, at);  // the row, then its dialog
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, at);
    return typed;
  }
};

}  // namespace

class MainWindowView3DTest : public QObject {
  Q_OBJECT

 private slots:
  void theViewFollowsTheDocumentAndTheDocumentFollowsTheView() {
    Frame3D f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    // Opened before any document: it shows nothing until one comes.
    QVERIFY(!f.View());
    f.window->View3DView->trigger();
    QVERIFY(f.View());
    QVERIFY2(f.View()->OpenGLAvailable(), "the 3D view needs OpenGL 3.3 here: run under Xvfb with Mesa");
    QCOMPARE(f.View()->Scene().Sections(), 0);
    QVERIFY(f.OpenExample());
    f.window->View3DView->trigger();  // the tiling of the opened document hid it behind the others
    f.window->MdiArea->activeSubWindow()->resize(900, 640);
    QCOMPARE(f.View()->Scene().Sections(), f.Track().NumberOfSections());
    QVERIFY2(GrassPixels(f.View()->Picture()) > 5000, "the example's grass verges are drawn");

    // A click selects the section in the document: the tree and the list follow,
    // and the view highlights it.
    QTest::mouseClick(f.View()->Viewport(), Qt::LeftButton, {}, f.MiddleOf(3));
    QCOMPARE(f.Selection(), TObjectPath::Section(3));
    QVERIFY(f.CurrentNode().startsWith(QStringLiteral("Section 3 (")));
    QVERIFY(!f.List()->findItems(QStringLiteral("Length"), Qt::MatchExactly).isEmpty());
    QCOMPARE(f.View()->SelectedSection(), 3);
    // The selection made in the tree is highlighted.
    QVERIFY(f.ClickNode(QStringLiteral("Section 6 (curved)")));
    QCOMPARE(f.View()->SelectedSection(), 6);

    // An edit in the list: section 0's grass verge becomes gravel. A wall's
    // section is highlighted; the picture changes, and only section 0's mesh and
    // its neighbours' are made again. The highlight tints section 0, so its grass
    // is counted with section 6 selected.
    const QImage unedited = f.View()->Picture();
    QVERIFY(f.ClickNode(QStringLiteral("Wall 0")));  // the first is section 0's
    QCOMPARE(f.Selection(), TObjectPath::Wall(0, 0));
    QCOMPARE(f.View()->SelectedSection(), 0);
    const QImage before = f.View()->Picture();
    QVERIFY(before != unedited);
    const std::vector<const void*> storage = f.MeshStorage();
    QVERIFY(f.EditRow(QStringLiteral("Surface"), QStringLiteral("6")));
    QCOMPARE(f.Track().Section(0)->Wall(0)->Surface, 6);
    QVERIFY(f.View()->Picture() != before);
    const int n = f.Track().NumberOfSections();
    std::set<int> rebuilt;
    for (int s = 0; s < n; ++s)
      if (f.MeshStorage()[size_t(s)] != storage[size_t(s)]) rebuilt.insert(s);
    QCOMPARE(rebuilt, (std::set<int>{0, 1, n - 1}));
    QVERIFY(f.ClickNode(QStringLiteral("Section 6 (curved)")));
    QVERIFY(GrassPixels(f.View()->Picture()) < GrassPixels(unedited) - 500);
    // Its undo brings the picture back.
    f.window->EditUndo->trigger();
    QCOMPARE(f.Track().Section(0)->Wall(0)->Surface, 4);
    QVERIFY(f.ClickNode(QStringLiteral("Section 6 (curved)")));
    QCOMPARE(f.View()->Picture(), unedited);

    // Riding along moves the document's selection, and the tree with it.
    QTest::mouseClick(f.View()->Viewport(), Qt::LeftButton, {}, f.MiddleOf(4));
    f.Press("driveAction");
    QVERIFY(f.View()->DriveMode());
    QTest::keyClick(f.View()->Viewport(), Qt::Key_PageDown);
    QCOMPARE(f.Selection(), TObjectPath::Section(5));
    QVERIFY(f.CurrentNode().startsWith(QStringLiteral("Section 5 (")));
    QTest::keyClick(f.View()->Viewport(), Qt::Key_PageUp);
    QTest::keyClick(f.View()->Viewport(), Qt::Key_PageUp);
    QCOMPARE(f.Selection(), TObjectPath::Section(3));

    // Closed, it goes; shown again, it shows the new document whole.
    f.window->MdiArea->activeSubWindow()->close();
    QTRY_VERIFY(!f.View());
    f.window->View3DView->trigger();
    f.window->FileNewClick();
    QCOMPARE(f.View()->Scene().Sections(), 1);
    QCOMPARE(f.View()->SelectedSection(), -1);
  }

  void theRacingLineIsLaidOverTheTrackAndPlayRidesIt() {
    Frame3D f;
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QVERIFY(f.OpenExample());
    f.window->View3DView->trigger();
    f.window->MdiArea->activeSubWindow()->resize(900, 640);
    const QImage plain = f.View()->Picture();
    f.Press("racingLineAction");
    QVERIFY(f.window->LapRunner->Wanted());
    QTRY_VERIFY_WITH_TIMEOUT(f.View()->LineShown() && !f.window->LapRunner->Stale(), 30000);
    QVERIFY(f.View()->Picture() != plain);
    // Off, the line goes and nobody else wants the lap.
    f.Press("racingLineAction");
    QVERIFY(!f.View()->LineShown());
    QVERIFY(!f.window->LapRunner->Wanted());
    QCOMPARE(f.View()->Picture(), plain);

    // On again, the lap in hand shows at once; Play rides the line, and the
    // selection follows the car round the sections.
    f.Press("racingLineAction");
    QVERIFY(f.View()->LineShown());
    QSignalSpy picked(f.View(), &TView3D::SectionPicked);
    f.Press("playAction");
    QVERIFY(f.View()->DriveMode());
    const auto sectionsRidden = [&] {
      std::set<int> seen;
      for (const auto& call : picked) seen.insert(call[0].toInt());
      return seen.size();
    };
    QTRY_VERIFY_WITH_TIMEOUT(sectionsRidden() >= 2, 20000);
    f.Press("playAction");
  }

  // A track whose side file names the terrain model it was fitted to stands in
  // it; a model that cannot be read is named in the status bar, and the ground
  // then lies under the track.
  void aFittedTrackStandsInItsTerrainModel() {
    QTemporaryDir dir;
    const auto copy = [&](const QString& name, const QByteArray& model) {
      QFile::copy(MERIDAL_EXAMPLES_DIR "/circuit.mrd", dir.filePath(name + ".mrd"));
      QFile side(dir.filePath(name + ".view.json"));
      side.open(QIODevice::WriteOnly);
      side.write("{\"terrain\": {\"model\": \"" + model +
                 "\", \"geographic\": false, \"offsetX\": 0, \"offsetY\": 0, \"heightOffset\": 0}}");
      return dir.filePath(name + ".mrd").toStdString();
    };
    QFile land(dir.filePath(QStringLiteral("land.asc")));  // level, 30 m above the track
    QVERIFY(land.open(QIODevice::WriteOnly));
    land.write("ncols 2\nnrows 2\nxllcorner -5000\nyllcorner -5000\ncellsize 5000\n30 30\n30 30\n");
    land.close();
    const std::string fitted = copy(QStringLiteral("fitted"), "land.asc"), lost = copy(QStringLiteral("lost"), "gone.asc");
    Frame3D f;
    QVERIFY(f.Shell().OpenPath(lost));
    f.window->View3DView->trigger();
    QVERIFY2(f.window->StatusText->text().startsWith(QStringLiteral("The terrain model is not drawn: ")),
             qPrintable(f.window->StatusText->text()));
    // The same track in its land (the ground about it 30 m above it), and again
    // with the model that is not there, in the same window.
    QVERIFY(f.Shell().OpenPath(fitted));
    f.View()->RenderNow();
    const QImage inLand = f.View()->Picture();
    f.window->StatusText->clear();
    QVERIFY(f.Shell().OpenPath(lost));
    QVERIFY(f.window->StatusText->text().startsWith(QStringLiteral("The terrain model is not drawn: ")));
    f.View()->RenderNow();
    const QImage under = f.View()->Picture();
    QCOMPARE(inLand.size(), under.size());
    QVERIFY(inLand != under);
  }

  void exportWritesTheModelAndSaysWhatItWrote() {
    QTemporaryDir dir;
    Frame3D f;
    QVERIFY(!f.window->FileExport3DModel->isEnabled());
    QVERIFY(f.OpenExample());
    QVERIFY(f.window->FileExport3DModel->isEnabled());
    const std::string path = dir.filePath(QStringLiteral("circuit.glb")).toStdString();
    f.fileDialogs.answers = {path, dir.filePath(QStringLiteral("missing/<b>lap.gltf")).toStdString(), std::nullopt};
    f.window->FileExport3DModel->trigger();
    QCOMPARE(f.fileDialogs.asked.back().request.fileName, std::string(MERIDAL_EXAMPLES_DIR "/circuit.glb"));
    QVERIFY(f.fileDialogs.asked.back().request.promptOverwrite);
    const auto bytes = std::filesystem::file_size(path);
    QVERIFY(bytes > 10000);
    const QString status = f.window->StatusText->text();
    QVERIFY2(status.startsWith(QStringLiteral("Exported circuit.glb (%1 bytes, ")
                                   .arg(QString::fromStdString(meridal::GroupedCount(bytes)))),
             qPrintable(status));
    QVERIFY(status.endsWith(QStringLiteral(" triangles)")));
    QVERIFY(f.messages.shown.empty());

    // A folder that is not there: the box names the file and the reason; the
    // status bar keeps what it said.
    f.window->FileExport3DModel->trigger();
    QCOMPARE(f.messages.shown.size(), size_t{1});
    QCOMPARE(f.messages.shown[0].title, std::string("Error"));
    const QString text = QString::fromStdString(f.messages.shown[0].text);
    QVERIFY2(text.startsWith(QStringLiteral("Cannot export the 3D model to <b>lap.gltf\n")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("No such file or directory")), qPrintable(text));
    QCOMPARE(f.window->StatusText->text(), status);
    // Cancelled: nothing is said.
    f.window->FileExport3DModel->trigger();
    QCOMPARE(f.messages.shown.size(), size_t{1});
    QCOMPARE(f.window->StatusText->text(), status);
  }
};

MERIDAL_UI_TEST_MAIN(MainWindowView3DTest)

#include "main_window_view3d_test.moc"
