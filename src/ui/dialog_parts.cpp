#include "ui/dialog_parts.h"

#include <QDialog>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>

#include "shell/value_entry.h"

namespace meridal {

void MakeGrey(QLineEdit& field) {
  QPalette palette = field.palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  field.setPalette(palette);
  field.setFocusPolicy(Qt::NoFocus);
}

QWidget* MakeOkCancel(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel) {
  auto* row = new QWidget(dialog);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  ok = new QPushButton(QStringLiteral("OK"), row);
  cancel = new QPushButton(QStringLiteral("Cancel"), row);
  ok->setDefault(true);
  layout->addStretch(1);
  layout->addWidget(ok);
  layout->addWidget(cancel);
  return row;
}

bool ConvertPendingText(TValueEntry& entry, QLineEdit& field, ValueBase selected) {
  const auto restored = entry.ConvertPending(field.text().toStdString(), selected);
  if (!restored) return true;
  field.setText(QString::fromStdString(*restored));
  field.setFocus();
  return false;
}

bool IsFieldExit(const QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const auto reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 0x80 ? static_cast<char>(point[0].unicode()) : '.';
}

}  // namespace meridal
