#pragma once
// What a file was when the editor last read or wrote it: its size, its time of
// change and a hash of its bytes. Before the editor overwrites the file it asks
// whether another program changed it since.
#include <sys/stat.h>

#include <cstdint>
#include <span>
#include <string>

namespace meridal {

struct FileStamp {
  bool known = false;
  uint64_t size = 0;
  int64_t modifiedNs = 0;  // st_mtim in nanoseconds
  uint64_t hash = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a file whose status and bytes are these.
FileStamp StampOf(const struct stat& status, std::span<const uint8_t> bytes);

enum class DiskChange {
  Same,     // as stamped, or the same bytes with only a new time
  Changed,  // other bytes, or another file in its place
  Gone,     // no file there any more
};
// Compares the file at `path` with its stamp: a file of the same size and time is
// taken as unchanged; otherwise its bytes are read and hashed.
DiskChange CompareWithDisk(const std::string& path, const FileStamp& stamp);

}  // namespace meridal
