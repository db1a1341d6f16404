// The track file export: the model's ExportTrack.
#include "files/trackfile/track_export.h"

#include <cstring>

#include "files/safety/byte_order.h"
#include "files/project/project_format.h"
#include "model/section.h"
#include "model/track.h"

namespace meridal {

void TrackExportWriter::Fail(const char* message) const { ShowFileError(messages_, message); }

uint8_t* TrackExportWriter::Prepare(size_t n) {
  if (position_ + n > image_.size()) image_.resize(position_ + n, 0);
  return image_.data() + position_;
}

bool TrackExportWriter::WriteWords(const int32_t* words, size_t count) {
  uint8_t* out = Prepare(4 * count);
  for (size_t i = 0; i < count; ++i) StoreLE32(out + 4 * i, static_cast<uint32_t>(words[i]));
  position_ += 4 * count;
  return true;
}

bool TrackExportWriter::WriteBytes(const void* data, size_t n) {
  std::memcpy(Prepare(n), data, n);
  position_ += n;
  return true;
}

bool TrackExportWriter::WriteZeros(size_t n) {
  std::memset(Prepare(n), 0, n);
  position_ += n;
  return true;
}

bool TTrack::ExportTrack(TrackExportWriter& out) {
  const int64_t traces = NumberOfTraces();
  const int64_t sections = NumberOfSections();
  const int64_t walls = WallTableSize / 32;
  if (walls < 0) {
    out.Fail(kTrackWriteError);
    return false;
  }
  out.Reserve(static_cast<size_t>(TrackFileSize(traces, sections, walls)));
  out.Seek(0);

  // The tag read as a big-endian word and stored little-endian: "KART".
  const int32_t tag = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint8_t>(Tag[0])) << 24 |
                                           static_cast<uint32_t>(static_cast<uint8_t>(Tag[1])) << 16 |
                                           static_cast<uint32_t>(static_cast<uint8_t>(Tag[2])) << 8 |
                                           static_cast<uint32_t>(static_cast<uint8_t>(Tag[3])));
  const int32_t header[7] = {tag,
                             FormatCode,
                             Length,
                             static_cast<int32_t>(traces),
                             static_cast<int32_t>(sections),
                             WallTableSize,
                             SectionTableSize};
  bool ok = out.WriteWords(header, 7);
  // At most 16 trace words, whatever the count.
  for (int i = 0; ok && i < kExportTraceWords; ++i) {
    const int32_t trace = i < traces ? Traces[static_cast<size_t>(i)] : 0;
    ok = out.WriteWords(&trace, 1);
  }
  std::vector<int32_t> offsets(static_cast<size_t>(sections));
  for (int64_t i = 0; i < sections; ++i) offsets[static_cast<size_t>(i)] = static_cast<int32_t>(52 * i);
  ok = ok && out.WriteWords(offsets.data(), offsets.size());
  for (int64_t s = 0; ok && s < sections; ++s) ok = out.WriteZeros(static_cast<size_t>(kExportAltitudeBytes * traces));
  for (int64_t j = 0; ok && j < walls; ++j) ok = out.WriteZeros(kExportWallBytes);
  if (!ok) {
    out.Fail(kTrackWriteError);
    return false;
  }
  for (auto& section : Sections) {
    out.SeekToEnd();
    if (!section->ExportTrack(out)) return false;
  }
  return true;
}

bool TSection::ExportTrack(TrackExportWriter& out) {
  const int32_t record[13] = {Type,           Start,          Length,         Orientation,   Reserved,
                              ExportWords[0], ExportWords[1], ExportWords[2], ExportWords[3], ExportWords[4],
                              FirstAltitude,  NumberOfWalls(), FirstWall};
  if (!out.WriteWords(record, 13)) {
    out.Fail(kSectionWriteError);
    return false;
  }
  const TTrack* track = Track();
  const int64_t traces = track->NumberOfTraces();
  const int64_t sections = track->NumberOfSections();
  const int64_t altitudeTable = static_cast<int64_t>(kExportListOffset) + 4 * sections;
  // A record outside its table would overwrite another one: fail instead.
  for (int64_t i = 0; i < traces; ++i) {
    const int64_t index = FirstAltitude + i;
    if (index < 0 || index >= traces * sections || i >= NumberOfAltitudes()) {
      out.Fail(kAltitudeWriteError);
      return false;
    }
    out.Seek(static_cast<size_t>(altitudeTable + index * static_cast<int64_t>(kExportAltitudeBytes)));
    if (!Altitude(static_cast<int>(i))->ExportTrack(out)) return false;
  }
  const int64_t walls = track->WallTableSize / 32;
  const int64_t wallTable = altitudeTable + 32 * traces * sections;
  for (int j = 0; j < NumberOfWalls(); ++j) {
    const int64_t index = static_cast<int64_t>(FirstWall) + j;
    if (index < 0 || index >= walls) {
      out.Fail(kWallWriteError);
      return false;
    }
    out.Seek(static_cast<size_t>(wallTable + index * static_cast<int64_t>(kExportWallBytes)));
    if (!Wall(j)->ExportTrack(out)) return false;
  }
  return true;
}

bool TAltitude::ExportTrack(TrackExportWriter& out) {
  const int32_t record[8] = {ThirdOrder, SecondOrder, FirstOrder, HeightAtStart, A3, B2, X, Y};
  if (!out.WriteWords(record, 8)) {
    out.Fail(kAltitudeWriteError);
    return false;
  }
  return true;
}

bool TWall::ExportTrack(TrackExportWriter& out) {
  const int32_t record[8] = {From, To, Surface, Unk1, Height, Unk2, Unk3, Unk4};
  if (!out.WriteWords(record, 8)) {
    out.Fail(kWallWriteError);
    return false;
  }
  return true;
}

}  // namespace meridal
