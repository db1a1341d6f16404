#pragma once
// TrackJsonReader: a track read from its JSON text (see track_json_format.h). The
// text is checked like a project file before anything is built: a known format and
// version, only known keys and each once, every value of its type and every number
// an integer that fits in 32 bits, 1 to 16 traces in increasing order, at least one
// section, lengths of at least 1, walls ordered from right to left at both ends,
// one altitude per trace. A refusal names the JSON path and the line:
// "JSON file, line 12: sections[3].walls[1].from: 2500000000 does not fit in 32 bits".
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/messages.h"

namespace meridal {

class TTrack;

class TrackJsonReader {
 public:
  // `canonicalFirst`: try the fast reading of the writer's own layout first (see
  // track_json_canonical.h); off, the general parser reads every text.
  TrackJsonReader(std::string_view text, IMessages& messages, bool canonicalFirst = true)
      : text_(text), messages_(messages), canonicalFirst_(canonicalFirst) {}
  // Builds the track from the text, replacing what it held. A refused text shows
  // one message (title "Error") and leaves the track as it was.
  bool Read(TTrack& track);

 private:
  std::string_view text_;
  IMessages& messages_;
  bool canonicalFirst_;
};

bool ReadTrackJsonImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages);

}  // namespace meridal
