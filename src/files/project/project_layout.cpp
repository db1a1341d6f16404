#include "files/project/project_layout.h"

#include <algorithm>
#include <cstdio>

#include "files/cipher/seal.h"
#include "files/project/project_format.h"
#include "files/safety/byte_order.h"
#include "files/safety/file_image.h"

namespace meridal {

namespace {


long long L(int64_t v) { return static_cast<long long>(v); }
long long L(uint64_t v) { return static_cast<long long>(v); }

// Word k of section i's record.
int32_t Word(const uint8_t* table, int64_t i, int k) {
  return static_cast<int32_t>(LoadLE32(table + static_cast<size_t>(i) * kSectionRecordBytes + 4 * k));
}

const SectionRecordLayout& LayoutOf(int32_t type) { return IsStraightType(type) ? kStraightRecord : kCurvedRecord; }

// "which is section 3's", "inside section 3's", or nothing when no section owns
// that record; `first` lists where each section's records begin.
std::string Owner(int64_t index, const std::vector<int64_t>& first) {
  const auto after = std::upper_bound(first.begin(), first.end() - 1, index);
  if (after == first.begin()) return std::string();
  const int64_t j = after - first.begin() - 1;
  return ReaderText(first[static_cast<size_t>(j)] == index ? ", which is section %lld's" : ", inside section %lld's", L(j));
}

}  // namespace

uint64_t TProjectLayout::AltitudeTable() const { return kProjectTablesOffset; }
uint64_t TProjectLayout::WallTable() const {
  return AltitudeTable() + kAltitudeRecordBytes * static_cast<uint64_t>(traces * sections);
}
uint64_t TProjectLayout::SectionTable() const { return WallTable() + kWallRecordBytes * static_cast<uint64_t>(walls); }
uint64_t TProjectLayout::Size() const { return SectionTable() + kSectionRecordBytes * static_cast<uint64_t>(sections); }

std::optional<TReadRefusal> CheckCounts(int64_t traces, int64_t sections, uint64_t size) {
  if (traces < 1 || traces > kStoredTraces)
    return TReadRefusal{kTrackReadError, ReaderText("the header names %lld traces; a track has 1 to 16", L(traces))};
  if (sections < 1)
    return TReadRefusal{kTrackReadError, ReaderText("the header names %lld sections; a track has at least one", L(sections))};
  if (size < kProjectTablesOffset)
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file ends inside its trace list: it holds %lld bytes, the header and the trace "
                             "list take %lld",
                             L(size), L(uint64_t{kProjectTablesOffset}))};
  if ((size - kProjectHeaderGroupOffset) % kGroupBytes != 0)
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file ends inside a record: its %lld bytes are not the header and whole 32-byte "
                             "records",
                             L(size))};
  // Without walls the file must still hold every altitude and section record; this
  // bounds the section count by the file's size before anything depends on it.
  const int64_t least = ProjectFileSize(traces, sections, 0);
  if (least > static_cast<int64_t>(size)) {
    const int64_t altitudesEnd = static_cast<int64_t>(kProjectTablesOffset) + 32 * traces * sections;
    const std::string where =
        static_cast<int64_t>(size) < altitudesEnd
            ? ReaderText("inside section %lld's altitudes", L((static_cast<int64_t>(size) - 168) / (32 * traces)))
            : std::string("before its section records");
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file ends %s: it holds %lld bytes, but %lld traces and %lld sections need at "
                             "least %lld",
                             where.c_str(), L(size), L(traces), L(sections), L(least))};
  }
  return std::nullopt;
}

std::optional<TReadRefusal> CheckSectionRecords(const uint8_t* table, int64_t traces, int64_t sections,
                                                uint64_t size, TProjectLayout& layout) {
  // A file cut short or lengthened at its end has other records where the
  // section records should be: their altitude indices are then not those of
  // sections in order. (A single damaged record leaves the others in place.)
  int64_t inPlace = 0;
  for (int64_t i = 0; i < sections; ++i)
    if (Word(table, i, LayoutOf(Word(table, i, 0)).firstAltitude) == i * traces) ++inPlace;
  if (2 * inPlace < sections)
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file does not end with the records of its %lld sections: it was cut short, or "
                             "something was added to its end (it holds %lld bytes)",
                             L(sections), L(size))};

  layout.traces = traces;
  layout.sections = sections;
  layout.firstWall.assign(static_cast<size_t>(sections) + 1, 0);
  for (int64_t i = 0; i < sections; ++i) {
    const int32_t count = Word(table, i, LayoutOf(Word(table, i, 0)).numberOfWalls);
    if (count < 0) return TReadRefusal{kSectionReadError, ReaderText("section %lld names %d walls", L(i), count)};
    layout.firstWall[static_cast<size_t>(i) + 1] = layout.firstWall[static_cast<size_t>(i)] + count;
  }
  layout.walls = layout.firstWall.back();

  const int64_t need = ProjectFileSize(traces, sections, layout.walls);
  const int64_t held = static_cast<int64_t>(size);
  if (need > held) {
    // The walls there is room for, and the first section whose walls go beyond.
    const int64_t room = (held - ProjectFileSize(traces, sections, 0)) / static_cast<int64_t>(kWallRecordBytes);
    int64_t short_ = 0;
    while (short_ < sections && layout.firstWall[static_cast<size_t>(short_) + 1] <= room) ++short_;
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file ends inside section %lld's walls: it holds %lld bytes, but its records need "
                             "%lld",
                             L(short_), L(held), L(need))};
  }
  if (need < held)
    return TReadRefusal{kTrackReadError,
                        ReaderText("the file holds %lld bytes, %lld more than its records need", L(held), L(held - need))};

  // Each section's records are its own, right after the previous section's.
  std::vector<int64_t> firstAltitude(static_cast<size_t>(sections) + 1);
  for (int64_t i = 0; i <= sections; ++i) firstAltitude[static_cast<size_t>(i)] = i * traces;
  for (int64_t i = 0; i < sections; ++i) {
    const SectionRecordLayout& fields = LayoutOf(Word(table, i, 0));
    const int64_t altitude = Word(table, i, fields.firstAltitude);
    if (altitude != i * traces) {
      const int64_t records = traces * sections;
      return TReadRefusal{
          kAltitudeReadError,
          altitude < 0 || altitude + traces > records
              ? ReaderText("section %lld's altitude records are said to start at record %lld, outside the altitude "
                     "table (%lld records)",
                     L(i), L(altitude), L(records))
              : ReaderText("section %lld's altitude records are said to start at record %lld%s; its own start at "
                     "record %lld",
                     L(i), L(altitude), Owner(altitude, firstAltitude).c_str(), L(i * traces))};
    }
    const int64_t wall = Word(table, i, fields.firstWall);
    const int64_t own = layout.firstWall[static_cast<size_t>(i)];
    if (wall != own) {
      const int64_t count = layout.firstWall[static_cast<size_t>(i) + 1] - own;
      return TReadRefusal{
          kWallReadError,
          wall < 0 || wall + count > layout.walls
              ? ReaderText("section %lld's wall records are said to start at record %lld, outside the wall table "
                     "(%lld records)",
                     L(i), L(wall), L(layout.walls))
              : ReaderText("section %lld's wall records are said to start at record %lld%s; its own start at record "
                     "%lld",
                     L(i), L(wall), Owner(wall, layout.firstWall).c_str(), L(own))};
    }
  }
  return std::nullopt;
}

}  // namespace meridal
