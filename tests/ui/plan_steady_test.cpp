// The plan view as the hand uses it: a drag that the view never moves under, a
// zoom that keeps the point under the pointer, drawing from the Tools keys
// without Alt, a number typed during a drag, read-outs that tell the truth, and
// handles of a size to grab.
#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRandomGenerator>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>
#include <cmath>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"
#include "shape/readout.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/draw_tool.h"
#include "ui/plan/tools/plan_handles.h"
#include "ui/plan/tools/readout_box.h"
#include "ui/plan/tools/section_band.h"
#include "ui/plan/tools/shape_tool.h"
#include "ui/plan_menu.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::shape::Handle;
using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

struct Frame : UiFrame {
  explicit Frame(bool circuit = true) : UiFrame(true) {
    window->show();
    if (circuit) fileDialogs.answers = {kCircuit.toStdString()};
    circuit ? window->FileOpenClick() : window->FileNewClick();
    window->MdiArea->subWindowList().front()->resize(760, 560);
    Settle();
    Plan()->setFocus();
  }
  meridal::TPlanView& Graph() { return *window->PlanView; }
  QWidget* Plan() { return Graph().viewport(); }
  meridal::TScaleDraw& View() { return Graph().ScaleDraw(); }
  meridal::TDocument& Document() { return *Shell().Document(); }
  const meridal::TTrack& Track() { return Document().Track(); }
  void Settle() {
    QCoreApplication::processEvents();
    Graph().Picture();
  }
  QPoint Pixel(double x, double y) { return QPoint(View().ToWindowX(x), View().ToWindowY(y)); }
  QPoint Handle(Handle h) { return *Graph().Shape().HandlePixel(h); }
  void Move(QPoint p, Qt::MouseButtons buttons, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMouseEvent move(QEvent::MouseMove, QPointF(p), QPointF(Plan()->mapToGlobal(p)), Qt::NoButton, buttons, keys);
    QCoreApplication::sendEvent(Plan(), &move);
  }
  void Wheel(QPoint p, int eighths) {
    QWheelEvent wheel(QPointF(p), QPointF(Plan()->mapToGlobal(p)), QPoint(), QPoint(0, eighths), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Plan(), &wheel);
  }
  void Fit() { QTest::keyClick(window.get(), Qt::Key_0, Qt::ControlModifier); }
  void SelectSection(int s) {
    QTest::mouseClick(Plan(), Qt::LeftButton, {}, meridal::SectionClickPoint(*Track().Section(s), View()));
    QCOMPARE(Document().Selection().section, s);
  }
  QString ModePanel() { return window->statusBar()->findChild<QLabel*>(QStringLiteral("planModePanel"))->text(); }
};

// Within a pixel.
bool Near(QPoint a, QPoint b, int pixels = 1) {
  return std::abs(a.x() - b.x()) <= pixels && std::abs(a.y() - b.y()) <= pixels;
}

}  // namespace

class PlanSteadyTest : public QObject {
  Q_OBJECT

