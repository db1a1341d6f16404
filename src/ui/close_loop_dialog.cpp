#include "ui/close_loop_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "model/track.h"
#include "present/format.h"
#include "shell/document_shell.h"
#include "ui/dialog_parts.h"

namespace meridal {

namespace {

// "Section 3: length 50 m → 50.012345 m", as the command line's fix lists it.
std::string ChangeText(const TLoopValue& v) {
  const std::string name = QString::fromStdString(v.name).toLower().toStdString();
  const bool angle = v.name == "Curvature";
  return "Section " + std::to_string(v.section) + ": " + name + " " +
         (angle ? CurvatureMeaning(v.before) : LengthMeaning(v.before)) + " \u2192 " +
         (angle ? CurvatureMeaning(v.after) : LengthMeaning(v.after));
}

}  // namespace

QString LoopPreviewText(const TLoopPlan& plan) {
  if (!plan.closes) return QString::fromStdString(plan.refusal);
  if (plan.alreadyClosed) return QStringLiteral("The loop is closed already: nothing to change");
  const size_t count = plan.values.size();
  std::string text = std::to_string(count) + (count == 1 ? " value changes" : " values change");
  if (plan.largest >= 0 && static_cast<size_t>(plan.largest) < count)
    text += "; the largest change:\n" + ChangeText(plan.values[static_cast<size_t>(plan.largest)]);
  // Close Loop only ever closes with the heading met: a plan that leaves a turn is refused.
  text += "\nBefore: gap " + (plan.gapBefore >= 0.5 ? LengthMeaningOf(plan.gapBefore) : std::string("0")) +
          ", turn " + (plan.turnBefore ? AngleMeaning(plan.turnBefore) : std::string("0 \u00b0"));
  text += "\nAfter: gap " + (plan.residualAfter >= 0.01 ? LengthMeaningOf(plan.residualAfter) : std::string("0")) +
          ", turn 0 \u00b0";
  if (plan.residualAfter > 1.0) text += ", a residual above one stored unit";
  return QString::fromStdString(text);
}

TFormCloseLoop::TFormCloseLoop(const TTrack& track, QWidget* parent)
    : QDialog(parent),
      AllSections(new QRadioButton(QStringLiteral("&All sections"), this)),
      SomeSections(new QRadioButton(QStringLiteral("&Sections"), this)),
      First(new QSpinBox(this)),
      Last(new QSpinBox(this)),
      Preview(new QLabel(this)),
      track_(track) {
  setWindowTitle(QStringLiteral("Close Loop"));
  const int last = std::max(0, track.NumberOfSections() - 1);
  for (QSpinBox* box : {First, Last}) {
    box->setRange(0, last);
    box->setEnabled(false);
  }
  Last->setValue(last);
  AllSections->setChecked(true);
  auto* group = new QButtonGroup(this);
  group->addButton(AllSections);
  group->addButton(SomeSections);

  auto* range = new QHBoxLayout;
  range->addWidget(SomeSections);
  range->addWidget(First);
  range->addWidget(new QLabel(QStringLiteral("to"), this));
  range->addWidget(Last);
  range->addStretch(1);
  Preview->setTextFormat(Qt::PlainText);
  Preview->setWordWrap(true);
  Preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Preview->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 60);
  Preview->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  Preview->setMargin(6);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(AllSections);
  layout->addLayout(range);
  layout->addWidget(Preview, 1);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

  connect(SomeSections, &QRadioButton::toggled, this, [this](bool on) {
    First->setEnabled(on);
    Last->setEnabled(on);
    Replan();
  });
  for (QSpinBox* box : {First, Last}) connect(box, &QSpinBox::valueChanged, this, [this] { Replan(); });
  Replan();
}

TLoopRange TFormCloseLoop::Range() const {
  if (AllSections->isChecked()) return {};
  return {First->value(), Last->value()};
}

void TFormCloseLoop::Replan() {
  plan_ = PlanCloseLoop(track_, Range());
  Preview->setText(LoopPreviewText(plan_));
  ButtonOK->setEnabled(plan_.closes && !plan_.alreadyClosed);
}

QString RunCloseLoop(TDocumentShell& shell, QWidget* parent) {
  const TTrack* track = shell.Track();
  if (!track) return {};
  TFormCloseLoop dialog(*track, parent);
  if (dialog.exec() != QDialog::Accepted) return {};
  const TLoopPlan plan = dialog.Plan();
  if (!plan.closes || plan.alreadyClosed) return {};
  const history::Outcome outcome =
      shell.Change([&plan](history::TEditor& editor) { return ApplyCloseLoop(editor, plan); });
  if (outcome != history::Outcome::Changed) return QStringLiteral("Close Loop refused");
  return QString::fromStdString(LoopSummaryText(plan));
}

}  // namespace meridal
