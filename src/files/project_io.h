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

#include "files/file_calls.h"
#include "files/filler.h"
#include "platform/messages.h"

namespace meridal {

class TTrack;

enum class FileStatus {
  Ok,
  // The file could not be opened (reading) or created (writing). Nothing was
  // shown: the caller shows its own "Unable to open ..." message.
  CannotOpen,
  // Reading or writing failed and has shown its message.
  Failed,
};

// What a file command did: its status, and for the status bar and the messages
// the system's reason for a failure, the bytes written, and whether the target
// was written in place because its folder refused a temporary file.
struct FileOutcome {
  FileStatus status = FileStatus::Ok;
  std::string reason;  // "tracks/circuit.mrd: Permission denied"; empty when the system gave none
  uint64_t bytes = 0;
  bool inPlace = false;
  bool operator==(FileStatus other) const { return status == other; }
  // A failure that has shown its message already.
  static FileOutcome Failed() {
    FileOutcome outcome;
    outcome.status = FileStatus::Failed;
    return outcome;
  }
};

// Project files larger than this are refused as unreadable ("Track: Error reading
// file!"); it is far beyond any track an editor session makes (a 10,000-section
// track with 16 traces and 12 walls per section is under 14 MB).
constexpr uint64_t kMaxProjectFileBytes = uint64_t{1} << 30;

// The whole file at `path`, or nothing when it could not be opened (status
// CannotOpen, nothing shown) or read (status Failed, the read error shown).
std::optional<std::vector<uint8_t>> ReadFileImage(const std::string& path, IMessages& messages,
                                                  FileOutcome& outcome);
// Reads the project file at `path` into `track`, which should be empty. On
// failure the track keeps what it held.
FileOutcome LoadProjectFile(const std::string& path, TTrack& track, IMessages& messages);
// Writes `track` as a project file at `path`, sealed with fillers from `filler`.
FileOutcome SaveProjectFile(const std::string& path, TTrack& track, TFiller& filler, IMessages& messages,
                            IFileCalls& calls = SystemFileCalls());
// Writes `track` as a track file at `path`.
FileOutcome ExportTrackFile(const std::string& path, TTrack& track, IMessages& messages,
                            IFileCalls& calls = SystemFileCalls());

// Replaces the file at `path` by `image` safely (the old file stays intact on
// failure); a failure after the file could be created shows "Track: Error writing
// file!" with the system's reason, and "cannot open" is left to the caller.
FileOutcome WriteImageFile(const std::string& path, const std::vector<uint8_t>& image, IMessages& messages,
                           IFileCalls& calls = SystemFileCalls());

// The same in memory. Handing the bytes over lets reading unseal them in place.
bool ReadProjectImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages);
bool ReadProjectImage(std::vector<uint8_t>&& image, TTrack& track, IMessages& messages);
std::optional<std::vector<uint8_t>> WriteProjectImage(TTrack& track, TFiller& filler, IMessages& messages);
std::optional<std::vector<uint8_t>> ExportTrackImage(TTrack& track, IMessages& messages);

}  // namespace meridal
