#pragma once
// An advisory lock on a file (flock) held across a read, a change and the write
// that follows, so that two programs that change the same file one after the
// other each see the other's change. Saving replaces the file by a new one; a
// lock taken on the file that was replaced meanwhile is let go and taken again
// on the file now there.
#include <chrono>
#include <string>

namespace meridal {

// How long a second program waits for the first before it gives up.
constexpr std::chrono::milliseconds kLockPatience{5000};

class FileLock {
 public:
  enum class Status {
    Locked,    // held until the lock is released or destroyed
    Busy,      // another program held the file all the time
    Unlocked,  // there is no file to lock (yet), or it cannot be opened: nothing to wait for
  };

  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock on the file at `path` (through its links), waiting up to
  // `patience` for another holder to let go.
  Status Acquire(const std::string& path, std::chrono::milliseconds patience = kLockPatience);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// "circuit.mrd is being changed by another program".
std::string BusyFileText(const std::string& path);

}  // namespace meridal
