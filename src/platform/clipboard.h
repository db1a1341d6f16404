#pragma once
// The system clipboard as the Copy, Cut and Paste commands see it. The Qt adapter
// uses QClipboard; tests keep the text in memory.
#include <optional>
#include <string>

namespace meridal {

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Puts a run of sections on the clipboard: the text in the program's own
  // format, and the same text as plain text.
  virtual void PutSections(const std::string& text) = 0;
  // The clipboard's text in the program's own format when it holds that, else its
  // plain text; nothing when it holds neither.
  virtual std::optional<std::string> SectionsText() const = 0;
};

}  // namespace meridal
