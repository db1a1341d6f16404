#include "files/project/project_file_writer.h"

#include <algorithm>
#include <array>
#include <new>

#include "files/cipher/seal.h"
#include "files/project/project_format.h"
#include "files/project/project_writer.h"
#include "files/safety/byte_order.h"
#include "model/track.h"

namespace meridal {

namespace {

// The record's 16 words: fillers drawn in word order, the fields in their places.
void BuildSectionWords(const TSection& s, const SectionRecordLayout& layout, ProjectWriter& out, int32_t w[16]) {
  std::array<bool, 16> field{};
  field[0] = true;
  for (int k : {layout.length, layout.orientation, layout.centerX, layout.centerY, layout.curvature,
                layout.firstAltitude, layout.numberOfWalls, layout.firstWall})
    if (k >= 0) field[static_cast<size_t>(k)] = true;
  int32_t fillers[16];
  out.DrawFillers(fillers, static_cast<size_t>(std::count(field.begin(), field.end(), false)));
  const int32_t* next = fillers;
  for (int k = 0; k < 16; ++k) w[k] = field[static_cast<size_t>(k)] ? 0 : *next++;
  w[0] = s.Type;
  w[layout.length] = s.Length;
  w[layout.orientation] = s.Orientation;
  if (layout.centerX >= 0) {
    w[layout.centerX] = s.ExportWords[0];
    w[layout.centerY] = s.ExportWords[1];
    w[layout.curvature] = s.ExportWords[2];
  }
  w[layout.firstAltitude] = s.FirstAltitude;
  w[layout.numberOfWalls] = s.NumberOfWalls();
  w[layout.firstWall] = s.FirstWall;
}

// Asks for the objects of the sections ahead to be brought into the cache while
// a section is written: altitudes and walls are separate objects, often far
// apart. Two sections ahead the lists that point to them, one section ahead the
// objects themselves.
void PrefetchAhead(const std::vector<std::unique_ptr<TSection>>& sections, size_t s) {
  if (s + 2 < sections.size()) {
    const TSection& later = *sections[s + 2];
    for (size_t i = 0; i < later.Altitudes.size(); i += 8) __builtin_prefetch(&later.Altitudes[i]);
    for (size_t i = 0; i < later.Walls.size(); i += 8) __builtin_prefetch(&later.Walls[i]);
  }
  if (s + 1 < sections.size()) {
    const TSection& next = *sections[s + 1];
    for (const auto& altitude : next.Altitudes) __builtin_prefetch(altitude.get());
    for (const auto& wall : next.Walls) __builtin_prefetch(wall.get());
  }
}

// The message for the first section whose records are not its own in section
// order (they would overwrite another section's, or leave a record unwritten),
// or nullptr; `walls` receives the number of walls of all sections.
const char* CheckRecordIndices(const TTrack& track, int64_t& walls) {
  const int64_t traces = track.NumberOfTraces();
  walls = 0;
  for (int s = 0; s < track.NumberOfSections(); ++s) {
    const TSection& section = *track.Section(s);
    if (section.NumberOfAltitudes() != traces || section.FirstAltitude != s * traces) return kAltitudeWriteError;
    if (section.FirstWall != walls) return kWallWriteError;
    walls += section.NumberOfWalls();
  }
  return nullptr;
}

}  // namespace

std::optional<std::vector<uint8_t>> TProjectFileWriter::WriteProject(const TTrack& track) {
  const int64_t traces = track.NumberOfTraces();
  const int64_t sections = track.NumberOfSections();
  // Write nothing that could not be read back.
  if (traces < 1 || traces > kStoredTraces || sections < 1) {
    ShowFileError(messages_, kTrackWriteError);
    return std::nullopt;
  }
  int64_t walls = 0;
  if (const char* problem = CheckRecordIndices(track, walls)) {
    ShowFileError(messages_, problem);
    return std::nullopt;
  }
  try {
    ProjectWriter out(messages_, filler_);
    out.Reserve(static_cast<size_t>(ProjectFileSize(traces, sections, walls)));

    int32_t header[kGroupWords];
    for (int k = 0; k < 8; ++k) {
      if (k == kHeaderTracesWord)
        header[k] = static_cast<int32_t>(traces);
      else if (k == kHeaderSectionsWord)
        header[k] = static_cast<int32_t>(sections);
      else
        header[k] = out.NextFiller();
    }
    uint8_t version[4];
    StoreLE32(version, kProjectVersion);
    out.WriteBytes(kProjectMagic, 4);
    out.WriteBytes(version, 4);
    out.WriteSealed(header, 1);
    int32_t block[2 * kStoredTraces];
    for (int i = 0; i < kStoredTraces; ++i) {
      block[2 * i] = i < traces ? track.Traces[static_cast<size_t>(i)] : out.NextFiller();
      block[2 * i + 1] = out.NextFiller();
    }
    out.WriteSealed(block, kTraceBlockBytes / 32);

    const size_t wallTable = kProjectTablesOffset + kAltitudeRecordBytes * static_cast<size_t>(traces * sections);
    const size_t sectionTable = wallTable + kWallRecordBytes * static_cast<size_t>(walls);
    std::vector<int32_t> words;
    for (int s = 0; s < sections; ++s) {
      PrefetchAhead(track.Sections, static_cast<size_t>(s));
      const TSection& section = *track.Section(s);
      int32_t record[16];
      BuildSectionWords(section, section.IsCurved() ? kCurvedRecord : kStraightRecord, out, record);
      out.Seek(sectionTable + kSectionRecordBytes * static_cast<size_t>(s));
      out.WriteSealed(record, 2);

      // The altitudes' records, then the walls', each run as one write.
      int32_t fillers[16];
      words.resize(8 * static_cast<size_t>(traces));
      for (int i = 0; i < traces; ++i) {
        const TAltitude& a = *section.Altitude(i);
        out.DrawFillers(fillers, 2);
        int32_t* w = words.data() + 8 * i;
        w[0] = a.ThirdOrder;
        w[1] = a.SecondOrder;
        w[2] = fillers[0];
        w[3] = a.FirstOrder;
        w[4] = a.HeightAtStart;
        w[5] = fillers[1];
        w[6] = a.X;
        w[7] = a.Y;
      }
      out.Seek(kProjectTablesOffset + kAltitudeRecordBytes * static_cast<size_t>(section.FirstAltitude));
      out.WriteSealed(words.data(), static_cast<size_t>(traces));

      const int count = section.NumberOfWalls();
      if (count == 0) continue;
      words.resize(16 * static_cast<size_t>(count));
      for (int j = 0; j < count; ++j) {
        const TWall& wall = *section.Wall(j);
        const int32_t fields[8] = {wall.From, wall.To, wall.Surface, wall.Unk1,
                                   wall.Height, wall.Unk2, wall.Unk3, wall.Unk4};
        out.DrawFillers(fillers, 8);
        int32_t* w = words.data() + 16 * j;
        for (int k = 0; k < 8; ++k) {
          w[2 * k] = fields[k];
          w[2 * k + 1] = fillers[k];
        }
      }
      out.Seek(wallTable + kWallRecordBytes * static_cast<size_t>(section.FirstWall));
      out.WriteSealed(words.data(), 2 * static_cast<size_t>(count));
    }
    return out.TakeImage();
  } catch (const std::bad_alloc&) {
    ShowFileError(messages_, kTrackWriteError);
    return std::nullopt;
  }
}

}  // namespace meridal
