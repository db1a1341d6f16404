// The plan view's tools, driven as a user drives them: Zoom to Fit and zooming
// out beyond it, the mode in the status bar and the cursor, the measuring drag,
// and a background image loaded, calibrated by two clicks and reopened.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "graphics/scale_draw.h"
#include "measure/track_distance.h"
#include "model/track.h"
#include "model/units.h"
#include "support/png_bomb.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/background_dialog.h"
#include "ui/plan/tools/section_band.h"
#include "document/document.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"
#include "view_file/view_file.h"

using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

// The example circuit copied into a folder of its own (its side file lands
// there), open in a shown frame.
struct PlanFrame : UiFrame {
  PlanFrame() : UiFrame(true) {
    track = folder.filePath(QStringLiteral("circuit.mrd"));
    QFile::copy(kCircuit, track);
    window->show();
    Open();
  }
  void Open() {
    fileDialogs.answers = {track.toStdString()};
    window->FileOpenClick();
    window->MdiArea->subWindowList().front()->resize(760, 560);
    Settle();
  }
  meridal::TPlanView& Graph() { return *window->PlanView; }
  QWidget* Plan() { return Graph().viewport(); }
  meridal::TScaleDraw& View() { return window->PlanView->ScaleDraw(); }
  const QImage& Settle() {
    QCoreApplication::processEvents();
    return Graph().Picture();
  }
  QPointF World(QPoint p) {
    Settle();
    return QPointF(View().ToWorldX(p.x()), View().ToWorldY(p.y()));
  }
  QPoint Pixel(double x, double y) {
    Settle();
    return QPoint(View().ToWindowX(x), View().ToWindowY(y));
  }
  QString ModePanel() { return window->statusBar()->findChild<QLabel*>(QStringLiteral("planModePanel"))->text(); }
  QAction* ViewItem(const QString& text) {
    for (QAction* a : window->ViewMenu->actions())
      if (a->text().startsWith(text)) return a;
    return nullptr;
  }
  // A left drag with the keys held throughout.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mousePress(Plan(), Qt::LeftButton, keys, from);
    for (int i = 1; i <= 4; ++i) {
      const QPoint p = from + (to - from) * i / 4;
      QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(Plan()->mapToGlobal(p)), Qt::NoButton, Qt::LeftButton,
                       keys);
      QCoreApplication::sendEvent(Plan(), &move);
    }
    QTest::mouseRelease(Plan(), Qt::LeftButton, keys, to);
    Settle();
  }
  // The box of the picture's pixels that are not white.
  QRect Drawn() {
    const QImage& picture = Settle();
    QRect box;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        if (picture.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
    return box;
  }
  // Whether the track's box has as much room on the left as on the right, and
  // above as below.
  bool Centred() {
    Settle();
    const meridal::TRect box = Shell().Track()->Extent;
    const int left = View().ToWindowX(box.left), right = Plan()->width() - View().ToWindowX(box.right);
    const int top = View().ToWindowY(box.top), bottom = Plan()->height() - View().ToWindowY(box.bottom);
    return std::abs(left - right) <= 2 && std::abs(top - bottom) <= 2;
  }
  QTemporaryDir folder;
  QString track;
};

// Whether `act` was done within 5 s; a reader it left stuck on the named pipe
// at `fifo` is let go after 10 s, so that a failure ends.
bool WithoutWaitingOn(const QString& fifo, const std::function<void()>& act) {
  std::atomic<bool> done{false};
  std::thread release([&] {
    for (int i = 0; i < 100 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!done) close(::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK));
  });
  QElapsedTimer clock;
  clock.start();
  act();
  done = true;
  release.join();
  return clock.elapsed() < 5000;
}

}  // namespace

class PlanToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void zoomToFitIsCentredStaysFittedAndZoomsOutBeyond() {
    PlanFrame f;
    f.Plan()->setFocus();
    QTest::keyClick(f.window.get(), Qt::Key_0, Qt::ControlModifier);
    f.Settle();
    QVERIFY(f.View().AtFit());
    QVERIFY(f.Centred());
    // Maximize and Tile fit again a view that was at Fit.
    f.window->MdiArea->subWindowList().front()->showMaximized();
    f.Settle();
    QVERIFY(f.View().AtFit());
    QVERIFY(f.Centred());
    f.window->WindowTile->trigger();
    f.Settle();
    QVERIFY(f.View().AtFit());
    QVERIFY(f.Centred());

