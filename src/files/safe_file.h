#pragma once
// Replacing a file's contents so that a failure never costs the old contents: the
// new bytes go to a temporary file in the target's folder, are flushed to the
// disk, and only then renamed over the target. On any failure the temporary file
// is removed and the target is left as it was.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace meridal {

enum class ReplaceResult {
  Ok,
  CannotCreate,  // the temporary file could not be created, or the target is a folder
  WriteFailed,   // writing, flushing or renaming failed (disk full, quota, ...)
};

ReplaceResult ReplaceFileContents(const std::string& target, std::span<const uint8_t> bytes);

// The whole contents of a file. Opened tells whether the file could be opened at
// all; ok whether every byte was read.
struct FileContents {
  bool opened = false;
  bool ok = false;
  std::vector<uint8_t> bytes;
};
FileContents ReadWholeFile(const std::string& path, uint64_t maxBytes);

}  // namespace meridal
