// The graphics window: its life with the document, its picture, the popup's
// modes and cursors, and what clicks, double-clicks and pointer moves do, driven
// by mouse events on its viewport.
#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <set>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "present/position_text.h"
#include "model/units.h"
#include "model/wall.h"
#include "ui/plan/plan_view.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::ScrollBar;
using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

// A shown frame with real files and a new document or the example circuit, its
// graphics window large enough for the circuit at zoom 1.
struct GraphFrame : UiFrame {
  explicit GraphFrame(bool circuit) : UiFrame(true) {
    window->show();
    Open(circuit);
  }
  void Open(bool circuit) {
    if (circuit) fileDialogs.answers = {kCircuit.toStdString()};
    circuit ? window->FileOpenClick() : window->FileNewClick();
    window->MdiArea->subWindowList().front()->resize(760, 560);
    Settle();
  }
  meridal::TPlanView& Graph() { return *window->PlanView; }
  meridal::TScaleDraw& View() { return window->PlanView->ScaleDraw(); }
  // The open track, for a test to set up what the window then shows.
  meridal::TTrack& Track() { return const_cast<meridal::TTrack&>(*Shell().Track()); }
  meridal::TSection& Section(int i) { return *Track().Section(i); }
  // Every pending paint done, so the origin follows the scroll bars again.
  const QImage& Settle() {
    QCoreApplication::processEvents();
    return Graph().Picture();
  }
  QImage FullRepaint() {
    Graph().Repaint();
    return Settle().copy();
  }
  QPoint Pixel(double x, double y) {
    Settle();
    return QPoint(View().ToWindowX(x), View().ToWindowY(y));
  }
  QPointF World(QPoint p) {
    Settle();
    return QPointF(View().ToWorldX(p.x()), View().ToWorldY(p.y()));
  }
  QPoint CentrePixel() { return QPoint(View().ClientWidth() / 2, View().ClientHeight() / 2); }
  // Whether the world point is shown at the window's centre, to a pixel.
  bool Centred(QPointF world) {
    const QPointF centre = World(CentrePixel());
    const double ppu = View().PixelsPerUnit();
    return std::fabs(centre.x() - world.x()) * ppu <= 1.5 && std::fabs(centre.y() - world.y()) * ppu <= 1.5;
  }
  int DistinctColours() {
    const QImage& picture = Settle();
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    return static_cast<int>(colours.size());
  }
  QPointF Middle() {
    const meridal::TRect box = Track().Extent;
    return QPointF((box.left + box.right) / 2.0, (box.top + box.bottom) / 2.0);
  }
  void Click(QPoint p) { QTest::mouseClick(Graph().viewport(), Qt::LeftButton, {}, p); }
  // What a real double-click delivers: press, release, double-click, release.
  void DoubleClick(QPoint p) {
    Click(p);
    QTest::mouseDClick(Graph().viewport(), Qt::LeftButton, {}, p);
    QTest::mouseRelease(Graph().viewport(), Qt::LeftButton, {}, p);
  }
  void Move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(p), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(Graph().viewport(), &move);
  }
  QString StatusAt(QPoint p) {
    Move(p);
    return Status();
  }
  QString Status() { return window->StatusPanels[0]->text(); }
  // A wheel turned over the viewport by `eighths` of a degree (120 to a notch).
  void Wheel(QPoint p, int eighths, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent wheel(QPointF(p), QPointF(Graph().viewport()->mapToGlobal(p)), QPoint(), QPoint(0, eighths),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Graph().viewport(), &wheel);
    Settle();
  }
  // Whether the world point is shown at pixel p, to a pixel.
  bool ShownAt(QPointF world, QPoint p) {
    const QPointF shown = World(p);
    const double ppu = View().PixelsPerUnit();
    return std::fabs(shown.x() - world.x()) * ppu <= 1 && std::fabs(shown.y() - world.y()) * ppu <= 1;
  }
  // Zoomed in on the middle of the track, so that the view can move every way.
  void ZoomedIn() {
    QVERIFY(View().SetZoom(4));
    View().CenterOn(Middle().x(), Middle().y());
    Settle();
  }
  // The selected node's text, after its parent's when it has one.
  QString Selected() {
    const QModelIndex item = Tree()->currentIndex();
    const QString text = item.data().toString();
    return item.parent().isValid() ? item.parent().data().toString() + "/" + text : text;
  }
};

}  // namespace

