#pragma once
// What the clipboard carries of a run of sections: the track's own JSON form (see
// files/json/track_json_format.h) holding just those sections, with the track's
// traces, so that the sections' altitudes can be matched to another track's
// traces when they are pasted. The same text goes on the clipboard as plain text,
// for a text editor and back; and a whole track's JSON file pastes as it is.
#include <string>
#include <string_view>

#include "model/section_run.h"

namespace meridal {

class TTrack;

namespace clipboard {

// The clipboard format of a run of sections.
inline constexpr char kSectionsMimeType[] = "application/vnd.meridal.sections+json";

// The run's sections as text (empty for an empty run).
std::string SectionsPayload(const TTrack& track, TSectionRun run);

// Reads a payload into `sections`: its traces, and its sections as they were
// copied. A text that is not one leaves `sections` as it was and says what is
// wrong and where: "line 3: sections[0].length: 0 is not a length (at least 1)".
bool ReadSectionsPayload(std::string_view text, TTrack& sections, std::string& error);

}  // namespace clipboard
}  // namespace meridal
