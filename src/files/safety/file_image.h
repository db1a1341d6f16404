#pragma once
// A whole file read into memory or written from it, with what happened told back:
// the status, the system's reason for a failure, the bytes written, whether the
// target was written in place, and the file's stamp. Every format reads and
// writes through these.
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/safety/file_calls.h"
#include "files/safety/file_stamp.h"
#include "files/safety/safe_file.h"
#include "platform/messages.h"

namespace meridal {

// What a file that cannot be read or written whole says, in a box titled "Error".
inline constexpr char kTrackReadError[] = "Track: Error reading file!";
inline constexpr char kTrackWriteError[] = "Track: Error writing file!";

enum class FileStatus {
  Ok,
  // The file could not be opened (reading) or created (writing). Nothing was
  // shown: the caller shows its own "Unable to open ..." message.
  CannotOpen,
  // Reading or writing failed and has shown its message.
  Failed,
};

// What a file command did: its status, and for the status bar and the messages
// the system's reason for a failure, the bytes written, and whether the target
// was written in place because its folder refused a temporary file.
struct FileOutcome {
  FileStatus status = FileStatus::Ok;
  std::string reason;  // "tracks/circuit.mrd: Permission denied"; empty when the system gave none
  uint64_t bytes = 0;
  bool inPlace = false;
  // CannotOpen because the folder takes no temporary file while the file itself
  // could be overwritten in place, which was not allowed.
  bool inPlaceNeeded = false;
  FileStamp stamp;  // the file as read or written
  bool operator==(FileStatus other) const { return status == other; }
  // A failure that has shown its message already.
  static FileOutcome Failed() {
    FileOutcome outcome;
    outcome.status = FileStatus::Failed;
    return outcome;
  }
};

// How much of a file is read before the rest: enough for every header.
constexpr size_t kHeadBytes = 64 * 1024;
// Looks at a file's first bytes (`head`: kHeadBytes of them, or the whole of a
// shorter file) and its size before the rest is read; false after showing why
// the file is refused.
using HeadCheck = std::function<bool(std::span<const uint8_t> head, uint64_t size)>;

// The whole file at `path`, or nothing when it could not be opened (status
// CannotOpen, nothing shown) or read or was refused by `check` (status Failed,
// the message shown).
std::optional<std::vector<uint8_t>> ReadFileImage(const std::string& path, IMessages& messages,
                                                  FileOutcome& outcome, uint64_t maxBytes,
                                                  const HeadCheck& check = nullptr);
// Replaces the file at `path` by `image` safely (the old file stays intact on
// failure); a failure after the file could be created shows "Track: Error writing
// file!" with the system's reason, and "cannot open" is left to the caller. What
// the new file could not keep of the old (its owner) is shown as a warning.
FileOutcome WriteImageFile(const std::string& path, const std::vector<uint8_t>& image, IMessages& messages,
                           IFileCalls& calls = SystemFileCalls(), const ReplaceOptions& options = {});

}  // namespace meridal
