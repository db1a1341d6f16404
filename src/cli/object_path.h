#pragma once
// Objects of a track named on the command line: "track", "section N",
// "section N/wall K", "section N/altitude J" (case-insensitive; "-" may stand for a
// blank, as in "section-3/wall-1").
#include <string>

namespace meridal {

class TBase;
class TTrack;

struct ObjectRef {
  enum class Kind { Track, Section, Wall, Altitude } kind = Kind::Track;
  int section = -1;
  int child = -1;  // wall or altitude number
};

// Parses a path; false when it is not one of the forms above.
bool ParseObjectPath(const std::string& text, ObjectRef& out);

// The object a path names in a track, or nullptr when it does not exist.
TBase* ResolveObject(TTrack& track, const ObjectRef& ref);

}  // namespace meridal
