#pragma once
// TFormEditValue, "Edit Value": one named value of one object, typed in one of
// four bases. The text is converted when the field loses the focus and when OK
// is pressed; the object accepts or refuses the value through its setter.
#include "ui/value_dialog.h"

namespace meridal {

class TFormEditValue : public TValueDialog {
  Q_OBJECT

 public:
  explicit TFormEditValue(IMessages& messages, QWidget* parent = nullptr);

  // The value of `name` of an object (nullptr: nothing to edit), and how a new
  // value is written (through the document's history in the editor).
  void SetTarget(const TBase* object, const QString& name, ValueWriter write);
  // The same, written straight to the object's setter (the dialog on its own).
  void SetTarget(TBase* object, const QString& name);

  QRadioButton* RadioButtonOrientation;
  QRadioButton* RadioButtonCurvature;

 protected:
  int32_t InitialValue() const override;
};

}  // namespace meridal
