#pragma once
// TFormFitOptions, "Import Centreline": how a centreline is fitted, asked after
// its file is chosen: the tolerance, the shortest section and the traces, as
// `meridal-cli fit` takes them. OK keeps the choice in the program's settings
// (meridal.conf), and the dialog opens with it the next time.
#include <QDialog>

#include "solve/centreline_fit.h"

class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

namespace meridal {

class TFormFitOptions : public QDialog {
  Q_OBJECT

 public:
  // `file` is the centreline's name, shown at the top.
  TFormFitOptions(const QString& file, const TFitOptions& options, QWidget* parent = nullptr);

  // The choice as the fields hold it.
  TFitOptions Options() const;

  QDoubleSpinBox* Tolerance;  // metres
  QDoubleSpinBox* MinLength;  // metres
  QSpinBox* Traces;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;
};

// The options kept by the last OK, or the command line's defaults; values out
// of the dialog's ranges are brought within them.
TFitOptions RememberedFitOptions();
void RememberFitOptions(const TFitOptions& options);

}  // namespace meridal
