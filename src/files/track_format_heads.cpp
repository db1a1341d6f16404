#include "files/track_format_heads.h"

#include <string_view>

#include "files/json/track_json_reader.h"
#include "files/project/project_file_reader.h"
#include "files/track_assembly.h"
#include "files/trackfile/track_import.h"

namespace meridal {

std::optional<std::string> HeadRefusal(TrackFormat format, std::span<const uint8_t> head, uint64_t size,
                                       const std::string& fileName) {
  switch (format) {
    case TrackFormat::Project:
      if (auto refusal = TProjectFileReader::CheckHeader(head, size))
        return FileErrorText(refusal->message, fileName, refusal->reason);
      return std::nullopt;
    case TrackFormat::TrackFile:
      if (auto refusal = TrackFileReader::CheckHeader(head, size))
        return FileErrorText(kTrackReadError, fileName, *refusal);
      return std::nullopt;
    case TrackFormat::Json:
      return JsonHeadRefusal(std::string_view(reinterpret_cast<const char*>(head.data()), head.size()));
  }
  return std::nullopt;
}

}  // namespace meridal
