// The Lap window as a user meets it: opened from the View menu, driven again
// after an edit (dimmed meanwhile) and back to the same time after undo; the
// vehicle and line choosers; a refused vehicle file; the profile's speed trace;
// the racing line over the plan.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <fstream>

#include "document/document.h"
#include "graphics/profile_drawing.h"
#include "history/history.h"
#include "model/track.h"
#include "ui/edit_value_dialog.h"
#include "ui/lap/racing_line_item.h"
#include "ui/plan/plan_view.h"
#include "ui/lap/lap_runner.h"
#include "ui/lap/lap_window.h"
#include "ui/profile_plot.h"
#include "ui/profile_window.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");
constexpr int kDriven = 30000;  // ms: a loaded machine may take a while

struct Frame : UiFrame {
  Frame() : UiFrame(true, true) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QVERIFY(window->OpenAtStartUp(kCircuit));
    QCoreApplication::processEvents();
  }
  // View > Lap, with the keys.
  meridal::TFormLap* OpenLap() {
    QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return nullptr;
    QTest::keyClick(menu, Qt::Key_L);
    return window->FormLap;
  }
  // Section 0's Length to 300 m, in its Edit Value dialog.
  void LongerStraight() {
    QVERIFY(ClickNode(QStringLiteral("Section 0 (straight)")));
    WhenOpen<meridal::TFormEditValue>([](meridal::TFormEditValue& dialog) {
      dialog.EditValue->selectAll();
      QTest::keyClicks(dialog.EditValue, QStringLiteral("300 m"));
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    });
    QVERIFY(PressRow(QStringLiteral("Length")));
    QTest::keyClick(List(), Qt::Key_Return);  // Edit Value
  }
  // View > Racing Line, with the mouse.
  void ToggleRacingLine() {
    QMenuBar* bar = window->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(window->ViewMenu->menuAction()).center());
    QTRY_VERIFY(window->ViewMenu->isVisible());
    QAction* item = meridal::RacingLineItem(*window);
    QTest::mouseClick(window->ViewMenu, Qt::LeftButton, {}, window->ViewMenu->actionGeometry(item).center());
    QTRY_VERIFY(!window->ViewMenu->isVisible());
  }
  // The plan's pixels of the speed scale's slowest and fastest colours.
  std::pair<int, int> SlowAndFastPixels() {
    const QImage picture = window->PlanView->viewport()->grab().toImage();
    int slow = 0, fast = 0;
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x) {
        const QColor c = picture.pixelColor(x, y);
        slow += c == QColor(30, 60, 220);
        fast += c == QColor(220, 30, 30);
      }
    return {slow, fast};
  }
  // Picks an item of a closed combo box with the keys, as a user tabbing to it would.
  static void Choose(QComboBox* box, int index) {
    box->setFocus();
    const int from = box->currentIndex();
    for (int k = from; k < index; ++k) QTest::keyClick(box, Qt::Key_Down);
    for (int k = index; k < from; ++k) QTest::keyClick(box, Qt::Key_Up);
  }
};

class LapWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void anEditDrivesTheLapAgainAndUndoBringsItBack() {
    Frame f;
    meridal::TFormLap* lap = f.OpenLap();
    QVERIFY(lap);
    QVERIFY(f.window->ViewLap->isChecked());
    QCOMPARE(lap->VehicleChooser->currentText(), QStringLiteral("Formula"));
    QCOMPARE(lap->LineChooser->currentText(), QStringLiteral("Min-curvature"));
    Frame::Choose(lap->LineChooser, 0);
    QCOMPARE(f.window->LapRunner->Line(), meridal::TLineKind::Centre);
    QTRY_VERIFY_WITH_TIMEOUT(lap->Results->isEnabled(), kDriven);
    // The centre line of the example circuit, as meridal-cli lap prints it.
    const QString before = lap->LapTime->text();
    QCOMPARE(before, QStringLiteral("Lap time: 32.444 s"));
    QCOMPARE(lap->Thirds->text(), QStringLiteral("Thirds: 9.601 s, 11.072 s, 11.772 s"));
    QCOMPARE(lap->TopSpeed->text(), QStringLiteral("Top speed: 155.3 km/h"));
    QVERIFY(lap->Corners->rowCount() > 0);
    QVERIFY(lap->Corners->item(0, 1)->text().startsWith(QStringLiteral("Section ")));

    // Section 0's Length from 200 m to 300 m: a longer straight, a longer lap.
    f.LongerStraight();
    QCOMPARE(f.Shell().Document()->History().Count(), 1u);
    QVERIFY(!lap->Results->isEnabled());  // the old lap, dimmed until the new one comes
    QCOMPARE(lap->LapTime->text(), before);
    QTRY_VERIFY_WITH_TIMEOUT(lap->Results->isEnabled(), kDriven);
    const QString longer = lap->LapTime->text();
    QVERIFY2(longer != before, qPrintable(longer));

