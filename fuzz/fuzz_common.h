#pragma once
// What both project reader harnesses check on every input: a refused file shows
// exactly one message and leaves the track empty; an accepted one writes back,
// reads back to the same shape, and exports; and every harness checks that an
// accepted track converts to each format and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/project/project_io.h"
#include "model/length_limit.h"
#include "model/track.h"
#include "platform/messages.h"
#include "support/convert_back.h"

namespace meridal::fuzz {

class CountingMessages : public IMessages {
 public:
  MessageAnswer Show(const std::string&, const std::string&, MessageIcon, MessageButtons) override {
    ++count;
    return MessageAnswer::Ok;
  }
  int count = 0;
};

inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Every file Meridal writes, it reads back.
inline void CheckConvertsBack(TTrack& track) { Check(testing::ConvertBackProblem(track).empty()); }

// A track whose lengths add up beyond what its 32-bit Length holds is not
// exported: one message, naming the reason. True for such a track, once checked.
inline bool RefusesToExportALongTrack(TTrack& track) {
  if (WithinLengthLimit(track)) return false;
  testing::CountedMessages messages;
  Check(!ExportTrackImage(track, messages).has_value());
  Check(messages.count == 1 && messages.last.find(LengthLimitText(track)) != std::string::npos);
  CheckConvertsBack(track);
  return true;
}

inline void ReadAndCheck(std::span<const uint8_t> file) {
  TTrack track;
  CountingMessages messages;
  const bool ok = ReadProjectImage(file, track, messages);
  if (!ok) {
    Check(messages.count == 1);
    Check(track.NumberOfSections() == 0 && track.Traces.empty());
    return;
  }
  Check(messages.count == 0);
  TFiller filler(1);
  auto image = WriteProjectImage(track, filler, messages);
  Check(image.has_value() && image->size() == file.size());
  TTrack again;
  Check(ReadProjectImage(*image, again, messages));
  Check(again.NumberOfSections() == track.NumberOfSections() && again.Traces == track.Traces);
  if (RefusesToExportALongTrack(track)) return;
  Check(ExportTrackImage(track, messages).has_value());
  Check(messages.count == 0);
  CheckConvertsBack(track);
}

}  // namespace meridal::fuzz
