#include "ui/value_dialog.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "model/base.h"
#include "shell/shell_texts.h"
#include "ui/dialog_parts.h"
#include "ui/value_bases.h"

namespace meridal {

TValueDialog::TValueDialog(IMessages& messages, const QString& title, bool basesInARow, QWidget* parent)
    : QDialog(parent), Entry(messages), messages_(messages), fields_(new QFormLayout) {
  setWindowTitle(title);
  EditName = new QLineEdit(this);
  EditName->setReadOnly(true);
  MakeGrey(*EditName);
  EditValue = new QLineEdit(this);

  auto* group = new QGroupBox(QStringLiteral("Base"), this);
  baseGroup_ = basesInARow ? static_cast<QBoxLayout*>(new QHBoxLayout(group)) : new QVBoxLayout(group);
  RadioButtonDecimal = AddBase(QStringLiteral("&Decimal"), ValueBase::Decimal);
  RadioButtonMeters = AddBase(QStringLiteral("&Meters"), ValueBase::Meters);
  RadioButtonDecimal->setChecked(true);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields_);
  layout->addWidget(group);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));

  connect(EditValue, &QLineEdit::textEdited, this, &TValueDialog::EditValueChange);
  EditValue->installEventFilter(this);
  connect(ButtonOK, &QPushButton::clicked, this, &TValueDialog::ButtonOKClick);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QRadioButton* TValueDialog::AddBase(const QString& caption, ValueBase base) {
  auto* button = new QRadioButton(caption, baseGroup_->parentWidget());
  baseGroup_->addWidget(button);
  baseButtons_.emplace_back(button, base);
  connect(button, &QRadioButton::clicked, this, [this, base] { BaseClicked(base); });
  return button;
}

void TValueDialog::SetWriter(const TBase* target, ValueWriter write) {
  target_ = target;
  write_ = std::move(write);
}

bool TValueDialog::FormShow() {
  if (!target_) {
    ShowRefusal(messages_, "Data not found !");
    setResult(QDialog::Rejected);
    return false;
  }
  Entry.Reset(InitialValue());
  // A German user types 12,5 as well as 12.5, and sees metres written so.
  Entry.Separator = LocaleDecimalSeparator();
  const ValueBase base = OpeningBase();
  for (const auto& [button, offered] : baseButtons_) button->setChecked(offered == base);
  ShowIn(base);
  // What is typed first replaces the value shown.
  EditValue->selectAll();
  return true;
}

ValueBase TValueDialog::OpeningBase() const {
  const ValueKind kind = ValueKindOf(Entry.ValueName);
  const auto offered = [this](ValueBase base) {
    return std::any_of(baseButtons_.begin(), baseButtons_.end(), [base](const auto& b) { return b.second == base; });
  };
  const ValueBase kept = bases_ ? bases_->OpeningBase(kind) : NaturalBase(kind);
  if (offered(kept)) return kept;
  return offered(NaturalBase(kind)) ? NaturalBase(kind) : ValueBase::Decimal;
}

void TValueDialog::BaseClicked(ValueBase base) {
  ShowIn(base);
  if (bases_) bases_->Remember(ValueKindOf(Entry.ValueName), base);
}

int TValueDialog::Run() {
  if (!FormShow()) return QDialog::Rejected;
  return exec();
}

ValueBase TValueDialog::SelectedBase() const {
  for (const auto& [button, base] : baseButtons_)
    if (button->isChecked()) return base;
  return ValueBase::Decimal;
}

void TValueDialog::ShowIn(ValueBase base) {
  EditValue->setText(QString::fromStdString(Entry.Show(base)));
  EditValue->setFocus();
  Entry.PendingBase.reset();
}

void TValueDialog::EditValueChange() { Entry.TextChanged(SelectedBase()); }

bool TValueDialog::EditValueExit() { return ConvertPendingText(Entry, *EditValue, SelectedBase()); }

void TValueDialog::ButtonOKClick() {
  // A text that is not valid is not confirmed by OK or Enter: the user sees it
  // restored and decides again, and nothing is written.
  if (Entry.PendingBase && !EditValueExit()) return;
  if (!target_) return;
  // The dialog does not judge the value itself: the object refuses what it cannot take.
  if (write_ && write_(Entry.CurrentValue)) accept();
  else ShowRefusal(messages_, WithReason("Input not valid ! Range Error!", rangeNote_ ? rangeNote_() : std::string()));
}

bool TValueDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == EditValue && IsFieldExit(event)) EditValueExit();
  return QDialog::eventFilter(watched, event);
}

}  // namespace meridal
