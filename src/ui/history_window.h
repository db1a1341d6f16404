#pragma once
// The History window: the document's steps in order, under a first row for the
// document as it was opened (or, once the history had to forget its oldest steps,
// "older steps dropped"), with the current position selected. Clicking a row
// takes the document back or forward to that position, as the Undo and Redo
// commands would one step at a time. A view of the core's history; it keeps no
// copy of it.
#include <QAbstractListModel>
#include <QListView>
#include <functional>

namespace meridal {

namespace history {
class THistory;
}

class THistoryModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit THistoryModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
  // The history shown (nullptr: none, as without a document).
  void Show(const history::THistory* history);
  // The history has changed: its rows are read again.
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  const history::THistory* history_ = nullptr;
};

class TFormHistory : public QListView {
  Q_OBJECT

 public:
  // `goTo` takes the document to a position: the number of steps done.
  explicit TFormHistory(std::function<void(size_t)> goTo, QWidget* parent = nullptr);

  THistoryModel& Model() { return model_; }
  // Shows `history` (nullptr: none) with its current position selected.
  void Show(const history::THistory* history);
  void Refresh();

 private:
  void SelectCurrent();

  THistoryModel model_;
  const history::THistory* history_ = nullptr;
  std::function<void(size_t)> goTo_;
  bool refreshing_ = false;
};

}  // namespace meridal
