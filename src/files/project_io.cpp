#include "files/project_io.h"

#include <new>

#include "files/project_format.h"
#include "files/project_reader.h"
#include "files/project_writer.h"
#include "files/safe_file.h"
#include "files/track_export.h"
#include "model/track.h"

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

bool ReadProjectImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages) {
  ProjectReader reader(image, messages);
  return track.ReadProject(reader);
}

bool ReadProjectImage(std::vector<uint8_t>&& image, TTrack& track, IMessages& messages) {
  ProjectReader reader(std::move(image), messages);
  return track.ReadProject(reader);
}

std::optional<std::vector<uint8_t>> WriteProjectImage(TTrack& track, TFiller& filler, IMessages& messages) {
  try {
    ProjectWriter writer(messages, filler);
    if (!track.WriteProject(writer)) return std::nullopt;
    return writer.TakeImage();
  } catch (const std::bad_alloc&) {
    ShowFileError(messages, kTrackWriteError);
    return std::nullopt;
  }
}

std::optional<std::vector<uint8_t>> ExportTrackImage(TTrack& track, IMessages& messages) {
  try {
    TrackExportWriter writer(messages);
    if (!track.ExportTrack(writer)) return std::nullopt;
    return writer.TakeImage();
  } catch (const std::bad_alloc&) {
    ShowFileError(messages, kTrackWriteError);
    return std::nullopt;
  }
}

std::optional<std::vector<uint8_t>> ReadFileImage(const std::string& path, IMessages& messages,
                                                  FileOutcome& outcome) {
  FileContents file = ReadWholeFile(path, kMaxProjectFileBytes);
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

FileOutcome LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages) {
  FileOutcome outcome;
  auto image = ReadFileImage(path, messages, outcome);
  if (image && !ReadProjectImage(std::move(*image), track, messages)) outcome.status = FileStatus::Failed;
  return outcome;
}

FileOutcome SaveProjectFile(const std::string& path, TTrack& track, TFiller& filler, IMessages& messages,
                            IFileCalls& calls) {
  const auto image = WriteProjectImage(track, filler, messages);
  if (!image) return FileOutcome::Failed();
  return WriteImageFile(path, *image, messages, calls);
}

FileOutcome ExportTrackFile(const std::string& path, TTrack& track, IMessages& messages, IFileCalls& calls) {
  const auto image = ExportTrackImage(track, messages);
  if (!image) return FileOutcome::Failed();
  return WriteImageFile(path, *image, messages, calls);
}

}  // namespace meridal
