#include "ui/fit_options_dialog.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "ui/dialog_parts.h"
#include "ui/main_window.h"

namespace meridal {

namespace {

// The dialog's ranges, and the settings' keys.
constexpr double kTolerance[] = {0.01, 100.0};
constexpr double kMinLength[] = {0.1, 1000.0};
constexpr int kTraces[] = {2, 16};
constexpr const char* kGroup = "importCentreline";

QDoubleSpinBox* MetresBox(QWidget* parent, const double (&range)[2], double value) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(range[0], range[1]);
  box->setDecimals(2);
  box->setSingleStep(0.1);
  box->setSuffix(QStringLiteral(" m"));
  box->setValue(value);
  return box;
}

// A stored number within its range, or `fallback` when it is none.
double Within(const QVariant& stored, const double (&range)[2], double fallback) {
  bool ok = false;
  const double value = stored.toDouble(&ok);
  return ok && std::isfinite(value) ? std::clamp(value, range[0], range[1]) : fallback;
}

}  // namespace

TFormFitOptions::TFormFitOptions(const QString& file, const TFitOptions& options, QWidget* parent)
    : QDialog(parent),
      Tolerance(MetresBox(this, kTolerance, options.tolerance)),
      MinLength(MetresBox(this, kMinLength, options.minLength)),
      Traces(new QSpinBox(this)) {
  setWindowTitle(QStringLiteral("Import Centreline"));
  Traces->setRange(kTraces[0], kTraces[1]);
  Traces->setValue(options.traces);
  Tolerance->setToolTip(QStringLiteral("The furthest any point of the centreline may lie from the track"));
  MinLength->setToolTip(QStringLiteral("No section shorter, unless the line's own bends need one"));
  Traces->setToolTip(QStringLiteral("The right edge, evenly across, and the left edge"));

  auto* heading = new QLabel(QStringLiteral("Fit %1 with straights and arcs:").arg(file), this);
  heading->setTextFormat(Qt::PlainText);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Tolerance:"), Tolerance);
  form->addRow(QStringLiteral("&Shortest section:"), MinLength);
  form->addRow(QStringLiteral("T&races:"), Traces);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addLayout(form);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
  Tolerance->setFocus();
  Tolerance->selectAll();
}

TFitOptions TFormFitOptions::Options() const {
  TFitOptions options;
  options.tolerance = Tolerance->value();
  options.minLength = MinLength->value();
  options.traces = Traces->value();
  return options;
}

TFitOptions RememberedFitOptions() {
  QSettings settings(TFormMain::SettingsPath(), QSettings::IniFormat);
  settings.beginGroup(QLatin1String(kGroup));
  TFitOptions options;
  options.tolerance = Within(settings.value(QStringLiteral("tolerance")), kTolerance, options.tolerance);
  options.minLength = Within(settings.value(QStringLiteral("minLength")), kMinLength, options.minLength);
  bool ok = false;
  const int traces = settings.value(QStringLiteral("traces")).toInt(&ok);
  if (ok) options.traces = std::clamp(traces, kTraces[0], kTraces[1]);
  return options;
}

void RememberFitOptions(const TFitOptions& options) {
  QSettings settings(TFormMain::SettingsPath(), QSettings::IniFormat);
  settings.beginGroup(QLatin1String(kGroup));
  settings.setValue(QStringLiteral("tolerance"), options.tolerance);
  settings.setValue(QStringLiteral("minLength"), options.minLength);
  settings.setValue(QStringLiteral("traces"), options.traces);
}

}  // namespace meridal
