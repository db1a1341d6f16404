#pragma once
// What a large file's first bytes tell before the rest is read. Each format
// looks at its magic and its header, as its reader does first, and refuses with
// the same message; a gigabyte of zeros is refused having read 64 KB.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "files/track_formats.h"

namespace meridal {

// The refusal a file of `format`, `size` bytes long, whose first bytes are `head`,
// gets whatever its other bytes are; nothing when the head may begin a sound file.
std::optional<std::string> HeadRefusal(TrackFormat format, std::span<const uint8_t> head, uint64_t size);

}  // namespace meridal
