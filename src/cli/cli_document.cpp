#include "cli/cli_document.h"

#include <ostream>
#include <span>

#include "files/project/project_io.h"
#include "files/safety/safe_file.h"
#include "files/safety/shown_text.h"
#include "files/track_formats.h"
#include "model/length_limit.h"
#include "model/track.h"
#include "shell/shell_texts.h"

namespace meridal {

MessageAnswer StderrMessages::Show(const std::string&, const std::string& text, MessageIcon,
                                   MessageButtons buttons) {
  err_ << text << "\n";
  // Nothing is overwritten at the risk of data on a question nobody sees.
  if (buttons == MessageButtons::OverwriteSaveAsCancel) return MessageAnswer::Cancel;
  return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
}

namespace {

// The shell's own message, then the system's reason beneath it.
void ReportCannotOpen(const std::string& message, const FileOutcome& outcome, CliIo io) {
  io.err << WithReason(message, outcome.reason) << "\n";
}

}  // namespace

std::unique_ptr<TTrack> LoadTrack(const std::string& path, CliIo io, TrackFormat* format,
                                  std::optional<TrackFormat> as, std::vector<std::string>* damage) {
  StderrMessages messages(io.err);
  auto track = std::make_unique<TTrack>();
  FileOutcome outcome = LoadTrackFile(path, as, *track, messages, format);
  switch (outcome.status) {
    case FileStatus::Ok:
      if (damage) *damage = std::move(outcome.damage);
      return track;
    case FileStatus::CannotOpen: ReportCannotOpen(RefusalText("Unable to open", ShownPath(path)), outcome, io); return nullptr;
    case FileStatus::Failed: return nullptr;  // the reader has said why
  }
  return nullptr;
}

void WarnAboutReadTrack(const TTrack& track, const std::vector<std::string>& damage, const std::string& path,
                        CliIo io) {
  const std::string name = FileNameOfPath(path);
  if (!damage.empty())
    io.err << "meridal-cli: warning: " << name << " is damaged: " << damage.size()
           << (damage.size() == 1 ? " place does" : " places do")
           << " not hold what the file itself fixes (meridal-cli check lists them)\n";
  if (!WithinLengthLimit(track)) io.err << "meridal-cli: warning: " << name << ": " << LengthLimitText(track) << "\n";
}

std::string InPlaceRefusal(const std::string& path, const std::string& reason) {
  return WithReason("The folder does not allow a safe save. " + FileNameOf(path) +
                        " was not overwritten in place: if the save were interrupted the file would be lost "
                        "(--in-place writes it all the same, keeping a copy until it is done).",
                    reason);
}

bool SaveTrack(TTrack& track, const std::string& path, CliIo io, std::optional<TrackFormat> format, bool inPlace) {
  StderrMessages messages(io.err);
  TFiller filler = TFiller::FromClock();
  ReplaceOptions options;
  options.inPlaceAllowed = inPlace;
  const FileOutcome outcome = SaveTrackFile(path, format.value_or(TrackFormatForWriting(path)), track, filler,
                                            messages, SystemFileCalls(), options);
  if (outcome.status == FileStatus::CannotOpen) {
    if (outcome.inPlaceNeeded)
      io.err << InPlaceRefusal(path, outcome.reason) << "\n";
    else
      ReportCannotOpen(kCannotOpenFile, outcome, io);
  }
  return outcome.status == FileStatus::Ok;
}

bool WriteTextFile(const std::string& path, const std::string& text, CliIo io) {
  const ReplaceOutcome outcome =
      ReplaceFileContents(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
  if (outcome.result == ReplaceResult::Ok) return true;
  io.err << SystemReason(path, outcome.error) << '\n';
  return false;
}

bool ExportTrackTo(TTrack& track, const std::string& path, CliIo io, bool inPlace) {
  return SaveTrack(track, path, io, TrackFormat::TrackFile, inPlace);
}

bool LockTarget(FileLock& lock, const std::string& path, CliIo io) {
  if (path == "-" || lock.Acquire(path) != FileLock::Status::Busy) return true;
  io.err << BusyFileText(path) << "\n";
  return false;
}

const TBase* FindObject(const TTrack& track, const std::string& path, CliIo io) {
  const std::optional<TObjectPath> place = ParseObjectPath(path);
  if (!place) {
    io.err << "meridal-cli: not an object: '" << ShownPath(path)
           << "' (track, \"section N\", \"section N/wall K\" or \"section N/altitude J\")\n";
    return nullptr;
  }
  const TBase* object = Resolve(track, *place);
  if (!object) io.err << "meridal-cli: no such object in this track: '" << ShownPath(path) << "'\n";
  return object;
}

bool ExpectArgs(const CliArgs& args, size_t min, size_t max, const char* usage, CliIo io) {
  if (args.positional.size() >= min && args.positional.size() <= max) return true;
  io.err << "usage: meridal-cli " << usage << "\n";
  return false;
}

}  // namespace meridal
