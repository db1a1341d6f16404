#pragma once
// TFormCopyWalls, "Copy Walls": the number of the section whose walls are copied.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace meridal {

class IMessages;

class TFormCopyWalls : public QDialog {
  Q_OBJECT

 public:
  explicit TFormCopyWalls(IMessages& messages, QWidget* parent = nullptr);

  // Presets the number and the count of sections the number must lie below.
  void Preset(int number, int numberOfSections);
  // Opens the dialog modally; after QDialog::Accepted, SectionNumber holds the number.
  int Run();

  QLineEdit* EditNumber;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
  int SectionNumber = 0;

  void ButtonOKClick();

 private:
  IMessages& messages_;
  int numberOfSections_ = 0;
};

}  // namespace meridal
