#include "ui/edit_value_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "model/base.h"
#include "model/wall.h"

namespace meridal {

namespace {

constexpr int kHighestNamedSurface = 64;  // the named codes lie well below

bool IsSurface(const QString& name) { return name == QStringLiteral("Surface"); }

}  // namespace

TFormEditValue::TFormEditValue(IMessages& messages, QWidget* parent)
    : TValueDialog(messages, QStringLiteral("Edit Value"), false, parent), SurfaceNames(new QComboBox(this)) {
  RadioButtonOrientation = AddBase(QStringLiteral("&Orientation (-180...180 degs.)"), ValueBase::Orientation);
  RadioButtonCurvature = AddBase(QStringLiteral("&Curvature (-360...360 degs.)"), ValueBase::Curvature);
  Fields()->addRow(QStringLiteral("Name:"), EditName);
  Fields()->addRow(QStringLiteral("Value:"), EditValue);
  for (int32_t code = 0; code <= kHighestNamedSurface; ++code)
    if (const char* name = SurfaceName(code)) SurfaceNames->addItem(QStringLiteral("%1  %2").arg(code).arg(name), code);
  Fields()->addRow(QStringLiteral("Surface:"), SurfaceNames);
  Fields()->setRowVisible(SurfaceNames, false);
  connect(SurfaceNames, &QComboBox::activated, this, &TFormEditValue::SurfaceChosen);
  connect(EditValue, &QLineEdit::textChanged, this, &TFormEditValue::FollowCode);
  resize(346, 198);
}

void TFormEditValue::SetTarget(const TBase* object, const QString& name, ValueWriter write) {
  SetWriter(object, std::move(write));
  EditName->setText(name);
  Entry.ValueName = name.toStdString();
  Fields()->setRowVisible(SurfaceNames, IsSurface(name));
}

void TFormEditValue::SetTarget(TBase* object, const QString& name) {
  const std::string key = name.toStdString();
  SetTarget(object, name, [object, key](int32_t value) { return object && object->SetValue(key, value); });
}

int32_t TFormEditValue::InitialValue() const { return Target()->GetValue(EditName->text().toStdString()); }

void TFormEditValue::ShowIn(ValueBase base) {
  TValueDialog::ShowIn(base);
  FollowCode();
}

void TFormEditValue::SurfaceChosen(int index) {
  if (index < 0) return;
  // A code is a decimal number: the name is typed as one.
  RadioButtonDecimal->setChecked(true);
  EditValue->setText(QString::number(SurfaceNames->itemData(index).toInt()));
  EditValueChange();
  EditValue->setFocus();
}

void TFormEditValue::FollowCode() {
  if (!IsSurface(EditName->text())) return;
  bool number = false;
  const int code = EditValue->text().toInt(&number);
  SurfaceNames->setCurrentIndex(RadioButtonDecimal->isChecked() && number ? SurfaceNames->findData(code) : -1);
}

}  // namespace meridal
