#include "files/safety/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "files/safety/shown_text.h"
#include "files/safety/target_path.h"

namespace meridal {

namespace {

// Whether the open file is still the one the path names (it was not replaced
// while this program waited for its lock).
bool StillThere(int fd, const std::string& path) {
  struct stat open, named;
  return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

}  // namespace

FileLock::Status FileLock::Acquire(const std::string& path, std::chrono::milliseconds patience) {
  Release();
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Status::Unlocked;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      close(fd);
      return Status::Unlocked;  // reading or writing it is refused anyway
    }
    enum class Wait { Locked, Replaced, TimedOut, Failed } wait;
    for (;;) {
      if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
        wait = StillThere(fd, path) ? Wait::Locked : Wait::Replaced;
        break;
      }
      if (errno != EWOULDBLOCK && errno != EINTR) {
        wait = Wait::Failed;
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        wait = Wait::TimedOut;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      if (!StillThere(fd, path)) {
        wait = Wait::Replaced;
        break;
      }
    }
    if (wait == Wait::Locked) {
      fd_ = fd;
      return Status::Locked;
    }
    close(fd);
    if (wait == Wait::TimedOut) return Status::Busy;
    if (wait == Wait::Failed) return Status::Unlocked;
    // Replaced while this program waited: the file now there is the one to lock.
  }
}

void FileLock::Release() {
  if (fd_ < 0) return;
  close(fd_);  // closing the last descriptor lets the lock go
  fd_ = -1;
}

std::string BusyFileText(const std::string& path) { return ShownPath(NameOf(path)) + " is being changed by another program"; }

}  // namespace meridal
