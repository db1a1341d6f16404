#include "files/trackfile/track_export.h"

#include <new>

#include "files/project/project_format.h"
#include "files/safety/byte_order.h"
#include "files/track_assembly.h"
#include "model/length_limit.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

uint8_t* TTrackFileWriter::Prepare(size_t n) {
  if (position_ + n > image_.size()) image_.resize(position_ + n, 0);
  return image_.data() + position_;
}

void TTrackFileWriter::WriteWords(const int32_t* words, size_t count) {
  StoreWordsLE(words, Prepare(4 * count), count);
  position_ += 4 * count;
}

std::optional<std::vector<uint8_t>> TTrackFileWriter::ExportTrack(const TTrack& track) {
  const int64_t traces = track.NumberOfTraces();
  const int64_t sections = track.NumberOfSections();
  const int64_t walls = track.WallTableSize / 32;
  if (walls < 0) {
    ShowFileError(messages_, kTrackWriteError);
    return std::nullopt;
  }
  // The file keeps the Length and every Start in 32 bits: a longer track would
  // come out with wrapped, negative distances.
  if (!WithinLengthLimit(track)) {
    ShowFileError(messages_, FileErrorText(kTrackWriteError, std::string(), LengthLimitText(track)));
    return std::nullopt;
  }
  try {
    image_.clear();
    image_.reserve(static_cast<size_t>(TrackFileSize(traces, sections, walls)));
    position_ = 0;
    // The tag read as a big-endian word and stored little-endian: "KART".
    const int32_t tag = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(track.Tag[0])) << 24 |
                                             static_cast<uint32_t>(static_cast<uint8_t>(track.Tag[1])) << 16 |
                                             static_cast<uint32_t>(static_cast<uint8_t>(track.Tag[2])) << 8 |
                                             static_cast<uint32_t>(static_cast<uint8_t>(track.Tag[3])));
    const int32_t header[7] = {tag,
                               track.FormatCode,
                               track.Length,
                               static_cast<int32_t>(traces),
                               static_cast<int32_t>(sections),
                               track.WallTableSize,
                               track.SectionTableSize};
    WriteWords(header, 7);
    // At most 16 trace words, whatever the count.
    int32_t traceWords[kExportTraceWords];
    for (int i = 0; i < kExportTraceWords; ++i) traceWords[i] = i < traces ? track.Traces[static_cast<size_t>(i)] : 0;
    WriteWords(traceWords, kExportTraceWords);
    std::vector<int32_t> offsets(static_cast<size_t>(sections));
    for (int64_t i = 0; i < sections; ++i) offsets[static_cast<size_t>(i)] = static_cast<int32_t>(52 * i);
    WriteWords(offsets.data(), offsets.size());
    // The altitude and wall tables, zeros until the sections fill them.
    position_ += static_cast<size_t>(kExportAltitudeBytes * traces * sections + kExportWallBytes * walls);
    Prepare(0);
    for (int s = 0; s < sections; ++s) {
      position_ = image_.size();
      if (!ExportSection(track, s)) return std::nullopt;
    }
    position_ = 0;
    return std::move(image_);
  } catch (const std::bad_alloc&) {
    ShowFileError(messages_, kTrackWriteError);
    return std::nullopt;
  }
}

bool TTrackFileWriter::ExportSection(const TTrack& track, int s) {
  const TSection& section = *track.Section(s);
  const int32_t record[13] = {section.Type,           section.Start,          section.Length,
                              section.Orientation,    section.Reserved,       section.ExportWords[0],
                              section.ExportWords[1], section.ExportWords[2], section.ExportWords[3],
                              section.ExportWords[4], section.FirstAltitude,  section.NumberOfWalls(),
                              section.FirstWall};
  WriteWords(record, 13);
  const int64_t traces = track.NumberOfTraces();
  const int64_t sections = track.NumberOfSections();
  const int64_t altitudeTable = static_cast<int64_t>(kExportListOffset) + 4 * sections;
  // A record outside its table would overwrite another one: fail instead.
  for (int64_t i = 0; i < traces; ++i) {
    const int64_t index = section.FirstAltitude + i;
    if (index < 0 || index >= traces * sections || i >= section.NumberOfAltitudes()) {
      ShowFileError(messages_, kAltitudeWriteError);
      return false;
    }
    const TAltitude& a = *section.Altitude(static_cast<int>(i));
    const int32_t words[8] = {a.ThirdOrder, a.SecondOrder, a.FirstOrder, a.HeightAtStart, a.A3, a.B2, a.X, a.Y};
    position_ = static_cast<size_t>(altitudeTable + index * static_cast<int64_t>(kExportAltitudeBytes));
    WriteWords(words, 8);
  }
  const int64_t walls = track.WallTableSize / 32;
  const int64_t wallTable = altitudeTable + 32 * traces * sections;
  for (int j = 0; j < section.NumberOfWalls(); ++j) {
    const int64_t index = static_cast<int64_t>(section.FirstWall) + j;
    if (index < 0 || index >= walls) {
      ShowFileError(messages_, kWallWriteError);
      return false;
    }
    const TWall& w = *section.Wall(j);
    const int32_t words[8] = {w.From, w.To, w.Surface, w.Unk1, w.Height, w.Unk2, w.Unk3, w.Unk4};
    position_ = static_cast<size_t>(wallTable + index * static_cast<int64_t>(kExportWallBytes));
    WriteWords(words, 8);
  }
  return true;
}

}  // namespace meridal
