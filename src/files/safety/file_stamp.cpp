#include "files/safety/file_stamp.h"

#include <cerrno>
#include <functional>
#include <string_view>
#include <vector>

#include "files/safety/input_file.h"

namespace meridal {

namespace {

int64_t Nanoseconds(const struct timespec& t) { return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec; }

uint64_t HashOf(std::span<const uint8_t> bytes) {
  // Within one run of the program only: the standard library's string hash.
  return std::hash<std::string_view>()(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace

FileStamp StampOf(const struct stat& status, std::span<const uint8_t> bytes) {
  return FileStamp{true, static_cast<uint64_t>(bytes.size()), Nanoseconds(status.st_mtim), HashOf(bytes)};
}

DiskChange CompareWithDisk(const std::string& path, const FileStamp& stamp) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return errno == ENOENT ? DiskChange::Gone : DiskChange::Changed;
  if (!S_ISREG(status.st_mode) || static_cast<uint64_t>(status.st_size) != stamp.size) return DiskChange::Changed;
  if (Nanoseconds(status.st_mtim) == stamp.modifiedNs) return DiskChange::Same;
  InputFile file(path, UINT64_MAX);
  std::vector<uint8_t> bytes;
  if (!file.ReadRest({}, bytes)) return DiskChange::Changed;
  return HashOf(bytes) == stamp.hash ? DiskChange::Same : DiskChange::Changed;
}

}  // namespace meridal
