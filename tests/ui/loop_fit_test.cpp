// Close Loop and Import Centreline, driven as a user drives them: the check
// window's button and the dialog's keys, Ctrl+Z; the import's file dialog
// answered, its source line over the plan until the first edit.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <functional>

#include "check/track_check.h"
#include "document/document.h"
#include "files/project/project_io.h"
#include "model/track.h"
#include "ui/check_window.h"
#include "ui/close_loop_dialog.h"
#include "ui/graph_window.h"
#include "ui/plan_tools/plan_menu.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::TFormCloseLoop;
using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");
const QString kMonza = QStringLiteral(MERIDAL_EXAMPLES_DIR "/Monza.csv");

struct Frame : UiFrame {
  Frame() : UiFrame(true) {
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  }
  meridal::TDocument& Document() { return *Shell().Document(); }
  QByteArray Exported() {
    meridal::testing::ScriptedMessages quiet;
    const auto image = meridal::ExportTrackImage(const_cast<meridal::TTrack&>(*Shell().Track()), quiet);
    return QByteArray(reinterpret_cast<const char*>(image->data()), static_cast<int>(image->size()));
  }
  meridal::TFormCheck& Check() {
    if (!window->FormCheck || !window->FormCheck->isVisible()) window->ViewTrackCheck->trigger();
    QCoreApplication::processEvents();
    return *window->FormCheck;
  }
  // The check's gaps and turns in plan.
  int OpenJoints() { return meridal::OpenJoints(Check().Model().Problems()); }
  // Presses the check window's Close Loop button with the mouse; `answer` runs on
  // the dialog it opens.
  void PressCloseLoop(std::function<void(TFormCloseLoop&)> answer) {
    auto* button = qobject_cast<QToolButton*>(Check().ToolBar->widgetForAction(Check().CloseLoopAction));
    QVERIFY(button);
    WithDialog([button] { QTest::mouseClick(button, Qt::LeftButton); }, answer);
  }
  // Edit > Close Loop… by its keys: Alt+E, then L.
  void MenuCloseLoop(std::function<void(TFormCloseLoop&)> answer) {
    QApplication::setActiveWindow(window.get());
    WithDialog(
        [this] {
          QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
          QVERIFY(window->EditMenuItems->isVisible());
          QTest::keyClick(window->EditMenuItems, Qt::Key_L);
        },
        answer);
  }
  // `answer` runs on the dialog that `open` opens.
  void WithDialog(std::function<void()> open, std::function<void(TFormCloseLoop&)> answer) {
    bool answered = false;
    QTimer::singleShot(0, [&answered, answer] {
      auto* dialog = qobject_cast<TFormCloseLoop*>(QApplication::activeModalWidget());
      if (!dialog) return;
      answered = true;
      answer(*dialog);
      if (dialog->isVisible()) dialog->reject();  // a failed check leaves it open
    });
    open();
    QVERIFY(answered);
    QCoreApplication::processEvents();
  }
  // The plan's pixels in the overlay's colour.
  int OverlayPixels() {
    QCoreApplication::processEvents();
    const QImage shown = window->FormGraph->viewport()->grab().toImage();
    int count = 0;
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x) {
        // Its pink, whatever the antialiasing blends it with.
        const QColor c = shown.pixelColor(x, y);
        count += c.red() - c.green() > 120 && c.blue() - c.green() > 80 && c.red() > c.blue();
      }
    return count;
  }
};

// Picks "sections A to B" with the keyboard: the arrow from "all sections", then
// each number typed over the spin box's text.
void PickSections(TFormCloseLoop& dialog, int first, int last) {
  QApplication::setActiveWindow(&dialog);
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
  dialog.AllSections->setFocus();
  QTest::keyClick(dialog.AllSections, Qt::Key_Down);
  QVERIFY(dialog.SomeSections->isChecked());
  for (auto [box, value] : {std::pair{dialog.First, first}, std::pair{dialog.Last, last}}) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, QString::number(value));
    QCOMPARE(box->value(), value);
  }
}

}  // namespace

class LoopFitTest : public QObject {
  Q_OBJECT

