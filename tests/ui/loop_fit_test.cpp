// Close Loop and Import Centreline, driven as a user drives them: the check
// window's button and the dialog's keys, Ctrl+Z; the import's file dialog
// answered and its options typed, the fit's progress shown and cancelled, its
// source line over the plan until the first edit.
#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <numbers>

#include "check/track_check.h"
#include "document/document.h"
#include "files/project/project_io.h"
#include "model/track.h"
#include "ui/check_window.h"
#include "solve/centreline_fit.h"
#include "support/circuit_builders.h"
#include "ui/close_loop_dialog.h"
#include "ui/fit_options_dialog.h"
#include "ui/fit_progress_dialog.h"
#include "ui/plan/plan_view.h"
#include "ui/plan_menu.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::TFormCloseLoop;
using meridal::TFormFitOptions;
using meridal::TFitProgressDialog;
using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

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
  // File > Import Centreline… by its keys, the window active again after the
  // dialogs before (the offscreen platform has no window manager to do it).
  void ImportKeys() {
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
  }
  // The plan's pixels in the overlay's colour.
  int OverlayPixels() {
    QCoreApplication::processEvents();
    const QImage shown = window->PlanView->viewport()->grab().toImage();
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

// Answers the modal dialogs as they come up, in order: each step is tried on
// the dialog on top until it takes one (returns true). The timer goes with the
// script, so that nothing of it outlives the test.
class DialogScript {
 public:
  explicit DialogScript(std::vector<std::function<bool(QWidget&)>> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (next_ < steps_.size() && modal && modal->isVisible() && steps_[next_](*modal)) ++next_;
      if (next_ == steps_.size()) timer_.stop();
    });
    timer_.start(10);
  }
  bool Done() const { return next_ == steps_.size(); }

 private:
  std::vector<std::function<bool(QWidget&)>> steps_;
  size_t next_ = 0;
  QTimer timer_;
};

// A step on a dialog of the class `Dialog`, when `ready` says it is, with the
// dialog active (keys go to its focus). A step that fails closes the dialog,
// so that the test ends rather than waits on it.
template <class Dialog>
std::function<bool(QWidget&)> On(
    std::function<void(Dialog&)> act, std::function<bool(Dialog&)> ready = [](Dialog&) { return true; }) {
  return [act, ready](QWidget& widget) {
    auto* dialog = qobject_cast<Dialog*>(&widget);
    if (!dialog || !ready(*dialog)) return false;
    QApplication::setActiveWindow(dialog);
    if (!QTest::qWaitForWindowActive(dialog)) return false;
    act(*dialog);
    if (QTest::currentTestFailed() && dialog->isVisible()) dialog->reject();
    return true;
  };
}

