#include "files/project/project_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "files/cipher/chunk_pipeline.h"
#include "files/cipher/seal.h"
#include "files/project/project_damage.h"
#include "files/project/project_format.h"
#include "files/project/project_key.h"
#include "files/project/project_reader.h"
#include "files/safety/byte_order.h"
#include "files/track_assembly.h"
#include "model/numbers.h"
#include "model/track.h"

namespace meridal {

namespace {

// About this much of the tables is deciphered at a time: a chunk is built from
// while it is still in the cache.
constexpr size_t kChunkBytes = 128 * 1024;

// The group of the file's grid that begins at this byte offset.
size_t GroupAt(uint64_t offset) { return static_cast<size_t>((offset - kProjectHeaderGroupOffset) / kGroupBytes); }

}  // namespace

struct TProjectFileReader::Head {
  int32_t header[kGroupWords];
  int32_t traceList[2 * kStoredTraces];
  std::vector<int32_t> traces;
  int64_t sections = 0;
};

TProjectFileReader::TProjectFileReader(std::span<const uint8_t> file, IMessages& messages, std::string fileName)
    : file_(file), messages_(messages), fileName_(std::move(fileName)) {}

TProjectFileReader::TProjectFileReader(std::vector<uint8_t>&& file, IMessages& messages, std::string fileName)
    : owned_(std::move(file)), file_(owned_), messages_(messages), fileName_(std::move(fileName)) {}

bool TProjectFileReader::Refuse(const TReadRefusal& refusal) {
  ShowFileError(messages_, FileErrorText(refusal.message, fileName_, refusal.reason));
  return false;
}

std::optional<TReadRefusal> TProjectFileReader::CheckHeader(std::span<const uint8_t> head, uint64_t size) {
  if (head.size() < kProjectHeaderBytes || size < kProjectHeaderBytes) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "the file ends inside its header: it holds %llu bytes, the header takes 40",
                  static_cast<unsigned long long>(size));
    return TReadRefusal{kTrackReadError, reason};
  }
  const uint8_t* bytes = head.data();
  if (std::memcmp(bytes, kProjectMagic, 4) != 0) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "the file begins with the bytes %02X %02X %02X %02X, not with MRDL", bytes[0],
                  bytes[1], bytes[2], bytes[3]);
    return TReadRefusal{kNotProjectFile, reason};
  }
  const uint32_t version = LoadLE32(bytes + 4);
  if (version != static_cast<uint32_t>(kProjectVersion)) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "its version word is %u; this program reads version 1", version);
    return TReadRefusal{kWrongVersion, reason};
  }
  uint8_t group[kGroupBytes];  // inside the 40 bytes
  std::memcpy(group, bytes + kProjectHeaderGroupOffset, kGroupBytes);
  UnsealGroupScalar(group, kProjectKey);
  return CheckCounts(static_cast<int32_t>(LoadLE32(group + 4 * kHeaderTracesWord)),
                     static_cast<int32_t>(LoadLE32(group + 4 * kHeaderSectionsWord)), size);
}

std::optional<TReadRefusal> TProjectFileReader::ReadHead(Head& head) {
  if (auto refusal = CheckHeader(file_, file_.size())) return refusal;
  ProjectReader in(file_);
  in.Seek(kProjectHeaderGroupOffset);
  in.ReadSealed(head.header, 1);
  const int64_t traces = head.header[kHeaderTracesWord];
  head.sections = head.header[kHeaderSectionsWord];
  in.Seek(kTraceBlockOffset);
  in.ReadSealed(head.traceList, kTraceBlockBytes / kGroupBytes);  // the counts' check saw it in the file
  head.traces.resize(static_cast<size_t>(traces));
  for (int64_t i = 0; i < traces; ++i) head.traces[static_cast<size_t>(i)] = head.traceList[2 * i];
  return std::nullopt;
}

