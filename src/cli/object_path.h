#pragma once
// Objects of a track named on the command line: "track", "section N",
// "section N/wall K", "section N/altitude J" (case-insensitive; "-" may stand for a
// blank, as in "section-3/wall-1").
#include <optional>
#include <string>

#include "model/object_path.h"
#include "model/section_run.h"

namespace meridal {

// The place a name gives; nothing when it is not one of the forms above.
std::optional<TObjectPath> ParseObjectPath(const std::string& text);

// "A-B", the sections A to B (numbers written plainly, A at most B); nothing
// when it is none. A range written backwards says so in `problem`: "5-2 runs
// backwards: a range goes from the lower section number to the higher (2-5)".
std::optional<TSectionRun> ParseSectionRange(const std::string& text, std::string* problem = nullptr);

}  // namespace meridal