 private slots:
  // Maximised and at Fit, an end dragged 60 px up (and 48 across) follows the hand, and
  // the view does not move while the button is held, for section 2 as for 0.
  void theViewStaysPutWhileAnEndIsDragged() {
    for (int s : {2, 0}) {
      Frame f;
      f.window->MdiArea->subWindowList().front()->showMaximized();
      f.Fit();
      f.Settle();
      f.SelectSection(s);
      const QPoint end = f.Handle(Handle::End);
      const double ppu = f.View().PixelsPerUnit(), x0 = f.View().OriginX(), y0 = f.View().OriginY();
      const QPoint start = f.Pixel(f.Track().Section(s)->StartX(), f.Track().Section(s)->StartY());
      // Ctrl at the press: no snapping, the end is the pointer's own.
      QTest::mousePress(f.Plan(), Qt::LeftButton, Qt::ControlModifier, end);
      QPoint to = end;
      for (int i = 1; i <= 6; ++i) {
        to = end + QPoint(8 * i, -10 * i);
        f.Move(to, Qt::LeftButton);
        f.Settle();
      }
      QCOMPARE(f.View().PixelsPerUnit(), ppu);
      QCOMPARE(f.View().OriginX(), x0);
      QCOMPARE(f.View().OriginY(), y0);
      // An arc's end follows the hand round its centre (a straight's only along
      // its heading, which this drag crosses).
      QVERIFY2(!f.Track().Section(s)->IsCurved() || Near(f.Handle(Handle::End), to, 6),
               qPrintable(QStringLiteral("section %1: end at %2,%3, pointer at %4,%5")
                              .arg(s).arg(f.Handle(Handle::End).x()).arg(f.Handle(Handle::End).y())
                              .arg(to.x()).arg(to.y())));
      QVERIFY(Near(f.Pixel(f.Track().Section(s)->StartX(), f.Track().Section(s)->StartY()), start));
      QTest::mouseRelease(f.Plan(), Qt::LeftButton, Qt::ControlModifier, to);
      f.Settle();
      QCOMPARE(f.View().OriginX(), x0);
      QCOMPARE(f.Document().History().Count(), size_t{1});
    }
  }

  // A thousand notches of Ctrl+wheel at random places over three tracks (the
  // circuit at Fit, one straight much smaller than the window, a track of 100 km)
  // keep the world point under the pointer within a pixel.
  void zoomHoldsThePointUnderThePointer() {
    QRandomGenerator random(28);
    for (int track = 0; track < 3; ++track) {
      Frame f(track == 0);
      if (track == 2)
        QCOMPARE(f.Document().SetValue(meridal::TObjectPath::Section(0), "Length", 100000 * meridal::kUnitsPerMeter),
                 meridal::history::Outcome::Changed);
      f.Fit();
      f.Settle();
      for (int i = 0; i < (track == 0 ? 400 : 300); ++i) {
        const QPoint p(random.bounded(f.Plan()->width()), random.bounded(f.Plan()->height()));
        const QPointF world(f.View().ToWorldX(p.x()), f.View().ToWorldY(p.y()));
        const bool in = f.View().Zoom() < 1e4 && (random.bounded(2) == 0 || f.View().Zoom() < 1e-3);
        f.Wheel(p, in ? 120 : -120);
        const QPoint shown = f.Pixel(world.x(), world.y());
        QVERIFY2(Near(shown, p), qPrintable(QStringLiteral("track %1 notch %2: %3,%4 shown at %5,%6")
                                                .arg(track).arg(i).arg(p.x()).arg(p.y()).arg(shown.x()).arg(shown.y())));
      }
    }
  }

  // D draws a straight from the open end without Alt; a typed number sets its
  // length exactly; Shift+D draws an arc; the toolbar shows the tool.
  void theToolKeysDrawAndATypedNumberSetsTheValue() {
    Frame f(false);
    QToolBar* bar = meridal::ToolsToolBar(*f.window);
    const auto checked = [bar] {
      for (QAction* a : bar->actions())
        if (a->isChecked()) return a->text();
      return QString();
    };
    QCOMPARE(checked(), QStringLiteral("Select"));
    QTest::keyClick(f.Plan(), Qt::Key_D);
    QCOMPARE(checked(), QStringLiteral("Draw Straight"));
    QCOMPARE(f.Plan()->cursor().shape(), Qt::CrossCursor);
    QVERIFY(f.ModePanel().startsWith(QStringLiteral("Draw Straight: ")));
    const meridal::TSection& first = *f.Track().Section(0);
    const QPoint end = f.Pixel(first.EndX(), first.EndY());
    QTest::mousePress(f.Plan(), Qt::LeftButton, {}, end + QPoint(2, 1));
    f.Move(end + QPoint(40, 0), Qt::LeftButton);
    QVERIFY(f.Graph().Draw().Readout().startsWith(QStringLiteral("Straight ")));
    // "150", a slip, Backspace, its unit, Enter: 150 m exactly, one step.
    QTest::keyClicks(f.Plan(), QStringLiteral("1507"));
    QTest::keyClick(f.Plan(), Qt::Key_Backspace);
    QTest::keyClicks(f.Plan(), QStringLiteral(" m"));
    QVERIFY(f.Graph().Draw().Readout().contains(QStringLiteral("Typed: 150 m")));
    QVERIFY(f.Graph().Draw().Readout().startsWith(QStringLiteral("Straight 150.00 m")));
    QTest::keyClick(f.Plan(), Qt::Key_Return);
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, {}, end + QPoint(40, 0));
    QCOMPARE(f.Track().NumberOfSections(), 2);
    QCOMPARE(f.Track().Section(1)->Length, meridal::nearest(150 * meridal::kUnitsPerMeter));
    QCOMPARE(f.Document().History().Count(), size_t{1});

