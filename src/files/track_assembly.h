#pragma once
// What every reader does once it has the stored values of a track: make each
// section of the kind its type word names, then put the traces and sections into
// the track and recompute every derived value, as after reading a project file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/project/project_format.h"  // IsStraightType: the kind a type word names

namespace meridal {

class TAltitude;
class TSection;
class TTrack;
class TWall;

// An empty section of that kind, owned by `track`, with Type set to the word.
std::unique_ptr<TSection> NewSectionOfType(TTrack& track, int32_t type);

// A wall from its eight values in the order both file tables and the JSON form
// keep them: From, To, Surface, Unk1, Height, Unk2, Unk3, Unk4.
std::unique_ptr<TWall> NewWall(TSection* owner, const int32_t values[8]);
// An altitude from its eight values in the track file's order: the 3rd, 2nd and
// 1st order coefficients, Height@Start, A3, B2, X, Y.
std::unique_ptr<TAltitude> NewAltitude(TSection* owner, const int32_t values[8]);

// Replaces what `track` held by these traces and sections (owned by `track`, their
// stored values, altitudes and walls filled in), numbers them, and recomputes the
// rotation or filler words, the geometry, the record indices, the starts, the
// track's Length and its extent.
void InstallReadTrack(TTrack& track, std::vector<int32_t>&& traces,
                      std::vector<std::unique_ptr<TSection>>&& sections);
// The part of that which concerns the track alone, once its traces and sections
// are in place with their own values derived: its number, tag and format code,
// the record indices, the starts, its Length and its extent.
void FinishReadTrack(TTrack& track);

// The text of a read or write error: its first line, and beneath it the file's name (when
// known) and what was wrong: "Wall: Error reading file!" over "circuit.mrd: the
// file ends inside section 4's walls ...".
std::string FileErrorText(const std::string& message, const std::string& fileName, const std::string& reason);

}  // namespace meridal
