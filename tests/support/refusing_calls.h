#pragma once
// The real file calls, except that one folder takes no new file (as a folder the
// user may not write, holding a file he may), that giving a file away may be
// refused (as it is to anyone but the superuser), and that the disk may take its
// time (a write puts down 16 KB at most, after half a millisecond).
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>

#include "files/safety/file_calls.h"
#include "files/safety/target_path.h"

namespace meridal::testing {

class RefusingCalls : public IFileCalls {
 public:
  std::string refusingFolder;  // no file may be created here
  bool ownerRefused = false;   // a new owner is refused
  bool groupRefused = false;   // so is a new group
  bool slowDisk = false;

  int Open(const char* path, int flags, mode_t mode) override {
    if ((flags & O_CREAT) && FolderOf(path) == refusingFolder) return Refuse<int>(EACCES);
    return real_.Open(path, flags, mode);
  }
  int Fchown(int fd, uid_t owner, gid_t group) override {
    if ((ownerRefused && owner != static_cast<uid_t>(-1)) || (groupRefused && group != static_cast<gid_t>(-1)))
      return Refuse<int>(EPERM);
    return real_.Fchown(fd, owner, group);
  }
  ssize_t Write(int fd, const void* data, size_t n) override {
    if (!slowDisk) return real_.Write(fd, data, n);
    std::this_thread::sleep_for(std::chrono::microseconds(500));
    return real_.Write(fd, data, std::min<size_t>(n, 16 << 10));
  }
  int Fsync(int fd) override { return real_.Fsync(fd); }
  int Fchmod(int fd, mode_t mode) override { return real_.Fchmod(fd, mode); }
  int Fstat(int fd, struct stat* st) override { return real_.Fstat(fd, st); }
  int Ftruncate(int fd, off_t length) override { return real_.Ftruncate(fd, length); }
  int Close(int fd) override { return real_.Close(fd); }
  int Rename(const char* from, const char* to) override { return real_.Rename(from, to); }
  int Unlink(const char* path) override { return real_.Unlink(path); }
  int Stat(const char* path, struct stat* st) override { return real_.Stat(path, st); }
  int Access(const char* path, int mode) override { return real_.Access(path, mode); }

 private:
  template <typename T>
  static T Refuse(int error) {
    errno = error;
    return T(-1);
  }
  IFileCalls& real_ = SystemFileCalls();
};

}  // namespace meridal::testing
