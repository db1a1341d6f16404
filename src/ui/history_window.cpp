#include "ui/history_window.h"

#include <QFont>

#include "history/history.h"

namespace meridal {

// ---- the rows ----

void THistoryModel::Show(const history::THistory* history) {
  beginResetModel();
  history_ = history;
  endResetModel();
}

void THistoryModel::Refresh() {
  beginResetModel();
  endResetModel();
}

int THistoryModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || history_ == nullptr) return 0;
  return static_cast<int>(history_->Count()) + 1;
}

QVariant THistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || history_ == nullptr) return QVariant();
  const size_t row = static_cast<size_t>(index.row());
  if (role == Qt::DisplayRole) {
    if (row > 0) return QString::fromStdString(history_->Step(row - 1).Text());
    // The first row is the oldest state the history can go back to.
    return history_->Dropped() > 0 ? QStringLiteral("older steps dropped") : QStringLiteral("<opened>");
  }
  if (role == Qt::FontRole && static_cast<long>(row) == history_->CleanIndex()) {
    // The state the file holds.
    QFont font;
    font.setItalic(true);
    return font;
  }
  return QVariant();
}

// ---- the window ----

TFormHistory::TFormHistory(std::function<void(size_t)> goTo, QWidget* parent)
    : QListView(parent), goTo_(std::move(goTo)) {
  setWindowTitle(QStringLiteral("History"));
  setModel(&model_);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (refreshing_ || !current.isValid() || history_ == nullptr) return;
    if (static_cast<size_t>(current.row()) != history_->Index()) goTo_(static_cast<size_t>(current.row()));
  });
  resize(300, 400);
}

void TFormHistory::Show(const history::THistory* history) {
  history_ = history;
  refreshing_ = true;
  model_.Show(history);
  refreshing_ = false;
  SelectCurrent();
}

void TFormHistory::Refresh() {
  refreshing_ = true;
  model_.Refresh();
  refreshing_ = false;
  SelectCurrent();
}

void TFormHistory::SelectCurrent() {
  if (history_ == nullptr) return;
  refreshing_ = true;
  const QModelIndex current = model_.index(static_cast<int>(history_->Index()));
  setCurrentIndex(current);
  scrollTo(current);
  refreshing_ = false;
}

}  // namespace meridal
