#include "files/project/project_io.h"

#include <filesystem>

#include "files/project/project_file_reader.h"
#include "files/project/project_file_writer.h"
#include "files/safety/shown_text.h"
#include "files/trackfile/track_export.h"
#include "model/track.h"

namespace meridal {

bool ReadProjectImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages) {
  return TProjectFileReader(image, messages).ReadProject(track);
}

bool ReadProjectImage(std::vector<uint8_t>&& image, TTrack& track, IMessages& messages, const std::string& fileName,
                      std::vector<std::string>* damage) {
  TProjectFileReader reader(std::move(image), messages, fileName);
  if (!reader.ReadProject(track)) return false;
  if (damage) *damage = reader.Damage();
  return true;
}

std::optional<std::vector<uint8_t>> WriteProjectImage(const TTrack& track, TFiller& filler, IMessages& messages) {
  return TProjectFileWriter(messages, filler).WriteProject(track);
}

std::optional<std::vector<uint8_t>> ExportTrackImage(const TTrack& track, IMessages& messages) {
  return TTrackFileWriter(messages).ExportTrack(track);
}

FileOutcome LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages) {
  FileOutcome outcome;
  auto image = ReadFileImage(path, messages, outcome, kMaxProjectFileBytes);
  if (image && !ReadProjectImage(std::move(*image), track, messages, FileNameOfPath(path), &outcome.damage))
    outcome.status = FileStatus::Failed;
  return outcome;
}

FileOutcome SaveProjectFile(const std::string& path, const TTrack& track, TFiller& filler, IMessages& messages,
                            IFileCalls& calls) {
  const auto image = WriteProjectImage(track, filler, messages);
  if (!image) return FileOutcome::Failed();
  return WriteImageFile(path, *image, messages, calls);
}

FileOutcome ExportTrackFile(const std::string& path, const TTrack& track, IMessages& messages, IFileCalls& calls) {
  const auto image = ExportTrackImage(track, messages);
  if (!image) return FileOutcome::Failed();
  return WriteImageFile(path, *image, messages, calls);
}

std::string FileNameOfPath(const std::string& path) { return ShownPath(std::filesystem::path(path).filename().string()); }

}  // namespace meridal
