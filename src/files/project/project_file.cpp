// Reading and writing the project file: the model's ReadProject and WriteProject.
#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "files/safety/byte_order.h"
#include "files/project/project_check.h"
#include "files/project/project_format.h"
#include "files/project/project_reader.h"
#include "files/project/project_writer.h"
#include "files/cipher/seal.h"
#include "model/curved_section.h"
#include "model/numbers.h"
#include "model/straight_section.h"
#include "model/track.h"

namespace meridal {

namespace {

// ---- sections ----

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

bool WriteSection(TSection& s, const SectionRecordLayout& layout, ProjectWriter& out) {
  int32_t w[16];
  BuildSectionWords(s, layout, out, w);
  if (!out.WriteSealed(w, 2)) {
    out.Fail(kSectionWriteError);
    return false;
  }
  const TTrack* track = s.Track();
  const int64_t traces = track->NumberOfTraces();
  const int64_t sections = track->NumberOfSections();
  // Records go where the section's indices say; an index outside its table would
  // overwrite another record, so it fails instead.
  for (int64_t i = 0; i < traces; ++i) {
    const int64_t index = s.FirstAltitude + i;
    if (index < 0 || index >= traces * sections || i >= s.NumberOfAltitudes()) {
      out.Fail(kAltitudeWriteError);
      return false;
    }
    out.Seek(static_cast<size_t>(kProjectTablesOffset + index * kAltitudeRecordBytes));
    // Altitudes and walls have no kinds of their own: the calls need no dispatch.
    if (!s.Altitude(static_cast<int>(i))->TAltitude::WriteProject(out)) return false;
  }
  const int64_t walls = track->WallTableSize / 32;
  const int64_t wallTable = kProjectTablesOffset + traces * sections * kAltitudeRecordBytes;
  for (int j = 0; j < s.NumberOfWalls(); ++j) {
    const int64_t index = static_cast<int64_t>(s.FirstWall) + j;
    if (index < 0 || index >= walls) {
      out.Fail(kWallWriteError);
      return false;
    }
    out.Seek(static_cast<size_t>(wallTable + index * static_cast<int64_t>(kWallRecordBytes)));
    if (!s.Wall(j)->TWall::WriteProject(out)) return false;
  }
  return true;
}

bool ReadSection(TSection& s, const SectionRecordLayout& layout, ProjectReader& in) {
  int32_t w[16];
  if (!in.ReadSealed(w, 2)) {
    in.Fail(kSectionReadError);
    return false;
  }
  s.Type = w[0];
  s.Length = w[layout.length];
  s.Orientation = w[layout.orientation];
  if (layout.centerX >= 0) {
    s.ExportWords[0] = w[layout.centerX];
    s.ExportWords[1] = w[layout.centerY];
    s.ExportWords[2] = w[layout.curvature];
  }
  s.FirstAltitude = w[layout.firstAltitude];
  const int32_t numberOfWalls = w[layout.numberOfWalls];
  s.FirstWall = w[layout.firstWall];
  s.Reserved = 0;
  s.RecomputeExportWords();

  // Nothing is created for records that are not all in the file.
  const int64_t size = static_cast<int64_t>(in.Size());
  const int64_t traces = in.NumberOfTraces;
  const int64_t altitudeEnd = static_cast<int64_t>(in.AltitudeTableOffset()) +
                              (static_cast<int64_t>(s.FirstAltitude) + traces) * kAltitudeRecordBytes;
  if (traces < 0 || traces > kStoredTraces || s.FirstAltitude < 0 || altitudeEnd > size) {
    in.Fail(kAltitudeReadError);
    return false;
  }
  s.Altitudes.clear();
  s.Altitudes.reserve(static_cast<size_t>(traces));
  for (int i = 0; i < traces; ++i) {
    auto altitude = std::make_unique<TAltitude>(&s);
    in.Seek(in.AltitudeTableOffset() + (static_cast<uint64_t>(s.FirstAltitude) + i) * kAltitudeRecordBytes);
    if (!altitude->TAltitude::ReadProject(in)) return false;
    altitude->Number = i;
    s.Altitudes.push_back(std::move(altitude));
  }

  const int64_t wallEnd = static_cast<int64_t>(in.WallTableOffset()) +
                          (static_cast<int64_t>(s.FirstWall) + numberOfWalls) * static_cast<int64_t>(kWallRecordBytes);
  if (numberOfWalls < 0 || s.FirstWall < 0 || wallEnd > size) {
    in.Fail(kWallReadError);
    return false;
  }
  s.Walls.clear();
  s.Walls.reserve(static_cast<size_t>(numberOfWalls));
  for (int j = 0; j < numberOfWalls; ++j) {
    auto wall = std::make_unique<TWall>(&s);
    in.Seek(in.WallTableOffset() + (static_cast<uint64_t>(s.FirstWall) + j) * kWallRecordBytes);
    if (!wall->TWall::ReadProject(in)) return false;
    wall->Number = j;
    s.Walls.push_back(std::move(wall));
  }

  s.RecomputeDerived();
  return true;
}

// ---- the track ----

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

// Header and trace block; the counts go to the reader, the traces to `traces`.
bool ReadHead(ProjectReader& in, std::vector<int32_t>& traces) {
  uint8_t head[kProjectHeaderBytes];
  in.Seek(0);
  if (!in.ReadBytes(head, sizeof head)) {
    in.Fail(kTrackReadError);
    return false;
  }
  if (std::memcmp(head, kProjectMagic, 4) != 0) {
    in.Fail(kNotProjectFile);
    return false;
  }
  if (LoadLE32(head + 4) != static_cast<uint32_t>(kProjectVersion)) {
    in.Fail(kWrongVersion);
    return false;
  }
  int32_t words[kGroupWords];
  in.Seek(kProjectHeaderGroupOffset);
  in.ReadSealed(words, 1);  // inside the 40 bytes just read
  in.NumberOfTraces = words[kHeaderTracesWord];
  in.NumberOfSections = words[kHeaderSectionsWord];

  if (in.Size() < kProjectTablesOffset) {  // no whole trace block
    in.Fail(kTrackReadError);
    return false;
  }
  if (const char* problem = CheckProjectImage(in)) {
    in.Fail(problem);
    return false;
  }
  int32_t block[2 * kStoredTraces];
  in.Seek(kTraceBlockOffset);
  if (!in.ReadSealed(block, kTraceBlockBytes / 32)) {
    in.Fail(kTrackReadError);
    return false;
  }
  traces.resize(static_cast<size_t>(in.NumberOfTraces));
  for (int i = 0; i < in.NumberOfTraces; ++i) traces[static_cast<size_t>(i)] = block[2 * i];
  return true;
}

bool ReadSections(TTrack& track, ProjectReader& in) {
  const int32_t sections = in.NumberOfSections;
  track.Sections.reserve(static_cast<size_t>(sections));
  for (int32_t i = 0; i < sections; ++i) {
    const uint64_t back = static_cast<uint64_t>(sections - i) * kSectionRecordBytes;
    in.SeekFromEnd(back);
    int32_t first[8];
    if (!in.ReadSealed(first, 1)) {
      in.Fail(kSectionReadError);
      return false;
    }
    std::unique_ptr<TSection> section;
    if (IsStraightType(first[0]))
      section = std::make_unique<TStraightSection>(&track);
    else
      section = std::make_unique<TCurvedSection>(&track);
    TSection* raw = section.get();
    track.Sections.push_back(std::move(section));
    in.SeekFromEnd(back);
    if (!raw->ReadProject(in)) return false;
    raw->Number = i;
  }
  return true;
}

}  // namespace

bool TTrack::ReadProject(ProjectReader& in) {
  // The track is built in place, but whatever it held before comes back if the
  // read fails: a failed read leaves nothing of the file behind.
  std::vector<int32_t> oldTraces = std::move(Traces);
  std::vector<std::unique_ptr<TSection>> oldSections = std::move(Sections);
  Traces.clear();
  Sections.clear();
  bool ok = false;
  try {
    ok = ReadHead(in, Traces) && ReadSections(*this, in);
  } catch (const std::bad_alloc&) {
    in.Fail(kTrackReadError);
    ok = false;
  }
  if (!ok) {
    Sections = std::move(oldSections);
    Traces = std::move(oldTraces);
    return false;
  }
  Number = 0;
  std::memcpy(Tag, "TRAK", 5);
  FormatCode = 3000;
  RecomputeRecordIndices();
  RecomputeStarts();
  UpdateExtent();
  return true;
}

bool TTrack::WriteProject(ProjectWriter& out) {
  const int64_t traces = NumberOfTraces();
  const int64_t sections = NumberOfSections();
  const int64_t walls = WallTableSize / 32;
  // Write nothing that could not be read back.
  if (traces < 1 || traces > kStoredTraces || sections < 1 || walls < 0) {
    out.Fail(kTrackWriteError);
    return false;
  }
  out.Reserve(static_cast<size_t>(ProjectFileSize(traces, sections, walls)));
  out.Seek(0);

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
  bool ok = out.WriteBytes(kProjectMagic, 4) && out.WriteBytes(version, 4) && out.WriteSealed(header, 1);

  int32_t block[2 * kStoredTraces];
  for (int i = 0; i < kStoredTraces; ++i) {
    block[2 * i] = i < traces ? Traces[static_cast<size_t>(i)] : out.NextFiller();
    block[2 * i + 1] = out.NextFiller();
  }
  ok = ok && out.WriteSealed(block, kTraceBlockBytes / 32);
  for (int64_t s = 0; ok && s < sections; ++s) ok = out.WriteZeros(static_cast<size_t>(kAltitudeRecordBytes * traces));
  for (int64_t j = 0; ok && j < walls; ++j) ok = out.WriteZeros(kWallRecordBytes);
  if (!ok) {
    out.Fail(kTrackWriteError);
    return false;
  }
  for (size_t s = 0; s < Sections.size(); ++s) {
    PrefetchAhead(Sections, s);
    out.SeekToEnd();
    if (!Sections[s]->WriteProject(out)) return false;
  }
  return true;
}

bool TStraightSection::ReadProject(ProjectReader& in) { return ReadSection(*this, kStraightRecord, in); }
bool TStraightSection::WriteProject(ProjectWriter& out) { return WriteSection(*this, kStraightRecord, out); }
bool TCurvedSection::ReadProject(ProjectReader& in) { return ReadSection(*this, kCurvedRecord, in); }
bool TCurvedSection::WriteProject(ProjectWriter& out) { return WriteSection(*this, kCurvedRecord, out); }

// ---- altitudes and walls ----

bool TAltitude::ReadProject(ProjectReader& in) {
  int32_t w[8];
  if (!in.ReadSealed(w, 1)) {
    in.Fail(kAltitudeReadError);
    return false;
  }
  ThirdOrder = w[0];
  SecondOrder = w[1];
  FirstOrder = w[3];
  HeightAtStart = w[4];
  X = w[6];
  Y = w[7];
  A3 = wrapMul(3, ThirdOrder);
  B2 = wrapMul(2, SecondOrder);
  return true;
}

bool TAltitude::WriteProject(ProjectWriter& out) {
  int32_t w[8];
  int32_t fillers[2];
  out.DrawFillers(fillers, 2);
  w[0] = ThirdOrder;
  w[1] = SecondOrder;
  w[2] = fillers[0];
  w[3] = FirstOrder;
  w[4] = HeightAtStart;
  w[5] = fillers[1];
  w[6] = X;
  w[7] = Y;
  if (!out.WriteSealed(w, 1)) {
    out.Fail(kAltitudeWriteError);
    return false;
  }
  return true;
}

bool TWall::ReadProject(ProjectReader& in) {
  int32_t w[16];
  if (!in.ReadSealed(w, 2)) {
    in.Fail(kWallReadError);
    return false;
  }
  From = w[0];
  To = w[2];
  Surface = w[4];
  Unk1 = w[6];
  Height = w[8];
  Unk2 = w[10];
  Unk3 = w[12];
  Unk4 = w[14];
  return true;
}

bool TWall::WriteProject(ProjectWriter& out) {
  const int32_t fields[8] = {From, To, Surface, Unk1, Height, Unk2, Unk3, Unk4};
  int32_t fillers[8], w[16];
  out.DrawFillers(fillers, 8);
  for (int k = 0; k < 8; ++k) {
    w[2 * k] = fields[k];
    w[2 * k + 1] = fillers[k];
  }
  if (!out.WriteSealed(w, 2)) {
    out.Fail(kWallWriteError);
    return false;
  }
  return true;
}

}  // namespace meridal
