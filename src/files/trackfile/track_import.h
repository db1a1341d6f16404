#pragma once
// TrackFileReader: a track file (*.trk) read back into a track, the reverse of the
// export. The whole file is checked before anything is built, and each kind of
// damage is refused with its own message: "Track: Error reading file!" over the
// file's name and what is wrong and where:
// - the "KART" tag, the format code 3000, 1 to 16 traces and at least one section;
// - the size the header describes: a file cut short (or lengthened at its end)
//   is told as such before its section records, found from the end, are read;
// - SectionTableSize = 52 x sections, WallTableSize = 32 x the walls the section
//   records name, and the exact size these counts give;
// - the section offset list (52 x i), every FirstAltitude (s x traces) and every
//   FirstWall (the running sum of the walls before it).
// Values that only restate others are recomputed instead, and listed as repairs:
// a Start or a track Length that is not the sum of the lengths, straight rotation
// words that do not match the Orientation, curved spare words other than
// 0x07070707, a Reserved word other than 0, and trace words after the last trace.
// Everything else comes back as written: the type words, the altitudes' A3 and B2
// and their X and Y (which place a straight and give an arc its trace radii).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/messages.h"

namespace meridal {

class TTrack;

class TrackFileReader {
 public:
  // What is wrong with the header of a file of `size` bytes that begins with
  // `head` (at least its first 92 bytes when it has them): the first checks of
  // Read, which the rest of the file cannot change.
  static std::optional<std::string> CheckHeader(std::span<const uint8_t> head, uint64_t size);

  TrackFileReader(std::span<const uint8_t> file, IMessages& messages, std::string fileName = std::string())
      : file_(file), messages_(messages), fileName_(std::move(fileName)) {}

  // Builds the track from the file, replacing what it held. A damaged file is
  // refused with one message (title "Error"), and the track keeps what it held.
  bool Read(TTrack& track);
  // What the last successful read repaired, one line each.
  const std::vector<std::string>& Repairs() const { return repairs_; }

 private:
  // What is wrong with a damaged file; nothing when every count and offset holds.
  std::optional<std::string> Check();
  // Whether the last 52 x sections bytes look like the section records: each
  // names the altitudes of its own place in section order.
  bool EndsWithSectionRecords() const;
  void Build(TTrack& track);
  void NoteRepairs(TTrack& track);  // and sets Reserved words to 0

  int32_t Word(uint64_t offset) const;
  uint64_t SectionRecord(int64_t i) const;

  std::span<const uint8_t> file_;
  IMessages& messages_;
  std::string fileName_;
  int64_t traces_ = 0, sections_ = 0, walls_ = 0;
  std::vector<std::string> repairs_;
};

// Reads a track file held in memory; after a repaired read, the repairs are shown
// in one warning (title "Meridal"). `fileName` names the file in a refusal.
bool ReadTrackFileImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages,
                        const std::string& fileName = std::string());

}  // namespace meridal
