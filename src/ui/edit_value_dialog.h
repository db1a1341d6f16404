#pragma once
// TFormEditValue, "Edit Value": one named value of one object, typed in one of
// four bases. The text is converted when the field loses the focus and when OK
// is pressed; the object accepts or refuses the value through its setter. For a
// wall's Surface a list of the named surfaces sits beside the code, which stays
// editable: choosing a name types its code.
#include "ui/value_dialog.h"

class QComboBox;

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
  QComboBox* SurfaceNames;  // only for "Surface"; its data is the code

 protected:
  int32_t InitialValue() const override;
  void ShowIn(ValueBase base) override;

 private:
  void SurfaceChosen(int index);
  // The list shows the name of the code in the field, or nothing.
  void FollowCode();
};

}  // namespace meridal
