#include "ui/qt_file_dialogs.h"

#include <QApplication>
#include <QFileDialog>

namespace meridal {

QStringList QtFileDialogs::NameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    // Qt takes the patterns from the last parentheses of the description.
    if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('(')))
      filters << QStringLiteral("%1 (%2)").arg(description.left(description.lastIndexOf(QLatin1Char('('))).trimmed(), patterns);
    else
      filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  if (filters.isEmpty()) filters << QStringLiteral("All Files (*)");
  return filters;
}

QString QtFileDialogs::DefaultSuffix(const std::string& defaultExtension) {
  const QString text = QString::fromStdString(defaultExtension);
  const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return QString();
  const QString suffix = text.mid(dot + 1);
  return suffix.contains(QLatin1Char('*')) ? QString() : suffix;
}

void QtFileDialogs::Prepare(QFileDialog& dialog, const FileDialogRequest& request, bool save) {
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (!request.title.empty()) dialog.setWindowTitle(QString::fromStdString(request.title));
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(NameFilters(request.filter));
  dialog.setDefaultSuffix(DefaultSuffix(request.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
  // A name typed without an extension takes the chosen filter's, so that the
  // name tells the format the file is written in.
  if (save)
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
      const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
      const QString first = filter.mid(open + 1).section(QLatin1Char(' '), 0, 0).remove(QLatin1Char(')'));
      const QString suffix = DefaultSuffix(first.toStdString());
      if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
    });
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
}

std::optional<std::string> QtFileDialogs::Run(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_ ? parent_ : QApplication::activeWindow());
  Prepare(dialog, request, save);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front().toStdString();
}

std::optional<std::string> QtFileDialogs::Open(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> QtFileDialogs::Save(const FileDialogRequest& request) { return Run(request, true); }

}  // namespace meridal