 private slots:
  void closeLoopRefusesOrClosesARangeAsOneStepAndUndoes() {
    Frame f;
    QVERIFY(f.window->OpenAtStartUp(kCircuit));
    f.Document().SetValue(meridal::TObjectPath::Section(2), "Length", f.Shell().Track()->Section(2)->Length + 20000);
    QVERIFY(f.OpenJoints() > 0);
    const QByteArray withGap = f.Exported();
    const size_t steps = f.Document().History().Count();

    // A range that cannot close it: the reason, no OK, nothing changed.
    f.MenuCloseLoop([&](TFormCloseLoop& dialog) {
      PickSections(dialog, 3, 3);
      QCOMPARE(dialog.Preview->text(), QStringLiteral("No change of sections 3 to 3 within the limits closes the "
                                                      "loop: their free values cannot move the end that way"));
      QVERIFY(!dialog.ButtonOK->isEnabled());
      QTest::keyClick(dialog.Last, Qt::Key_Return);  // the disabled default does nothing
      QVERIFY(dialog.isVisible());
      QTest::mouseClick(dialog.ButtonCancel, Qt::LeftButton);
    });
    QCOMPARE(f.Exported(), withGap);
    QCOMPARE(f.Document().History().Count(), steps);

    QString preview;
    f.PressCloseLoop([&](TFormCloseLoop& dialog) {
      PickSections(dialog, 1, 4);
      preview = dialog.Preview->text();
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    });
    QCOMPARE(preview, QStringLiteral("3 values change; the largest change:\n"
                                     "Section 2: length 101.016 m \u2192 100.33417 m\n"
                                     "Before: gap 1.016 m, turn 0 \u00b0\n"
                                     "After: gap 0, turn 0 \u00b0"));
    QCOMPARE(f.OpenJoints(), 0);
    QCOMPARE(QString::fromStdString(f.Document().History().UndoText()), QStringLiteral("Close Loop"));
    QVERIFY(f.Check().Summary->text().contains(QStringLiteral("Loop closed")));

    QApplication::setActiveWindow(f.window.get());  // back from the dialog
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.Exported(), withGap);
  }

  void importCentrelineOpensTheFitWithItsLineUntilTheFirstEdit() {
    Frame f;
    f.fileDialogs.answers = {kMonza.toStdString()};
    QTest::keyClick(f.window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    QCoreApplication::processEvents();
    QVERIFY(f.Shell().Track());
    QVERIFY(f.Shell().Untitled);
    QVERIFY(f.Shell().Modified());
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), QString(kMonza).replace(".csv", ".mrd"));
    QVERIFY(f.Shell().Track()->NumberOfSections() > 10);
    QCOMPARE(meridal::OpenJoints(meridal::CheckTrack(*f.Shell().Track())), 0);
    QVERIFY(f.window->StatusText->text().startsWith(QStringLiteral("Fitted Monza.csv: ")));
    QAction* overlay = meridal::CentrelineOverlayItem(*f.window);
    QVERIFY(overlay->isEnabled() && overlay->isChecked());
    f.window->MdiArea->subWindowList().front()->resize(700, 500);
    QVERIFY(f.OverlayPixels() > 200);

    // An edit: the line goes; the View item brings it back.
    f.messages.answers = {MessageAnswer::Yes};
    const bool curved = f.Shell().Track()->Section(1)->IsCurved();
    QVERIFY(f.ClickNode(QStringLiteral("Section 1 (%1)").arg(curved ? "curved" : "straight")));
    QTest::keyClick(f.Tree(), Qt::Key_Delete);
    QVERIFY(!overlay->isChecked());
    QCOMPARE(f.window->StatusText->text(), QString());  // the summary was of the fit as it was
    QCOMPARE(f.OverlayPixels(), 0);
    overlay->trigger();
    QVERIFY(f.OverlayPixels() > 200);
  }

  void aBadCentrelineIsRefusedWithItsLine() {
    Frame f;
    QVERIFY(f.window->OpenAtStartUp(kCircuit));
    QTemporaryDir folder;
    const QString bad = folder.filePath(QStringLiteral("bad.csv"));
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("0,0\n10,0\n20,abc\n");
    file.close();
    f.fileDialogs.answers = {bad.toStdString()};
    f.window->FileImportCentreline->trigger();
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"bad.csv: line 3: 'abc' is not a number"});
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), kCircuit);
  }
};

MERIDAL_UI_TEST_MAIN(LoopFitTest)
#include "loop_fit_test.moc"
