// The elevation profile and the track check windows, driven as a user drives
// them: clicks and wheel turns on the profile, double-clicks on the check's rows,
// its fix buttons, and Ctrl+Z.
#include <QAbstractItemView>
#include <QLabel>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QDoubleSpinBox>
#include <QTableView>
#include <QToolBar>
#include <QWheelEvent>

#include "check/track_check.h"
#include "document/document.h"
#include "graphics/profile_sampling.h"
#include "model/units.h"
#include "ui/check_window.h"
#include "ui/history_window.h"
#include "ui/profile_plot.h"
#include "ui/profile_window.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::TBase;
using meridal::TSection;
using meridal::history::TEditor;

namespace {

constexpr QRgb kShade = qRgb(255, 236, 179);  // the selected section's stretch

// A new document of three straights in a row, trace 1 raised 20 m above trace 0.
struct ViewFrame : meridal::testing::UiFrame {
  ViewFrame() {
    window->show();
    window->FileNewClick();
    for (int s : {0, 1}) Shell().Change([&](TEditor& e) { return e.Add(*Track().Section(s), false); });
    for (int s : {0, 1, 2}) Raise(s, 1, 20 * 19685);
  }
  // The open track, for a test to set up what the windows then show.
  meridal::TTrack& Track() { return const_cast<meridal::TTrack&>(*Shell().Track()); }
  TSection& Section(int s) { return *Track().Section(s); }
  void Raise(int s, int trace, int32_t height) {
    Shell().Change([&](TEditor& e) { return e.SetValue(*Section(s).Altitude(trace), "Height@Start", height); });
  }

  meridal::TProfilePlot& Plot() { return *window->FormProfile->Plot; }
  void OpenProfile() {
    window->ViewElevationProfile->trigger();
    window->MdiArea->activeSubWindow()->resize(900, 420);
    Settle();
  }
  const QImage& Settle() {
    QCoreApplication::processEvents();
    return Plot().Picture();
  }
  // The pixel of trace j halfway along section s.
  QPoint OnTrace(int s, int j) {
    Settle();
    const meridal::TProfileFrame& frame = Plot().Drawing().Frame();
    const double start = double(meridal::SectionStarts(Track())[s]), length = Section(s).Length;
    const double metres = double(Section(s).Altitude(j)->HeightAt(0.5) * meridal::kMetersPerUnit);
    return QPoint(int(frame.XOf(start + length / 2)), int(frame.YOf(metres)));
  }
  bool Shaded(int s) {
    const QPoint p = OnTrace(s, 0);
    return Settle().pixel(p.x(), Plot().Drawing().Frame().top + 2) == kShade;
  }
  void Wheel(QPoint p, int eighths, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(QPointF(p), QPointF(Plot().mapToGlobal(p)), QPoint(), QPoint(0, eighths), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&Plot(), &wheel);
    Settle();
  }

  meridal::TFormCheck& Check() { return *window->FormCheck; }
  QTableView& Table() { return *Check().Table; }
  // The row whose line reads `text`, or -1.
  int Row(const std::string& text) {
    QCoreApplication::processEvents();
    const auto& problems = Check().Model().Problems();
    for (size_t i = 0; i < problems.size(); ++i)
      if (meridal::ProblemText(problems[i]) == text) return int(i);
    return -1;
  }
  QPoint RowPixel(int row) { return Table().visualRect(Check().Model().index(row, 0)).center(); }
  void ClickRow(int row) { QTest::mouseClick(Table().viewport(), Qt::LeftButton, {}, RowPixel(row)); }
  void DoubleClickRow(int row) {
    ClickRow(row);
    QTest::mouseDClick(Table().viewport(), Qt::LeftButton, {}, RowPixel(row));
  }
  void ClickFix(meridal::FixCommand command) {
    QWidget* button = Check().ToolBar->widgetForAction(Check().Action(command));
    QTest::mouseClick(button, Qt::LeftButton);
  }
  const TBase* Selected() { return Shell().Document()->SelectedObject(); }
};

}  // namespace

class ViewWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void aClickInTheProfileSelectsTheAltitudeAndTheShadingFollowsTheTree() {
    ViewFrame f;
    f.OpenProfile();
    emit f.window->WindowMenu->aboutToShow();
    QVERIFY(f.window->WindowMenu->actions().back()->text().endsWith(QStringLiteral("Elevation Profile")));

    QTest::mouseClick(&f.Plot(), Qt::LeftButton, {}, f.OnTrace(1, 1));
    QCOMPARE(f.Selected(), static_cast<TBase*>(f.Section(1).Altitude(1)));
    QVERIFY(f.Shaded(1));
    QTest::mouseClick(&f.Plot(), Qt::LeftButton, {}, f.OnTrace(2, 0));
    QCOMPARE(f.Selected(), static_cast<TBase*>(f.Section(2).Altitude(0)));
    // Selecting in the tree moves the shading too.
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    QVERIFY(f.Shaded(0));
    QVERIFY(!f.Shaded(2));

    // A change redraws the profile at once, and so does its undo.
    const double high = f.Plot().Drawing().Frame().high;
    f.Raise(2, 1, 40 * 19685);
    f.Settle();
    QVERIFY(f.Plot().Drawing().Frame().high > high + 10);
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    f.Settle();
    QCOMPARE(f.Plot().Drawing().Frame().high, high);
  }

  // A height edit within the heights shown, and a selection moved in the tree,
  // draw only their stretch of the profile again: the picture is the one a whole
  // redraw gives, smoothed or not.
  void aSmallChangeRedrawsOnlyItsStretchOfTheProfile() {
    ViewFrame f;
    for (int s = 2; s < 12; ++s) f.Shell().Change([&](TEditor& e) { return e.Add(f.Section(s), false); });
    f.OpenProfile();
    for (bool smooth : {false, true}) {
      f.Plot().SetSmooth(smooth);
      QVERIFY(f.ClickNode(QStringLiteral("Section 4 (straight)")));
      f.Settle();
      const int repaints = f.Plot().FullRepaints();
      f.Raise(3, 0, smooth ? 5 * 19685 : 7 * 19685);
      QVERIFY(f.ClickNode(QStringLiteral("Section 8 (straight)")));
      const QImage partly = f.Settle().copy();
      QCOMPARE(f.Plot().FullRepaints(), repaints);
      QVERIFY(f.Shaded(8));
      f.Plot().Repaint();
      QCOMPARE(f.Settle(), partly);
    }
  }

  // The views follow every change of the document, wherever it was made: an edit
  // through the list reaches the check and the profile, the check follows a
  // selection made in the tree, and an undo from the History window brings both
  // back.
  void theCheckAndTheProfileFollowEditsMadeElsewhere() {
    ViewFrame f;
    f.OpenProfile();
    f.window->ViewTrackCheck->trigger();
    const int problems = f.Check().Model().rowCount();  // the open loop
    QVERIFY(f.ClickNode(f.Node(QStringLiteral("Section 1 (straight)")).model()->index(
        1, 0, f.Node(QStringLiteral("Section 1 (straight)")))));
    QCOMPARE(f.CurrentNode(), QStringLiteral("Altitude 1"));
    const QImage before = f.Settle().copy();
    const int done = int(f.Shell().Document()->History().Index());

    // Height@Start of trace 1 in section 1, typed in the Edit Value dialog opened
    // from the list.
    const auto item = f.List()->findItems(QStringLiteral("Height@Start"), Qt::MatchExactly);
    QVERIFY(!item.isEmpty());
    f.dialogs.editResult = 40 * 19685;
    QVERIFY(f.PressRow(QStringLiteral("Height@Start")));
    QTest::mouseDClick(f.List()->viewport(), Qt::LeftButton, {}, f.OnText(*f.List(), item.front()));
    QCOMPARE(f.Section(1).Altitude(1)->HeightAtStart, 40 * 19685);
    const int step = f.Row("Section 1, trace 1: height step 19.99996 m");
    QVERIFY(step >= 0);
    QVERIFY(f.Settle() != before);

    // A selection made in the tree moves the check's list to that section's problem.
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    QVERIFY(f.ClickNode(QStringLiteral("Section 2 (straight)")));
    QCOMPARE(f.Check().CurrentProblem()->section, 2);

    // Back to the state before the edit from the History window.
    f.window->WindowHistoryClick();
    QListView& history = *f.window->FormHistory;
    QCoreApplication::processEvents();
    const QModelIndex row = history.model()->index(done, 0);
    QTest::mouseClick(history.viewport(), Qt::LeftButton, {}, history.visualRect(row).center());
    QCOMPARE(f.Section(1).Altitude(1)->HeightAtStart, 20 * 19685);
    QCOMPARE(f.Check().Model().rowCount(), problems);
    QCOMPARE(f.Row("Section 1, trace 1: height step 19.99996 m"), -1);
    QCOMPARE(f.Settle(), before);
  }

  void theWheelZoomsAboutThePointerAndADragPansAlongTheTrack() {
    ViewFrame f;
    f.OpenProfile();
    const meridal::TProfileFrame& frame = f.Plot().Drawing().Frame();
    const QPoint at = f.OnTrace(1, 0);
    const double distance = frame.DistanceAt(at.x());
    const TBase* selected = f.Selected();
    f.Wheel(at, 120, Qt::ControlModifier);
    f.Wheel(at, 120, Qt::ControlModifier);
    QVERIFY(!f.Plot().View().Fitted());
    QVERIFY(std::fabs(frame.DistanceAt(at.x()) - distance) * frame.Width() / (frame.last - frame.first) <= 1);
    // The distance under the press stays under the pointer.
    QTest::mousePress(&f.Plot(), Qt::MiddleButton, {}, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at - QPoint(100, 0)), QPointF(at - QPoint(100, 0)), Qt::NoButton,
                     Qt::MiddleButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&f.Plot(), &move);
    QTest::mouseRelease(&f.Plot(), Qt::MiddleButton, {}, at - QPoint(100, 0));
    f.Settle();
    QVERIFY(std::fabs(frame.DistanceAt(at.x() - 100) - distance) * frame.Width() / (frame.last - frame.first) <= 1);
    QCOMPARE(f.Selected(), selected);  // a drag is no click
    QTest::mouseClick(f.window->FormProfile->ToolBar->widgetForAction(f.window->FormProfile->ZoomToFit),
                      Qt::LeftButton);
    f.Settle();
    QVERIFY(f.Plot().View().Fitted());
    QCOMPARE(frame.last - frame.first, 3.0 * meridal::kFiftyMeters);
  }

  void theCheckListsTheProblemsAndADoubleClickSelectsTheirObject() {
    ViewFrame f;
    QVERIFY(f.Shell().Change([&](TEditor& e) { return e.SetValue(f.Section(1), "Lateral gap", 1000); }) ==
            meridal::history::Outcome::Changed);
    f.Raise(2, 1, 0);
    f.Shell().Change([&](TEditor& e) { return e.SetValue(*f.Section(2).Wall(1), "From", 90000); });
    f.window->ViewTrackCheck->trigger();
    QCOMPARE(f.Check().Model().rowCount(), 6);
    const int height = f.Row("Section 2, trace 1: height step -19.99996 m");
    const int wall = f.Row("Section 2, wall 1: wall jump -427.99 mm");
    QVERIFY(height >= 0 && wall >= 0);
    f.DoubleClickRow(height);
    QCOMPARE(f.Selected(), static_cast<TBase*>(f.Section(2).Altitude(1)));
    f.DoubleClickRow(wall);
    QCOMPARE(f.Selected(), static_cast<TBase*>(f.Section(2).Wall(1)));
    f.DoubleClickRow(f.Row("Section 1: lateral gap 50.8 mm"));
    QCOMPARE(f.Selected(), static_cast<TBase*>(&f.Section(1)));
    // Another problem read anew after a change.
    f.Raise(0, 0, 5);
    QVERIFY(f.Row("Section 0, trace 0: height step 0.254 mm") >= 0);
  }

  // A rise of 10 m with level ends over section 1 is 30 % at its middle: listed
  // at the default 25 %, gone at 35 % typed in the tool bar, back at 20 %, and
  // the limit typed is the next window's.
  void theCheckListsASteepTraceAtTheSlopeTypedInItsToolBar() {
    ViewFrame f;
    meridal::TAltitude& rise = *f.Section(1).Altitude(0);
    f.Shell().Change([&](TEditor& e) { return e.SetValue(rise, "2nd order coeff.", 3 * 196850); });
    f.Shell().Change([&](TEditor& e) { return e.SetValue(rise, "3rd order coeff.", -2 * 196850); });
    f.window->ViewTrackCheck->trigger();
    QCOMPARE(f.Check().MaxSlope->value(), 25.0);
    QVERIFY(f.Row("Section 1, trace 0: steep 30.00 % (more than 25 %)") >= 0);
    const auto type = [&](const char* percent) {
        QDoubleSpinBox& box = *f.Check().MaxSlope;
      QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(8, box.height() / 2));
      QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(&box, QString::fromLatin1(percent));
      QTest::keyClick(&box, Qt::Key_Return);
    };
    type("35");
    QCOMPARE(f.Row("Section 1, trace 0: steep 30.00 % (more than 25 %)"), -1);
    type("20");
    const int steep = f.Row("Section 1, trace 0: steep 30.00 % (more than 20 %)");
    QVERIFY(steep >= 0);
    f.DoubleClickRow(steep);
    QCOMPARE(f.Selected(), static_cast<TBase*>(&rise));
    meridal::TFormCheck next(f.Shell());
    QCOMPARE(next.MaxSlope->value(), 20.0);
  }

  void aFixButtonMendsTheRowsProblemAndCtrlZTakesItBack() {
    ViewFrame f;
    f.Shell().Change([&](TEditor& e) { return e.SetValue(f.Section(1), "Lateral gap", 1000); });
    f.Shell().Change([&](TEditor& e) { return e.SetValue(f.Section(2), "Longitudinal gap", -3000); });
    f.window->ViewTrackCheck->trigger();
    const int rows = f.Check().Model().rowCount();
    const auto join = meridal::FixCommand::JoinToPrevious;
    QVERIFY(!f.Check().Action(join)->isEnabled());  // no row chosen yet
    f.ClickRow(f.Row("Section 1: lateral gap 50.8 mm"));
    QVERIFY(f.Check().Action(join)->isEnabled());
    f.ClickFix(join);
    QCOMPARE(f.Row("Section 1: lateral gap 50.8 mm"), -1);
    QVERIFY(f.Check().Summary->text().contains(QStringLiteral("Join to Previous: 1 value changed")));
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(f.Row("Section 1: lateral gap 50.8 mm") >= 0);
    QCOMPARE(f.Check().Model().rowCount(), rows);

    // Join all positions: only the loop's closure is left, under section 0.
    f.ClickFix(meridal::FixCommand::JoinAllPositions);
    for (const meridal::TTrackProblem& p : f.Check().Model().Problems()) QCOMPARE(p.section, 0);
    QVERIFY(f.Check().Model().rowCount() > 0);
    QVERIFY(f.Check().Summary->text().contains(QStringLiteral("Join All Positions: ")));
    // Another document: what the window said of the last one goes with it.
    f.messages.answers = {meridal::MessageAnswer::No};
    QTest::keyClick(f.window.get(), Qt::Key_N, Qt::ControlModifier);
    QVERIFY(!f.Check().Summary->text().contains(QStringLiteral("Join")));
  }
};

MERIDAL_UI_TEST_MAIN(ViewWindowsTest)
#include "view_windows_test.moc"
