#pragma once
// Replacing a file's contents so that a failure never costs the old contents: the
// new bytes go to a temporary file in the target's folder, are flushed to the
// disk, and only then renamed over the target. On any failure the temporary file
// is removed and the target is left as it was.
//
// A folder that refuses new files while the target itself may be written (a
// writable file in a read-only folder) leaves no room for a temporary file. Then
// the target is written in place, as the only way to save at all; should that
// write fail, the old contents are written back.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "files/safety/file_calls.h"

namespace meridal {

enum class ReplaceResult {
  Ok,
  CannotCreate,  // the target could not be opened or created, or is a folder
  WriteFailed,   // writing, flushing or renaming failed (disk full, quota, I/O error...)
};

struct ReplaceOutcome {
  ReplaceResult result = ReplaceResult::Ok;
  int error = 0;         // errno of the call that failed
  bool inPlace = false;  // the folder refused a temporary file: the target was written directly
};

ReplaceOutcome ReplaceFileContents(const std::string& target, std::span<const uint8_t> bytes,
                                   IFileCalls& calls = SystemFileCalls());

// The same for contents made piece by piece, so that a large file need not be
// whole in memory first: `write` hands its pieces, in order, to `put`, which
// returns false once the disk refused one (errno tells why); `write` returns
// false when it failed (then with errno set) or `put` did.
using PutBytes = std::function<bool(const uint8_t* data, size_t size)>;
using ContentWriter = std::function<bool(const PutBytes& put)>;
ReplaceOutcome ReplaceFileWith(const std::string& target, const ContentWriter& write,
                               IFileCalls& calls = SystemFileCalls());

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
// Permission denied". Shown beneath the message of the operation that failed.
std::string SystemReason(const std::string& path, int error);

}  // namespace meridal
