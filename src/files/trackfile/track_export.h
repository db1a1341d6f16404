#pragma once
// TrackExportWriter: the track file (*.trk) built in memory as plain
// little-endian words, a write position, and the message boxes the exporters
// report through.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/messages.h"

namespace meridal {

// Layout of the track file: a 28-byte header, 16 trace words, the section offset
// list, then the altitude, wall and section tables.
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

class TrackExportWriter {
 public:
  explicit TrackExportWriter(IMessages& messages) : messages_(messages) {}

  IMessages& Messages() const { return messages_; }
  void Fail(const char* message) const;

  void Reserve(size_t bytes) { image_.reserve(bytes); }
  size_t Size() const { return image_.size(); }
  size_t Position() const { return position_; }
  // A position beyond the end is allowed; writing there fills the gap with zeros.
  void Seek(size_t offset) { position_ = offset; }
  void SeekToEnd() { position_ = image_.size(); }

  bool WriteWords(const int32_t* words, size_t count);
  bool WriteBytes(const void* data, size_t n);
  bool WriteZeros(size_t n);

  const std::vector<uint8_t>& Image() const { return image_; }
  std::vector<uint8_t> TakeImage() { return std::move(image_); }

 private:
  uint8_t* Prepare(size_t n);

  IMessages& messages_;
  std::vector<uint8_t> image_;
  size_t position_ = 0;
};

}  // namespace meridal
