#pragma once
// The checks a project file passes before anything is built from it.
#include "files/project/project_reader.h"

namespace meridal {

// With the header's counts set in the reader: checks the counts, the file's size
// and every section record's table indices against the file. Returns the message
// to show, or nullptr when the file is sound. Unseals the whole file on the way
// (see ProjectReader::UnsealAll), so the reads that follow are cheap.
//
// A file is refused when
// - it holds fewer than 1 or more than 16 traces (the trace block has 16 entries,
//   and a section without traces has nothing to place it by), or no section (a
//   track always keeps one), or its size is not that of whole sealed groups or
//   too small for the sections it counts: "Track: Error reading file!";
// - a section record has a negative number of walls: "Section: Error reading
//   file!" (its type word decides only its kind: straight when the word's low
//   byte is 1, curved otherwise, whatever else it holds);
// - its size is not exactly the one its counts give (header, trace block, the
//   altitudes, walls and sections): "Track: Error reading file!";
// - a section's altitude records do not lie inside the altitude table:
//   "Altitude: Error reading file!"; its wall records not inside the wall table:
//   "Wall: Error reading file!".
const char* CheckProjectImage(ProjectReader& in);

}  // namespace meridal