class PlanViewTest : public QObject {
  Q_OBJECT

 private slots:
  void theWindowLivesWithTheDocument() {
    GraphFrame f(false);
    QList<QMdiSubWindow*> children = f.window->MdiArea->subWindowList();
    QCOMPARE(children.size(), 2);
    QCOMPARE(children[0]->windowTitle(), QStringLiteral("Graphics"));
    QCOMPARE(&f.View().Window(), static_cast<meridal::IDrawWindow*>(&f.Graph()));
    QCOMPARE(f.View().Bounds(), f.Track().Extent);
    // The bars span the track and the part shown; a QScrollBar's maximum is the
    // range less the page.
    QVERIFY(f.Graph().ScrollRange(ScrollBar::Vertical) >= f.View().VerticalRange());
    QCOMPARE(f.Graph().verticalScrollBar()->maximum(),
             std::max(0, f.Graph().ScrollRange(ScrollBar::Vertical) - f.Graph().viewport()->height()));
    f.window->WindowTile->trigger();
    QVERIFY(!children[0]->geometry().intersects(children[1]->geometry()));
    f.window->WindowCascade->trigger();
    QVERIFY(children[0]->geometry().intersects(children[1]->geometry()));
    QVERIFY(!children[0]->close());
    QVERIFY(children[0]->isMinimized());

    // A new document: a new window, at zoom 1 and in Select mode again.
    f.Graph().PopupZoomInClick();
    QVERIFY(f.View().ZoomIn());
    f.window->FileNewClick();
    QCOMPARE(f.View().Zoom(), 1.0);
    QVERIFY(f.Graph().PopupSelect->isChecked());
    // A failed Open keeps the window and its mapping; Open makes new ones.
    auto* graph = f.window->PlanView;
    const meridal::TScaleDraw* scaleDraw = &f.View();
    f.fileDialogs.answers = {std::string(MERIDAL_EXAMPLES_DIR "/make-circuit.sh")};
    f.window->FileOpenClick();
    QCOMPARE(f.messages.Texts().size(), size_t{1});
    QCOMPARE(f.messages.Texts()[0].substr(0, 21), std::string("Not a MERIDAL File !\n"));
    QCOMPARE(f.window->PlanView, graph);
    QCOMPARE(&f.View(), scaleDraw);
    f.fileDialogs.answers = {kCircuit.toStdString()};
    f.window->FileOpenClick();
    QCOMPARE(&f.View().Window(), static_cast<meridal::IDrawWindow*>(f.window->PlanView));
  }

  void thePictureFollowsTheViewOptionsAndTheEdits() {
    GraphFrame f(false);
    // The start/finish marker runs across the start of section 0, past wall 0.
    const QPoint marker = f.Pixel(0, f.Section(0).Wall(0)->From - meridal::kFiveMeters);
    QCOMPARE(f.Settle().pixel(marker), qRgb(255, 0, 0));
    QCOMPARE(f.Settle().pixel(0, f.Settle().height() - 1), qRgb(255, 255, 255));
    const int repaints = f.Graph().FullRepaints();
    f.window->ViewSFLine->trigger();
    QVERIFY(f.Graph().RepaintPending());
    QCOMPARE(f.Settle().pixel(marker), qRgb(255, 255, 255));
    f.window->ViewSFLine->trigger();
    QCOMPARE(f.Settle().pixel(marker), qRgb(255, 0, 0));
    const QImage before = f.Settle().copy();
    QCOMPARE(f.Shell().Document()->SetValue(meridal::TObjectPath::Section(0), "Length", 2 * meridal::kFiftyMeters),
             meridal::history::Outcome::Changed);
    QVERIFY(f.Settle() != before);
    // The edit is drawn where it changed the plan, as a full repaint draws it.
    QCOMPARE(f.Graph().FullRepaints(), repaints + 2);
    const QImage edited = f.Settle().copy();
    QCOMPARE(f.FullRepaint(), edited);
  }

