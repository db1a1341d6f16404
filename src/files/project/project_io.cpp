#include "files/project/project_io.h"

#include <new>

#include "files/project/project_format.h"
#include "files/project/project_reader.h"
#include "files/project/project_writer.h"
#include "files/trackfile/track_export.h"
#include "model/track.h"

namespace meridal {

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

FileOutcome LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages) {
  FileOutcome outcome;
  auto image = ReadFileImage(path, messages, outcome, kMaxProjectFileBytes);
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
