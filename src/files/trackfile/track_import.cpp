#include "files/trackfile/track_import.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "files/safety/byte_order.h"
#include "files/track_assembly.h"
#include "files/trackfile/track_export.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/track.h"
#include "model/units.h"

namespace meridal {

namespace {

constexpr size_t kHeaderBytes = kExportListOffset;  // the header and the 16 trace words
constexpr int kMaxListedRepairs = 20;

// Word offsets inside a 13-word section record.
enum SectionWord { kType, kStart, kLength, kOrientation, kReserved, kExport, kFirstAltitude = 10,
                   kNumberOfWalls, kFirstWall };

template <typename... Args>
std::string Text(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

int32_t TrackFileReader::Word(uint64_t offset) const {
  return static_cast<int32_t>(LoadLE32(file_.data() + offset));
}

// The section table ends the file.
uint64_t TrackFileReader::SectionRecord(int64_t i) const {
  return file_.size() - static_cast<uint64_t>(sections_ - i) * kExportSectionBytes;
}

bool TrackFileReader::EndsWithSectionRecords() const {
  int64_t inPlace = 0;
  for (int64_t i = 0; i < sections_; ++i)
    if (Word(SectionRecord(i) + 4 * kFirstAltitude) == i * traces_) ++inPlace;
  return 2 * inPlace >= sections_;
}

std::optional<std::string> TrackFileReader::CheckHeader(std::span<const uint8_t> head, uint64_t fileSize) {
  const int64_t size = static_cast<int64_t>(fileSize);
  if (size < static_cast<int64_t>(kHeaderBytes) || head.size() < kHeaderBytes)
    return Text("the file ends inside its header: it holds %lld bytes, the header and the trace list take 92",
                static_cast<long long>(size));
  const auto word = [&](size_t offset) { return static_cast<int32_t>(LoadLE32(head.data() + offset)); };
  if (std::memcmp(head.data(), "KART", 4) != 0) return std::string("the file does not begin with KART");
  if (word(4) != 3000) return Text("the format code is %d, not 3000", word(4));
  const int64_t traces = word(12), sections = word(16);
  if (traces < 1 || traces > kExportTraceWords)
    return Text("the header names %d traces; a track has 1 to 16", word(12));
  if (sections < 1) return Text("the header names %d sections; a track has at least one", word(16));
  if (word(24) != 52 * sections)
    return Text("the section table size is %d, but %lld sections take %lld bytes", word(24),
                static_cast<long long>(sections), static_cast<long long>(52 * sections));
  const int32_t wallTableSize = word(20);
  if (wallTableSize < 0 || wallTableSize % 32 != 0)
    return Text("the wall table size %d is not a whole number of 32-byte records", wallTableSize);
  // Without walls the file must still hold every list entry, altitude and section
  // record; this bounds the section count before the records are read.
  if (TrackFileSize(traces, sections, 0) > size)
    return Text("the file holds %lld bytes, too few for %lld sections of %lld traces", static_cast<long long>(size),
                static_cast<long long>(sections), static_cast<long long>(traces));
  return std::nullopt;
}

std::optional<std::string> TrackFileReader::Check() {
  const int64_t size = static_cast<int64_t>(file_.size());
  if (auto refusal = CheckHeader(file_, file_.size())) return refusal;
  traces_ = Word(12);
  sections_ = Word(16);
  const int32_t wallTableSize = Word(20);
  // The section records are found from the end: in a file cut short or lengthened
  // they are not there, and what is there would be read as nonsense.
  const int64_t described = TrackFileSize(traces_, sections_, wallTableSize / 32);
  if (size < described)
    return Text("the file is cut short: it holds %lld bytes, but its header describes %lld",
                static_cast<long long>(size), static_cast<long long>(described));
  if (size > described && !EndsWithSectionRecords())
    return Text("the file holds %lld bytes, %lld more than its header describes: something was added to its end",
                static_cast<long long>(size), static_cast<long long>(size - described));

  walls_ = 0;
  for (int64_t i = 0; i < sections_; ++i) {
    const int32_t count = Word(SectionRecord(i) + 4 * kNumberOfWalls);
    if (count < 0) return Text("section %lld names %d walls", static_cast<long long>(i), count);
    walls_ += count;
  }
  if (wallTableSize / 32 != walls_)
    return Text("the wall table holds %d records but the sections name %lld", wallTableSize / 32,
                static_cast<long long>(walls_));
  if (TrackFileSize(traces_, sections_, walls_) != size)
    return Text("the file holds %lld bytes, but its header and sections describe %lld", static_cast<long long>(size),
                static_cast<long long>(TrackFileSize(traces_, sections_, walls_)));

  int64_t firstWall = 0;
  for (int64_t i = 0; i < sections_; ++i) {
    const long long n = static_cast<long long>(i);
    const int32_t offset = Word(kExportListOffset + 4 * static_cast<uint64_t>(i));
    if (offset != 52 * i) return Text("the offset list gives section %lld the offset %d, not %lld", n, offset, 52 * n);
    const uint64_t record = SectionRecord(i);
    if (Word(record + 4 * kFirstAltitude) != i * traces_)
      return Text("section %lld has FirstAltitude %d, not %lld", n, Word(record + 4 * kFirstAltitude),
                  static_cast<long long>(i * traces_));
    if (Word(record + 4 * kFirstWall) != firstWall)
      return Text("section %lld has FirstWall %d, not %lld", n, Word(record + 4 * kFirstWall),
                  static_cast<long long>(firstWall));
    firstWall += Word(record + 4 * kNumberOfWalls);
  }
  return std::nullopt;
}

void TrackFileReader::Build(TTrack& track) {
  std::vector<int32_t> traces(static_cast<size_t>(traces_));
  for (int64_t i = 0; i < traces_; ++i) traces[static_cast<size_t>(i)] = Word(kExportTracesOffset + 4 * i);

  const uint64_t altitudeTable = kExportListOffset + 4 * static_cast<uint64_t>(sections_);
  const uint64_t wallTable = altitudeTable + kExportAltitudeBytes * static_cast<uint64_t>(sections_ * traces_);
  std::vector<std::unique_ptr<TSection>> sections;
  sections.reserve(static_cast<size_t>(sections_));
  for (int64_t i = 0; i < sections_; ++i) {
    int32_t w[13];
    LoadWordsLE(file_.data() + SectionRecord(i), w, 13);
    auto s = NewSectionOfType(track, w[kType]);
    s->Start = w[kStart];
    s->Length = w[kLength];
    s->Orientation = w[kOrientation];
    s->Reserved = w[kReserved];
    for (int k = 0; k < 5; ++k) s->ExportWords[k] = w[kExport + k];
    s->Altitudes.reserve(static_cast<size_t>(traces_));
    for (int64_t t = 0; t < traces_; ++t) {
      int32_t a[8];
      LoadWordsLE(file_.data() + altitudeTable + kExportAltitudeBytes * static_cast<uint64_t>(w[kFirstAltitude] + t),
                  a, 8);
      s->Altitudes.push_back(NewAltitude(s.get(), a));
    }
    s->Walls.reserve(static_cast<size_t>(w[kNumberOfWalls]));
    for (int32_t j = 0; j < w[kNumberOfWalls]; ++j) {
      int32_t v[8];
      LoadWordsLE(file_.data() + wallTable + kExportWallBytes * (static_cast<uint64_t>(w[kFirstWall]) + j), v, 8);
      s->Walls.push_back(NewWall(s.get(), v));
    }
    sections.push_back(std::move(s));
  }
  InstallReadTrack(track, std::move(traces), std::move(sections));
}

// Compares what the file said with what the track derived from it.
void TrackFileReader::NoteRepairs(TTrack& track) {
  repairs_.clear();
  for (int64_t i = traces_; i < kExportTraceWords; ++i) {
    if (Word(kExportTracesOffset + 4 * i) != 0) {
      repairs_.push_back(Text("The trace words after trace %lld are not 0; a track of %lld traces keeps none",
                              static_cast<long long>(traces_ - 1), static_cast<long long>(traces_)));
      break;
    }
  }
  // Where the lengths add up beyond 32 bits, the Length and the Starts there
  // have no true value to be mended to: such a track is told to be too long
  // (model/length_limit.h), as when it comes from a project file.
  if (inInt32Range(TotalSectionLength(track)) && Word(8) != track.Length)
    repairs_.push_back(Text("The track's Length %d is not the sum of the section lengths; it is now %d", Word(8),
                            track.Length));
  int64_t start = 0;
  for (int64_t i = 0; i < sections_; ++i) {
    TSection& s = *track.Section(static_cast<int>(i));
    const uint64_t record = SectionRecord(i);
    const long long n = static_cast<long long>(i);
    if (inInt32Range(start) && Word(record + 4 * kStart) != s.Start)
      repairs_.push_back(Text("Section %lld: Start %d is not the sum of the lengths before it; it is now %d", n,
                              Word(record + 4 * kStart), s.Start));
    start += s.Length;
    bool same = true;
    for (int k = 0; k < 5; ++k) same = same && Word(record + 4 * (kExport + k)) == s.ExportWords[k];
    if (!same)
      repairs_.push_back(IsStraightType(s.Type)
                             ? Text("Section %lld: the rotation words do not match its Orientation; they are "
                                    "recomputed", n)
                             : Text("Section %lld: the spare words are not 0x07070707; they are set to it", n));
    if (s.Reserved != 0) {
      repairs_.push_back(Text("Section %lld: Reserved %d is set to 0", n, s.Reserved));
      s.Reserved = 0;
    }
  }
}

bool TrackFileReader::Read(TTrack& track) {
  repairs_.clear();
  if (auto problem = Check()) {
    ShowFileError(messages_, FileErrorText(kTrackReadError, fileName_, *problem));
    return false;
  }
  try {
    Build(track);  // replaces the track's contents only once everything is built
  } catch (const std::bad_alloc&) {
    ShowFileError(messages_, FileErrorText(kTrackReadError, fileName_, "there is not enough memory to read the file"));
    return false;
  }
  NoteRepairs(track);
  return true;
}

bool ReadTrackFileImage(std::span<const uint8_t> image, TTrack& track, IMessages& messages,
                        const std::string& fileName) {
  TrackFileReader reader(image, messages, fileName);
  if (!reader.Read(track)) return false;
  const auto& repairs = reader.Repairs();
  if (repairs.empty()) return true;
  std::string text = "The track file was repaired while it was read:";
  for (size_t i = 0; i < repairs.size() && i < kMaxListedRepairs; ++i) text += "\n" + repairs[i];
  if (repairs.size() > kMaxListedRepairs)
    text += Text("\n... and %zu more", repairs.size() - static_cast<size_t>(kMaxListedRepairs));
  messages.Show("Meridal", text, MessageIcon::Warning, MessageButtons::Ok);
  return true;
}

}  // namespace meridal
