#pragma once
// Open and save dialogs. The Qt adapter uses QFileDialog; tests script the answers.
#include <optional>
#include <string>

namespace meridal {

struct FileDialogRequest {
  std::string defaultExtension;  // e.g. "*.mrd"
  std::string filter;            // e.g. "Meridal Files (*.mrd)|*.mrd"
  std::string fileName;          // the proposed name
  std::string title;             // the dialog's title; empty: the platform's own
  bool promptOverwrite = false;  // save dialogs
  bool mustExist = false;        // open dialogs: path and file must exist
};

class IFileDialogs {
 public:
  virtual ~IFileDialogs() = default;
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> Open(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> Save(const FileDialogRequest& request) = 0;
};

}  // namespace meridal
