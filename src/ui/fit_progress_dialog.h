#pragma once
// TFitProgressDialog, "Import Centreline": a centreline fitted on a thread of
// its own while the window waits behind a bar of how far the fit has come. The
// window goes on drawing meanwhile; Cancel (or Escape, or closing the dialog)
// stops the fit at its next step, within a fifth of a second.
//
//   TFitProgressDialog progress(QStringLiteral("Monza.csv"), &window);
//   TFitResult fit = progress.Fit(read.line, options);  // returns when the fit ends
//   if (fit.error == kFitStopped) ...                    // cancelled
#include <QDialog>
#include <atomic>

#include "solve/centreline_fit.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace meridal {

class TFitProgressDialog : public QDialog {
  Q_OBJECT

 public:
  TFitProgressDialog(const QString& file, QWidget* parent);
  // A fit still running (the program quitting under it) is stopped and awaited.
  ~TFitProgressDialog() override;

  // Fits `line` on the worker thread while the dialog is shown (modal), and
  // returns its result once the fit has ended; a fit stopped by Cancel returns
  // the error kFitStopped.
  TFitResult Fit(const TCentreline& line, TFitOptions options);

  QLabel* Label;
  QProgressBar* Bar;
  QPushButton* ButtonCancel;

 public slots:
  // Escape and the window's close button cancel too; the dialog closes once
  // the fit has heard it.
  void reject() override;

 private:
  void Stop();

  std::atomic<int> done_{0};  // thousandths of the fit
  std::atomic<bool> cancelled_{false};
  QThread* worker_ = nullptr;
  QTimer* poll_;
  TFitResult result_;
};

}  // namespace meridal
