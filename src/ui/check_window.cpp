#include "ui/check_window.h"

#include <QAction>
#include <QBrush>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSettings>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "check/check_update.h"
#include "model/object_path.h"
#include "model/track.h"
#include "document/document.h"
#include "shell/document_shell.h"
#include "ui/close_loop_dialog.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

constexpr FixCommand kCommands[] = {FixCommand::JoinToPrevious, FixCommand::JoinAllPositions,
                                    FixCommand::MatchHeights,   FixCommand::MatchAllHeights,
                                    FixCommand::MatchWalls,     FixCommand::MatchAllWalls};
constexpr int kRefusalsShown = 3;
const char* const kMaxSlopeKey = "check/maxSlope";

QString Plural(int count, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// "Match All Walls: 12 values changed, 1 refused: Section 3, wall 1: wall jump 80 mm, refused".
QString FixNote(FixCommand command, const TFixReport& report) {
  const int refused = report.Refusals(), changed = static_cast<int>(report.entries.size()) - refused;
  QString note = QString::fromLatin1(FixName(command)) + QStringLiteral(": ");
  if (report.entries.empty()) return note + QStringLiteral("nothing to do");
  note += changed > 0 ? Plural(changed, "value", "values") + QStringLiteral(" changed")
                       : QStringLiteral("nothing changed");
  if (refused == 0) return note;
  note += QStringLiteral(", %1 refused:").arg(refused);
  int shown = 0;
  for (const TFixEntry& entry : report.entries) {
    if (!entry.refused) continue;
    if (shown++ == kRefusalsShown) return note + QStringLiteral(" and %1 more").arg(refused - kRefusalsShown);
    note += shown > 1 ? QStringLiteral("; ") : QStringLiteral(" ");
    note += QString::fromStdString(ProblemText(entry.problem));
  }
  return note;
}

}  // namespace

// ---- the rows ----

void TCheckModel::Show(std::vector<TTrackProblem> problems) {
  beginResetModel();
  problems_ = std::move(problems);
  endResetModel();
}

void TCheckModel::Update(const TTrack& track, const TTrackChange& change, const TCheckLimits& limits) {
  beginResetModel();
  UpdateCheck(track, change, problems_, limits);
  endResetModel();
}

int TCheckModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(problems_.size());
}

int TCheckModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant TCheckModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= problems_.size()) return QVariant();
  const TTrackProblem& problem = problems_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: {
      const TProblemWords words = ProblemWords(problem);
      const std::string* const texts[kColumns] = {&words.where, &words.what, &words.amount};
      return QString::fromStdString(*texts[index.column()]);
    }
    case Qt::ForegroundRole:
      return problem.IsInformation() ? QVariant(QBrush(Qt::darkGray)) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == kAmount ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
      return QVariant();
  }
}

QVariant TCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QVariant();
  static const char* const kTitles[kColumns] = {"Where", "What", "How much"};
  return section >= 0 && section < kColumns ? QString::fromLatin1(kTitles[section]) : QVariant();
}

// ---- the window ----

