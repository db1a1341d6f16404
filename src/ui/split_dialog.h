#pragma once
// TFormSplit, "Split Section": the length of the first part, typed in integer
// units or in metres. On OK the dialog asks the section to split itself.
#include <QDialog>

#include "shell/shell_dialogs.h"
#include "shell/value_entry.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace meridal {

class IMessages;
class TBase;

class TFormSplit : public QDialog {
  Q_OBJECT

 public:
  explicit TFormSplit(IMessages& messages, QWidget* parent = nullptr);

  // The section (nullptr: nothing to split), and how the split is made (through
  // the document's history in the editor).
  void SetTarget(const TBase* section, ValueWriter split) {
    target_ = section;
    split_ = std::move(split);
  }
  // The same, split by the track's own edit (the dialog on its own).
  void SetTarget(TBase* section);
  // Prepares an opening: false, after "Data not found !", when there is no section.
  bool FormShow();
  // Opens the dialog modally; QDialog::Accepted when the section was split.
  int Run();

  QLineEdit* EditName;   // the section's whole length
  QLineEdit* EditValue;  // the first part's length
  QRadioButton* RadioButtonDec;
  QRadioButton* RadioButtonM;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
  TValueEntry Entry;  // FirstLength and PendingBase

  int32_t FirstLength() const { return Entry.CurrentValue; }

  void EditValueChange();
  // Converts a pending text; false, after "Input not valid !", when it is not valid.
  bool EditValueExit();
  void RadioButtonDecClick() { ShowIn(ValueBase::Decimal); }
  void RadioButtonMClick() { ShowIn(ValueBase::Meters); }
  void ButtonOKClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ValueBase SelectedBase() const;
  void ShowIn(ValueBase base);
  int32_t SectionLength() const;

  IMessages& messages_;
  const TBase* target_ = nullptr;
  ValueWriter split_;
};

}  // namespace meridal
