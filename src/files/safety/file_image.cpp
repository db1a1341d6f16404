#include "files/safety/file_image.h"

#include "files/safety/input_file.h"

namespace meridal {

FileOutcome WriteImageFile(const std::string& path, const std::vector<uint8_t>& image, IMessages& messages,
                           IFileCalls& calls, const ReplaceOptions& options) {
  const ReplaceOutcome replaced = ReplaceFileContents(path, image, calls, options);
  FileOutcome outcome;
  outcome.reason = replaced.reason.empty() ? SystemReason(path, replaced.error) : replaced.reason;
  outcome.inPlace = replaced.inPlace;
  outcome.inPlaceNeeded = replaced.inPlaceNeeded;
  switch (replaced.result) {
    case ReplaceResult::Ok:
      outcome.bytes = image.size();
      outcome.stamp = StampOf(replaced.written, image);
      for (const std::string& note : replaced.notes)
        messages.Show("Meridal", note, MessageIcon::Warning, MessageButtons::Ok);
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
                                                  FileOutcome& outcome, uint64_t maxBytes, const HeadCheck& check) {
  outcome = FileOutcome{};
  InputFile file(path, maxBytes);
  if (!file.Opened()) {
    outcome.reason = file.Reason();
    outcome.status = FileStatus::CannotOpen;
    return std::nullopt;
  }
  std::vector<uint8_t> head, bytes;
  const bool read = file.ReadHead(kHeadBytes, head);
  if (read && check && !check(head, file.Size())) {
    outcome.status = FileStatus::Failed;
    return std::nullopt;
  }
  if (!read || !file.ReadRest(head, bytes)) {
    outcome.reason = file.Reason();
    ShowFileError(messages, WithReason(kTrackReadError, outcome.reason));
    outcome.status = FileStatus::Failed;
    return std::nullopt;
  }
  outcome.stamp = StampOf(file.Status(), bytes);
  return bytes;
}

}  // namespace meridal