TFormCheck::TFormCheck(TDocumentShell& shell, QWidget* parent)
    : QWidget(parent),
      ToolBar(new QToolBar(this)),
      Table(new QTableView(this)),
      Summary(new QLabel(this)),
      MaxSlope(new QDoubleSpinBox(this)),
      shell_(shell) {
  setWindowTitle(QStringLiteral("Track Check"));
  for (FixCommand command : kCommands) {
    QAction* action = new QAction(QString::fromLatin1(FixName(command)), this);
    connect(action, &QAction::triggered, this, [this, command] { FixClick(command); });
    FixActions[static_cast<int>(command)] = action;
    ToolBar->addAction(action);
    Table->addAction(action);
    if (command == FixCommand::MatchHeights || command == FixCommand::MatchWalls) ToolBar->addSeparator();
  }
  ToolBar->addSeparator();
  CloseLoopAction = ToolBar->addAction(QStringLiteral("Close Loop"));
  connect(CloseLoopAction, &QAction::triggered, this, &TFormCheck::CloseLoopClick);
  // The limit sits beside the summary, so the tool bar keeps room for every fix.
  auto* slopeLabel = new QLabel(QStringLiteral("&Max slope "), this);
  slopeLabel->setBuddy(MaxSlope);
  MaxSlope->setRange(0.1, 1000);
  MaxSlope->setDecimals(1);
  MaxSlope->setSuffix(QStringLiteral(" %"));
  MaxSlope->setKeyboardTracking(false);  // checked again once the value is typed, not at each key
  {
    const QSettings settings(TFormMain::SettingsPath(), QSettings::IniFormat);
    bool ok = false;
    const double remembered = settings.value(QLatin1String(kMaxSlopeKey)).toDouble(&ok);
    MaxSlope->setValue(ok && remembered >= 0.1 && remembered <= 1000 ? remembered
                                                                     : TCheckLimits::kDefaultMaxSlope * 100);
  }
  connect(MaxSlope, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
    QSettings(TFormMain::SettingsPath(), QSettings::IniFormat).setValue(QLatin1String(kMaxSlopeKey), percent);
    Refresh();
  });
  BuildTable();
  Summary->setWordWrap(true);
  Summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Summary->setContentsMargins(4, 2, 4, 2);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar);
  layout->addWidget(Table, 1);
  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(0, 0, 4, 0);
  bottom->addWidget(Summary, 1);
  bottom->addWidget(slopeLabel);
  bottom->addWidget(MaxSlope);
  layout->addLayout(bottom);
  resize(640, 360);
  EnableFixes();
}

void TFormCheck::BuildTable() {
  Table->setModel(&model_);
  Table->setSelectionBehavior(QAbstractItemView::SelectRows);
  Table->setSelectionMode(QAbstractItemView::SingleSelection);
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->setContextMenuPolicy(Qt::ActionsContextMenu);
  Table->setWordWrap(false);
  // Rows of one height, and columns that are not measured against every row:
  // a list of a few hundred thousand problems shows at once.
  QHeaderView* rows = Table->verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(fontMetrics().height() + 6);
  QHeaderView* columns = Table->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  // Each column as wide as its longest words with a little room.
  const char* const widest[TCheckModel::kColumns] = {"Section 00000, trace 00__", "orientation mismatch__",
                                                     "-1.2345678 \u00b0 (12.34 %)__"};
  for (int c = 0; c < TCheckModel::kColumns; ++c)
    columns->resizeSection(c, fontMetrics().horizontalAdvance(QString::fromUtf8(widest[c])));
  connect(Table, &QTableView::doubleClicked, this, &TFormCheck::RowDblClick);
  connect(Table->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { EnableFixes(); });
}

void TFormCheck::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (stale_) Refresh();
}

void TFormCheck::Refresh() {
  if (!isVisible()) {
    stale_ = true;  // checked when it is next shown
    return;
  }
  stale_ = false;
  if (!shell_.Track()) note_.clear();
  // The place in the list stays, so that one fix after another goes down it.
  const int row = Table->currentIndex().row();
  model_.Show(shell_.Track() ? CheckTrack(*shell_.Track(), Limits()) : std::vector<TTrackProblem>());
  if (row >= 0 && model_.rowCount() > 0) Table->setCurrentIndex(model_.index(std::min(row, model_.rowCount() - 1), 0));
  ShowSummary();
  EnableFixes();
}

void TFormCheck::DocumentReplaced() {
  note_.clear();
  ShowSummary();
  Refresh();
}

void TFormCheck::Update(const TTrackChange& change) {
  if (stale_ || !isVisible() || !shell_.Track()) return Refresh();
  const int row = Table->currentIndex().row();
  model_.Update(*shell_.Track(), change, Limits());
  if (row >= 0 && model_.rowCount() > 0) Table->setCurrentIndex(model_.index(std::min(row, model_.rowCount() - 1), 0));
  ShowSummary();
  EnableFixes();
}

