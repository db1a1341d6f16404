#pragma once
// TProjectFileWriter: a track written as a project file (*.mrd): "MRDL", the
// version, the sealed header and trace list, then for each section in order its
// record at the end of the file, its altitudes and its walls, each record with
// fresh filler words drawn in that order. The records are sealed on a second
// thread for a large track while the next ones are built (see ProjectWriter).
//
// Nothing is written that could not be read back: a track of no section or of
// more than 16 traces ("Track: Error writing file!"), a section whose altitudes
// or walls are not its own records in section order ("Altitude: ..." and "Wall:
// Error writing file!") are refused with one message.
#include <cstdint>
#include <optional>
#include <vector>

#include "files/cipher/filler.h"
#include "platform/messages.h"

namespace meridal {

class TTrack;

class TProjectFileWriter {
 public:
  TProjectFileWriter(IMessages& messages, TFiller& filler) : messages_(messages), filler_(filler) {}
  // The file's bytes, or nothing after the failure was shown.
  std::optional<std::vector<uint8_t>> WriteProject(const TTrack& track);

 private:
  IMessages& messages_;
  TFiller& filler_;
};

}  // namespace meridal
