#pragma once
// Writing a file in place, for a folder that takes no temporary file. The old
// contents are first copied to the user's cache folder ($XDG_CACHE_HOME/meridal/,
// or ~/.cache/meridal/) as NAME.PID-N.backup and synced there; then the new
// contents are written over the file and synced; then the copy is removed. A save
// interrupted in the middle (a crash, a kill, a power cut) leaves the copy. A
// write that fails puts the old contents back; the copy is kept only if that
// fails too, and the reason says where it is. Without a copy no write is made.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "files/safety/safe_file.h"

namespace meridal {

ReplaceOutcome ReplaceInPlace(IFileCalls& calls, const std::string& target, std::span<const uint8_t> bytes);

// "$XDG_CACHE_HOME/meridal" when that is set to an absolute path, else
// "$HOME/.cache/meridal"; empty when neither is known.
std::string BackupFolder();

// Writes every byte; false with errno set when the disk refuses one.
bool WriteAll(IFileCalls& calls, int fd, const uint8_t* data, size_t n);
// Makes the names in a folder durable (after a rename, a new file).
void SyncFolder(IFileCalls& calls, const std::string& folder);

}  // namespace meridal
