#pragma once
// TFormAbout, "About Meridal": the program's picture, name, version and date.
#include <QDialog>

class QLabel;
class QPushButton;

namespace meridal {

class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  QLabel* ProgramIcon;
  QLabel* ProductName;  // name and version
  QLabel* ReleaseDate;
  QPushButton* ButtonOK;

  static QString VersionLine();     // "Meridal 1.0.0"
  static QString ReleaseDateText();  // "9 December 2026"
};

}  // namespace meridal