void TFormCheck::Changed(const TDocumentChange& change) {
  if (!change.track.Empty()) {
    // A change made afterwards (an undo among them) makes the last fix's report stale.
    if (!fixing_) note_.clear();
    Update(change.track);
  }
  if (change.selection) FollowSelection();
}

void TFormCheck::FollowSelection() {
  const TDocument* document = shell_.Document();
  if (!document || !isVisible()) return;
  const TObjectPath& selected = document->Selection();
  if (selected.kind == TObjectPath::Kind::Track) return;
  const QModelIndex current = Table->currentIndex();
  const auto& problems = model_.Problems();
  // Already on a problem of that section: it stays.
  if (current.isValid() && current.row() < static_cast<int>(problems.size()) &&
      problems[static_cast<size_t>(current.row())].section == selected.section)
    return;
  for (size_t row = 0; row < problems.size(); ++row)
    if (problems[row].section == selected.section) {
      Table->setCurrentIndex(model_.index(static_cast<int>(row), 0));
      return;
    }
}

TCheckLimits TFormCheck::Limits() const {
  TCheckLimits limits;
  limits.maxSlope = MaxSlope->value() / 100;
  return limits;
}

void TFormCheck::ShowSummary() {
  Summary->setText(note_.isEmpty() ? CountText() : CountText() + QStringLiteral("\n") + note_);
}

QString TFormCheck::CountText() const {
  if (!shell_.Track()) return QStringLiteral("No track");
  const auto& problems = model_.Problems();
  const int notes = static_cast<int>(std::count_if(problems.begin(), problems.end(), [](const TTrackProblem& p) {
    return p.IsInformation();
  }));
  const int count = static_cast<int>(problems.size()) - notes;
  QString text = count == 0 ? QStringLiteral("No problems") : Plural(count, "problem", "problems");
  if (notes > 0) text += QStringLiteral(", ") + Plural(notes, "note", "notes");
  return text;
}

const TTrackProblem* TFormCheck::CurrentProblem() const {
  const int row = Table->currentIndex().row();
  if (row < 0 || row >= model_.rowCount()) return nullptr;
  return &model_.Problems()[static_cast<size_t>(row)];
}

void TFormCheck::EnableFixes() {
  const TTrackProblem* problem = CurrentProblem();
  for (FixCommand command : kCommands) {
    const bool one = FixesOneJoint(command);
    Action(command)->setEnabled(shell_.Track() && (!one || (problem && FixMends(command, *problem))));
  }
  CloseLoopAction->setEnabled(shell_.Track() != nullptr);
}

// ---- handlers ----

void TFormCheck::RowDblClick(const QModelIndex& index) {
  if (!shell_.Track() || !index.isValid() || index.row() >= model_.rowCount()) return;
  shell_.Document()->Select(ProblemObject(model_.Problems()[static_cast<size_t>(index.row())]));
}

void TFormCheck::FixClick(FixCommand command) {
  const TTrackProblem* problem = CurrentProblem();
  if (FixesOneJoint(command) && !(problem && FixMends(command, *problem))) return;
  const int section = problem ? problem->section : -1;
  TFixReport report;
  fixing_ = true;
  shell_.Change([&](history::TEditor& editor) {
    report = ApplyFix(editor, command, section);
    return report.outcome;
  });
  fixing_ = false;
  // A change has had the list read again already.
  note_ = FixNote(command, report);
  ShowSummary();
}

void TFormCheck::CloseLoopClick() {
  fixing_ = true;
  const QString note = RunCloseLoop(shell_, this);
  fixing_ = false;
  if (note.isEmpty()) return;
  note_ = note;
  ShowSummary();
}

}  // namespace meridal
