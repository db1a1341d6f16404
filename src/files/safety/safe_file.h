#pragma once
// Replacing a file's contents so that a failure never costs the old contents: the
// new bytes go to a temporary file in the target's folder, are flushed to the
// disk, and only then renamed over the target. On any failure the temporary file
// is removed and the target is left as it was.
//
// - The replacement keeps the old file's permissions, and its owner and group
//   where the process may give them (the superuser may; another user may keep the
//   group if he belongs to it). What could not be kept is told in the notes.
// - A symbolic link is followed: the file it leads to is replaced, or created
//   when it is missing, and the link stays.
// - Only a regular file is replaced. A folder, a named pipe, a device or a socket
//   (or a link to one) is refused with its kind as the reason.
// - A second hard link to the file keeps the old contents: the new file is a
//   file of its own, as with any save by rename.
//
// A folder that refuses new files while the target itself may be written (a
// writable file in a read-only folder) leaves no room for a temporary file. Then
// the target can only be written in place, and an interrupted write would tear
// it: that is done only when the caller allows it (after asking), with a copy of
// the old contents kept in the user's cache folder until the new ones are on the
// disk (see in_place_save.h).
#include <sys/stat.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "files/safety/file_calls.h"

namespace meridal {

enum class ReplaceResult {
  Ok,
  CannotCreate,  // the target could not be opened or created, or is no regular file
  WriteFailed,   // writing, flushing or renaming failed (disk full, quota, I/O error...)
};

struct ReplaceOptions {
  // Where the folder refuses a temporary file, write the target in place.
  bool inPlaceAllowed = false;
};

struct ReplaceOutcome {
  ReplaceResult result = ReplaceResult::Ok;
  int error = 0;         // errno of the call that failed
  bool inPlace = false;  // the folder refused a temporary file: the target was written directly
  // CannotCreate because the folder refused a temporary file while the target
  // could be written in place, which the caller did not allow.
  bool inPlaceNeeded = false;
  std::string reason;              // what the errno does not say, or empty
  std::vector<std::string> notes;  // what the new file could not keep of the old
  struct stat written {};          // the new file, once written
};

ReplaceOutcome ReplaceFileContents(const std::string& target, std::span<const uint8_t> bytes,
                                   IFileCalls& calls = SystemFileCalls(), const ReplaceOptions& options = {});

// The whole contents of a file. Opened tells whether the file could be opened at
// all; ok whether every byte was read; error is errno of the call that failed.
struct FileContents {
  bool opened = false;
  bool ok = false;
  int error = 0;
  std::vector<uint8_t> bytes;
};
FileContents ReadWholeFile(const std::string& path, uint64_t maxBytes);

// The system's reason for a failure, naming the file: "tracks/circuit.mrd:
// Permission denied". Shown beneath the message of the operation that failed;
// the path is escaped as shown_text.h escapes it.
std::string SystemReason(const std::string& path, int error);

}  // namespace meridal
