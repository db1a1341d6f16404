#include "ui/edit_value_dialog.h"

#include <QFormLayout>
#include <QLineEdit>

#include "model/base.h"

namespace meridal {

TFormEditValue::TFormEditValue(IMessages& messages, QWidget* parent)
    : TValueDialog(messages, QStringLiteral("Edit Value"), false, parent) {
  RadioButtonOrientation = AddBase(QStringLiteral("&Orientation (-180...180 degs.)"), ValueBase::Orientation);
  RadioButtonCurvature = AddBase(QStringLiteral("&Curvature (-360...360 degs.)"), ValueBase::Curvature);
  Fields()->addRow(QStringLiteral("Name:"), EditName);
  Fields()->addRow(QStringLiteral("Value:"), EditValue);
  resize(346, 198);
}

void TFormEditValue::SetTarget(const TBase* object, const QString& name, ValueWriter write) {
  SetWriter(object, std::move(write));
  EditName->setText(name);
}

void TFormEditValue::SetTarget(TBase* object, const QString& name) {
  const std::string key = name.toStdString();
  SetTarget(object, name, [object, key](int32_t value) { return object && object->SetValue(key, value); });
}

int32_t TFormEditValue::InitialValue() const { return Target()->GetValue(EditName->text().toStdString()); }

}  // namespace meridal