    // Back to the frame, as the user's click on it would, and Ctrl+Z.
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.Shell().Document()->History().Index(), 0u);
    QVERIFY(!lap->Results->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(lap->Results->isEnabled(), kDriven);
    QCOMPARE(lap->LapTime->text(), before);

    // A corner double-clicked selects its section.
    const int section = lap->Corners->item(0, 1)->data(Qt::UserRole).toInt();
    const QRect cell = lap->Corners->visualItemRect(lap->Corners->item(0, 1));
    QTest::mouseDClick(lap->Corners->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(section));
  }

  void theChoosersDriveAnotherCarAndARefusedFileChangesNothing() {
    Frame f;
    meridal::TFormLap* lap = f.OpenLap();
    QVERIFY(lap);
    QCOMPARE(lap->VehicleChooser->count(), 4);  // the three examples and Open…
    QCOMPARE(lap->VehicleChooser->itemText(3), QStringLiteral("Open…"));
    QTRY_VERIFY_WITH_TIMEOUT(lap->Results->isEnabled(), kDriven);
    const QString formula = lap->LapTime->text();
    QVERIFY(lap->Status->text().startsWith(QStringLiteral("Formula, min-curvature line: driven in ")));

    // The road car is slower on the same line.
    Frame::Choose(lap->VehicleChooser, 2);
    QCOMPARE(f.window->LapRunner->Vehicle().name, std::string("Road car"));
    QVERIFY(!lap->Results->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(lap->Results->isEnabled(), kDriven);
    QVERIFY(lap->LapTime->text() != formula);

    // A vehicle file with a field missing is refused by its name; the road car stays.
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("bad.json")).toStdString();
    std::ofstream(path) << R"({"name": "Bad", "mass_kg": 900})";
    f.fileDialogs.answers = {path};
    Frame::Choose(lap->VehicleChooser, 3);
    QCOMPARE(f.messages.Texts().back(), path + ": \"v_max_mps\" is missing");
    QCOMPARE(lap->VehicleChooser->currentIndex(), 2);
    QCOMPARE(lap->VehicleChooser->count(), 4);
    QCOMPARE(f.window->LapRunner->Vehicle().name, std::string("Road car"));

    // A good one is listed with its file and driven.
    f.fileDialogs.answers = {std::string(MERIDAL_EXAMPLES_DIR "/vehicles/gt.json")};
    Frame::Choose(lap->VehicleChooser, 3);
    QCOMPARE(lap->VehicleChooser->currentText(), QStringLiteral("GT"));  // the example, chosen again
    QCOMPARE(lap->VehicleChooser->count(), 4);
  }

  void theRacingLineColoursThePlanBySpeed() {
    Frame f;
    QCOMPARE(f.SlowAndFastPixels(), std::make_pair(0, 0));
    f.ToggleRacingLine();
    QVERIFY(meridal::RacingLineItem(*f.window)->isChecked());
    QVERIFY(f.window->LapRunner->Wanted());
    QTRY_VERIFY_WITH_TIMEOUT(f.window->PlanView->SpeedLine().Shown() && !f.window->LapRunner->Stale(), kDriven);
    const auto [slow, fast] = f.SlowAndFastPixels();
    // Each end of the scale is a row of the legend, 14 pixels; the line adds more.
    QVERIFY2(slow >= 14 && fast >= 14 && slow + fast > 40, qPrintable(QStringLiteral("%1 slow, %2 fast").arg(slow).arg(fast)));
    // An edit greys it until the next lap comes (its fastest point may then lie
    // beyond the window: the scale still shows the top speed).
    f.LongerStraight();
    QCOMPARE(f.Shell().Document()->History().Count(), 1u);
    QVERIFY(f.window->PlanView->SpeedLine().Stale());
    QCOMPARE(f.SlowAndFastPixels(), std::make_pair(0, 0));
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->LapRunner->Stale(), kDriven);
    const auto after = f.SlowAndFastPixels();
    QVERIFY2(after.first >= 14 && after.second >= 14, qPrintable(QStringLiteral("%1 slow, %2 fast").arg(after.first).arg(after.second)));
    // Off: gone, and nobody wants the lap.
    f.ToggleRacingLine();
    QVERIFY(!f.window->LapRunner->Wanted());
    QCOMPARE(f.SlowAndFastPixels(), std::make_pair(0, 0));
  }

  void theProfileShowsTheSpeedsUnderTheHeights() {
    Frame f;
    f.window->ViewElevationProfile->trigger();
    meridal::TFormProfile* profile = f.window->FormProfile;
    QVERIFY(profile);
    QVERIFY(!f.window->LapRunner->Wanted());
    QWidget* button = profile->ToolBar->widgetForAction(profile->SpeedTrace);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(f.window->LapRunner->Wanted());
    QTRY_VERIFY_WITH_TIMEOUT(f.window->LapRunner->Result() && !f.window->LapRunner->Stale(), kDriven);
    profile->Plot->Picture();
    const meridal::TProfileFrame& heights = profile->Plot->Drawing().Frame();
    const meridal::TProfileFrame& speeds = profile->Plot->Drawing().SpeedFrame();
    QVERIFY(speeds.Height() > 20);
    QVERIFY(speeds.top > heights.bottom);
    QCOMPARE(speeds.left, heights.left);
    QCOMPARE(speeds.right, heights.right);
    // Off again: the heights take the whole plot, and nobody wants the lap.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!f.window->LapRunner->Wanted());
    profile->Plot->Picture();
    QCOMPARE(profile->Plot->Drawing().SpeedFrame().Height(), 0);
  }
};

}  // namespace

MERIDAL_UI_TEST_MAIN(LapWindowTest)
#include "lap_window_test.moc"
