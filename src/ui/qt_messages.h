#pragma once
// Message boxes shown with QMessageBox.
#include <QMessageBox>

#include "platform/messages.h"

class QWidget;

namespace meridal {

class QtMessages : public IMessages {
 public:
  // Boxes are centred on `parent` (nullptr: on the active window).
  explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                     MessageButtons buttons) override;

  static QMessageBox::Icon QtIcon(MessageIcon icon);
  static QMessageBox::StandardButtons QtButtons(MessageButtons buttons);
  // The answer of a closed box; a box closed without a button counts as the
  // set's cautious answer (No for Yes/No, Cancel for Yes/No/Cancel).
  static MessageAnswer Answer(QMessageBox::StandardButton clicked, MessageButtons buttons);

 private:
  QWidget* parent_;
};

}  // namespace meridal
