#pragma once
// TTrackFileWriter: a track exported as the simulation's track file (*.trk):
// plain little-endian words, a 28-byte header, 16 trace words, the section
// offset list, then the altitude, wall and section tables. Nothing is read back;
// the export changes nothing in the track.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/messages.h"

namespace meridal {

class TTrack;

// Layout of the track file.
constexpr size_t kExportTracesOffset = 28;
constexpr int kExportTraceWords = 16;
constexpr size_t kExportListOffset = 92;
constexpr size_t kExportAltitudeBytes = 32;
constexpr size_t kExportWallBytes = 32;
constexpr size_t kExportSectionBytes = 52;

constexpr int64_t TrackFileSize(int64_t traces, int64_t sections, int64_t walls) {
  return static_cast<int64_t>(kExportListOffset) + 4 * sections + 32 * sections * traces + 32 * walls +
         52 * sections;
}

class TTrackFileWriter {
 public:
  explicit TTrackFileWriter(IMessages& messages) : messages_(messages) {}

  // The file's bytes, or nothing after the failure was shown (title "Error"). A
  // track longer than its Length and Starts can hold is refused with the limit
  // named; so is a section whose records lie outside their tables.
  std::optional<std::vector<uint8_t>> ExportTrack(const TTrack& track);

 private:
  uint8_t* Prepare(size_t n);  // room for n bytes at the position (a gap is zeros)
  void WriteWords(const int32_t* words, size_t count);
  bool ExportSection(const TTrack& track, int s);

  IMessages& messages_;
  std::vector<uint8_t> image_;
  size_t position_ = 0;
};

}  // namespace meridal