bool TProjectFileReader::ReadProject(TTrack& track) {
  damage_.clear();
  Head head;
  if (auto refusal = ReadHead(head)) return Refuse(*refusal);
  const int64_t traces = static_cast<int64_t>(head.traces.size());
  const int64_t sections = head.sections;
  const size_t size = file_.size();

  // What the track held comes back if anything below fails.
  std::vector<int32_t> oldTraces = std::move(track.Traces);
  std::vector<std::unique_ptr<TSection>> oldSections = std::move(track.Sections);
  auto restore = [&] {
    track.Sections = std::move(oldSections);
    track.Traces = std::move(oldTraces);
  };
  try {
    // The plaintext: the file itself when it was handed over, else a copy.
    std::unique_ptr<uint8_t[]> copy;
    uint8_t* plain = owned_.data();
    if (owned_.empty()) {
      copy.reset(new uint8_t[size]);
      plain = copy.get();
    }
    const uint8_t* sealed = file_.data();
    auto unseal = [&](uint64_t offset, uint64_t bytes) {
      UnsealGroups(sealed + offset, plain + offset, static_cast<size_t>(bytes / kGroupBytes), kProjectKey);
    };

    // The section records first: everything else is found through them.
    const uint64_t sectionTable = size - kSectionRecordBytes * static_cast<uint64_t>(sections);
    unseal(sectionTable, kSectionRecordBytes * static_cast<uint64_t>(sections));
    TProjectLayout layout;
    if (auto refusal = CheckSectionRecords(plain + sectionTable, traces, sections, size, layout)) {
      restore();
      return Refuse(*refusal);
    }
    TProjectDamage damage;
    damage.CheckHead(head.header, head.traceList, static_cast<int>(traces));

    // Chunks of whole sections: their altitudes and their walls.
    const uint64_t perSection = (layout.SectionTable() - layout.AltitudeTable()) / static_cast<uint64_t>(sections);
    const int64_t chunkSections =
        std::max<int64_t>(1, static_cast<int64_t>(kChunkBytes / std::max<uint64_t>(perSection, 1)));
    const size_t chunks = static_cast<size_t>((sections + chunkSections - 1) / chunkSections);
    auto altitudeAt = [&](int64_t s) {
      return layout.AltitudeTable() + kAltitudeRecordBytes * static_cast<uint64_t>(s * traces);
    };
    auto wallAt = [&](int64_t s) {
      return layout.WallTable() + kWallRecordBytes * static_cast<uint64_t>(layout.firstWall[static_cast<size_t>(s)]);
    };
    TChunkPipeline cipher(
        chunks,
        [&](size_t k) {
          const int64_t first = static_cast<int64_t>(k) * chunkSections;
          const int64_t end = std::min(sections, first + chunkSections);
          unseal(altitudeAt(first), altitudeAt(end) - altitudeAt(first));
          unseal(wallAt(first), wallAt(end) - wallAt(first));
        },
        WorthASecondThread(GroupAt(sectionTable)));
    cipher.Release(chunks);

    track.Traces = head.traces;  // the sections find their traces' positions here
    track.Sections.reserve(static_cast<size_t>(sections));
    for (size_t k = 0; k < chunks; ++k) {
      cipher.Await(k);
      const int64_t first = static_cast<int64_t>(k) * chunkSections;
      const int64_t end = std::min(sections, first + chunkSections);
      for (int64_t s = first; s < end; ++s) {
        int32_t w[16];
        LoadWordsLE(plain + sectionTable + kSectionRecordBytes * static_cast<uint64_t>(s), w, 16);
        auto section = NewSectionOfType(track, w[0]);
        const SectionRecordLayout& fields = section->IsCurved() ? kCurvedRecord : kStraightRecord;
        section->Number = static_cast<int32_t>(s);
        section->Length = w[fields.length];
        section->Orientation = w[fields.orientation];
        if (fields.centerX >= 0) {
          section->ExportWords[0] = w[fields.centerX];
          section->ExportWords[1] = w[fields.centerY];
          section->ExportWords[2] = w[fields.curvature];
        }
        section->FirstAltitude = w[fields.firstAltitude];
        section->FirstWall = w[fields.firstWall];
        section->Reserved = 0;
        section->RecomputeExportWords();

        const uint8_t* altitudes = plain + altitudeAt(s);
        section->Altitudes.reserve(static_cast<size_t>(traces));
        for (int i = 0; i < traces; ++i) {
          int32_t a[8];
          LoadWordsLE(altitudes + kAltitudeRecordBytes * static_cast<size_t>(i), a, 8);
          auto altitude = std::make_unique<TAltitude>(section.get());
          altitude->Number = i;
          altitude->ThirdOrder = a[0];
          altitude->SecondOrder = a[1];
          altitude->FirstOrder = a[3];
          altitude->HeightAtStart = a[4];
          altitude->X = a[6];
          altitude->Y = a[7];
          altitude->A3 = wrapMul(3, a[0]);
          altitude->B2 = wrapMul(2, a[1]);
          section->Altitudes.push_back(std::move(altitude));
        }
        const uint8_t* walls = plain + wallAt(s);
        const int64_t count = layout.firstWall[static_cast<size_t>(s) + 1] - layout.firstWall[static_cast<size_t>(s)];
        section->Walls.reserve(static_cast<size_t>(count));
        for (int j = 0; j < count; ++j) {
          int32_t v[16];
          LoadWordsLE(walls + kWallRecordBytes * static_cast<size_t>(j), v, 16);
          const int32_t values[8] = {v[0], v[2], v[4], v[6], v[8], v[10], v[12], v[14]};
          auto wall = NewWall(section.get(), values);
          wall->Number = j;
          section->Walls.push_back(std::move(wall));
        }
        section->RecomputeDerived();
        damage.CheckSection(static_cast<int>(s), w, altitudes, walls, *section);
        track.Sections.push_back(std::move(section));
      }
    }
    FinishReadTrack(track);
    damage_ = damage.TakeLines();
    return true;
  } catch (const std::bad_alloc&) {
    restore();
    return Refuse(TReadRefusal{kTrackReadError, "there is not enough memory to read the file"});
  }
}

}  // namespace meridal
