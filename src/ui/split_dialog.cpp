#include "ui/split_dialog.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "edit/track_edits.h"
#include "model/base.h"
#include "shell/shell_texts.h"
#include "ui/dialog_parts.h"

namespace meridal {

TFormSplit::TFormSplit(IMessages& messages, QWidget* parent)
    : QDialog(parent), Entry(messages), messages_(messages) {
  setWindowTitle(QStringLiteral("Split Section"));
  EditName = new QLineEdit(this);
  EditName->setReadOnly(true);
  MakeGrey(*EditName);
  EditValue = new QLineEdit(this);

  auto* group = new QGroupBox(QStringLiteral("Base"), this);
  RadioButtonDec = new QRadioButton(QStringLiteral("&Decimal"), group);
  RadioButtonM = new QRadioButton(QStringLiteral("&Meters"), group);
  auto* bases = new QHBoxLayout(group);
  bases->addWidget(RadioButtonDec);
  bases->addWidget(RadioButtonM);
  RadioButtonDec->setChecked(true);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Original Length:"), EditName);
  fields->addRow(QStringLiteral("Length of first part:"), EditValue);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(group);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  resize(350, 122);

  connect(EditValue, &QLineEdit::textEdited, this, &TFormSplit::EditValueChange);
  EditValue->installEventFilter(this);
  connect(RadioButtonDec, &QRadioButton::clicked, this, &TFormSplit::RadioButtonDecClick);
  connect(RadioButtonM, &QRadioButton::clicked, this, &TFormSplit::RadioButtonMClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormSplit::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int32_t TFormSplit::SectionLength() const { return target_ ? target_->GetValue("Length") : 0; }

void TFormSplit::SetTarget(TBase* section) {
  SetTarget(section, [section](int32_t firstLength) { return section && edit::Split(*section, firstLength); });
}

bool TFormSplit::FormShow() {
  if (!target_) {
    ShowRefusal(messages_, "Data not found !");
    setResult(QDialog::Rejected);
    return false;
  }
  Entry.Reset(SectionLength());
  RadioButtonDec->setChecked(true);
  ShowIn(ValueBase::Decimal);
  return true;
}

int TFormSplit::Run() {
  if (!FormShow()) return QDialog::Rejected;
  return exec();
}

ValueBase TFormSplit::SelectedBase() const {
  return RadioButtonM->isChecked() ? ValueBase::Meters : ValueBase::Decimal;
}

void TFormSplit::ShowIn(ValueBase base) {
  EditName->setText(QString::fromStdString(DisplayValue(SectionLength(), base)));
  EditValue->setText(QString::fromStdString(Entry.Show(base)));
  EditValue->setFocus();
  Entry.PendingBase.reset();
}

void TFormSplit::EditValueChange() { Entry.TextChanged(SelectedBase()); }

bool TFormSplit::EditValueExit() { return ConvertPendingText(Entry, *EditValue, SelectedBase()); }

void TFormSplit::ButtonOKClick() {
  if (Entry.PendingBase && !EditValueExit()) return;  // as in Edit Value: nothing split
  if (!target_) return;
  // The dialog does not judge the length itself: the section refuses what it cannot split at.
  if (split_ && split_(FirstLength())) accept();
  else ShowRefusal(messages_, "Input not valid ! Range Error!");
}

bool TFormSplit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditValue && IsFieldExit(event)) EditValueExit();
  return QDialog::eventFilter(watched, event);
}

}  // namespace meridal
