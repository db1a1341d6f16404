// What a builder meets every day, driven as a user drives it: the tool windows'
// ×, the status bar after undo and after another document, a Save the disk
// refuses, the pointer's position after keyboard zoom, Go to Section, Export
// Image, the history's memory cap, and the value dialogs' help.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QCheckBox>
#include <QInputDialog>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QStyleOptionTitleBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QToolBar>

#include "document/document.h"
#include "files/cipher/filler.h"
#include "files/project/project_io.h"
#include "graphics/scale_draw.h"
#include "history/history.h"
#include "model/synthetic_track.h"
#include "model/track.h"
#include "present/format.h"
#include "present/position_text.h"
#include "shape/readout.h"
#include "ui/check_window.h"
#include "ui/edit_value_dialog.h"
#include "ui/export_image_dialog.h"
#include "ui/plan/plan_view.h"
#include "ui/history_window.h"
#include "ui/preferences_dialog.h"
#include "ui/profile_window.h"
#include "ui/qt_shell_dialogs.h"
#include "ui/split_dialog.h"
#include "ui/value_bases.h"
#include "ui/ui_fixture.h"
#include "ui/ui_test_main.h"

using meridal::MessageAnswer;
using meridal::testing::UiFrame;

namespace {

const QString kCircuit = QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd");

// A shown, active frame.
struct Frame : UiFrame {
  explicit Frame(bool realFiles = true, bool realDialogs = false) : UiFrame(realFiles, realDialogs) {
    window->show();
    window->activateWindow();
    QTest::qWaitForWindowActive(window.get());
  }
  void OpenCircuit() {
    QVERIFY(window->OpenAtStartUp(kCircuit));
    QCoreApplication::processEvents();
  }
  QString Status() { return window->StatusText->text(); }
  // The frame active again once a modal box is gone, as a window manager makes it.
  void Activate() {
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
  }
};

// The middle of a child window's × on its title bar, where the style puts it.
QPoint CloseButton(QMdiSubWindow& child) {
  QStyleOptionTitleBar option;
  option.initFrom(&child);
  option.subControls = QStyle::SC_All;
  option.titleBarFlags = child.windowFlags();
  option.titleBarState = child.windowState();
  const int border = 4, height = child.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &child);
  option.rect = QRect(border, border, child.width() - 2 * border, height - border);
  return child.style()->subControlRect(QStyle::CC_TitleBar, &option, QStyle::SC_TitleBarCloseButton, &child).center();
}

QStringList WindowMenuTitles(meridal::TFormMain& window) {
  emit window.WindowMenu->aboutToShow();
  QStringList titles;
  // The child windows, listed after Tile, Cascade, History and a line.
  for (const QAction* item : window.WindowMenu->actions().mid(4)) titles << item->text();
  return titles;
}

// The share of pixels that differ between two pictures of one size.
double Differing(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  if (x.size() != y.size()) return 1;
  qint64 differ = 0;
  for (int row = 0; row < x.height(); ++row)
    for (int column = 0; column < x.width(); ++column) differ += x.pixel(column, row) != y.pixel(column, row);
  return double(differ) / (double(x.width()) * x.height());
}

}  // namespace

class EverydayTest : public QObject {
  Q_OBJECT

