#pragma once
// Values that can be set by name but that a format does not keep: they are
// derived anew whenever such a file is read. The project file keeps none of the
// track's Length, a section's Start and an altitude's A3 and B2; the JSON text
// keeps A3 and B2 but not Length and Start; the track file keeps all four (its
// reader reports a Length or Start that is not the sum of the lengths). In the
// editor such a value lives until the document is closed; a command that saves it
// where it is not kept would lose it silently, so it refuses and says why.
#include <set>
#include <string>
#include <vector>

#include "files/track_formats.h"

namespace meridal {

class TBase;

// Why `name` of `object` would not survive being saved in `format` and read
// again, or the empty text when the format keeps it.
std::string UnkeptValueReason(const TBase& object, const std::string& name,
                              TrackFormat format = TrackFormat::Project);

// Every value of the track named in `names` that differs from what reading a file
// of `format` would derive, each as "Altitude 1 in Section 3: A3 is not kept in the
// project file; ..." (at most a few, then how many more).
std::vector<std::string> UnkeptValues(const TTrack& track, const std::set<std::string>& names, TrackFormat format);

}  // namespace meridal
