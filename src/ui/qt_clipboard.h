#pragma once
// The system clipboard through QClipboard: a run of sections goes on it in the
// program's own MIME type and as plain text, so that another Meridal window or
// process takes it as sections and a text editor as text.
#include "platform/clipboard.h"

namespace meridal {

class QtClipboard : public IClipboard {
 public:
  void PutSections(const std::string& text) override;
  std::optional<std::string> SectionsText() const override;
};

}  // namespace meridal
