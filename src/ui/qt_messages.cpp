#include "ui/qt_messages.h"

#include <QApplication>
#include <QCursor>
#include <QPushButton>

namespace meridal {

namespace {

// A box that comes up during a file operation shows the normal pointer; the
// hourglass returns when the box has been answered.
class NormalCursorScope {
 public:
  NormalCursorScope() {
    while (QApplication::overrideCursor()) {
      saved_ = *QApplication::overrideCursor();
      QApplication::restoreOverrideCursor();
      ++lifted_;
    }
  }
  ~NormalCursorScope() {
    for (int i = 0; i < lifted_; ++i) QApplication::setOverrideCursor(saved_);
  }

 private:
  QCursor saved_;
  int lifted_ = 0;
};

}  // namespace

QMessageBox::Icon QtMessages::QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtMessages::QtButtons(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::OverwriteSaveAsCancel: return QMessageBox::Cancel;  // the other two are added by name
  }
  return QMessageBox::Ok;
}

MessageAnswer QtMessages::Answer(QMessageBox::StandardButton clicked, MessageButtons buttons) {
  switch (clicked) {
    case QMessageBox::Ok: return MessageAnswer::Ok;
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: break;
  }
  switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
    case MessageButtons::OverwriteSaveAsCancel: return MessageAnswer::Cancel;
  }
  return MessageAnswer::Cancel;
}

MessageAnswer QtMessages::Show(const std::string& title, const std::string& text, MessageIcon icon,
                               MessageButtons buttons) {
  NormalCursorScope cursor;
  QWidget* parent = parent_ ? parent_ : QApplication::activeWindow();
  QMessageBox box(QtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                  QtButtons(buttons), parent);
  // The text may quote a file or name one: it is shown as it is, never as markup
  // (a link in a key would otherwise be live in the box).
  box.setTextFormat(Qt::PlainText);
  if (buttons == MessageButtons::YesNoCancel) box.setEscapeButton(QMessageBox::Cancel);
  else if (buttons == MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
  if (buttons == MessageButtons::OverwriteSaveAsCancel) {
    QPushButton* overwrite = box.addButton(QStringLiteral("Overwrite"), QMessageBox::DestructiveRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("Save As\u2026"), QMessageBox::AcceptRole);
    box.setDefaultButton(saveAs);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == overwrite) return MessageAnswer::Overwrite;
    if (box.clickedButton() == saveAs) return MessageAnswer::SaveAs;
    return MessageAnswer::Cancel;
  }
  const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
  return Answer(clicked, buttons);
}

}  // namespace meridal
