// Any bytes as a JSON text. A refused text shows one message and builds nothing;
// an accepted one writes a text that reads back to the same text, exports (or,
// longer than 32 bits hold, is refused with the reason), and converts to each
// format and reads back the same.
// Whatever the fast reading of the writer's layout takes, the general parser
// takes too and builds the same track from.
#include <string>
#include <vector>

#include "files/track_assembly.h"
#include "files/track_formats.h"
#include "files/json/track_json_canonical.h"
#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace meridal;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TTrack track;
  fuzz::CountingMessages messages;
  const bool read = TrackJsonReader(input, messages, false).Read(track);
  TTrack fast;
  std::vector<int32_t> traces;
  std::vector<std::unique_ptr<TSection>> sections;
  if (ReadCanonicalJson(input, fast, traces, sections)) {
    fuzz::Check(read);
    InstallReadTrack(fast, std::move(traces), std::move(sections));
    fuzz::Check(TrackJsonWriter().Write(fast) == TrackJsonWriter().Write(track));
    fuzz::CountingMessages exports;  // a track too long is refused by both alike
    fuzz::Check(ExportTrackImage(fast, exports) == ExportTrackImage(track, exports));
  }
  if (!read) {
    fuzz::Check(messages.count == 1);
    fuzz::Check(track.NumberOfSections() == 0 && track.Traces.empty());
    return 0;
  }
  fuzz::Check(messages.count == 0);
  const std::string text = TrackJsonWriter().Write(track);
  TTrack again;
  fuzz::Check(ReadTrackImage(TrackFormat::Json, std::vector<uint8_t>(text.begin(), text.end()), again, messages));
  fuzz::Check(TrackJsonWriter().Write(again) == text);
  if (fuzz::RefusesToExportALongTrack(again)) return 0;
  fuzz::Check(ExportTrackImage(again, messages).has_value() && messages.count == 0);
  fuzz::CheckConvertsBack(track);
  return 0;
}
