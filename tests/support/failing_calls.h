#pragma once
// A double of the file calls a save makes, to make any of them fail and see what
// is left on disk afterwards.
#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "files/safety/file_calls.h"

namespace meridal::testing {

enum class Call { None, Open, Write, Fsync, Close, Rename, Fchmod };

// The real calls, except that the `nth` call of one kind (counted from 1; 0: every
// one) fails with `error`. A write may first put down all but its last byte, as a
// disk that fills up at the last byte does. A folder that refuses new files
// refuses every file created in it, before anything else fails. Giving a file
// away may be refused, as it is to anyone but the superuser. A slow disk puts
// down 16 KB a write, after half a millisecond.
class FailingCalls : public IFileCalls {
 public:
  Call failing = Call::None;
  int nth = 1;
  int error = 0;
  bool lastByte = false;
  bool folderRefuses = false;
  bool ownerRefused = false, groupRefused = false;
  bool slowDisk = false;

  int Open(const char* path, int flags, mode_t mode) override {
    if (folderRefuses && (flags & O_CREAT)) return Fail<int>(EACCES);
    return Fails(Call::Open) ? Fail<int>(error) : real_.Open(path, flags, mode);
  }
  ssize_t Write(int fd, const void* data, size_t n) override {
    if (slowDisk) {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
      n = std::min<size_t>(n, 16 << 10);
    }
    if (lastByte && failing == Call::Write && n > 1) return real_.Write(fd, data, n - 1);
    return Fails(Call::Write) ? Fail<ssize_t>(error) : real_.Write(fd, data, n);
  }
  int Fsync(int fd) override { return Fails(Call::Fsync) ? Fail<int>(error) : real_.Fsync(fd); }
  int Fchmod(int fd, mode_t mode) override { return Fails(Call::Fchmod) ? Fail<int>(error) : real_.Fchmod(fd, mode); }
  int Fchown(int fd, uid_t owner, gid_t group) override {
    if ((ownerRefused && owner != static_cast<uid_t>(-1)) || (groupRefused && group != static_cast<gid_t>(-1)))
      return Fail<int>(EPERM);
    return real_.Fchown(fd, owner, group);
  }
  int Fstat(int fd, struct stat* st) override { return real_.Fstat(fd, st); }
  int Ftruncate(int fd, off_t length) override { return real_.Ftruncate(fd, length); }
  int Close(int fd) override {
    if (!Fails(Call::Close)) return real_.Close(fd);
    real_.Close(fd);  // closed all the same, as close(2) does when it reports an error
    return Fail<int>(error);
  }
  int Rename(const char* from, const char* to) override {
    return Fails(Call::Rename) ? Fail<int>(error) : real_.Rename(from, to);
  }
  int Unlink(const char* path) override { return real_.Unlink(path); }
  int Stat(const char* path, struct stat* st) override { return real_.Stat(path, st); }
  int Access(const char* path, int mode) override { return real_.Access(path, mode); }

 private:
  bool Fails(Call call) {
    if (call != failing) return false;
    ++seen_;
    return nth == 0 || seen_ == nth;
  }
  template <typename T>
  static T Fail(int e) {
    errno = e;
    return T(-1);
  }
  IFileCalls& real_ = SystemFileCalls();
  int seen_ = 0;
};

}  // namespace meridal::testing