 private slots:
  // × closes the history, the profile and the check; their items show and hide
  // them again, the check marks following. The tree and the plan only minimize.
  void theToolWindowsCloseWithTheirCrossAndTheMenusBringThemBack() {
    Frame f(false);
    f.window->FileNewClick();
    QAction* items[] = {f.window->WindowHistory, f.window->ViewElevationProfile, f.window->ViewTrackCheck};
    const QString titles[] = {QStringLiteral("History"), QStringLiteral("Elevation Profile"),
                              QStringLiteral("Track Check")};
    for (int i = 0; i < 3; ++i) {
      QVERIFY(items[i]->isCheckable() && !items[i]->isChecked());
      items[i]->trigger();
      QMdiSubWindow* child = f.window->MdiArea->activeSubWindow();
      QVERIFY(child && child->isVisible());
      QCOMPARE(child->windowTitle(), titles[i]);
      QVERIFY(items[i]->isChecked());
      QTest::mouseMove(child, CloseButton(*child));  // the button lights up under the pointer
      QTest::mouseClick(child, Qt::LeftButton, {}, CloseButton(*child));
      QVERIFY(child->isHidden());
      QVERIFY(!items[i]->isChecked());
      QVERIFY(!WindowMenuTitles(*f.window).join(QLatin1Char('|')).contains(titles[i]));
      items[i]->trigger();  // back as it was
      QVERIFY(child->isVisible() && items[i]->isChecked());
      QVERIFY(WindowMenuTitles(*f.window).join(QLatin1Char('|')).contains(titles[i]));
      items[i]->trigger();  // and away again from the menu
      QVERIFY(child->isHidden() && !items[i]->isChecked());
    }
    // The check's tool bar has room for all its fixes at the window's first size.
    f.window->ViewTrackCheck->trigger();
    QCoreApplication::processEvents();
    QWidget* matchAll = f.window->FormCheck->ToolBar->widgetForAction(
        f.window->FormCheck->Action(meridal::FixCommand::MatchAllWalls));
    QVERIFY(matchAll && matchAll->isVisible());

    QMdiSubWindow* plan = nullptr;
    for (QMdiSubWindow* child : f.window->MdiArea->subWindowList())
      if (child->widget() == f.window->PlanView) plan = child;
    QVERIFY(plan);
    plan->showNormal();
    QTest::mouseMove(plan, CloseButton(*plan));
    QTest::mouseClick(plan, Qt::LeftButton, {}, CloseButton(*plan));
    QVERIFY(plan->isMinimized() && f.window->PlanView);
  }

  // What the status bar says of an export or a save goes with the track it was
  // said of: an undo takes it away, and so does another document.
  void theStatusTextBelongsToItsDocumentAndItsState() {
    QTemporaryDir dir;
    Frame f;
    f.window->FileNewClick();
    f.Shell().Change([](meridal::history::TEditor& e) { return e.Add(*e.Track().Section(0), false); });
    const QString exported = dir.filePath(QStringLiteral("two.trk"));
    f.fileDialogs.answers = {exported.toStdString()};
    f.window->FileExportTrackFile->trigger();
    QCOMPARE(f.fileDialogs.asked.back().request.title, std::string("Export Track File"));
    QCOMPARE(f.Status(), QStringLiteral("Exported; the track has 1 gap (see View > Track Check)"));
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);  // one straight again
    QCOMPARE(f.Status(), QString());

