// The frame's small tools: Go to Section (Ctrl+G), File > Export Image, Edit >
// Close Loop…, Edit > Preferences… and the history's memory cap from the settings.
#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QSpinBox>
#include <algorithm>

#include "document/document.h"
#include "graphics/profile_view.h"
#include "graphics/scale_draw.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "shell/document_shell.h"
#include "shell/go_to_section.h"
#include "shell/shell_texts.h"
#include "ui/close_loop_dialog.h"
#include "ui/dialog_parts.h"
#include "ui/document_signals.h"
#include "ui/draw_area.h"
#include "ui/export_image_dialog.h"
#include "ui/plan/plan_view.h"
#include "ui/main_window.h"
#include "ui/picture_export.h"
#include "ui/preferences_dialog.h"
#include "ui/profile_plot.h"
#include "ui/profile_window.h"
#include "ui/value_bases.h"

namespace meridal {

namespace {

constexpr int kDefaultHistoryMegabytes = static_cast<int>(history::THistory::kDefaultByteLimit >> 20);
constexpr const char* kImageFilter = "PNG Images (*.png)|*.png|SVG Images (*.svg)|*.svg";

// Puts `item` into `menu` just after `after`.
void InsertAfter(QMenu& menu, QAction* after, QAction* item) {
  const QList<QAction*> items = menu.actions();
  const qsizetype at = items.indexOf(after);
  menu.insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, item);
}

}  // namespace

void TFormMain::BuildTools() {
  FileExportImage = new QAction(QStringLiteral("Export &Image..."), this);
  connect(FileExportImage, &QAction::triggered, this, &TFormMain::FileExportImageClick);
  InsertAfter(*FileMenu, FileExportTrackFile, FileExportImage);
  ViewGoToSection = new QAction(QStringLiteral("&Go to Section..."), this);
  ViewGoToSection->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  connect(ViewGoToSection, &QAction::triggered, this, &TFormMain::ViewGoToSectionClick);
  InsertAfter(*ViewMenu, ViewZoomOut, ViewGoToSection);
  EditMenuItems->addSeparator();
  EditCloseLoop = EditMenuItems->addAction(QStringLiteral("Close &Loop\u2026"));
  connect(EditCloseLoop, &QAction::triggered, this, &TFormMain::EditCloseLoopClick);
  EditMenuItems->addSeparator();
  EditPreferences = EditMenuItems->addAction(QStringLiteral("Pre&ferences\u2026"));
  EditPreferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
  connect(EditPreferences, &QAction::triggered, this, &TFormMain::EditPreferencesClick);

  // The cap is read once, at the start; every document opened takes it.
  const QSettings settings(SettingsPath(), QSettings::IniFormat);
  const int megabytes = settings.value(QLatin1String(kHistoryMegabytesKey), kDefaultHistoryMegabytes).toInt();
  historyBytes_ = static_cast<size_t>(std::max(megabytes, 1)) << 20;
  const auto documentOpen = [this](TDocument* document) {
    FileExportImage->setEnabled(document != nullptr);
    ViewGoToSection->setEnabled(document != nullptr);
    EditCloseLoop->setEnabled(document != nullptr);
    if (document) document->SetHistoryLimits(history::THistory::kDefaultLimit, historyBytes_);
  };
  connect(Signals, &TDocumentSignals::Replaced, this, documentOpen);
  documentOpen(nullptr);
}

// ---- Go to Section ----

void TFormMain::ViewGoToSectionClick() {
  TDocument* document = shell_->Document();
  if (!document) return;
  const int count = document->Track().NumberOfSections();
  const int current = std::max(document->Selection().section, 0);
  bool ok = false;
  const QString text = QInputDialog::getText(
      this, QStringLiteral("Go to Section"),
      QStringLiteral("Section number (0 to %1), or a distance along the track (350 m, 1.2 km):").arg(count - 1),
      QLineEdit::Normal, QString::number(current), &ok);
  if (!ok) return;
  const TGoTo to = SectionToGoTo(document->Track(), text.trimmed().toStdString(), LocaleDecimalSeparator());
  if (!to.section) {
    ShowRefusal(*services_.messages, WithReason("Input not valid !", to.refusal));
    return;
  }
  const int n = *to.section;
  document->Select(TObjectPath::Section(n));
  if (PlanView) PlanView->CentreOn(document->Track().Section(n)->Extent);
}

// ---- Close Loop ----

void TFormMain::EditCloseLoopClick() {
  const QString note = RunCloseLoop(*shell_, this);
  if (!note.isEmpty()) shell_->Report(note.toStdString());
}

// ---- Preferences ----

void TFormMain::EditPreferencesClick() {
  TFormPreferences dialog(this);
  TValueBases bases(SettingsPath());
  dialog.StoredUnits->setChecked(bases.StoredUnits());
  dialog.HistoryMegabytes->setValue(static_cast<int>(historyBytes_ >> 20));
  if (dialog.exec() != QDialog::Accepted) return;
  bases.SetStoredUnits(dialog.StoredUnits->isChecked());
  const int megabytes = dialog.HistoryMegabytes->value();
  QSettings(SettingsPath(), QSettings::IniFormat).setValue(QLatin1String(kHistoryMegabytesKey), megabytes);
  // The open document's history takes the new cap at once, as every one opened later.
  historyBytes_ = static_cast<size_t>(megabytes) << 20;
  if (TDocument* document = shell_->Document())
    document->SetHistoryLimits(history::THistory::kDefaultLimit, historyBytes_);
}

// ---- Export Image ----

void TFormMain::FileExportImageClick() {
  const TTrack* track = shell_->Track();
  if (!track) return;
  const bool profileShown = FormProfile && FormProfile->isVisible();
  const QSize planSize = PlanView ? PlanView->viewport()->size() : QSize(800, 600);
  const QSize profileSize = profileShown ? FormProfile->Plot->size() : QSize(1200, 600);
  TFormExportImage dialog(this);
  if (dialog.Run(ProfileActive(), planSize, profileSize) != QDialog::Accepted) return;
  const bool profile = dialog.Profile();
  const QSize size = dialog.Size();

  FileDialogRequest request;
  request.title = "Export Image";
  request.filter = kImageFilter;
  request.defaultExtension = "*.png";
  request.fileName = QFileInfo(QString::fromStdString(shell_->FileName())).completeBaseName().toStdString() + ".png";
  request.promptOverwrite = true;
  const auto path = services_.fileDialogs->Save(request);
  if (!path) return;

  const bool smooth = ViewSmoothDrawing->isChecked();
  const TObjectPath selection = shell_->Document()->Selection();
  const auto draw = [&](QPainter& painter) {
    if (profile) {
      DrawProfilePicture(painter, size, *track, selection, FormProfile ? FormProfile->Plot->View() : TProfileView(), smooth);
      return true;
    }
    if (!PlanView) return false;
    // What the window shows now, at the picture's size.
    return DrawPlanPicture(painter, size, *track, selection, PlanView->ScaleDraw(), shell_->ViewFlags, smooth);
  };
  QString error;
  if (WritePicture(QString::fromStdString(*path), size, draw, error))
    shell_->Report("Exported " + FileNameOf(*path));
  else
    ShowRefusal(*services_.messages, error.toStdString());
}

}  // namespace meridal
