#include "ui/centreline_import.h"

#include <QPointF>
#include <vector>

#include "files/track_formats.h"
#include "model/track.h"
#include "platform/file_dialogs.h"
#include "platform/messages.h"
#include "present/format.h"
#include "shell/document_shell.h"
#include "shell/shell_texts.h"
#include "solve/centreline.h"
#include "solve/centreline_fit.h"
#include "ui/fit_options_dialog.h"
#include "ui/fit_progress_dialog.h"
#include "ui/main_window.h"
#include "ui/plan_menu.h"

namespace meridal {

namespace {

constexpr const char* kCentrelineFilter =
    "Centrelines (*.csv *.gpx *.geojson *.json *.txt)|*.csv;*.gpx;*.geojson;*.json;*.txt|"
    "CSV Centrelines (*.csv *.txt)|*.csv;*.txt|GPX Tracks (*.gpx)|*.gpx|GeoJSON Lines (*.geojson *.json)|*.geojson;*.json";
// The whole road's width of a centreline that gives none, as the command line's.
constexpr double kDefaultWidth = 12.0;

constexpr size_t kLinesShown = 12;

// One line a message, each after the file's name; a long list ends in how many
// more there are (a file with every point doubled warns of each).
std::string Lines(const std::string& file, const std::vector<std::string>& messages) {
  std::string text;
  for (size_t i = 0; i < messages.size(); ++i) {
    // The last message (a refusal's reason) is always shown.
    if (i >= kLinesShown && i + 1 < messages.size()) {
      text += "\n... and " + std::to_string(messages.size() - 1 - i) + " more";
      i = messages.size() - 2;
      continue;
    }
    text += (text.empty() ? "" : "\n") + file + ": " + messages[i];
  }
  return text;
}

}  // namespace

void ImportCentrelineClick(TFormMain& window) {
  TDocumentShell& shell = window.Shell();
  if (!shell.CloseQuery()) return;
  FileDialogRequest request;
  request.title = "Import Centreline";
  request.filter = kCentrelineFilter;
  request.defaultExtension = "*.csv";
  request.mustExist = true;
  const auto path = window.FileDialogs().Open(request);
  if (!path) return;
  TFormFitOptions dialog(QString::fromStdString(FileNameOf(*path)), RememberedFitOptions(), &window);
  if (dialog.exec() != QDialog::Accepted) return;
  const TFitOptions options = dialog.Options();
  RememberFitOptions(options);
  ImportCentrelinePath(window, *path, options);
}

bool ImportCentrelinePath(TFormMain& window, const std::string& path, const TFitOptions& options) {
  TDocumentShell& shell = window.Shell();
  IMessages& messages = shell.Messages();
  const std::string file = FileNameOf(path);
  window.SetBusy(true);
  const TCentrelineRead read = ReadCentrelineFile(path, kDefaultWidth);
  window.SetBusy(false);
  std::vector<std::string> warnings = read.warnings;
  if (!read.ok) {
    warnings.push_back(read.error);
    ShowRefusal(messages, Lines(file, warnings));
    return false;
  }
  TFitResult fit = TFitProgressDialog(QString::fromStdString(file), &window).Fit(read.line, options);
  if (fit.error == kFitStopped) {
    window.ShowStatus("Import Centreline cancelled");
    return false;
  }
  warnings.insert(warnings.end(), fit.warnings.begin(), fit.warnings.end());
  if (!fit.ok) {
    std::vector<std::string> lines = warnings;
    lines.push_back(fit.error);
    // The nearest track found, further than the tolerance, is opened only when
    // asked, as the command line's --force writes it.
    if (!fit.track) {
      ShowRefusal(messages, Lines(file, lines));
      return false;
    }
    const std::string question = Lines(file, lines) + "\n\nOpen the nearest track found all the same?";
    if (messages.Show(kAppTitle, question, MessageIcon::Warning, MessageButtons::YesNo) != MessageAnswer::Yes)
      return false;
    warnings.clear();  // told already
  }

  const TFitSummary& s = fit.summary;
  shell.NewFromTrack(std::move(fit.track), WithExtension(path, TrackFormat::Project),
                     FormatPrintf("Fitted %s: %d sections, deviation largest %.3f m, RMS %.3f m", file.c_str(),
                                  s.sections, s.largest, s.rms));
  std::vector<QPointF> line;
  line.reserve(fit.sourceX.size());
  for (size_t i = 0; i < fit.sourceX.size() && i < fit.sourceY.size(); ++i)
    line.emplace_back(fit.sourceX[i], fit.sourceY[i]);
  ShowCentrelineOverlay(window, std::move(line));
  if (!warnings.empty()) messages.Show(kAppTitle, Lines(file, warnings), MessageIcon::Warning, MessageButtons::Ok);
  return true;
}

}  // namespace meridal
