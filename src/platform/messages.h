#pragma once
// Modal message boxes. The Qt adapter shows a QMessageBox; tests script the answers.
#include <string>

namespace meridal {

enum class MessageIcon { None, Information, Question, Warning, Error };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

class IMessages {
 public:
  virtual ~IMessages() = default;
  virtual MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) = 0;
};

// The box every file read or write failure shows: title "Error", an OK button.
inline void ShowFileError(IMessages& messages, const std::string& text) {
  messages.Show("Error", text, MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace meridal
