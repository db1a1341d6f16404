#pragma once
// TFormCheck, the "Track Check" window: every problem of the open track, one a
// row (where, what, how much), read anew after every change. Double-clicking a
// row selects its object in the tree: the section, the altitude of its trace or
// its wall. The tool bar and the table's popup menu run the fixes, each one step
// of the history; the window says what the last one did and what it refused.
//
// The rows are a view of the check's list of problems: a long track can have a
// few hundred thousand, so there is no widget item per row.
#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "check/track_fixes.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QTableView;
class QToolBar;

namespace meridal {

class TDocumentShell;
class TTrack;
struct TDocumentChange;
struct TTrackChange;

class TCheckModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kWhere, kWhat, kAmount, kColumns };

  explicit TCheckModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}
  void Show(std::vector<TTrackProblem> problems);
  // The problems after a change of the track, the untouched joints' kept.
  void Update(const TTrack& track, const TTrackChange& change, const TCheckLimits& limits);
  const std::vector<TTrackProblem>& Problems() const { return problems_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::vector<TTrackProblem> problems_;
};

class TFormCheck : public QWidget {
  Q_OBJECT

 public:
  explicit TFormCheck(TDocumentShell& shell, QWidget* parent = nullptr);

  QToolBar* ToolBar;
  QTableView* Table;
  QLabel* Summary;  // how many problems; what the last fix did
  // In the order of FixCommand.
  QAction* FixActions[6];
  QAction* CloseLoopAction;  // the Close Loop dialog (close_loop_dialog.h)
  // The steepest slope a trace may have inside a section, in percent; kept
  // between sessions.
  QDoubleSpinBox* MaxSlope;

  TCheckModel& Model() { return model_; }
  QAction* Action(FixCommand command) const { return FixActions[static_cast<int>(command)]; }
  // The document changed: the problems are read again (at once when shown, else
  // when the window is next shown).
  void Refresh();
  // Another document (or none): what the window said of the last one goes.
  void DocumentReplaced();
  // The problems are up to date after a change: only the joints it touched
  // are checked again (the whole track while the window was hidden).
  void Update(const TTrackChange& change);
  // What the open document announced: the problems are checked again after a
  // change of the track, and the list goes to the selected section's problem.
  void Changed(const TDocumentChange& change);

  // The problem of the current row, or nullptr.
  const TTrackProblem* CurrentProblem() const;

  // ---- handlers ----
  void RowDblClick(const QModelIndex& index);
  void FixClick(FixCommand command);
  void CloseLoopClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Makes a problem of the document's selected section the current row.
  void FollowSelection();
  void BuildTable();
  void EnableFixes();
  QString CountText() const;
  void ShowSummary();
  TCheckLimits Limits() const;

  TDocumentShell& shell_;
  TCheckModel model_;
  bool stale_ = true;
  QString note_;  // what the last fix did, until the next one
  bool fixing_ = false;
};

}  // namespace meridal
