#pragma once
// TFormCloseLoop, "Close Loop": which sections may change (all of them, or
// sections A to B), and before OK what the change would be: how many values,
// the largest of them (old → new), and how the loop closes, the gap and turn
// before and what rounding to stored values leaves after. A choice that cannot
// close the loop shows why and OK is disabled. The dialog only plans: the caller
// applies the plan as one step (RunCloseLoop).
#include <QDialog>

#include "solve/close_loop.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace meridal {

class TDocumentShell;
class TTrack;

class TFormCloseLoop : public QDialog {
  Q_OBJECT

 public:
  // The track must stay as it is while the dialog is open (it is modal).
  explicit TFormCloseLoop(const TTrack& track, QWidget* parent = nullptr);

  QRadioButton* AllSections;
  QRadioButton* SomeSections;  // sections A to B
  QSpinBox* First;
  QSpinBox* Last;
  QLabel* Preview;
  QPushButton* ButtonOK;
  QPushButton* ButtonCancel;

  // The plan for the choice as it stands.
  const TLoopPlan& Plan() const { return plan_; }
  TLoopRange Range() const;

 private:
  // Plans the choice anew and shows what it would do.
  void Replan();

  const TTrack& track_;
  TLoopPlan plan_;
};

// What the plan would do, as the dialog shows it: the values changed and the
// largest, and the closure before and after.
QString LoopPreviewText(const TLoopPlan& plan);

// Edit > Close Loop… and the check window's button: the dialog, then on OK the
// plan as one "Close Loop" step. The note for a status line ("Loop closed: …"),
// or nothing when the dialog was cancelled or nothing changed.
QString RunCloseLoop(TDocumentShell& shell, QWidget* parent);

}  // namespace meridal
