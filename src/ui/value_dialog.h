#pragma once
// TValueDialog: what the two value dialogs share. One number, typed in one of a
// few bases, converted when the field loses the focus and when OK is pressed,
// and written through a writer that accepts or refuses it; a refusal keeps the
// dialog open and says "Input not valid ! Range Error!", with the values that
// would be taken beneath.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "shell/shell_dialogs.h"
#include "shell/value_entry.h"

class QBoxLayout;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace meridal {

class IMessages;
class TBase;
class TValueBases;

class TValueDialog : public QDialog {
  Q_OBJECT

 public:
  // Prepares an opening: false, after "Data not found !", when there is no target.
  bool FormShow();
  // Opens the dialog modally; QDialog::Accepted when the value was taken.
  int Run();

  QLineEdit* EditName;
  QLineEdit* EditValue;
  QRadioButton* RadioButtonDecimal;
  QRadioButton* RadioButtonMeters;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
  TValueEntry Entry;  // CurrentValue and PendingBase

  // What is said beneath "Input not valid ! Range Error!": the values the target
  // takes (see present/value_range.h); none by default.
  void SetRangeNote(std::function<std::string()> note) { rangeNote_ = std::move(note); }
  // The bases the dialog opens in and keeps what the user picks in (nullptr: it
  // opens in the value's own base and keeps nothing).
  void SetBases(TValueBases* bases) { bases_ = bases; }

  void EditValueChange();
  // Converts a pending text; false, after "Input not valid !", when it is not valid.
  bool EditValueExit();
  void ButtonOKClick();

 protected:
  // A dialog titled `title` whose base group lays its buttons out in a row or a
  // column; the subclass adds its fields to Fields() and its bases with AddBase.
  TValueDialog(IMessages& messages, const QString& title, bool basesInARow, QWidget* parent);
  QRadioButton* AddBase(const QString& caption, ValueBase base);
  QFormLayout* Fields() const { return fields_; }
  void SetWriter(const TBase* target, ValueWriter write);
  const TBase* Target() const { return target_; }
  // The value the dialog opens with.
  virtual int32_t InitialValue() const = 0;
  // The chosen base is shown in the fields.
  virtual void ShowIn(ValueBase base);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ValueBase SelectedBase() const;
  // The base the value opens in: the one kept for its kind, where this dialog
  // offers it.
  ValueBase OpeningBase() const;
  // The user picked a base.
  void BaseClicked(ValueBase base);

  IMessages& messages_;
  QFormLayout* fields_;
  QBoxLayout* baseGroup_;
  TValueBases* bases_ = nullptr;
  std::vector<std::pair<QRadioButton*, ValueBase>> baseButtons_;
  const TBase* target_ = nullptr;
  ValueWriter write_;
  std::function<std::string()> rangeNote_;
};

}  // namespace meridal
