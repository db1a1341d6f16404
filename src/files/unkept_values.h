#pragma once
// Values that can be set by name but that the project file does not keep: they
// are derived anew whenever a file is read. In the editor such a value lives
// until the document is closed (and an export carries it); a one-shot command
// that saves at once would lose it silently, so it refuses and says why.
#include <string>

namespace meridal {

class TBase;

// Why `name` of `object` would not survive a save and a new read, or the empty
// text when the project file keeps it.
std::string UnkeptValueReason(const TBase& object, const std::string& name);

}  // namespace meridal
