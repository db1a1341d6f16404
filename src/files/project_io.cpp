#include "files/project_io.h"

#include <new>

#include "files/project_format.h"
#include "files/project_reader.h"
#include "files/project_writer.h"
#include "files/safe_file.h"
#include "files/track_export.h"
#include "model/track.h"

namespace meridal {

FileStatus WriteImageFile(const std::string& path, const std::vector<uint8_t>& image, IMessages& messages) {
  switch (ReplaceFileContents(path, image)) {
    case ReplaceResult::Ok: return FileStatus::Ok;
    case ReplaceResult::CannotCreate: return FileStatus::CannotOpen;
    case ReplaceResult::WriteFailed: break;
  }
  ShowFileError(messages, kTrackWriteError);
  return FileStatus::Failed;
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

FileStatus LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages) {
  FileContents file = ReadWholeFile(path, kMaxProjectFileBytes);
  if (!file.opened) return FileStatus::CannotOpen;
  if (!file.ok) {
    ShowFileError(messages, kTrackReadError);
    return FileStatus::Failed;
  }
  return ReadProjectImage(std::move(file.bytes), track, messages) ? FileStatus::Ok : FileStatus::Failed;
}

FileStatus SaveProjectFile(const std::string& path, TTrack& track, TFiller& filler, IMessages& messages) {
  const auto image = WriteProjectImage(track, filler, messages);
  if (!image) return FileStatus::Failed;
  return WriteImageFile(path, *image, messages);
}

FileStatus ExportTrackFile(const std::string& path, TTrack& track, IMessages& messages) {
  const auto image = ExportTrackImage(track, messages);
  if (!image) return FileStatus::Failed;
  return WriteImageFile(path, *image, messages);
}

}  // namespace meridal
