#pragma once
// What every reader does once it has the stored values of a track: make each
// section of the kind its type word names, then put the traces and sections into
// the track and recompute every derived value, as after reading a project file.
#include <cstdint>
#include <memory>
#include <vector>

namespace meridal {

class TSection;
class TTrack;

// The kind a stored type word names: a low byte of 1 is a straight, any other
// value an arc. The word itself is kept as read and written back unchanged.
constexpr bool IsStraightTypeWord(int32_t type) { return (type & 0xFF) == 1; }

// An empty section of that kind, owned by `track`, with Type set to the word.
std::unique_ptr<TSection> NewSectionOfType(TTrack& track, int32_t type);

// Replaces what `track` held by these traces and sections (owned by `track`, their
// stored values, altitudes and walls filled in), numbers them, and recomputes the
// rotation or filler words, the geometry, the record indices, the starts, the
// track's Length and its extent.
void InstallReadTrack(TTrack& track, std::vector<int32_t>&& traces,
                      std::vector<std::unique_ptr<TSection>>&& sections);

}  // namespace meridal
