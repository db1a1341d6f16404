#pragma once
// TFormPreferences, "Preferences" (Edit > Preferences…): what the program keeps
// in meridal.conf beside the recent files. Whether the value dialogs open in
// stored units (Decimal) rather than in each value's own base, and how many
// megabytes each document's history may hold before it forgets its oldest steps.
#include <QDialog>

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace meridal {

class TFormPreferences : public QDialog {
  Q_OBJECT

 public:
  explicit TFormPreferences(QWidget* parent = nullptr);

  QCheckBox* StoredUnits;
  QSpinBox* HistoryMegabytes;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
};

}  // namespace meridal