    f.fileDialogs.answers = {dir.filePath(QStringLiteral("one.mrd")).toStdString()};
    f.window->FileSaveAs->trigger();
    QCOMPARE(f.Status(), QStringLiteral("Saved one.mrd"));
    f.window->OpenAtStartUp(kCircuit);
    QCOMPARE(f.Status(), QString());
    f.fileDialogs.answers = {dir.filePath(QStringLiteral("c.trk")).toStdString()};
    f.window->FileExportTrackFile->trigger();
    QVERIFY(f.Status().startsWith(QStringLiteral("Exported c.trk")));
    f.window->FileExitClick();  // the document goes with the window
    QCOMPARE(f.Status(), QString());
  }

  // A Save into a folder that is gone says which file and why, then offers
  // another name; the changes are kept until they are written somewhere.
  void aFailedSaveNamesTheFileAndTheReasonAndOffersSaveAs() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("gone"));
    QVERIFY(QDir().mkdir(folder));
    Frame f;
    f.window->FileNewClick();
    const auto addSection = [&] {
      f.Shell().Change([](meridal::history::TEditor& e) { return e.Add(*e.Track().Section(0), false); });
    };
    addSection();
    const std::string first = (folder + QStringLiteral("/a.mrd")).toStdString();
    f.fileDialogs.answers = {first};
    f.window->FileSaveClick();  // never saved: Save As
    QVERIFY(QFileInfo::exists(QString::fromStdString(first)));
    addSection();
    QVERIFY(QDir(folder).removeRecursively());

    f.messages.answers = {MessageAnswer::Ok, MessageAnswer::Yes};
    f.fileDialogs.answers = {dir.filePath(QStringLiteral("b.mrd")).toStdString()};
    QTest::keyClick(f.window.get(), Qt::Key_S, Qt::ControlModifier);
    const auto texts = f.messages.Texts();
    QCOMPARE(texts.size(), size_t{2});
    QCOMPARE(texts[0], "Unable to write\n" + first + ": No such file or directory");
    QCOMPARE(texts[1], std::string("Save a.mrd under another name ?"));
    QCOMPARE(f.Status(), QStringLiteral("Saved b.mrd"));
    QVERIFY(!f.Shell().Modified());
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("b.mrd"))));
  }

  // The pointer's world position follows a zoom made with the keys, and Zoom to Fit.
  void thePointerPositionFollowsKeyboardZoomAndZoomToFit() {
    Frame f;
    f.OpenCircuit();
    QWidget* viewport = f.window->PlanView->viewport();
    const QPoint at(viewport->width() / 3, viewport->height() / 2);
    QTest::mouseMove(viewport, at);
    const auto expected = [&] {
      QCoreApplication::processEvents();
      f.window->PlanView->ScaleDraw().OriginFromScroll();
      return QString::fromStdString(meridal::PointerPositionText(f.window->PlanView->ScaleDraw().ToWorldX(at.x()),
                                                                 f.window->PlanView->ScaleDraw().ToWorldY(at.y())));
    };
    const QString before = expected();
    QCOMPARE(f.window->StatusPanels[0]->text(), before);
    for (int key : {Qt::Key_Equal, Qt::Key_Equal, Qt::Key_0}) {
      const QString shown = f.window->StatusPanels[0]->text();
      QTest::keyClick(f.window.get(), Qt::Key(key), Qt::ControlModifier);
      QCOMPARE(f.window->StatusPanels[0]->text(), expected());
      QVERIFY(f.window->StatusPanels[0]->text() != shown);
    }
  }

  // Ctrl+G: a section number typed; that section is selected and in the middle
  // of the plan.
  void goToSectionSelectsTheSectionAndCentresThePlanOnIt() {
    Frame f(false);
    f.window->FileNewClick();
    // Nine straights in a line: zoomed in, any of the middle ones can be centred across.
    for (int s = 0; s < 8; ++s)
      f.Shell().Change([s](meridal::history::TEditor& e) { return e.Add(*e.Track().Section(s), false); });
    for (int i = 0; i < 3; ++i) QTest::keyClick(f.window.get(), Qt::Key_Equal, Qt::ControlModifier);
    const int n = 4;
    const auto goTo = [&](const QString& typed) {
      f.Activate();
      Frame::WhenOpen<QInputDialog>([typed](QInputDialog& dialog) {
        QLineEdit* field = dialog.findChild<QLineEdit*>();
        QVERIFY(field);
        field->selectAll();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
      });
      QTest::keyClick(f.window.get(), Qt::Key_G, Qt::ControlModifier);
    };
    // A distance with its unit goes to the section it lies in: 375 m is in the
    // eighth straight of 50 m; one past the track's end goes nowhere.
    goTo(QStringLiteral("0.375 km"));
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(7));
    goTo(QStringLiteral("451 m"));
    QCOMPARE(f.messages.Texts(), std::vector<std::string>{"Input not valid !\nThe track is only 450 m long"});
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(7));
    goTo(QString::number(n));
    QCOMPARE(f.Shell().Document()->Selection(), meridal::TObjectPath::Section(n));
    QCoreApplication::processEvents();
    meridal::TScaleDraw& view = f.window->PlanView->ScaleDraw();
    view.OriginFromScroll();
    const meridal::TRect& box = f.Shell().Track()->Section(n)->Extent;
    const double x = view.ToWindowX((double(box.left) + box.right) / 2);
    const double y = view.ToWindowY((double(box.top) + box.bottom) / 2);
    QVERIFY2(std::abs(x - view.ClientWidth() / 2) <= 1, qPrintable(QString::number(x)));
    QVERIFY(y >= 0 && y < view.ClientHeight());  // the line is lower than the window: only shown
  }

  // File > Export Image writes the plan as the window shows it: at the window's
  // size the PNG is its picture, pixel for pixel, and the SVG draws the same.
  void exportedImagesAreThePlansPicture() {
    QTemporaryDir dir;
    Frame f;
    f.OpenCircuit();
    QTest::keyClick(f.window.get(), Qt::Key_Equal, Qt::ControlModifier);
    f.window->ViewTraces->trigger();  // a view option the picture must keep
    const QImage shown = f.window->PlanView->Picture().copy();
    for (const char* name : {"plan.png", "plan.svg"}) {
      const QString path = dir.filePath(QString::fromLatin1(name));
      f.fileDialogs.answers = {path.toStdString()};
      Frame::WhenOpen<meridal::TFormExportImage>([&](meridal::TFormExportImage& dialog) {
        QVERIFY(dialog.RadioPlan->isChecked());
        QCOMPARE(dialog.Size(), shown.size());
        QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
      });
      f.window->FileExportImage->trigger();
      QCOMPARE(f.Status(), QStringLiteral("Exported ") + QString::fromLatin1(name));
    }
    QCOMPARE(QImage(dir.filePath(QStringLiteral("plan.png"))).convertToFormat(QImage::Format_RGB32),
             shown.convertToFormat(QImage::Format_RGB32));
    QSvgRenderer svg(dir.filePath(QStringLiteral("plan.svg")));
    QVERIFY(svg.isValid());
    QCOMPARE(svg.viewBox().size(), shown.size());
    // The hatches are the file's own patterns.
    QFile text(dir.filePath(QStringLiteral("plan.svg")));
    QVERIFY(text.open(QIODevice::ReadOnly));
    const QByteArray written = text.readAll();
    QVERIFY(written.contains("<pattern ") && written.contains("fill=\"url(#fillpattern"));
    QImage drawn(shown.size(), QImage::Format_RGB32);
    drawn.fill(Qt::black);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    QVERIFY2(Differing(drawn, shown) < 0.02, qPrintable(QString::number(Differing(drawn, shown))));

    // Twice the size: the same part of the plan, twice as fine.
    const QString large = dir.filePath(QStringLiteral("large.png"));
    f.fileDialogs.answers = {large.toStdString()};
    Frame::WhenOpen<meridal::TFormExportImage>([&](meridal::TFormExportImage& dialog) {
      dialog.EditWidth->setValue(shown.width() * 2);
      dialog.EditHeight->setValue(shown.height() * 2);
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    });
    f.window->FileExportImage->trigger();
    const QImage twice(large);
    QCOMPARE(twice.size(), shown.size() * 2);
    const QImage halved = twice.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(Differing(halved, shown) < 0.5);  // the same lines, not the same pixels
  }

  // The history is capped by memory as the settings say; the History window says
  // when its oldest steps were dropped.
  void theHistorysMemoryCapComesFromTheSettings() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.mrd"));
    {
      auto track = meridal::SyntheticTrack(800);
      meridal::TFiller filler(1);
      meridal::testing::ScriptedMessages quiet;
      QVERIFY(meridal::SaveProjectFile(path.toStdString(), *track, filler, quiet) == meridal::FileStatus::Ok);
    }
    QSettings(meridal::TFormMain::SettingsPath(), QSettings::IniFormat)
        .setValue(QLatin1String(meridal::TFormMain::kHistoryMegabytesKey), 1);
    Frame f;
    QSettings(meridal::TFormMain::SettingsPath(), QSettings::IniFormat)
        .remove(QLatin1String(meridal::TFormMain::kHistoryMegabytesKey));
    QVERIFY(f.window->OpenAtStartUp(path));
    f.window->WindowHistoryClick();
    const auto firstRow = [&] { return f.window->FormHistory->model()->index(0, 0).data().toString(); };
    QCOMPARE(firstRow(), QStringLiteral("<opened>"));
    // Each section's walls made another's, then copied to all: large steps.
    for (int s : {0, 1, 2}) {
      QVERIFY(f.Shell().Change([s](meridal::history::TEditor& e) {
        return e.SetValue(*e.Track().Section(s)->Wall(0), "Height", 1000 * (s + 1));
      }) == meridal::history::Outcome::Changed);
      QVERIFY(f.Shell().Change([s](meridal::history::TEditor& e) { return e.CopyWallsToAll(s); }) ==
              meridal::history::Outcome::Changed);
    }
    const meridal::history::THistory& history = f.Shell().Document()->History();
    QVERIFY(history.Dropped() > 0);
    QVERIFY(history.Count() + history.Dropped() == 6);
    QCOMPARE(firstRow(), QStringLiteral("older steps dropped"));
    QVERIFY(f.Shell().Modified());
  }

  // Split proposes half the section and tells the lengths it takes; Edit Value
  // offers the surfaces by name, and the edited row stays the list's current one.
  void theValueDialogsHelp() {
    Frame f(false, true);
    f.window->FileNewClick();
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    QString proposed;
    Frame::WhenOpen<meridal::TFormSplit>([&](meridal::TFormSplit& dialog) {
      proposed = dialog.EditValue->text();
      dialog.EditValue->selectAll();
      QTest::keyClicks(dialog.EditValue, QStringLiteral("0"));
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
      dialog.reject();
    });
    f.window->EditItems.Action(meridal::kEditSplit)->trigger();
    QCOMPARE(proposed, QStringLiteral("25 m"));
    QCOMPARE(f.messages.Texts().back(), "Input not valid ! Range Error!\nLength of first part: from 0.0508 mm to " +
                                            meridal::LengthMeaning(984251));

    // Back to the frame, as the user's click on it would.
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QVERIFY(f.ClickNode(f.Node(QStringLiteral("Wall 0"))));
    QVERIFY(f.PressRow(QStringLiteral("Surface")));
    Frame::WhenOpen<meridal::TFormEditValue>([](meridal::TFormEditValue& dialog) {
      QVERIFY(dialog.SurfaceNames->isVisible());
      dialog.SurfaceNames->setFocus();
      QTest::keyClicks(dialog.SurfaceNames, QStringLiteral("4"));  // "4  Grass"
      QCOMPARE(dialog.EditValue->text(), QStringLiteral("4"));
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    });
    QTreeWidgetItem* row = f.List()->findItems(QStringLiteral("Surface"), Qt::MatchExactly).front();
    QTest::mouseDClick(f.List()->viewport(), Qt::LeftButton, {}, UiFrame::OnText(*f.List(), row));
    QCOMPARE(f.Shell().Track()->Section(0)->Wall(0)->Surface, 4);
    QCOMPARE(f.List()->currentItem()->text(0), QStringLiteral("Surface"));
    QVERIFY(f.List()->currentItem()->isSelected());
  }
  // A new user's first value: the Length row, F2, 150, Enter is 150 m. A unit
  // wins over Decimal, the base picked is kept for the next length, and a German
  // user's comma is taken. Keep Joined (on) makes the next sections follow in the
  // same step, and the status bar says how far the loop's closure is open.
  void aTypedLengthIsInMetresAndTheTrackFollowsIt() {
    QFile::remove(meridal::TFormMain::SettingsPath());
    Frame f(false, true);
    f.window->FileNewClick();
    for (int s = 0; s < 2; ++s)
      f.Shell().Change([s](meridal::history::TEditor& e) { return e.Add(*e.Track().Section(s), false); });
    QVERIFY(f.window->ViewKeepJoined->isChecked());
    QVERIFY(f.ClickNode(QStringLiteral("Section 1 (straight)")));
    const auto type = [&](const QString& text, bool pickDecimal, meridal::ValueBase opensOn) {
      f.Activate();
      QVERIFY(f.PressRow(QStringLiteral("Length")));
      Frame::WhenOpen<meridal::TFormEditValue>([&](meridal::TFormEditValue& dialog) {
        QCOMPARE(dialog.RadioButtonMeters->isChecked(), opensOn == meridal::ValueBase::Meters);
        QCOMPARE(dialog.RadioButtonDecimal->isChecked(), opensOn == meridal::ValueBase::Decimal);
        if (pickDecimal) {
          QTest::mouseClick(dialog.RadioButtonDecimal, Qt::LeftButton, {},
                            QPoint(6, dialog.RadioButtonDecimal->height() / 2));
          QTest::keyClick(dialog.EditValue, Qt::Key_A, Qt::ControlModifier);
        }
        QTest::keyClicks(dialog.EditValue, text);
        QTest::keyClick(dialog.EditValue, Qt::Key_Return);
      });
      QTest::keyClick(f.List(), Qt::Key_F2);
    };
    const meridal::TTrack& track = *f.Shell().Track();
    const auto exported = [&] {
      meridal::testing::ScriptedMessages quiet;
      return *meridal::ExportTrackImage(track, quiet);
    };
    const auto before = exported();
    type(QStringLiteral("150"), false, meridal::ValueBase::Meters);
    QCOMPARE(track.Section(1)->Length, 2952756);
    QCOMPARE(track.Section(2)->LongitudinalGap(), 0);
    QCOMPARE(track.Section(2)->LateralGap(), 0);
    QCOMPARE(f.Status(), QString::fromStdString(meridal::shape::LoopText(track)));
    QVERIFY(f.Status().startsWith(QStringLiteral("Loop open by 250.00 m, 0.0")));
    f.Activate();
    QTest::keyClick(f.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(exported() == before);

    type(QStringLiteral("150 m"), true, meridal::ValueBase::Meters);
    QCOMPARE(track.Section(1)->Length, 2952756);
    type(QStringLiteral("15000 cm"), false, meridal::ValueBase::Decimal);  // Decimal was picked for lengths
    QCOMPARE(track.Section(1)->Length, 2952756);
    QCOMPARE(QSettings(meridal::TFormMain::SettingsPath(), QSettings::IniFormat)
                 .value(QStringLiteral("valueBases/length")).toString(),
             QStringLiteral("dec"));
    const QLocale was;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    type(QStringLiteral("12,5 m"), false, meridal::ValueBase::Decimal);
    QLocale::setDefault(was);
    QCOMPARE(track.Section(1)->Length, 246063);
    QVERIFY(f.messages.shown.empty());

    // Off, a typed length leaves the next section where it was.
    QTest::mouseClick(f.window->findChild<QToolBar*>(QStringLiteral("ShapingToolBar"))
                          ->widgetForAction(f.window->ViewKeepJoined),
                      Qt::LeftButton);
    QVERIFY(!f.window->ViewKeepJoined->isChecked());
    type(QStringLiteral("100 m"), false, meridal::ValueBase::Decimal);
    QCOMPARE(track.Section(1)->Length, 1968504);
    QVERIFY(track.Section(2)->LongitudinalGap() != 0);
  }

  // Edit > Preferences… keeps the value dialogs' stored units and the history's
  // cap in the settings; the open document takes the cap at once.
  void thePreferencesOpenValuesInStoredUnits() {
    QFile::remove(meridal::TFormMain::SettingsPath());
    Frame f(false, true);
    f.window->FileNewClick();
    Frame::WhenOpen<meridal::TFormPreferences>([](meridal::TFormPreferences& dialog) {
      QVERIFY(!dialog.StoredUnits->isChecked());
      QCOMPARE(dialog.HistoryMegabytes->value(), 256);
      QTest::mouseClick(dialog.StoredUnits, Qt::LeftButton, {}, QPoint(6, dialog.StoredUnits->height() / 2));
      dialog.HistoryMegabytes->setFocus();
      QTest::keyClick(dialog.HistoryMegabytes, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(dialog.HistoryMegabytes, QStringLiteral("64"));
      QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    });
    QTest::keyClick(f.window.get(), Qt::Key_Comma, Qt::ControlModifier);
    const QSettings settings(meridal::TFormMain::SettingsPath(), QSettings::IniFormat);
    QCOMPARE(settings.value(QLatin1String(meridal::TFormMain::kHistoryMegabytesKey)).toInt(), 64);
    QVERIFY(settings.value(QLatin1String(meridal::TValueBases::kStoredUnitsKey)).toBool());
    f.Activate();
    QVERIFY(f.ClickNode(QStringLiteral("Section 0 (straight)")));
    QVERIFY(f.PressRow(QStringLiteral("Orientation")));
    bool decimal = false;
    Frame::WhenOpen<meridal::TFormEditValue>([&](meridal::TFormEditValue& dialog) {
      decimal = dialog.RadioButtonDecimal->isChecked() && dialog.EditValue->text() == QStringLiteral("0");
      dialog.reject();
    });
    QTest::keyClick(f.List(), Qt::Key_F2);
    QVERIFY(decimal);
    QFile::remove(meridal::TFormMain::SettingsPath());
  }
};

MERIDAL_UI_TEST_MAIN(EverydayTest)
#include "everyday_test.moc"
