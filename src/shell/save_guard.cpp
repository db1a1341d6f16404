#include "shell/save_guard.h"

#include "files/safety/file_lock.h"
#include "platform/messages.h"
#include "shell/shell_texts.h"

namespace meridal {

namespace {

// Overwrite, Save As... or Cancel, asked with a warning.
MessageAnswer AskBeforeOverwriting(IMessages& messages, const std::string& text) {
  return messages.Show(kAppTitle, text, MessageIcon::Warning, MessageButtons::OverwriteSaveAsCancel);
}

}  // namespace

std::string ChangedOnDiskText(const std::string& path) {
  return FileNameOf(path) + " was changed by another program since you opened it.";
}

std::string InPlaceQuestionText(const std::string& path) {
  return "The folder does not allow a safe save. Overwrite " + FileNameOf(path) +
         " in place? If the save is interrupted the file will be lost.";
}

void TSaveGuard::Remember(const std::string& path, const FileOutcome& outcome) {
  path_ = path;
  stamp_ = outcome.stamp;
}

TSaveGuard::Result TSaveGuard::Save(const std::string& path, TTrack& track, FileOutcome& outcome) {
  // Held from the look at the file to the end of the write: a command that
  // changes the file meanwhile waits, and one that is changing it is waited for.
  FileLock lock;
  if (lock.Acquire(path) == FileLock::Status::Busy) {
    ShowRefusal(messages_, BusyFileText(path));
    return Result::Failed;
  }
  if (stamp_.known && path == path_ && CompareWithDisk(path, stamp_) == DiskChange::Changed) {
    const MessageAnswer answer = AskBeforeOverwriting(messages_, ChangedOnDiskText(path));
    if (answer == MessageAnswer::SaveAs) return Result::SaveAs;
    if (answer != MessageAnswer::Overwrite) return Result::Cancelled;
  }
  outcome = files_.Save(path, track, messages_);
  if (outcome.status == FileStatus::CannotOpen && outcome.inPlaceNeeded) {
    const MessageAnswer answer = AskBeforeOverwriting(messages_, InPlaceQuestionText(path));
    if (answer == MessageAnswer::SaveAs) return Result::SaveAs;
    if (answer != MessageAnswer::Overwrite) return Result::Cancelled;
    outcome = files_.SaveInPlace(path, track, messages_);
  }
  if (outcome.status != FileStatus::Ok) return Result::Failed;
  Remember(path, outcome);
  return Result::Saved;
}

}  // namespace meridal
