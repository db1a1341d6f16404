#pragma once
// TProjectDamage: the places of a project file that do not hold what the file
// itself fixes. The sealed records carry no checksum, but a damaged group
// deciphers to noise in every word it holds, and most words can be checked:
// - the filler words: every file is written with one run of the filler generator,
//   drawn record by record in the order the records are written (the header, the
//   trace list, then each section's record, its altitudes and its walls). Once
//   the header or the trace list shows the run, every filler of every record must
//   continue it; a file whose head shows no run is not checked this way;
// - the trace points: an arc keeps X = radius - lateral position and Y =
//   0x07070707 for every trace; a straight's points lie on one line across its
//   heading, each at its lateral position (within what rounding the points to
//   whole units allows).
// A file with such places is read all the same, so that what is left can be
// rescued; the places are listed, one line each ("Section 4, wall 1: ...").
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/cipher/filler.h"

namespace meridal {

class TSection;

class TProjectDamage {
 public:
  // From the plaintext of the header group and of the trace list, with the
  // number of traces: finds the filler run, and checks the head against it.
  void CheckHead(const int32_t header[8], const int32_t traceList[32], int traces);
  // One section as read: its record's words, its altitude and wall records
  // (plaintext, as stored) and the section built from them.
  void CheckSection(int index, const int32_t record[16], const uint8_t* altitudes, const uint8_t* walls,
                    const TSection& section);

  bool Any() const { return !lines_.empty(); }
  std::vector<std::string> TakeLines() { return std::move(lines_); }

 private:
  // Whether `count` fillers of a record, found at these word positions, continue
  // the run; the run moves on by their draws either way.
  bool FillersFollow(const int32_t* words, const int* positions, int count);
  // One flag for each trace of a section (there are at most 16).
  using Traces = std::array<bool, 16>;
  // The trace points against the section's geometry; `intact` tells the altitude
  // records whose fillers held, `reported` gets those found off.
  void CheckTracePoints(int index, const TSection& section, const Traces& intact, Traces& reported);

  std::optional<TFiller> run_;  // the run as far as the records checked so far
  std::vector<std::string> lines_;
};

}  // namespace meridal