    // Shift+D: an arc; Escape drops the typed number first, then the arc.
    QTest::keyClick(f.Plan(), Qt::Key_D, Qt::ShiftModifier);
    QCOMPARE(checked(), QStringLiteral("Draw Arc"));
    const meridal::TSection& last = *f.Track().Section(1);
    const QPoint from = f.Pixel(last.EndX(), last.EndY());
    QTest::mousePress(f.Plan(), Qt::LeftButton, {}, from);
    f.Move(from + QPoint(60, -40), Qt::LeftButton);
    QVERIFY(f.Graph().Draw().Readout().startsWith(QStringLiteral("Arc R ")));
    QTest::keyClicks(f.Plan(), QStringLiteral("90"));
    QTest::keyClick(f.Plan(), Qt::Key_Escape);
    QVERIFY(!f.Graph().Draw().Readout().contains(QStringLiteral("Typed")));
    QTest::keyClicks(f.Plan(), QStringLiteral("90"));
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, {}, from + QPoint(60, -40));
    QCOMPARE(f.Track().NumberOfSections(), 3);
    const auto& arc = dynamic_cast<const meridal::TCurvedSection&>(*f.Track().Section(2));
    QVERIFY(std::fabs(arc.SweptAngle() - meridal::Pi / 2) < 1e-6);
    // Escape outside a gesture: Select again.
    QTest::keyClick(f.Plan(), Qt::Key_Escape);
    QCOMPARE(checked(), QStringLiteral("Select"));
    QCOMPARE(f.ModePanel(), QStringLiteral("Mode: Select"));
  }

  // A handle drag takes a typed length: Enter sets it and ends the drag.
  void aTypedNumberSetsTheDraggedLength() {
    Frame f(false);
    f.SelectSection(0);
    const QPoint end = f.Handle(Handle::End);
    QTest::mousePress(f.Plan(), Qt::LeftButton, {}, end);
    f.Move(end + QPoint(25, 3), Qt::LeftButton);
    QTest::keyClicks(f.Plan(), QStringLiteral("1250 cm"));
    QCOMPARE(f.Track().Section(0)->Length, meridal::nearest(12.5 * meridal::kUnitsPerMeter));
    QTest::keyClick(f.Plan(), Qt::Key_Enter);
    QCOMPARE(f.Document().History().Count(), size_t{1});
    // The release that follows changes nothing more.
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, {}, end + QPoint(90, 3));
    QCOMPARE(f.Track().Section(0)->Length, meridal::nearest(12.5 * meridal::kUnitsPerMeter));
    QCOMPARE(f.Document().History().Count(), size_t{1});
  }

  // "Loop closed" only when every joint meets; a draft shows its own closure.
  void theReadoutsTellTheTruth() {
    Frame f;
    const meridal::TTrack& track = f.Track();
    QCOMPARE(QString::fromStdString(meridal::shape::LoopText(track)), QStringLiteral("Loop closed"));
    // Keep Joined off: a later section pulled 20 m away opens a gap there only.
    f.window->ViewKeepJoined->setChecked(false);
    f.SelectSection(4);
    const QPoint end = f.Handle(Handle::End);
    const double ppu = f.View().PixelsPerUnit();
    const meridal::TSection& s4 = *track.Section(4);
    const double theta = meridal::OrientationToRadians(s4.EndOrientation());
    const QPoint out = end + QPoint(std::lround(20 * meridal::kUnitsPerMeter * ppu * std::cos(theta)),
                                    -std::lround(20 * meridal::kUnitsPerMeter * ppu * std::sin(theta)));
    QTest::mousePress(f.Plan(), Qt::LeftButton, Qt::ControlModifier, end);
    f.Move(out, Qt::LeftButton);
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, Qt::ControlModifier, out);
    const QString loop = QString::fromStdString(meridal::shape::LoopText(track));
    QVERIFY2(loop.startsWith(QStringLiteral("Loop closed at section 0; largest gap ")) &&
                 loop.endsWith(QStringLiteral(" m at section 5")),
             qPrintable(loop));
    // Drawing out of the open end shows where the draft would end, not the old gap.
    QTest::keyClick(f.Plan(), Qt::Key_D);
    const QPoint open = f.Handle(Handle::End);
    QTest::mousePress(f.Plan(), Qt::LeftButton, {}, open);
    f.Move(open + (out - end) / 4, Qt::LeftButton);
    QVERIFY2(f.Graph().Draw().Readout().contains(QStringLiteral("Next start open by")),
             qPrintable(f.Graph().Draw().Readout()));
    QTest::keyClick(f.Plan(), Qt::Key_Escape);
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, {}, open);
    QCOMPARE(f.Document().History().Count(), size_t{1});
  }

  // Maximised at Fit, Export Image at the window's size is the window's picture.
  void exportImageIsWhatTheWindowShows() {
    Frame f;
    f.window->MdiArea->subWindowList().front()->showMaximized();
    f.Fit();
    f.Settle();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("plan.png"));
    f.fileDialogs.answers = {png.toStdString()};
    // The size dialog proposes the window's size: OK.
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    f.window->FileExportImage->trigger();
    const QImage exported(png);
    const QImage shown = f.Graph().Picture().convertToFormat(exported.format());
    QCOMPARE(exported.size(), shown.size());
    const auto drawn = [](const QImage& image) {
      QRect box;
      for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
          if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) box |= QRect(x, y, 1, 1);
      return box;
    };
    const QRect a = drawn(exported), b = drawn(shown);
    QVERIFY2(std::abs(a.left() - b.left()) <= 1 && std::abs(a.right() - b.right()) <= 1 && std::abs(a.top() - b.top()) <= 1,
             qPrintable(QStringLiteral("exported %1,%2 %3x%4; shown %5,%6 %7x%8")
                            .arg(a.x()).arg(a.y()).arg(a.width()).arg(a.height())
                            .arg(b.x()).arg(b.y()).arg(b.width()).arg(b.height())));
  }

  // Handles at least 12 px across, lit under the pointer; the read-out kept off
  // the dragged section.
  void handlesAreLargeLitAndTheReadoutKeepsClear() {
    Frame f(false);
    f.SelectSection(0);
    const meridal::TPlanHandles& handles = f.Graph().Shape().Handles();
    QVERIFY(handles.Size() >= 12);
    const QPoint end = f.Handle(Handle::End);
    // Grabbed at its edge, six pixels off its centre.
    QCOMPARE(handles.At(end + QPoint(6, 0)), std::optional<Handle>(Handle::End));
    f.Move(end + QPoint(5, 2), Qt::NoButton);
    QCOMPARE(f.Graph().Shape().Lit(), std::optional<Handle>(Handle::End));
    f.Move(end + QPoint(60, 60), Qt::NoButton);
    QCOMPARE(f.Graph().Shape().Lit(), std::nullopt);
    // A section lying below and right of the pointer: the box goes elsewhere.
    const QRect area(0, 0, 700, 500);
    const QPolygon section(QRect(QPoint(120, 120), QSize(300, 200)));
    const QRect box = meridal::PlaceReadout(QSize(150, 50), QPoint(110, 110), area, section);
    QVERIFY(area.contains(box));
    QVERIFY(!box.intersects(section.boundingRect()));
  }
};

MERIDAL_UI_TEST_MAIN(PlanSteadyTest)
#include "plan_steady_test.moc"
