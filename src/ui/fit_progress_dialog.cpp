#include "ui/fit_progress_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <new>

#include "model/track.h"

namespace meridal {

namespace {

constexpr int kSteps = 1000;
constexpr int kPollMs = 50;  // how often the bar shows the fit's progress

}  // namespace

TFitProgressDialog::TFitProgressDialog(const QString& file, QWidget* parent)
    : QDialog(parent),
      Label(new QLabel(QStringLiteral("Fitting %1\u2026").arg(file), this)),
      Bar(new QProgressBar(this)),
      poll_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Import Centreline"));
  Label->setTextFormat(Qt::PlainText);
  Bar->setRange(0, kSteps);
  Bar->setValue(0);
  Bar->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0")) * 40);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  ButtonCancel = buttons->button(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::rejected, this, &TFitProgressDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label);
  layout->addWidget(Bar);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, [this] { Bar->setValue(done_.load()); });
}

TFitProgressDialog::~TFitProgressDialog() {
  if (!worker_) return;
  cancelled_ = true;
  worker_->wait();
  delete worker_;
}

TFitResult TFitProgressDialog::Fit(const TCentreline& line, TFitOptions options) {
  options.progress = [this](double share) {
    done_ = static_cast<int>(share * kSteps);
    return !cancelled_.load();
  };
  worker_ = QThread::create([this, &line, options] {
    try {
      result_ = FitCentreline(line, options);
    } catch (const std::bad_alloc&) {
      result_ = TFitResult{};
      result_.error = "there is not enough memory for the fit";
    }
  });
  // Emitted on the worker's thread, heard on this one once the fit has ended.
  connect(worker_, &QThread::finished, this, &QDialog::accept);
  worker_->start();
  poll_->start();
  exec();
  poll_->stop();
  // The dialog can also end with the program's event loops (the program
  // quitting): the fit is stopped, not left running on what goes away.
  if (!worker_->isFinished()) cancelled_ = true;
  worker_->wait();
  return std::move(result_);
}

void TFitProgressDialog::reject() { Stop(); }

void TFitProgressDialog::Stop() {
  if (cancelled_.exchange(true)) return;
  ButtonCancel->setEnabled(false);
  Label->setText(QStringLiteral("Stopping\u2026"));
}

}  // namespace meridal
