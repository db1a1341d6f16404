#pragma once
// TFormEditValue, "Edit Value": one named value of one object, typed in one of
// four bases. The text is converted when the field loses the focus and when OK
// is pressed; the object accepts or refuses the value through its setter.
#include <QDialog>

#include "shell/shell_dialogs.h"
#include "shell/value_entry.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace meridal {

class IMessages;
class TBase;

class TFormEditValue : public QDialog {
  Q_OBJECT

 public:
  explicit TFormEditValue(IMessages& messages, QWidget* parent = nullptr);

  // The object and the name of its value (nullptr: nothing to edit), and how a
  // confirmed value is written (none: straight to the object).
  // The value of `name` of an object, and how a new value is written (through the
  // document's history in the editor).
  void SetTarget(const TBase* object, const QString& name, ValueWriter write);
  // The same, written straight to the object's setter (the dialog on its own).
  void SetTarget(TBase* object, const QString& name);
  // Prepares an opening: false, after "Data not found !", when there is no target.
  bool FormShow();
  // Opens the dialog modally; QDialog::Accepted when the object took a new value.
  int Run();

  QLineEdit* EditName;
  QLineEdit* EditValue;
  QRadioButton* RadioButtonDec;
  QRadioButton* RadioButtonM;
  QRadioButton* RadioButtonO;
  QRadioButton* RadioButtonC;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
  TValueEntry Entry;  // CurrentValue and PendingBase

  void EditValueChange();
  // Converts a pending text; false, after "Input not valid !", when it is not valid.
  bool EditValueExit();
  void RadioButtonDecClick() { ShowIn(ValueBase::Decimal); }
  void RadioButtonMClick() { ShowIn(ValueBase::Meters); }
  void RadioButtonOClick() { ShowIn(ValueBase::Orientation); }
  void RadioButtonCClick() { ShowIn(ValueBase::Curvature); }
  void ButtonOKClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ValueBase SelectedBase() const;
  void ShowIn(ValueBase base);

  IMessages& messages_;
  const TBase* target_ = nullptr;
  ValueWriter write_;
};

}  // namespace meridal