  void thePopupSetsTheModeAndItsCursor() {
    GraphFrame f(false);
    meridal::TPlanView& g = f.Graph();
    const auto marks = [&g] {
      QString out;
      for (const QAction* a : g.PopupMenu->actions()) out += a->text() + (a->isChecked() ? "* " : " ");
      return out;
    };
    QCOMPARE(marks(), QStringLiteral("Select* Center Zoom In Zoom Out  Measure Draw Straight Draw Arc Pan "));
    const int repaints = g.FullRepaints();
    const struct {
      QAction* item;
      int cursor;
      QPoint hotSpot;
    } modes[] = {{g.PopupCenter, 1, {16, 16}}, {g.PopupZoomIn, 2, {0, 0}}, {g.PopupZoomOut, 3, {0, 0}}};
    for (const auto& m : modes) {
      m.item->trigger();
      QCOMPARE(marks().count('*'), 1);
      QVERIFY(m.item->isChecked());
      QCOMPARE(g.viewport()->cursor().hotSpot(), m.hotSpot);
      QCOMPARE(g.viewport()->cursor().bitmap().toImage(), f.window->Cursors.Cursor(m.cursor).bitmap().toImage());
    }
    g.PopupSelect->trigger();
    QCOMPARE(marks(), QStringLiteral("Select* Center Zoom In Zoom Out  Measure Draw Straight Draw Arc Pan "));
    QCOMPARE(g.viewport()->cursor().shape(), Qt::ArrowCursor);
    QVERIFY(!g.RepaintPending());
    QCOMPARE(g.FullRepaints(), repaints);
    // A right press is remembered like any other; the popup opens.
    QTest::mousePress(g.viewport(), Qt::RightButton, {}, QPoint(40, 50));
    QCOMPARE(QPoint(g.LastMouseX, g.LastMouseY), QPoint(40, 50));
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(40, 50), g.viewport()->mapToGlobal(QPoint(40, 50)));
    QCoreApplication::sendEvent(g.viewport(), &menu);
    QVERIFY(g.PopupMenu->isVisible());
    g.PopupMenu->close();
  }

  void aClickSelectsTheFirstOfTwoOverlappingSections() {
    GraphFrame f(false);
    QVERIFY(f.SelectNode(QStringLiteral("Section 0 (straight)")));
    f.messages.answers = {MessageAnswer::Yes};
    f.window->EditAddAfterClick();
    // Section 1 moved 25 m back: both cover 25 m .. 50 m.
    QCOMPARE(f.Shell().Document()->SetValue(meridal::TObjectPath::Section(1), "Longitudinal gap", -meridal::kFiftyMeters / 2),
             meridal::history::Outcome::Changed);
    const QPoint overlap = f.Pixel(meridal::kFiftyMeters * 0.75, 0);
    QVERIFY(f.Section(1).HitTest(f.World(overlap).x(), f.World(overlap).y()));
    QVERIFY(f.SelectNode(QStringLiteral("Track")));
    f.Click(overlap);
    QCOMPARE(f.Selected(), QStringLiteral("Track/Section 0 (straight)"));
    f.Click(f.Pixel(meridal::kFiftyMeters * 1.25, 0));
    QCOMPARE(f.Selected(), QStringLiteral("Track/Section 1 (straight)"));
    f.Click(overlap);
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(0));
    f.Click(f.Pixel(meridal::kFiftyMeters, 3 * meridal::kTenMeters));  // off every section
    QCOMPARE(f.Selected(), QStringLiteral("Track/Section 0 (straight)"));
  }

  void aClickOnTheSelectedSectionKeepsItsWall() {
    GraphFrame f(true);
    const QModelIndex section = f.Node(QStringLiteral("Section 2 (straight)"));
    f.Tree()->setCurrentIndex(section.model()->index(5, 0, section));
    QCOMPARE(f.Selected(), QStringLiteral("Section 2 (straight)/Wall 2"));
    const QImage before = f.Settle().copy();
    meridal::TSection& s = f.Section(2);
    f.Click(f.Pixel((s.StartX() + s.EndX()) / 2, (s.StartY() + s.EndY()) / 2));  // its wall 1's strip
    QCOMPARE(f.Selected(), QStringLiteral("Section 2 (straight)/Wall 2"));
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Wall(2, 2));
    QCOMPARE(f.Settle(), before);
  }

  void aDoubleClickSelectsTheStripUnderThePointerOrTheTrack() {
    GraphFrame f(true);
    const QImage opened = f.Settle().copy();
    // Section 0 runs along +X from the origin; its tarmac lies between walls 1 and 2.
    meridal::TSection& s = f.Section(0);
    const double x = s.EndX() / 2, tarmac = (s.Wall(1)->From + s.Wall(2)->From) / 2.0;
    f.DoubleClick(f.Pixel(x, tarmac));
    QCOMPARE(f.Selected(), QStringLiteral("Section 0 (straight)/Wall 1"));
    QCOMPARE(f.Settle().pixel(f.Pixel(x, s.Wall(1)->From)), qRgb(255, 127, 0));  // the strip's outline
    QCOMPARE(f.Settle().copy(), f.FullRepaint());

    // In Center mode the double-click does nothing; its first click centres, once.
    f.Graph().PopupCenterClick();
    QVERIFY(f.View().SetZoom(4));
    f.View().CenterOn(x, tarmac);
    const QPoint grass = f.Pixel(x, (s.Wall(0)->From + s.Wall(1)->From) / 2.0) + QPoint(60, 0);
    const QPointF world = f.World(grass);
    f.DoubleClick(grass);
    QCOMPARE(f.Selected(), QStringLiteral("Section 0 (straight)/Wall 1"));
    QVERIFY(f.Centred(world));

    // Off every section: the click keeps the selection, the double-click takes the track.
    f.Open(true);
    QVERIFY(f.SelectNode(QStringLiteral("Section 3 (curved)")));
    const QPoint infield = f.Pixel(f.Middle().x(), f.Middle().y());
    QCOMPARE(f.Track().SectionAt(f.World(infield).x(), f.World(infield).y()), -1);
    f.DoubleClick(infield);
    QCOMPARE(f.Selected(), QStringLiteral("Track"));
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Track());
    QCOMPARE(f.Settle(), opened);  // the highlight is gone, and only it
  }

  void zoomAndCenterClicksCentreThePoint() {
    GraphFrame f(true);
    f.Graph().PopupZoomInClick();
    // At zoom 1 the drawing sits in the window's middle: a point a little off it is clicked.
    QPoint spot = f.Pixel(f.Middle().x(), f.Middle().y());
    QVERIFY(std::abs(spot.x() - f.CentrePixel().x()) <= 1 && std::abs(spot.y() - f.CentrePixel().y()) <= 1);
    spot += QPoint(30, 20);
    for (double zoom : {2.0, 4.0, 8.0}) {
      const QPointF world = f.World(spot);
      f.Click(spot);
      QCOMPARE(f.View().Zoom(), zoom);
      QVERIFY(f.Centred(world));
      spot = f.CentrePixel();
    }
    f.Graph().PopupCenterClick();
    const QPoint off = f.CentrePixel() + QPoint(40, -30);
    const QPointF world = f.World(off);
    f.Click(off);
    QCOMPARE(f.View().Zoom(), 8.0);
    QVERIFY(f.Centred(world));
    // Zoomed out beyond the drawing's size, the point clicked still comes to the
    // middle: the view is not held to the drawing's edges.
    f.Graph().PopupZoomOutClick();
    for (int i = 0; i < 4; ++i) f.Click(off);
    QCOMPARE(f.View().Zoom(), 0.5);
    const QPointF beyond = f.World(off);
    f.Graph().PopupCenterClick();
    f.Click(off);
    QVERIFY(f.Centred(beyond));
    // A zoom step the 32-bit extents cannot take is refused; the click still centres.
    double zoom = 1;
    while (f.View().ZoomFits(zoom * 2)) zoom *= 2;
    QVERIFY(f.View().SetZoom(zoom));
    f.View().CenterOn(f.Middle().x(), f.Middle().y());
    f.Graph().PopupZoomInClick();
    const QPointF target = f.World(off);
    f.Click(off);
    QCOMPARE(f.View().Zoom(), zoom);
    QVERIFY(f.Centred(target));
  }

  void thePointerPositionGoesToTheStatusBar() {
    GraphFrame f(false);
    // Four pixels per unit: every unit has pixels of its own.
    QVERIFY(f.View().SetZoom(4.0 / f.View().Scale()));
    const std::pair<QPointF, const char*> cases[] = {{{196850.5, -9843.5}, "9.99998 m , -500.0244 mm"},
                                                      {{0.5, 0.5}, " , "},
                                                      {{-19686.5, 19685.5}, "-1.0000488 m , 999.998 mm"}};
    for (const auto& [world, text] : cases) {
      f.View().CenterOn(world.x(), world.y());
      f.Settle();
      QCOMPARE(f.StatusAt(f.CentrePixel()), QString::fromLatin1(text));
    }
  }

  void aScrollBarMovesTheViewByItsPixelsAndAResizeKeepsIt() {
    GraphFrame f(true);
    meridal::TPlanView& g = f.Graph();
    QVERIFY(f.View().SetZoom(4));
    f.View().CenterOn(f.Middle().x(), f.Middle().y());
    f.Settle();
    const double x0 = f.View().OriginX(), y0 = f.View().OriginY();
    g.horizontalScrollBar()->setValue(g.horizontalScrollBar()->value() + 100);  // the user scrolls
    QVERIFY(g.RepaintPending());
    f.Settle();
    QCOMPARE(f.View().OriginX(), x0 + 100 / f.View().PixelsPerUnit());
    QCOMPARE(f.View().OriginY(), y0);
    // A wider window shows more on the right, and the same point at the left edge.
    const double x1 = f.View().OriginX();
    g.parentWidget()->resize(g.parentWidget()->width() + 200, g.parentWidget()->height());
    f.Settle();
    QCOMPARE(f.View().OriginX(), x1);
    QCOMPARE(g.horizontalScrollBar()->maximum(), g.ScrollRange(ScrollBar::Horizontal) - g.viewport()->width());
  }

  void aSelectionChangeDrawsWhatAFullRepaintDraws() {
    // Four 50 m straights in a row, all in view.
    GraphFrame f(false);
    for (int i = 0; i < 3; ++i) {
      QVERIFY(f.SelectNode(QStringLiteral("Section %1 (straight)").arg(i)));
      f.messages.answers = {MessageAnswer::Yes};
      f.window->EditAddAfterClick();
    }
    f.window->MdiArea->subWindowList().front()->resize(1000, 500);
    QVERIFY(f.View().SetZoom(0.5));
    f.View().CenterOn(0, 0);
    // Section 1, drawn again as section 0's highlight goes, ends where section 2
    // starts, which is left alone: a redraw beyond the blanked box would show.
    for (int i : {0, 3, 1, 2, 0}) {
      f.Settle();
      const int repaints = f.Graph().FullRepaints();
      QVERIFY(f.SelectNode(QStringLiteral("Section %1 (straight)").arg(i)));
      QVERIFY(!f.Graph().RepaintPending());
      const QImage incremental = f.Settle().copy();
      QCOMPARE(f.Graph().FullRepaints(), repaints);
      QCOMPARE(incremental, f.FullRepaint());
    }
  }

  void ctrlWheelZoomsAboutThePointer() {
    GraphFrame f(true);
    f.ZoomedIn();
    const QPoint p = f.CentrePixel() + QPoint(90, -70);
    for (int notches : {1, 1, -1, -1}) {
      const QPointF world = f.World(p);
      const double zoom = f.View().Zoom();
      f.Wheel(p, notches * 120, Qt::ControlModifier);
      QCOMPARE(f.View().Zoom(), notches > 0 ? zoom * 2 : zoom / 2);
      QVERIFY(f.ShownAt(world, p));
    }
    // A fine wheel zooms by whole steps only, once a notch has come together.
    f.Wheel(p, 60, Qt::ControlModifier);
    QCOMPARE(f.View().Zoom(), 4.0);
    f.Wheel(p, 60, Qt::ControlModifier);
    QCOMPARE(f.View().Zoom(), 8.0);
  }

  void aDragPansTheViewByTheDrag() {
    GraphFrame f(true);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.ZoomedIn();
    QWidget* viewport = f.Graph().viewport();
    const QPoint from = f.CentrePixel(), to = from + QPoint(-120, 80);
    const QPointF world = f.World(from);
    QTest::mousePress(viewport, Qt::MiddleButton, {}, from);
    f.Move(from + QPoint(-60, 40), Qt::MiddleButton);
    f.Move(to, Qt::MiddleButton);
    QTest::mouseRelease(viewport, Qt::MiddleButton, {}, to);
    QVERIFY(f.ShownAt(world, to));
    // Space with the left button drags as well, and its press is no click. The
    // press has given the window the keyboard.
    QCOMPARE(QApplication::focusWidget(), &f.Graph());
    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(viewport->cursor().shape(), Qt::OpenHandCursor);
    QTest::mousePress(viewport, Qt::LeftButton, {}, to);
    f.Move(from, Qt::LeftButton);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, from);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(f.ShownAt(world, from));
    QCOMPARE(f.Selected(), QStringLiteral("Track"));
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
    // Without Space the same press and release is a click again.
    f.View().CenterOn(f.Section(0).EndX() / 2, 0);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, f.Pixel(f.Section(0).EndX() / 2, 0));
    QCOMPARE(f.Selected(), QStringLiteral("Track/Section 0 (straight)"));
  }

  void theViewMenuZoomsToFitAndAboutTheCentre() {
    GraphFrame f(true);
    f.ZoomedIn();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    const QPointF centre = f.World(f.CentrePixel());
    QTest::keyClick(f.window.get(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(f.View().Zoom(), 8.0);
    QVERIFY(f.ShownAt(centre, f.CentrePixel()));
    QTest::keyClick(f.window.get(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(f.View().Zoom(), 4.0);
    QVERIFY(f.ShownAt(centre, f.CentrePixel()));

    // The whole extent in the window, filling it along one side.
    QTest::keyClick(f.window.get(), Qt::Key_0, Qt::ControlModifier);
    f.Settle();
    const meridal::TRect box = f.Track().Extent;
    const QPoint topLeft = f.Pixel(box.left, box.top), bottomRight = f.Pixel(box.right, box.bottom);
    const QSize client = f.Graph().viewport()->size();
    // Centred: as much room on the left as on the right, above as below.
    QVERIFY(topLeft.x() == 0 || topLeft.y() == 0);
    QVERIFY(std::abs(topLeft.x() - (client.width() - 1 - bottomRight.x())) <= 1);
    QVERIFY(std::abs(topLeft.y() - (client.height() - 1 - bottomRight.y())) <= 1);
    QVERIFY(bottomRight.x() < client.width() && bottomRight.y() < client.height());
    QVERIFY(bottomRight.x() >= client.width() - 2 || bottomRight.y() >= client.height() - 2);
  }

  void theStatusTextFollowsTheViewAndGoesWithTheDocument() {
    GraphFrame f(true);
    f.ZoomedIn();
    const QPoint p(100, 120);
    const QString before = f.StatusAt(p);
    const int across = f.Graph().horizontalScrollBar()->value();
    f.Wheel(p, -120);  // one notch down
    QVERIFY(f.Status() != before);
    QCOMPARE(f.Graph().horizontalScrollBar()->value(), across);
    QCOMPARE(f.Status(), QString::fromStdString(meridal::PointerPositionText(f.World(p).x(), f.World(p).y())));
    const int down = f.Graph().verticalScrollBar()->value();
    f.Wheel(p, -120, Qt::ShiftModifier);  // across instead
    QVERIFY(f.Graph().horizontalScrollBar()->value() > across);
    QCOMPARE(f.Graph().verticalScrollBar()->value(), down);
    f.Wheel(p, 120, Qt::ControlModifier);
    QCOMPARE(f.Status(), QString::fromStdString(meridal::PointerPositionText(f.World(p).x(), f.World(p).y())));
    f.window->FileNewClick();
    QCOMPARE(f.Status(), QString());
  }

  void smoothDrawingIsAViewOption() {
    GraphFrame f(true);
    QVERIFY(f.window->ViewSmoothDrawing->isChecked());
    const int smooth = f.DistinctColours();
    f.window->ViewSmoothDrawing->trigger();
    const int exact = f.DistinctColours();
    QVERIFY(exact < 20);  // the surfaces, the lines and the white
    QVERIFY(smooth > 2 * exact);
    // A new document keeps the choice.
    f.Open(true);
    QCOMPARE(f.DistinctColours(), exact);
  }

  // Run a second time on a doubled screen (QT_SCALE_FACTOR=2): the picture has
  // the screen's pixels, and the drawing lands where its logical pixels say.
  void thePictureHasTheScreensPixelRatio() {
    GraphFrame f(false);
    f.window->ViewSmoothDrawing->trigger();
    const qreal ratio = f.Graph().viewport()->devicePixelRatioF();
    QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
    const QImage& picture = f.Settle();
    QCOMPARE(picture.devicePixelRatio(), ratio);
    QCOMPARE(picture.size(), (QSizeF(f.Graph().viewport()->size()) * ratio).toSize());
    const QPoint marker = f.Pixel(0, f.Section(0).Wall(0)->From - meridal::kFiveMeters);
    QCOMPARE(f.Settle().pixel(marker * ratio), qRgb(255, 0, 0));
  }
};

MERIDAL_UI_TEST_MAIN(PlanViewTest)
#include "plan_view_test.moc"
