#pragma once
// Every file Meridal writes, it reads back: a track that one reader took, written
// in each format and read again, is the same track, as far as that format keeps
// it. Shared by the tests and the fuzz harnesses, which check it on every input a
// reader takes; no test framework.
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "files/cipher/filler.h"
#include "files/track_assembly.h"
#include "files/track_formats.h"
#include "files/json/track_json_reader.h"
#include "files/json/track_json_writer.h"
#include "model/length_limit.h"
#include "model/numbers.h"
#include "model/track.h"
#include "platform/messages.h"

namespace meridal::testing {

class CountedMessages : public IMessages {
 public:
  MessageAnswer Show(const std::string&, const std::string& text, MessageIcon, MessageButtons) override {
    last = text;
    ++count;
    return MessageAnswer::Ok;
  }
  std::string last;
  int count = 0;
};

// Writes the track in every format and reads each back; what went wrong, or the
// empty text. The track read back writes the same bytes again: every value the
// format keeps came back (a project file's fillers drawn alike both times). A
// track longer than its 32-bit Length holds is kept by the formats that keep
// its sections alone, and is not exported.
inline std::string ConvertBackProblem(TTrack& track) {
  for (TrackFormat format : {TrackFormat::Project, TrackFormat::TrackFile, TrackFormat::Json}) {
    const std::string name = TrackFormatExtension(format);
    CountedMessages messages;
    TFiller filler(11), again(11);
    auto image = WriteTrackImage(format, track, filler, messages);
    if (format == TrackFormat::TrackFile && !WithinLengthLimit(track)) {
      if (image || messages.last.find(LengthLimitText(track)) == std::string::npos)
        return name + ": a track too long was exported, or refused without the reason";
      continue;
    }
    if (!image) return name + ": not written: " + messages.last;
    TTrack back;
    if (!ReadTrackImage(format, std::vector<uint8_t>(*image), back, messages))
      return name + ": not read back: " + messages.last;
    if (messages.count != 0) return name + ": read back with a message: " + messages.last;
    if (WriteTrackImage(format, back, again, messages) != image) return name + ": read back as another track";
  }
  // The JSON text as any other layout of it is read: by the general parser.
  const std::string text = TrackJsonWriter().Write(track);
  CountedMessages messages;
  TTrack general;
  if (!TrackJsonReader(text, messages, false).Read(general)) return "json: not read back in general: " + messages.last;
  if (TrackJsonWriter().Write(general) != text) return "json: read back in general as another track";
  return std::string();
}

// A track as a reader may build it from a file: any stored values, lengths of 0
// or less, traces and walls in any order, type words other than 1 and 2, A3 and
// B2 apart from their coefficients.
inline std::unique_ptr<TTrack> AnyReadableTrack(std::mt19937& rng) {
  const auto pick = [&](int64_t lo, int64_t hi) {
    return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(lo, hi)(rng));
  };
  const auto any = [&] { return pick(0, 3) == 0 ? pick(INT32_MIN, INT32_MAX) : pick(-2000000, 2000000); };
  auto track = std::make_unique<TTrack>();
  std::vector<int32_t> traces(static_cast<size_t>(pick(1, 16)));
  for (int32_t& t : traces) t = any();
  std::vector<std::unique_ptr<TSection>> sections;
  for (int n = pick(1, 5); n > 0; --n) {
    const int32_t types[] = {1, 2, 0x0101, 0x0107, 0, any()};
    auto section = NewSectionOfType(*track, types[pick(0, 5)]);
    // Five sections at most, each at most a fifth of the longest track: a track
    // file keeps none longer.
    section->Length = pick(0, 2) == 0 ? pick(INT32_MIN / 5, 0) : pick(0, 3) == 0 ? pick(0, INT32_MAX / 5) : any() / 5;
    section->Orientation = pick(INT32_MIN, INT32_MAX);
    for (int k = 0; k < 3; ++k) section->ExportWords[k] = any();
    for (int k = pick(0, 4); k > 0; --k) {
      int32_t v[8];
      for (int32_t& x : v) x = any();
      section->Walls.push_back(NewWall(section.get(), v));
    }
    for (size_t i = 0; i < traces.size(); ++i) {
      int32_t v[8];
      for (int32_t& x : v) x = any();
      if (pick(0, 2) != 0) v[4] = wrapMul(3, v[0]);
      if (pick(0, 2) != 0) v[5] = wrapMul(2, v[1]);
      section->Altitudes.push_back(NewAltitude(section.get(), v));
    }
    sections.push_back(std::move(section));
  }
  InstallReadTrack(*track, std::move(traces), std::move(sections));
  return track;
}

}  // namespace meridal::testing
