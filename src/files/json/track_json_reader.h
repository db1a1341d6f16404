#pragma once
// TrackJsonReader: a track read from its JSON text (see track_json_format.h). The
// text is checked like a project file before anything is built: a known format and
// version, only known keys and each once, every value of its type and every number
// a decimal integer that fits in 32 bits, 1 to 16 traces, at least one section, one
// altitude per trace, and nothing but white space after the document. What the
// project and track files take, the text takes too: a length of 0 or less, traces
// or walls out of order (the track check reports them), so that every track this
// program writes as JSON reads back.
//
// A refusal names the JSON path and the line, and the text from the file as it is
// written, escaped and shortened (see shown_text.h): "JSON file, line 12:
// sections[3].walls[1].from: 2500000000 does not fit in 32 bits". No key, string
// or number may be longer than kLongestFileText: the parser is stopped there.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
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

// The refusal every JSON text that begins with `head` gets, whatever follows it;
// nothing when the head alone cannot tell (it reads as a sound text cut short).
// A large file is asked this about its first bytes before the rest is read.
std::optional<std::string> JsonHeadRefusal(std::string_view head);

}  // namespace meridal
