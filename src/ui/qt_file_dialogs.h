#pragma once
// Open and save dialogs shown with QFileDialog.
#include <QString>
#include <QStringList>

#include "platform/file_dialogs.h"

class QFileDialog;
class QWidget;

namespace meridal {

class QtFileDialogs : public IFileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  std::optional<std::string> Open(const FileDialogRequest& request) override;
  std::optional<std::string> Save(const FileDialogRequest& request) override;

  // "Meridal Files (*.mrd)|*.mrd" in Qt's form: one "description (patterns)"
  // per pair, the patterns of a pair separated by blanks instead of ';'.
  static QStringList NameFilters(const std::string& filter);
  // "*.mrd" gives "mrd"; a text without an extension gives the empty text.
  static QString DefaultSuffix(const std::string& defaultExtension);
  // Sets up a dialog for a request; the program then runs it.
  static void Prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save);

 private:
  std::optional<std::string> Run(const FileDialogRequest& request, bool save);
  QWidget* parent_;
};

}  // namespace meridal
