#include "ui/edit_value_dialog.h"

#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/base.h"
#include "shell/shell_texts.h"
#include "ui/dialog_parts.h"

namespace meridal {

TFormEditValue::TFormEditValue(IMessages& messages, QWidget* parent)
    : QDialog(parent), Entry(messages), messages_(messages) {
  setWindowTitle(QStringLiteral("Edit Value"));
  EditName = new QLineEdit(this);
  EditName->setReadOnly(true);
  MakeGrey(*EditName);
  EditValue = new QLineEdit(this);

  auto* group = new QGroupBox(QStringLiteral("Base"), this);
  RadioButtonDec = new QRadioButton(QStringLiteral("&Decimal"), group);
  RadioButtonM = new QRadioButton(QStringLiteral("&Meters"), group);
  RadioButtonO = new QRadioButton(QStringLiteral("&Orientation (-180...180 degs.)"), group);
  RadioButtonC = new QRadioButton(QStringLiteral("&Curvature (-360...360 degs.)"), group);
  auto* bases = new QVBoxLayout(group);
  for (QRadioButton* b : {RadioButtonDec, RadioButtonM, RadioButtonO, RadioButtonC}) bases->addWidget(b);
  RadioButtonDec->setChecked(true);

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Name:"), EditName);
  fields->addRow(QStringLiteral("Value:"), EditValue);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(group);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  resize(346, 198);

  connect(EditValue, &QLineEdit::textEdited, this, &TFormEditValue::EditValueChange);
  EditValue->installEventFilter(this);
  connect(RadioButtonDec, &QRadioButton::clicked, this, &TFormEditValue::RadioButtonDecClick);
  connect(RadioButtonM, &QRadioButton::clicked, this, &TFormEditValue::RadioButtonMClick);
  connect(RadioButtonO, &QRadioButton::clicked, this, &TFormEditValue::RadioButtonOClick);
  connect(RadioButtonC, &QRadioButton::clicked, this, &TFormEditValue::RadioButtonCClick);
  connect(ButtonOK, &QPushButton::clicked, this, &TFormEditValue::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormEditValue::SetTarget(const TBase* object, const QString& name, ValueWriter write) {
  target_ = object;
  write_ = std::move(write);
  EditName->setText(name);
}

void TFormEditValue::SetTarget(TBase* object, const QString& name) {
  const std::string key = name.toStdString();
  SetTarget(object, name, [object, key](int32_t value) { return object && object->SetValue(key, value); });
}

bool TFormEditValue::FormShow() {
  if (!target_) {
    ShowRefusal(messages_, "Data not found !");
    setResult(QDialog::Rejected);
    return false;
  }
  Entry.Reset(target_->GetValue(EditName->text().toStdString()));
  RadioButtonDec->setChecked(true);
  ShowIn(ValueBase::Decimal);
  return true;
}

int TFormEditValue::Run() {
  if (!FormShow()) return QDialog::Rejected;
  return exec();
}

ValueBase TFormEditValue::SelectedBase() const {
  if (RadioButtonM->isChecked()) return ValueBase::Meters;
  if (RadioButtonO->isChecked()) return ValueBase::Orientation;
  if (RadioButtonC->isChecked()) return ValueBase::Curvature;
  return ValueBase::Decimal;
}

void TFormEditValue::ShowIn(ValueBase base) {
  EditValue->setText(QString::fromStdString(Entry.Show(base)));
  EditValue->setFocus();
  Entry.PendingBase.reset();
}

void TFormEditValue::EditValueChange() { Entry.TextChanged(SelectedBase()); }

bool TFormEditValue::EditValueExit() { return ConvertPendingText(Entry, *EditValue, SelectedBase()); }

void TFormEditValue::ButtonOKClick() {
  // A text that is not valid is not confirmed by OK or Enter: the user sees it
  // restored and decides again, and nothing is written.
  if (Entry.PendingBase && !EditValueExit()) return;
  if (!target_) return;
  const bool taken = write_ && write_(Entry.CurrentValue);
  if (taken) accept();
  else ShowRefusal(messages_, "Input not valid ! Range Error!");
}

bool TFormEditValue::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditValue && IsFieldExit(event)) EditValueExit();
  return QDialog::eventFilter(watched, event);
}

}  // namespace meridal
