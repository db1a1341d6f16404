#pragma once
// What the editor's file commands call: open a project file into a track, save a
// track as a project file, export it as a track file. Files are read whole and
// written whole; saving and exporting replace the target only once the new
// contents are safely on disk.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/safety/file_image.h"
#include "files/cipher/filler.h"
#include "platform/messages.h"

namespace meridal {

class TTrack;

// Project files larger than this are refused as unreadable ("Track: Error reading
// file!"); it is far beyond any track an editor session makes (a 10,000-section
// track with 16 traces and 12 walls per section is under 14 MB).
constexpr uint64_t kMaxProjectFileBytes = uint64_t{1} << 30;

// Reads the project file at `path` into `track`, which should be empty. On
// failure the track keeps what it held; a damaged file is read all the same, and
// the outcome lists the damaged places.
FileOutcome LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages);
// Writes `track` as a project file at `path`, sealed with fillers from `filler`.
FileOutcome SaveProjectFile(const std::string& path, const TTrack& track, TFiller& filler, IMessages& messages,
                            IFileCalls& calls = SystemFileCalls());
// Writes `track` as a track file at `path`.
FileOutcome ExportTrackFile(const std::string& path, const TTrack& track, IMessages& messages,
                            IFileCalls& calls = SystemFileCalls());

// The same in memory. Handing the bytes over lets reading unseal them in place;
// then `fileName` names the file in a refusal, and `damage` (when given)
// receives the damaged places of a file read all the same.
bool ReadProjectImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages);
bool ReadProjectImage(std::vector<uint8_t>&& image, TTrack& track, IMessages& messages,
                      const std::string& fileName = std::string(), std::vector<std::string>* damage = nullptr);
std::optional<std::vector<uint8_t>> WriteProjectImage(const TTrack& track, TFiller& filler, IMessages& messages);
std::optional<std::vector<uint8_t>> ExportTrackImage(const TTrack& track, IMessages& messages);

// The last part of a path, as messages name the file: "tracks/circuit.mrd" gives
// "circuit.mrd".
std::string FileNameOfPath(const std::string& path);

}  // namespace meridal
