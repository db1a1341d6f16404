#include "files/project/project_check.h"

#include "files/project/project_format.h"
#include "files/cipher/seal.h"

namespace meridal {

namespace {

// The kind of a section record, as the reader decides it: the low byte of the
// type word 1 is a straight, anything else a curve.
const SectionRecordLayout& LayoutOf(int32_t type) { return IsStraightType(type) ? kStraightRecord : kCurvedRecord; }

// Section i's record from the end of the file; false if it cannot be read.
bool ReadSectionWords(ProjectReader& in, int64_t sections, int64_t i, int32_t words[16]) {
  in.SeekFromEnd(static_cast<uint64_t>(sections - i) * kSectionRecordBytes);
  return in.ReadSealed(words, 2);
}

}  // namespace

const char* CheckProjectImage(ProjectReader& in) {
  const int64_t traces = in.NumberOfTraces;
  const int64_t sections = in.NumberOfSections;
  const int64_t size = static_cast<int64_t>(in.Size());
  if (traces < 1 || traces > kStoredTraces || sections < 1) return kTrackReadError;
  if (size < static_cast<int64_t>(kProjectTablesOffset) ||
      (size - static_cast<int64_t>(kProjectHeaderGroupOffset)) % static_cast<int64_t>(kGroupBytes) != 0)
    return kTrackReadError;
  // Without walls the file must still hold every altitude and section record; this
  // bounds the section count by the file's size before anything depends on it.
  if (ProjectFileSize(traces, sections, 0) > size) return kTrackReadError;

  in.UnsealAll();
  int32_t words[16];
  int64_t walls = 0;
  for (int64_t i = 0; i < sections; ++i) {
    if (!ReadSectionWords(in, sections, i, words)) return kSectionReadError;
    const int32_t count = words[LayoutOf(words[0]).numberOfWalls];
    if (count < 0) return kSectionReadError;
    walls += count;
  }
  if (ProjectFileSize(traces, sections, walls) != size) return kTrackReadError;

  for (int64_t i = 0; i < sections; ++i) {
    if (!ReadSectionWords(in, sections, i, words)) return kSectionReadError;
    const SectionRecordLayout& layout = LayoutOf(words[0]);
    const int64_t firstAltitude = words[layout.firstAltitude];
    if (firstAltitude < 0 || firstAltitude + traces > sections * traces) return kAltitudeReadError;
    const int64_t firstWall = words[layout.firstWall];
    if (firstWall < 0 || firstWall + words[layout.numberOfWalls] > walls) return kWallReadError;
  }
  return nullptr;
}

}  // namespace meridal
