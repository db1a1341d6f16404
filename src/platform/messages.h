#pragma once
// Modal message boxes. The Qt adapter shows a QMessageBox; tests script the answers.
#include <string>

namespace meridal {

enum class MessageIcon { None, Information, Question, Warning, Error };
// OverwriteSaveAsCancel: the question before a file is overwritten where that
// may cost data; "Save As..." is its default button.
enum class MessageButtons { Ok, YesNo, YesNoCancel, OverwriteSaveAsCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel, Overwrite, SaveAs };

class IMessages {
 public:
  virtual ~IMessages() = default;
  virtual MessageAnswer Show(const std::string& title, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) = 0;
};

// A failure's message with the system's reason on the line beneath it ("Unable to
// open file!" over "tracks/circuit.mrd: Permission denied"); no reason, no line.
inline std::string WithReason(const std::string& message, const std::string& reason) {
  return reason.empty() ? message : message + "\n" + reason;
}

// The box every file read or write failure shows: title "Error", an OK button.
inline void ShowFileError(IMessages& messages, const std::string& text) {
  messages.Show("Error", text, MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace meridal
