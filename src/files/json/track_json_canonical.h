#pragma once
// The JSON form exactly as TrackJsonWriter lays it out, read without the general
// parser: a fixed run of literal text between the integers. A text this program
// wrote, or one whose numbers were edited by hand, reads this way several times
// faster. Any other text (other spacing or key order, a value to refuse) is
// declined, and the general reader (TrackJsonReader) reads it and says what is
// wrong; both build the same track from a text both take.
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace meridal {

class TSection;
class TTrack;

// The traces and the sections (owned by `owner`, which is not touched) of a
// canonical, sound text; false when the text is not one.
bool ReadCanonicalJson(std::string_view text, TTrack& owner, std::vector<int32_t>& traces,
                       std::vector<std::unique_ptr<TSection>>& sections);

}  // namespace meridal
