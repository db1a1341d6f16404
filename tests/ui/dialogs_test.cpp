// The value dialogs: bases, focus-loss conversion, pending text, error boxes and
// results; and the dialogs run modally through the program's dialog seam.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "edit/track_edits.h"
#include "model/section.h"
#include "model/track.h"
#include "shell/shell_doubles.h"
#include "ui/about_dialog.h"
#include "ui/copy_walls_dialog.h"
#include "ui/edit_value_dialog.h"
#include "ui/example_tracks.h"
#include "ui/qt_shell_dialogs.h"
#include "ui/split_dialog.h"
#include "ui/value_bases.h"
#include "ui/ui_test_main.h"

using meridal::TFormEditValue;
using meridal::TTrack;
using meridal::testing::ScriptedMessages;

namespace {

std::unique_ptr<TTrack> DefaultTrack() {
  auto track = std::make_unique<TTrack>();
  track->SetDefaults();
  return track;
}

// Shows a dialog as the user would see it, so that focus moves between its controls.
void ShowActive(QDialog& dialog) {
  dialog.show();
  dialog.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void editValueShowsTheValueInEveryBase() {
    ScriptedMessages messages;
    auto track = DefaultTrack();
    meridal::TSection& section = *track->Section(0);
    QVERIFY(section.SetValue("Orientation", 1073741824));
    TFormEditValue dialog(messages);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Value"));
    dialog.SetTarget(&section, QStringLiteral("Orientation"));
    QVERIFY(dialog.FormShow());
    QVERIFY(dialog.EditName->isReadOnly());
    QCOMPARE(dialog.EditName->text(), QStringLiteral("Orientation"));
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("90"));  // a heading opens in degrees
    QVERIFY(dialog.RadioButtonOrientation->isChecked());
    dialog.RadioButtonDecimal->click();
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("1073741824"));
    dialog.RadioButtonCurvature->click();
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("180"));
    dialog.RadioButtonMeters->click();
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("54546.08466 m"));
    QVERIFY(!dialog.Entry.PendingBase);
    QCOMPARE(dialog.RadioButtonOrientation->text(), QStringLiteral("&Orientation (-180...180 degs.)"));
    QCOMPARE(dialog.RadioButtonCurvature->text(), QStringLiteral("&Curvature (-360...360 degs.)"));
  }

  void aTextIsReadInTheBaseChosenWhileTyping() {
    ScriptedMessages messages;
    auto track = DefaultTrack();
    meridal::TWall& wall = *track->Section(0)->Wall(1);
    TFormEditValue dialog(messages);
    dialog.SetTarget(&wall, QStringLiteral("Height"));
    QVERIFY(dialog.FormShow());
    ShowActive(dialog);
    dialog.RadioButtonMeters->click();
    dialog.EditValue->setFocus();
    dialog.EditValue->clear();
    QTest::keyClicks(dialog.EditValue, QStringLiteral("2"));
    QVERIFY(dialog.Entry.PendingBase == meridal::ValueBase::Meters);
    // Clicking Decimal takes the focus first: "2" is read as metres, then shown in Decimal.
    QTest::mouseClick(dialog.RadioButtonDecimal, Qt::LeftButton, Qt::NoModifier,
                      QPoint(6, dialog.RadioButtonDecimal->height() / 2));  // on its round button
    QVERIFY(dialog.RadioButtonDecimal->isChecked());
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("39370"));
    QCOMPARE(dialog.Entry.CurrentValue, 39370);
    QVERIFY(messages.shown.empty());
    QTest::mouseClick(dialog.ButtonOK, Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(wall.Height, 39370);
  }

  void anInvalidTextIsRestoredAndOKWritesNothing() {
    ScriptedMessages messages;
    auto track = DefaultTrack();
    meridal::TWall& wall = *track->Section(0)->Wall(0);
    wall.Height = 77;
    TFormEditValue dialog(messages);
    dialog.SetTarget(&wall, QStringLiteral("Height"));
    QVERIFY(dialog.FormShow());
    dialog.RadioButtonOrientation->click();
    QTest::keyClicks(dialog.EditValue, QStringLiteral("x"));
    dialog.RadioButtonDecimal->setChecked(true);  // the base changed without a conversion
    dialog.ButtonOKClick();
    QCOMPARE(messages.Texts(), std::vector<std::string>{"Input not valid !\nHeight takes a length in m, cm, mm or km "
                                                        "(at most 109092.17 m either way)"});
    // Restored in the base it was typed in (Orientation); OK confirms nothing.
    QCOMPARE(dialog.EditValue->text(), QString::fromStdString(meridal::DisplayValue(77, meridal::ValueBase::Orientation)));
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(wall.Height, 77);
  }

  void aRefusedValueKeepsTheDialogOpen() {
    ScriptedMessages messages;
    auto track = DefaultTrack();
    meridal::TWall& wall = *track->Section(0)->Wall(0);
    TFormEditValue dialog(messages);
    dialog.SetTarget(&wall, QStringLiteral("From"));
    QVERIFY(dialog.FormShow());
    ShowActive(dialog);
    QTest::keyClicks(dialog.EditValue, QStringLiteral("10 m"));  // beyond wall 1; what is shown is replaced
    QTest::keyClick(dialog.EditValue, Qt::Key_Return);            // OK is the default button
    QCOMPARE(messages.Texts(), std::vector<std::string>{"Input not valid ! Range Error!"});
    QVERIFY(dialog.isVisible());
    QCOMPARE(wall.From, -98425);
    QCOMPARE(dialog.Entry.CurrentValue, 196850);
  }

  // Each kind of value opens in its own base; the base the user picks is kept
  // for that kind, in the settings file, and Split takes the lengths' too. In
  // stored units every dialog opens on Decimal.
  void eachKindOpensInItsBaseAndKeepsThePick() {
    ScriptedMessages messages;
    QTemporaryDir dir;
    meridal::TValueBases bases(dir.filePath(QStringLiteral("meridal.conf")));
    auto track = DefaultTrack();
    QVERIFY(meridal::edit::ChangeChildType(*track, 0));
    meridal::TSection& arc = *track->Section(0);
    TFormEditValue dialog(messages);
    dialog.SetBases(&bases);
    const auto opens = [&](meridal::TBase& object, const char* name) {
      dialog.SetTarget(&object, QString::fromLatin1(name));
      if (!dialog.FormShow()) return QString();
      const QString text = dialog.EditValue->text();
      return text + (dialog.RadioButtonDecimal->isChecked()       ? QStringLiteral(" | dec")
                     : dialog.RadioButtonMeters->isChecked()      ? QStringLiteral(" | m")
                     : dialog.RadioButtonOrientation->isChecked() ? QStringLiteral(" | deg")
                                                                  : QStringLiteral(" | curv"));
    };
    QCOMPARE(opens(arc, "Length"), QStringLiteral("50 m | m"));
    QCOMPARE(opens(arc, "Curvature"), QStringLiteral("20 | curv"));
    QCOMPARE(opens(arc, "Orientation"), QStringLiteral("0 | deg"));
    QCOMPARE(opens(*track, "Trace 0"), QStringLiteral("-5 m | m"));
    QCOMPARE(opens(*arc.Wall(0), "Surface"), QStringLiteral("1 | dec"));
    QCOMPARE(opens(*arc.Wall(0), "Unk1"), QStringLiteral("0 | dec"));

    // Decimal picked for a radius opens every length on Decimal from then on.
    QVERIFY(!opens(arc, "Radius").isEmpty());
    ShowActive(dialog);
    QTest::mouseClick(dialog.RadioButtonDecimal, Qt::LeftButton, {}, QPoint(6, dialog.RadioButtonDecimal->height() / 2));
    dialog.reject();
    QCOMPARE(opens(*arc.Wall(1), "Height"), QStringLiteral("0 | dec"));
    QCOMPARE(opens(arc, "Orientation"), QStringLiteral("0 | deg"));
    meridal::TFormSplit split(messages);
    split.SetBases(&bases);
    split.SetTarget(&arc);
    QVERIFY(split.FormShow());
    QVERIFY(split.RadioButtonDecimal->isChecked());
    QCOMPARE(split.EditValue->text(), QStringLiteral("492126"));

    bases.SetStoredUnits(true);
    QCOMPARE(opens(arc, "Curvature"), QStringLiteral("119304647 | dec"));
    QVERIFY(messages.shown.empty());
  }

  void withoutATargetNothingIsEdited() {
    ScriptedMessages messages;
    TFormEditValue dialog(messages);
    dialog.SetTarget(nullptr, QStringLiteral("Length"));
    QCOMPARE(dialog.Run(), int(QDialog::Rejected));
    QCOMPARE(messages.Texts(), std::vector<std::string>{"Data not found !"});
    QVERIFY(!dialog.isVisible());
    meridal::TFormSplit split(messages);
    QCOMPARE(split.Run(), int(QDialog::Rejected));
    QCOMPARE(messages.shown.size(), size_t{2});
  }

  void splitShowsBothLengthsAndAsksTheSection() {
    ScriptedMessages messages;
    // A section 1000 units long whose split answers as scripted.
    struct LengthOnly : meridal::TBase {
      int32_t GetValue(const std::string& name) const override { return name == "Length" ? 1000 : 0; }
    } section;
    struct {
      int32_t splitLength = 0;
      bool result = false;
    } scripted;
    meridal::TFormSplit dialog(messages);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Split Section"));
    dialog.SetTarget(&section, [&scripted](int32_t length) {
      scripted.splitLength = length;
      return scripted.result;
    });
    QVERIFY(dialog.FormShow());
    QCOMPARE(dialog.EditName->text(), QStringLiteral("0.0508 m"));
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("0.0254 m"));  // half proposed, in metres
    dialog.RadioButtonDecimal->click();
    QCOMPARE(dialog.EditName->text(), QStringLiteral("1000"));
    QCOMPARE(dialog.EditValue->text(), QStringLiteral("500"));
    dialog.RadioButtonMeters->click();
    QCOMPARE(dialog.EditName->text(), QStringLiteral("0.0508 m"));
    dialog.EditValue->setText(QStringLiteral("0.0254"));
    dialog.EditValueChange();  // typed while Meters is chosen
    dialog.ButtonOKClick();  // refused by the section
    QCOMPARE(scripted.splitLength, 500);
    QCOMPARE(messages.Texts(), std::vector<std::string>{"Input not valid ! Range Error!"});
    QVERIFY(dialog.result() != QDialog::Accepted);
    scripted.result = true;
    dialog.ButtonOKClick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(scripted.splitLength, 500);
  }

  void copyWallsTakesOnlyAnExistingSectionNumber() {
    ScriptedMessages messages;
    meridal::TFormCopyWalls dialog(messages);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy Walls"));
    dialog.Preset(4, 5);
    QCOMPARE(dialog.EditNumber->text(), QStringLiteral("4"));
    for (const char* text : {"-1", "5", "007"}) {
      dialog.EditNumber->setText(QString::fromLatin1(text));
      dialog.ButtonOKClick();
    }
    QCOMPARE(messages.Texts(), (std::vector<std::string>{"Input not valid ! Range Error !",
                                                        "Input not valid ! Range Error !", "Input not valid !"}));
    QVERIFY(dialog.result() != QDialog::Accepted);
    dialog.EditNumber->setText(QStringLiteral("3"));
    dialog.ButtonOKClick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.SectionNumber, 3);
  }

  void theDialogsRunModallyThroughTheSeam() {
    ScriptedMessages messages;
    QWidget parent;
    meridal::QtShellDialogs dialogs(messages, &parent);
    auto track = DefaultTrack();
    meridal::TWall& wall = *track->Section(0)->Wall(0);

    QTimer::singleShot(0, [&] {
      dialogs.FormEditValue->EditValue->setText(QStringLiteral("12"));
      dialogs.FormEditValue->EditValueChange();
      dialogs.FormEditValue->ButtonOK->click();
    });
    std::vector<int32_t> written;
    const meridal::ValueWriter write = [&](int32_t value) {
      written.push_back(value);
      return wall.SetValue("Unk4", value) != 0;
    };
    QVERIFY(dialogs.EditValue(&wall, "Unk4", write));
    QCOMPARE(wall.Unk4, 12);
    QCOMPARE(written, std::vector<int32_t>{12});  // the value goes through the writer

    QTimer::singleShot(0, [&] { dialogs.FormEditValue->ButtonCancel->click(); });
    QVERIFY(!dialogs.EditValue(&wall, "Unk4", write));

    QTimer::singleShot(0, [&] {
      dialogs.FormCopyWalls->EditNumber->setText(QStringLiteral("1"));
      dialogs.FormCopyWalls->ButtonOK->click();
    });
    QCOMPARE(dialogs.CopyWallsFrom(0, 2), std::optional<int>(1));
    QTimer::singleShot(0, [&] { dialogs.FormCopyWalls->reject(); });
    QCOMPARE(dialogs.CopyWallsFrom(0, 2), std::nullopt);

    QTimer::singleShot(0, [&] { dialogs.FormAbout->ButtonOK->click(); });
    dialogs.About();
    QVERIFY(messages.shown.empty());
  }

  void theAboutBox() {
    meridal::TFormAbout about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Meridal"));
    // The project's version and release date, as the build has them.
    QCOMPARE(about.ProductName->text(), QStringLiteral("Meridal " MERIDAL_TEST_VERSION));
    // The date in words ("9 December 2026"), English month names as every text here.
    QCOMPARE(QDate::fromString(about.ReleaseDate->text(), QStringLiteral("d MMMM yyyy")),
             QDate::fromString(QStringLiteral(MERIDAL_TEST_RELEASE_DATE), Qt::ISODate));
    QVERIFY(!about.ProgramIcon->pixmap().isNull());
    QCOMPARE(about.ButtonOK->text(), QStringLiteral("OK"));
  }

  // Installed under any prefix, the program finds the example circuit from its own
  // folder; nowhere installed, it finds none.
  void theExampleCircuitIsFoundBesideTheProgram() {
    QTemporaryDir prefix;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    qputenv("XDG_DATA_HOME", (prefix.path() + QStringLiteral("/nowhere")).toUtf8());
    qputenv("XDG_DATA_DIRS", (prefix.path() + QStringLiteral("/nowhere")).toUtf8());
    const QString bin = prefix.path() + QStringLiteral("/bin");
    QCOMPARE(meridal::ExampleCircuitPath(bin), QString());
    const QString examples = prefix.path() + QStringLiteral("/share/meridal/examples");
    QVERIFY(QDir().mkpath(examples));
    QVERIFY(QFile::copy(QStringLiteral(MERIDAL_EXAMPLES_DIR "/circuit.mrd"), examples + QStringLiteral("/circuit.mrd")));
    QCOMPARE(meridal::ExampleCircuitPath(bin), examples + QStringLiteral("/circuit.mrd"));
  }
};

MERIDAL_UI_TEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