    // Zoom Out goes on beyond Fit, the track still in the middle.
    const double fit = f.View().Zoom();
    const QRect fitted = f.Drawn();
    QTest::keyClick(f.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(f.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    f.Settle();
    QCOMPARE(f.View().Zoom(), fit / 4);
    QVERIFY(f.Drawn().width() < fitted.width() / 3);
    QVERIFY(f.Centred());
    // Zoomed by hand, a change of size no longer fits.
    f.window->MdiArea->subWindowList().front()->resize(500, 400);
    f.Settle();
    QCOMPARE(f.View().Zoom(), fit / 4);
  }

  void theModeShowsInTheStatusBarAndAsTheCursor() {
    PlanFrame f;
    meridal::TPlanView& g = f.Graph();
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Select"));
    QCOMPARE(f.Plan()->cursor().shape(), Qt::ArrowCursor);
    g.PopupCenter->trigger();
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Center"));
    QCOMPARE(f.Plan()->cursor().shape(), Qt::BitmapCursor);
    // M measures and M again goes back.
    f.Plan()->setFocus();
    QTest::keyClick(f.Plan(), Qt::Key_M);
    QVERIFY(g.PopupMeasure->isChecked());
    QCOMPARE(f.ModePanel(), QStringLiteral("Measure: drag in the plan (Alt: along the track)"));
    QCOMPARE(f.Plan()->cursor().shape(), Qt::CrossCursor);
    QTest::keyClick(f.Plan(), Qt::Key_M);
    QVERIFY(g.PopupCenter->isChecked());
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Center"));
    QCOMPARE(f.Plan()->cursor().shape(), Qt::BitmapCursor);
  }

  void aMeasureDragGivesDistanceBearingAndTheWayAlong() {
    PlanFrame f;
    f.Plan()->setFocus();
    QTest::keyClick(f.Plan(), Qt::Key_M);
    const auto selection = f.Shell().Document()->Selection();
    const QImage plan = f.Settle().copy();

    // A straight drag to the right: east, 90 degrees.
    const QPoint a(100, 300), b(400, 300);
    f.Drag(a, b);
    const QPointF wa = f.World(a), wb = f.World(b);
    const auto straight = meridal::MeasureStraight(wa.x(), wa.y(), wb.x(), wb.y());
    QCOMPARE(f.ModePanel(), QStringLiteral("Measure: ") + QString::fromStdString(StraightMeasureText(straight)));
    QVERIFY(f.ModePanel().endsWith(QStringLiteral("bearing 90.0\u00b0")));
    // The drag selected nothing, and the line lies over the picture, not in it.
    QCOMPARE(f.Shell().Document()->Selection(), selection);
    QCOMPARE(f.Settle(), plan);
    QCOMPARE(f.Plan()->grab().toImage().pixel((a + b) / 2), qRgb(200, 0, 90));
    // The result shows beside the pointer too, in its pale box below and right of it.
    const QRgb box = f.Plan()->grab().toImage().pixel(b + QPoint(22, 22));
    QVERIFY2(qRed(box) > 245 && qGreen(box) > 245 && qBlue(box) > 205 && qBlue(box) < 240,
             qPrintable(QString::number(box, 16)));

    // With Alt, along the first section's zero line from a fifth to four fifths.
    const meridal::TSection& s = *f.Shell().Track()->Section(0);
    const auto at = [&](double t) { return f.Pixel(s.LocalToX(t * s.Length, 0), s.LocalToY(t * s.Length, 0)); };
    const QPoint c = at(0.2), d = at(0.8);
    f.Drag(c, d, Qt::AltModifier);
    const QPointF wc = f.World(c), wd = f.World(d);
    const auto along = meridal::TTrackDistance(*f.Shell().Track()).Between(wc.x(), wc.y(), wd.x(), wd.y());
    QVERIFY(along);
    QVERIFY(std::fabs(*along - 0.6 * s.Length) < meridal::kUnitsPerMeter);
    const auto line = meridal::MeasureStraight(wc.x(), wc.y(), wd.x(), wd.y());
    QCOMPARE(f.ModePanel(), QStringLiteral("Measure: ") + QString::fromStdString(AlongMeasureText(*along, line)));

    // Round a bend, the line drawn is the path along the track, not the chord.
    const meridal::TTrack& track = *f.Shell().Track();
    int bend = 0;
    while (!track.Section(bend)->IsCurved()) ++bend;
    const meridal::TSection& arc = *track.Section(bend);
    const QPoint e = f.Pixel(arc.StartX(), arc.StartY()), g = f.Pixel(arc.EndX(), arc.EndY());
    f.Drag(e, g, Qt::AltModifier);
    const QPointF we = f.World(e), wg = f.World(g);
    const auto path = meridal::TTrackDistance(track).Path(we.x(), we.y(), wg.x(), wg.y());
    QVERIFY(path.size() > 2);
    const QImage drawn = f.Plan()->grab().toImage();
    const auto& [mx, my] = path[path.size() / 2];
    QCOMPARE(drawn.pixel(f.Pixel(mx, my)), qRgb(0, 90, 200));
    QVERIFY(drawn.pixel((e + g) / 2) != qRgb(0, 90, 200));
  }

  void aBackgroundImageIsCalibratedByTwoClicksAndReopens() {
    PlanFrame f;
    // A bad image is said to be one, and nothing is loaded.
    const QString bad = f.folder.filePath(QStringLiteral("bad.png"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();
    f.ViewItem(QStringLiteral("&Background Image"))->trigger();
    meridal::TBackgroundDialog* dialog = f.Graph().BackgroundDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(dialog && dialog->isVisible());
    f.fileDialogs.answers = {bad.toStdString()};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    QVERIFY(dialog->Message->text().startsWith(QStringLiteral("Cannot load the background image.\nbad.png: ")));
    QVERIFY(!f.Graph().Background().HasImage());

    // A blue picture 400 by 200 pixels, spanning the window's width.
    QImage blue(400, 200, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    const QString photo = f.folder.filePath(QStringLiteral("photo.png"));
    QVERIFY(blue.save(photo));
    f.fileDialogs.answers = {photo.toStdString()};
    QTest::mouseClick(dialog->LoadButton, Qt::LeftButton);
    QVERIFY(f.Graph().Background().HasImage());
    QCOMPARE(dialog->Message->text(), QString());
    // Under the plan at half opacity: white and blue mixed where no track lies.
    const QColor corner = f.Settle().pixelColor(3, f.Plan()->height() / 2);
    QVERIFY(corner.blue() > 250 && corner.red() > 100 && corner.red() < 150);

    // Two clicks 120 window pixels apart, 30 m typed: the image's pixels between
    // them span 30 m.
    const double before = f.Graph().Background().Settings().placement.unitsPerPixel;
    const double imagePixels = 120 / (before * f.View().PixelsPerUnit());
    QTest::mouseClick(dialog->CalibrateButton, Qt::LeftButton);
    QCOMPARE(f.ModePanel(), QStringLiteral("Calibrate: click the first point on the image"));
    const QPoint first(200, 250), second(320, 250);
    const QPointF firstWorld = f.World(first);
    QTest::mouseClick(f.Plan(), Qt::LeftButton, {}, first);
    QCOMPARE(f.ModePanel(), QStringLiteral("Calibrate: click the second point on the image"));
    QTest::mouseClick(f.Plan(), Qt::LeftButton, {}, second);
    QVERIFY(dialog->ApplyButton->isEnabled());
    dialog->Distance->setFocus();
    dialog->Distance->selectAll();
    QTest::keyClicks(dialog->Distance, QStringLiteral("30"));
    QTest::keyClick(dialog->Distance, Qt::Key_Return);
    const meridal::TBackgroundPlacement placed = f.Graph().Background().Settings().placement;
    QVERIFY(std::fabs(placed.unitsPerPixel * imagePixels / (30 * meridal::kUnitsPerMeter) - 1) < 1e-9);
    // The first point stays where it was clicked; placing comes next.
    const QPointF kept = f.Graph().Background().ImageToWorld(f.Graph().Background().WorldToImage(firstWorld));
    QVERIFY(std::hypot(kept.x() - firstWorld.x(), kept.y() - firstWorld.y()) < 1e-3);
    QVERIFY(dialog->PlaceButton->isChecked());

    // A drag moves it by as much as the pointer moved; then it is hidden.
    f.Drag(QPoint(300, 300), QPoint(340, 280));
    const meridal::TBackgroundPlacement moved = f.Graph().Background().Settings().placement;
    const double ppu = f.View().PixelsPerUnit();
    QVERIFY(std::fabs((moved.centreX - placed.centreX) * ppu - 40) < 1e-6);
    QVERIFY(std::fabs((moved.centreY - placed.centreY) * ppu - 20) < 1e-6);
    // A point of the image where no track lies shows it, and then no more.
    QPoint bare;
    for (int u = 10; u < 400 && bare.isNull(); u += 20) {
      const QPointF w = f.Graph().Background().ImageToWorld(QPointF(u, 100));
      const QPoint p = f.Pixel(w.x(), w.y());
      const QColor c = f.Settle().pixelColor(p);
      if (f.Plan()->rect().contains(p) && c.blue() > c.red() + 60) bare = p;
    }
    QVERIFY(!bare.isNull());
    QTest::mouseClick(dialog->Show, Qt::LeftButton, {}, QPoint(6, dialog->Show->height() / 2));
    QCOMPARE(f.Settle().pixel(bare), qRgb(255, 255, 255));

    // Kept beside the track and shown again when the track reopens.
    std::string error;
    const auto side = meridal::ReadViewSettings(f.track.toStdString(), error);
    QVERIFY(side && side->background);
    QCOMPARE(side->background->placement, moved);
    QVERIFY(!side->background->visible);
    QCOMPARE(QString::fromStdString(side->background->image), QDir::cleanPath(photo));
    // Closing the dialog with × ends Place: the status says so and a click selects again.
    QVERIFY(f.Graph().Background().ActiveTool() == meridal::TBackgroundLayer::Tool::Place);
    dialog->close();
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Select"));
    QCOMPARE(f.Graph().viewport()->cursor().shape(), Qt::ArrowCursor);
    const QPoint on = meridal::SectionClickPoint(*f.Shell().Track()->Section(3), f.View());
    QTest::mouseClick(f.Plan(), Qt::LeftButton, {}, on);
    QCOMPARE(f.Shell().Document()->Selection().section, 3);
    QCOMPARE(f.Graph().Background().Settings().placement, moved);
    f.Open();
    f.Settle();
    QVERIFY(f.Graph().Background().HasImage());
    QCOMPARE(f.Graph().Background().Settings(), *side->background);
  }

  // Whatever stands at the side file's name or the image's, the track opens at
  // once without it, and the status bar and the Background dialog say why.
  void aSideFileOrImageThatCannotBeReadIsToldAndTheTrackOpens() {
    PlanFrame f;
    const QString side = f.folder.filePath(QStringLiteral("circuit.view.json"));
    const auto open = [&] {
      f.fileDialogs.answers = {f.track.toStdString()};
      QTest::keyClick(f.window.get(), Qt::Key_O, Qt::ControlModifier);
      f.Settle();
      QVERIFY(f.Shell().Document());
    };
    // A named pipe nobody writes to.
    QVERIFY(mkfifo(QFile::encodeName(side).constData(), 0644) == 0);
    QVERIFY2(WithoutWaitingOn(side, open), "the plan waited on a named pipe");
    QCOMPARE(f.ModePanel(), QStringLiteral("The view settings were not read. ") + side +
                                QStringLiteral(": a named pipe, not a regular file"));
    QFile::remove(side);
    // A folder.
    QVERIFY(QDir().mkdir(side));
    open();
    QCOMPARE(f.ModePanel(), QStringLiteral("The view settings were not read. ") + side + QStringLiteral(": Is a directory"));
    QVERIFY(QDir().rmdir(side));

    // A side file naming a picture of 20000 x 20000 pixels.
    QFile bomb(f.folder.filePath(QStringLiteral("bomb.png")));
    QVERIFY(bomb.open(QIODevice::WriteOnly));
    bomb.write(meridal::testing::PngClaimingSize(20000, 20000));
    bomb.close();
    QFile json(side);
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(R"({"background": {"image": "bomb.png"}})");
    json.close();
    open();
    const QString tooLarge =
        QStringLiteral("bomb.png: 20000 \u00d7 20000 pixels, more than the 64 megapixels a background image may have");
    QCOMPARE(f.ModePanel(), QStringLiteral("Cannot load the background image. ") + tooLarge);
    QVERIFY(!f.Graph().Background().HasImage());
    // View > Background Image… by its keys: Alt+V, then B.
    QApplication::setActiveWindow(f.window.get());
    QTest::keyClick(f.window.get(), Qt::Key_V, Qt::AltModifier);
    QVERIFY(f.window->ViewMenu->isVisible());
    QTest::keyClick(f.window->ViewMenu, Qt::Key_B);
    meridal::TBackgroundDialog* dialog = f.Graph().BackgroundDialog();
    QVERIFY(dialog && dialog->isVisible());
    QCOMPARE(dialog->Message->text(), QStringLiteral("Cannot load the background image.\n") + tooLarge);

    // Load… of a named pipe is refused at once.
    const QString pipe = f.folder.filePath(QStringLiteral("pipe.png"));
    QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0644) == 0);
    f.fileDialogs.answers = {pipe.toStdString()};
    QVERIFY2(WithoutWaitingOn(pipe, [&] { QTest::mouseClick(dialog->LoadButton, Qt::LeftButton); }),
             "Load… waited on a named pipe");
    QCOMPARE(dialog->Message->text(),
             QStringLiteral("Cannot load the background image.\npipe.png: a named pipe, not a regular file"));

    // Saved under a name without a side file, the track has nothing left to tell.
    QApplication::setActiveWindow(f.window.get());
    f.fileDialogs.answers = {f.folder.filePath(QStringLiteral("other.mrd")).toStdString()};
    QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    f.Settle();
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Select"));
    QCOMPARE(dialog->Message->text(), QString());
  }
};

MERIDAL_UI_TEST_MAIN(PlanToolsTest)
#include "plan_tools_test.moc"