// The options as they are: Enter.
std::function<bool(QWidget&)> AcceptOptions() {
  return On<TFormFitOptions>([](TFormFitOptions& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
}

// A file of `bytes` named `name` in `folder`; its path.
QString Written(const QTemporaryDir& folder, const QString& name, const QByteArray& bytes) {
  const QString path = folder.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return QString();
  return path;
}

// A lap of `count` points round the origin, the i-th `radius(i)` metres out,
// as a CSV of x and y in `folder`; its path. A round lap of 60 points fits in
// a few sections at once: the suite stays quick under the sanitizers too.
QString PolarCsv(const QTemporaryDir& folder, const QString& name, int count, std::function<double(int)> radius) {
  QByteArray csv;
  for (int i = 0; i < count; ++i) {
    const double a = 2 * std::numbers::pi * i / count, r = radius(i);
    csv += QStringLiteral("%1,%2\n").arg(r * std::cos(a), 0, 'f', 4).arg(r * std::sin(a), 0, 'f', 4).toUtf8();
  }
  return Written(folder, name, csv);
}
QString RingCsv(const QTemporaryDir& folder) {
  return PolarCsv(folder, QStringLiteral("ring.csv"), 60, [](int) { return 80.0; });
}

// Types `text` over a spin box's own.
void TypeOver(QAbstractSpinBox* box, const QString& text) {
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, text);
}

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

    // The next edit, an undo here, takes the note of the closing with it.
    QApplication::setActiveWindow(f.window.get());  // back from the dialog
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.Exported(), withGap);
    QVERIFY(!f.Check().Summary->text().contains(QStringLiteral("Loop closed")));
  }

  void importCentrelineOpensTheFitWithItsLineUntilTheFirstEdit() {
    Frame f;
    QTemporaryDir folder;
    const QString ring = RingCsv(folder);
    f.fileDialogs.answers = {ring.toStdString()};
    DialogScript script({AcceptOptions()});
    f.ImportKeys();
    QCoreApplication::processEvents();
    QVERIFY(script.Done());
    QVERIFY(!QApplication::activeModalWidget());  // the progress has gone with the fit
    QVERIFY(f.Shell().Track());
    QVERIFY(f.Shell().Untitled);
    QVERIFY(f.Shell().Modified());
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), QString(ring).replace(".csv", ".mrd"));
    QVERIFY(f.Shell().Track()->NumberOfSections() > 1);
    QCOMPARE(meridal::OpenJoints(meridal::CheckTrack(*f.Shell().Track())), 0);
    QVERIFY(f.window->StatusText->text().startsWith(QStringLiteral("Fitted ring.csv: ")));
    QAction* overlay = meridal::CentrelineOverlayItem(*f.window);
    QVERIFY(overlay->isEnabled() && overlay->isChecked());
    f.window->MdiArea->subWindowList().front()->resize(700, 500);
    QVERIFY(f.OverlayPixels() > 200);

    // An edit: the line goes; the View item brings it back.
    f.messages.answers = {MessageAnswer::Yes};
    const bool curved = f.Shell().Track()->Section(1)->IsCurved();
    QApplication::setActiveWindow(f.window.get());  // back from the dialogs
    QVERIFY(f.ClickNode(QStringLiteral("Section 1 (%1)").arg(curved ? "curved" : "straight")));
    QTest::keyClick(f.Tree(), Qt::Key_Delete);
    QVERIFY(!overlay->isChecked());
    // The summary was of the fit as it was; Keep Joined tells the loop instead.
    QVERIFY(f.window->StatusText->text().startsWith(QStringLiteral("Loop open by ")));
    QCOMPARE(f.OverlayPixels(), 0);
    overlay->trigger();
    QVERIFY(f.OverlayPixels() > 200);
  }

  void aBadCentrelineIsRefusedWithItsLine() {
    Frame f;
    QVERIFY(f.window->OpenAtStartUp(kCircuit));
    QTemporaryDir folder;
    const QString bad = Written(folder, QStringLiteral("bad.csv"), "0,0\n10,0\n20,abc\n");
    f.fileDialogs.answers = {bad.toStdString()};
    DialogScript script({AcceptOptions()});
    f.window->FileImportCentreline->trigger();
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"bad.csv: line 3: 'abc' is not a number"});
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), kCircuit);
  }

  void theImportsOptionsAreTypedAndRemembered() {
    Frame f;
    QTemporaryDir folder;
    const QString ring = RingCsv(folder);
    f.fileDialogs.answers = {ring.toStdString()};
    // The fit's own defaults first; a tolerance of 1 m, sections of 8 m and four
    // traces typed, each field reached with Tab; OK with the mouse.
    QString shown;
    DialogScript typed({On<TFormFitOptions>([&](TFormFitOptions& dialog) {
      shown = dialog.Tolerance->text() + " " + dialog.MinLength->text() + " " + dialog.Traces->text();
      QTest::keyClicks(dialog.Tolerance, QStringLiteral("1"));  // the field starts selected
      QTest::keyClick(dialog.Tolerance, Qt::Key_Tab);
      QVERIFY(dialog.MinLength->hasFocus());
      TypeOver(dialog.MinLength, QStringLiteral("8"));
      QTest::keyClick(dialog.MinLength, Qt::Key_Tab);
      TypeOver(dialog.Traces, QStringLiteral("4"));
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    })});
    f.window->FileImportCentreline->trigger();
    QVERIFY(typed.Done());
    QCOMPARE(shown, QStringLiteral("0.50 m 5.00 m 3"));
    // The track is the fit with those options, to the byte.
    const meridal::TCentrelineRead read = meridal::ReadCentrelineFile(ring.toStdString(), 12);
    meridal::TFitOptions options;
    options.tolerance = 1.0;
    options.minLength = 8.0;
    options.traces = 4;
    const meridal::TFitResult fit = meridal::FitCentreline(read.line, options);
    QVERIFY(fit.ok);
    QVERIFY(f.Shell().Track());
    QCOMPARE(f.Shell().Track()->Traces.size(), size_t(4));
    meridal::testing::ScriptedMessages quiet;
    const auto image = meridal::ExportTrackImage(*fit.track, quiet);
    QCOMPARE(f.Exported(), QByteArray(reinterpret_cast<const char*>(image->data()), static_cast<int>(image->size())));
    QSettings settings(meridal::TFormMain::SettingsPath(), QSettings::IniFormat);
    QCOMPARE(settings.value(QStringLiteral("importCentreline/tolerance")).toDouble(), 1.0);
    QCOMPARE(settings.value(QStringLiteral("importCentreline/minLength")).toDouble(), 8.0);
    QCOMPARE(settings.value(QStringLiteral("importCentreline/traces")).toInt(), 4);

    // The next import shows them; Escape there imports nothing.
    const QByteArray first = f.Exported();
    f.fileDialogs.answers = {ring.toStdString()};
    f.messages.answers = {MessageAnswer::No};  // the first fit is not saved
    DialogScript escaped({On<TFormFitOptions>([&](TFormFitOptions& dialog) {
      shown = dialog.Tolerance->text() + " " + dialog.MinLength->text() + " " + dialog.Traces->text();
      QTest::keyClick(&dialog, Qt::Key_Escape);
    })});
    f.ImportKeys();
    QVERIFY(escaped.Done());
    QCOMPARE(shown, QStringLiteral("1.00 m 8.00 m 4"));
    QCOMPARE(f.Exported(), first);
    QCOMPARE(f.messages.Texts().size(), size_t(1));  // the question to save, nothing more
  }

  void aFitRunsBesideTheWindowAndCancelStopsIt() {
    Frame f;
    QVERIFY(f.window->OpenAtStartUp(kCircuit));
    const QByteArray before = f.Exported();
    // An oval with a point every 5 m: a fit of a second or so, stopped early.
    QTemporaryDir folder;
    using namespace meridal::testing;
    const QString path = Written(folder, QStringLiteral("oval.csv"),
                                 QByteArray::fromStdString(CircuitCsv(Sampled(OvalCircuit(), {5, 0, false}))));
    f.fileDialogs.answers = {path.toStdString()};
    // The bar moves while the fit runs (the window's own events go on), then
    // Cancel is clicked.
    int seen = 0;
    DialogScript script({AcceptOptions(), On<TFitProgressDialog>(
                                              [&](TFitProgressDialog& dialog) {
                                                seen = dialog.Bar->value();
                                                QTest::mouseClick(dialog.ButtonCancel, Qt::LeftButton);
                                                QVERIFY(!dialog.ButtonCancel->isEnabled());
                                              },
                                              [](TFitProgressDialog& dialog) { return dialog.Bar->value() > 0; })});
    f.window->FileImportCentreline->trigger();
    QVERIFY(script.Done());
    QVERIFY(seen > 0 && seen < 1000);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), kCircuit);  // nothing opened
    QCOMPARE(f.Exported(), before);
    QCOMPARE(f.window->StatusText->text(), QStringLiteral("Import Centreline cancelled"));
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{});
  }

  void aTrackOutsideTheToleranceOpensOnlyWhenAskedFor() {
    Frame f;
    QVERIFY(f.window->OpenAtStartUp(kCircuit));
    // A star of 8 points: no circuit's line.
    QTemporaryDir folder;
    const QString path = PolarCsv(folder, QStringLiteral("star.csv"), 8, [](int i) { return i % 2 ? 200.0 : 300.0; });
    // The question names the worst place and the tolerance after any warnings,
    // the same both times.
    const QRegularExpression question(QStringLiteral(
        "^(star\\.csv: [^\\n]+\n)*star\\.csv: the track is ([0-9.]+) m from the line at [0-9.]+ m along the lap \\(x [-0-9.]+, y [-0-9.]+\\), "
        "more than the tolerance of [0-9.]+ m: [^\\n]+\n\nOpen the nearest track found all the same\\?$"));
    std::vector<std::string> asked;
    for (MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
      f.fileDialogs.answers = {path.toStdString()};
      f.messages.shown.clear();
      f.messages.answers = {answer};
      DialogScript script({AcceptOptions()});
      f.ImportKeys();
      QVERIFY(script.Done());
      QCOMPARE(f.messages.shown.size(), size_t(1));
      asked.push_back(f.messages.shown[0].text);
      QVERIFY2(question.match(QString::fromStdString(asked.back())).hasMatch(), asked.back().c_str());
      QCOMPARE(f.messages.shown[0].buttons, meridal::MessageButtons::YesNo);
      if (answer == MessageAnswer::No) QCOMPARE(QString::fromStdString(f.Shell().FileName()), kCircuit);
    }
    QCOMPARE(asked[1], asked[0]);
    // Yes opened the star, the very track the question measured, with its line
    // over the plan.
    QCOMPARE(QString::fromStdString(f.Shell().FileName()), QString(path).replace(".csv", ".mrd"));
    const QString largest = question.match(QString::fromStdString(asked[1])).captured(2);
    QVERIFY(f.window->StatusText->text().startsWith(QStringLiteral("Fitted star.csv: %1 sections, deviation largest %2 m")
                                                         .arg(f.Shell().Track()->NumberOfSections())
                                                         .arg(largest)));
    QVERIFY(meridal::CentrelineOverlayItem(*f.window)->isChecked());
  }
};

MERIDAL_UI_TEST_MAIN(LoopFitTest)
#include "loop_fit_test.moc"
