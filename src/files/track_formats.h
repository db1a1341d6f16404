#pragma once
// The three forms a track is kept in, and the one place that reads and writes any
// of them: the project file (*.mrd), the simulation's track file (*.trk, read by
// the import) and the JSON text (*.json). The command line, the shell and the
// windows all go through here.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/cipher/filler.h"
#include "files/project/project_io.h"  // FileOutcome
#include "platform/messages.h"

namespace meridal {

class TTrack;

enum class TrackFormat { Project, TrackFile, Json };

// "mrd", "trk" or "json", in any case.
std::optional<TrackFormat> TrackFormatByName(std::string_view name);
const char* TrackFormatExtension(TrackFormat format);  // "mrd", "trk", "json"
// The format a path's extension names; nothing for any other extension.
std::optional<TrackFormat> TrackFormatOfPath(std::string_view path);
// The format a file's bytes look like: "KART" a track file, a text beginning with
// "{" JSON, anything else a project file (whose reader then says what is wrong).
TrackFormat SniffTrackFormat(std::span<const uint8_t> bytes);
// The format to write a path in: its extension's, a project file otherwise.
TrackFormat TrackFormatForWriting(std::string_view path);
// `path` with its extension (if any) replaced by `extension`'s ("a/b.trk" gives "a/b.mrd").
std::string WithExtension(const std::string& path, TrackFormat format);

// Reads an image in that format into the track (which keeps what it held on
// failure, after the reader has shown its message).
bool ReadTrackImage(TrackFormat format, std::vector<uint8_t>&& image, TTrack& track, IMessages& messages);
std::optional<std::vector<uint8_t>> WriteTrackImage(TrackFormat format, TTrack& track, TFiller& filler,
                                                    IMessages& messages);

// The file at `path` in `format`, or when none is given in the format its
// extension names, or failing that the one its contents look like; `used` tells
// which it was. The format looks at a large file's magic and header before the
// rest is read (see track_format_heads.h).
FileOutcome LoadTrackFile(const std::string& path, std::optional<TrackFormat> format, TTrack& track,
                          IMessages& messages, TrackFormat* used = nullptr);
// Writes the track safely in `format` (the old file stays intact on failure; see
// safe_file.h).
FileOutcome SaveTrackFile(const std::string& path, TrackFormat format, TTrack& track, TFiller& filler,
                          IMessages& messages, IFileCalls& calls = SystemFileCalls(),
                          const ReplaceOptions& options = {});

}  // namespace meridal
