#pragma once
// Objects of a track named on the command line: "track", "section N",
// "section N/wall K", "section N/altitude J" (case-insensitive; "-" may stand for a
// blank, as in "section-3/wall-1").
#include <optional>
#include <string>

#include "model/object_path.h"

namespace meridal {

// The place a name gives; nothing when it is not one of the forms above.
std::optional<TObjectPath> ParseObjectPath(const std::string& text);

}  // namespace meridal
