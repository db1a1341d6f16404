#include "files/safety/file_image.h"

#include "files/safety/safe_file.h"

namespace meridal {

FileOutcome WriteImageFile(const std::string& path, const std::vector<uint8_t>& image, IMessages& messages,
                           IFileCalls& calls) {
  const ReplaceOutcome replaced = ReplaceFileContents(path, image, calls);
  FileOutcome outcome;
  outcome.reason = SystemReason(path, replaced.error);
  outcome.inPlace = replaced.inPlace;
  switch (replaced.result) {
    case ReplaceResult::Ok:
      outcome.bytes = image.size();
      return outcome;
    case ReplaceResult::CannotCreate:  // the caller says "Unable to open file!"
      outcome.status = FileStatus::CannotOpen;
      return outcome;
    case ReplaceResult::WriteFailed:
      break;
  }
  ShowFileError(messages, WithReason(kTrackWriteError, outcome.reason));
  outcome.status = FileStatus::Failed;
  return outcome;
}

std::optional<std::vector<uint8_t>> ReadFileImage(const std::string& path, IMessages& messages,
                                                  FileOutcome& outcome, uint64_t maxBytes) {
  FileContents file = ReadWholeFile(path, maxBytes);
  outcome = FileOutcome{};
  outcome.reason = SystemReason(path, file.error);
  if (!file.opened) {
    outcome.status = FileStatus::CannotOpen;
    return std::nullopt;
  }
  if (!file.ok) {
    ShowFileError(messages, WithReason(kTrackReadError, outcome.reason));
    outcome.status = FileStatus::Failed;
    return std::nullopt;
  }
  return std::move(file.bytes);
}

}  // namespace meridal
