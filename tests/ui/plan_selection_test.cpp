// Selecting a run of sections in the plan view with real mouse input: Shift+click
// extends the selection from its anchor, a Ctrl drag draws a rubber band and
// selects the run of the sections it touches (Escape drops it), a Shift drag on
// the selected section still moves it, and the run is highlighted in the plan.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRubberBand>
#include <QTemporaryDir>
#include <QTest>

#include "document/document.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "ui/plan/plan_view.h"
#include "ui/plan/tools/section_band.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

struct Frame : UiFrame {
  Frame() : UiFrame(true) {
    const QString path = folder.filePath(QStringLiteral("circuit.mrd"));
    QFile::copy(kCircuit, path);
    window->show();
    fileDialogs.answers = {path.toStdString()};
    window->FileOpenClick();
    window->MdiArea->subWindowList().front()->resize(760, 560);
    Settle();
    Plan()->setFocus();
  }
  meridal::TPlanView& Graph() { return *window->PlanView; }
  QWidget* Plan() { return Graph().viewport(); }
  meridal::TScaleDraw& View() { return window->PlanView->ScaleDraw(); }
  const meridal::TTrack& Track() { return *Shell().Track(); }
  meridal::TDocument& Document() { return *Shell().Document(); }
  const QImage& Settle() {
    QCoreApplication::processEvents();
    return Graph().Picture();
  }
  // A point on section s where a click selects it.
  QPoint Point(int s) {
    Settle();
    return meridal::SectionClickPoint(*Track().Section(s), View());
  }
  void Click(QPoint at, Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QTest::mouseClick(Plan(), Qt::LeftButton, keys, at);
    Settle();
  }
  void Move(QPoint to, Qt::KeyboardModifiers keys) {
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(Plan()->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton,
                     keys);
    QCoreApplication::sendEvent(Plan(), &move);
  }
  // A left drag in steps with the keys held; the release only when `release`.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys, bool release = true) {
    QTest::mousePress(Plan(), Qt::LeftButton, keys, from);
    for (int i = 1; i <= 4; ++i) Move(from + (to - from) * i / 4, keys);
    if (release) QTest::mouseRelease(Plan(), Qt::LeftButton, keys, to);
    Settle();
  }
  QString Row(const QString& caption) {
    for (int i = 0; i < List()->topLevelItemCount(); ++i)
      if (List()->topLevelItem(i)->text(0) == caption) return List()->topLevelItem(i)->text(1);
    return {};
  }
  QRubberBand* Band() { return Plan()->findChild<QRubberBand*>(); }
  QTemporaryDir folder;
};

}  // namespace

class PlanSelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void shiftClickExtendsTheRunAndItIsHighlighted() {
    Frame f;
    f.Click(f.Point(2));
    const QImage one = f.Settle();
    f.Click(f.Point(5), Qt::ShiftModifier);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{2, 5}));
    QCOMPARE(f.Document().Selection().section, 5);
    QCOMPARE(f.Row("Selected Sections"), QStringLiteral("4"));
    // Sections 3 and 4 now carry the highlight, and the picture is the one a
    // full repaint draws.
    const QImage run = f.Settle();
    QVERIFY(run != one);
    f.Graph().Repaint();
    QCOMPARE(f.Settle(), run);
    // Shift+click back toward the anchor shrinks the run; a plain click ends it.
    f.Click(f.Point(3), Qt::ShiftModifier);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{2, 3}));
    f.Click(f.Point(3));
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{3, 3}));
    QCOMPARE(f.Row("Selected Sections"), QString());
  }

  void aCtrlBandSelectsTheRunOfWhatItTouches() {
    Frame f;
    f.Click(f.Point(0));
    // Across the middles of sections 2 and 3 only: the band is drawn while
    // dragging, and the release selects the run and hides it.
    const QPoint a = f.Point(2), b = f.Point(3);
    f.Drag(a, b, Qt::ControlModifier, false);
    QVERIFY(f.Band() && f.Band()->isVisible());
    QCOMPARE(f.Band()->geometry(), QRect(a, b).normalized());
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, Qt::ControlModifier, b);
    f.Settle();
    QVERIFY(!f.Band()->isVisible());
    const meridal::TSectionRun run = f.Document().SelectedRun();
    QVERIFY2(run.first <= 2 && run.last >= 3 && run.Count() <= 4, qPrintable(QString("%1-%2").arg(run.first).arg(run.last)));
    QCOMPARE(f.Row("Selected Sections"), QString::number(run.Count()));
    // A band around the start line touches the first and the last sections: a
    // run never wraps, so it is the whole track.
    const meridal::TSection& first = *f.Track().Section(0);
    const QPoint start(f.View().ToWindowX(first.StartX()), f.View().ToWindowY(first.StartY()));
    f.Drag(start - QPoint(12, 12), start + QPoint(12, 12), Qt::ControlModifier);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{0, f.Track().NumberOfSections() - 1}));
    // Escape drops a band: the selection stays.
    f.Click(f.Point(1));
    f.Drag(f.Point(2), f.Point(4), Qt::ControlModifier, false);
    QTest::keyClick(f.Plan(), Qt::Key_Escape);
    QVERIFY(!f.Band()->isVisible());
    QTest::mouseRelease(f.Plan(), Qt::LeftButton, Qt::ControlModifier, f.Point(4));
    f.Settle();
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{1, 1}));
    // A band over empty ground changes nothing.
    f.Drag(QPoint(2, 2), QPoint(8, 8), Qt::ControlModifier);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{1, 1}));
  }

  void shiftOnTheSelectedBodyClicksOrMoves() {
    Frame f;
    f.Click(f.Point(2));
    f.Click(f.Point(4), Qt::ShiftModifier);
    const size_t steps = f.Document().History().Count();
    const double x = f.Track().Section(4)->StartX(), y = f.Track().Section(4)->StartY();
    // Shift pressed and let go on the selected section, the hand trembling by a
    // pixel or two (Ctrl: no snapping to hide it): a click, and nothing moves.
    f.Drag(f.Point(4), f.Point(4) + QPoint(2, 1), Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(f.Document().History().Count(), steps);
    QCOMPARE(f.Track().Section(4)->StartX(), x);
    QCOMPARE(f.Document().SelectedRun(), (meridal::TSectionRun{2, 4}));
    // A Shift drag moves it, as one step.
    f.Drag(f.Point(4), f.Point(4) + QPoint(30, 20), Qt::ShiftModifier);
    QCOMPARE(f.Document().History().Count(), steps + 1);
    QVERIFY(f.Track().Section(4)->StartX() != x || f.Track().Section(4)->StartY() != y);
  }
};

MERIDAL_UI_TEST_MAIN(PlanSelectionTest)
#include "plan_selection_test.moc"
