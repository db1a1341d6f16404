#pragma once
// Where a project file's records lie, and the checks that a file's counts, its
// size and its section records hold together before anything is built from it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace meridal {

// Why a file cannot be read: the message box's first line (one of the read
// errors of project_format.h) and what was wrong, for the line beneath it.
struct TReadRefusal {
  const char* message;
  std::string reason;
};

// The layout of a file whose section records hold together: the counts, and
// where each section's walls begin in the wall table (one entry more than there
// are sections: the last is the number of walls).
struct TProjectLayout {
  int64_t traces = 0;
  int64_t sections = 0;
  int64_t walls = 0;
  std::vector<int64_t> firstWall;

  uint64_t AltitudeTable() const;  // byte offsets
  uint64_t WallTable() const;
  uint64_t SectionTable() const;
  uint64_t Size() const;
};

// The header's counts against the file's size, before the records are looked at.
std::optional<TReadRefusal> CheckCounts(int64_t traces, int64_t sections, uint64_t fileSize);

// With the counts checked: the section records (`table`, the plaintext of the last
// 64 x sections bytes) against the file. A file is refused when its last bytes are
// not section records at all (it was cut short, or something was added to its
// end), when a section names a negative number of walls, when the walls named do
// not fill the file exactly, and when a section's altitude or wall records are not
// its own: each section's come after the previous section's, in section order, so
// no two sections ever share a record. On success `layout` holds where everything is.
std::optional<TReadRefusal> CheckSectionRecords(const uint8_t* table, int64_t traces, int64_t sections,
                                                uint64_t fileSize, TProjectLayout& layout);

}  // namespace meridal
