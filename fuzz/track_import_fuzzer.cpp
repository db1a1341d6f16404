// Any bytes as a track file. A refused file shows one message and builds nothing;
// an accepted one exports to the same bytes when nothing was repaired, its
// export imports again without a repair and exports unchanged, and it converts
// to each format and reads back the same. One whose lengths add up beyond 32
// bits opens, and its export is refused with the reason.
#include <vector>

#include "files/track_formats.h"
#include "fuzz_common.h"

using meridal::TrackFormat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace meridal;
  const std::vector<uint8_t> file(data, data + size);
  TTrack track;
  fuzz::CountingMessages messages;
  if (!ReadTrackImage(TrackFormat::TrackFile, std::vector<uint8_t>(file), track, messages)) {
    fuzz::Check(messages.count == 1);
    fuzz::Check(track.NumberOfSections() == 0 && track.Traces.empty());
    return 0;
  }
  fuzz::Check(messages.count <= 1);  // the repairs' warning
  if (fuzz::RefusesToExportALongTrack(track)) return 0;
  const auto image = ExportTrackImage(track, messages);
  fuzz::Check(image.has_value() && image->size() == file.size());
  if (messages.count == 0) fuzz::Check(*image == file);
  TTrack again;
  fuzz::CountingMessages quiet;
  fuzz::Check(ReadTrackImage(TrackFormat::TrackFile, std::vector<uint8_t>(*image), again, quiet));
  fuzz::Check(quiet.count == 0 && ExportTrackImage(again, quiet) == image);
  fuzz::CheckConvertsBack(track);
  return 0;
}
