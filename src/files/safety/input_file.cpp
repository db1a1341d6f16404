#include "files/safety/input_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "files/safety/safe_file.h"
#include "files/safety/target_path.h"
#include "platform/memory_hints.h"

namespace meridal {

InputFile::InputFile(const std::string& path, uint64_t maxBytes) : path_(path) {
  // A device is not even opened: opening one may act on the hardware. What
  // stands at the path is looked at again once it is open, in case it changed.
  if (stat(path.c_str(), &status_) == 0 && !S_ISREG(status_.st_mode)) {
    opened_ = true;
    error_ = S_ISDIR(status_.st_mode) ? EISDIR : 0;
    return;
  }
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  opened_ = true;
  if (fstat(fd_, &status_) != 0) {
    error_ = errno;
    return;
  }
  if (!S_ISREG(status_.st_mode)) {
    error_ = S_ISDIR(status_.st_mode) ? EISDIR : 0;
    return;
  }
  if (static_cast<uint64_t>(status_.st_size) > maxBytes) {
    error_ = EFBIG;
    return;
  }
  usable_ = true;
}

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

std::string InputFile::Reason() const {
  if (opened_ && !usable_ && error_ == 0) return NotRegularReason(path_, status_.st_mode);
  if (error_ == 0) return std::string();
  return SystemReason(path_, error_);
}

bool InputFile::ReadAt(uint8_t* into, size_t from, size_t to) {
  size_t done = from;
  while (done < to) {
    const ssize_t n = pread(fd_, into + done, to - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error_ = errno;
    if (n <= 0) return false;  // an error, or the file shrank
    done += static_cast<size_t>(n);
  }
  return true;
}

bool InputFile::ReadHead(size_t n, std::vector<uint8_t>& head) {
  if (!usable_) return false;
  head.resize(static_cast<size_t>(std::min<uint64_t>(n, Size())));
  if (ReadAt(head.data(), 0, head.size())) return true;
  head.clear();
  return false;
}

bool InputFile::ReadRest(const std::vector<uint8_t>& head, std::vector<uint8_t>& bytes) {
  if (!usable_) return false;
  const auto size = static_cast<size_t>(Size());
  try {
    // The storage exists before anything touches it, so the hint comes in time.
    bytes.clear();
    bytes.reserve(size);
    AdviseHugePages(bytes.data(), bytes.capacity());
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    error_ = ENOMEM;
    bytes.clear();
    return false;
  }
  const size_t kept = std::min(head.size(), size);
  if (kept > 0) std::memcpy(bytes.data(), head.data(), kept);
  if (ReadAt(bytes.data(), kept, size)) return true;
  bytes.clear();
  return false;
}

}  // namespace meridal
