#include "ui/preferences_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/dialog_parts.h"

namespace meridal {

TFormPreferences::TFormPreferences(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Preferences"));
  StoredUnits = new QCheckBox(QStringLiteral("Open value dialogs in &stored units"), this);
  StoredUnits->setToolTip(
      QStringLiteral("Edit Value and Split Section open on Decimal, the integers the file stores, rather than "
                     "in metres or degrees"));
  HistoryMegabytes = new QSpinBox(this);
  HistoryMegabytes->setRange(1, 1 << 16);
  HistoryMegabytes->setSuffix(QStringLiteral(" MB"));
  HistoryMegabytes->setToolTip(
      QStringLiteral("The memory each document's undo history may hold; beyond it the oldest steps are forgotten"));
  auto* fields = new QFormLayout;
  fields->addRow(StoredUnits);
  fields->addRow(QStringLiteral("&Undo history up to:"), HistoryMegabytes);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(MakeOkCancel(this, ButtonOK, ButtonCancel));
  connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace meridal
