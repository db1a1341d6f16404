#include "files/track_format_heads.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "files/cipher/seal.h"
#include "files/json/track_json_reader.h"
#include "files/project/project_format.h"
#include "files/project/project_key.h"
#include "files/safety/byte_order.h"
#include "files/trackfile/track_export.h"

namespace meridal {

namespace {

template <typename... Args>
std::string Text(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// The magic, the version and the sealed header group with the counts, checked
// against the file's size as the project reader checks them.
std::optional<std::string> ProjectHead(std::span<const uint8_t> head, uint64_t size) {
  if (head.size() < kProjectHeaderBytes) return kTrackReadError;
  if (std::memcmp(head.data(), kProjectMagic, 4) != 0) return kNotProjectFile;
  if (LoadLE32(head.data() + 4) != static_cast<uint32_t>(kProjectVersion)) return kWrongVersion;
  uint8_t group[kGroupBytes];
  std::memcpy(group, head.data() + kProjectHeaderGroupOffset, kGroupBytes);
  UnsealGroupScalar(group, kProjectKey);
  const int64_t traces = static_cast<int32_t>(LoadLE32(group + 4 * kHeaderTracesWord));
  const int64_t sections = static_cast<int32_t>(LoadLE32(group + 4 * kHeaderSectionsWord));
  if (size < kProjectTablesOffset || traces < 1 || traces > kStoredTraces || sections < 1 ||
      (size - kProjectHeaderGroupOffset) % kGroupBytes != 0 ||
      static_cast<uint64_t>(ProjectFileSize(traces, sections, 0)) > size)
    return kTrackReadError;
  return std::nullopt;
}

// The header words of a track file, checked as the import checks them.
std::optional<std::string> TrackFileHead(std::span<const uint8_t> head, uint64_t size) {
  if (head.size() < kExportListOffset)
    return Text("Track file: the file holds %lld bytes, too few for the header and the trace list (92 bytes)",
                static_cast<long long>(size));
  const auto word = [&](size_t offset) { return static_cast<int32_t>(LoadLE32(head.data() + offset)); };
  if (std::memcmp(head.data(), "KART", 4) != 0) return "Track file: the file does not begin with KART";
  if (word(4) != 3000) return Text("Track file: the format code is %d, not 3000", word(4));
  const int64_t traces = word(12), sections = word(16);
  if (traces < 1 || traces > kExportTraceWords)
    return Text("Track file: the header names %d traces; a track has 1 to 16", word(12));
  if (sections < 1) return Text("Track file: the header names %d sections; a track has at least one", word(16));
  if (word(24) != 52 * sections)
    return Text("Track file: the section table size is %d, but %lld sections take %lld bytes", word(24),
                static_cast<long long>(sections), static_cast<long long>(52 * sections));
  if (word(20) < 0 || word(20) % 32 != 0)
    return Text("Track file: the wall table size %d is not a whole number of 32-byte records", word(20));
  if (static_cast<uint64_t>(TrackFileSize(traces, sections, 0)) > size)
    return Text("Track file: the file holds %lld bytes, too few for %lld sections of %lld traces",
                static_cast<long long>(size), static_cast<long long>(sections), static_cast<long long>(traces));
  return std::nullopt;
}

}  // namespace

std::optional<std::string> HeadRefusal(TrackFormat format, std::span<const uint8_t> head, uint64_t size) {
  switch (format) {
    case TrackFormat::Project: return ProjectHead(head, size);
    case TrackFormat::TrackFile: return TrackFileHead(head, size);
    case TrackFormat::Json:
      return JsonHeadRefusal(std::string_view(reinterpret_cast<const char*>(head.data()), head.size()));
  }
  return std::nullopt;
}

}  // namespace meridal
