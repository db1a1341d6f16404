#include "files/safety/file_calls.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace meridal {

namespace {

class SystemCalls : public IFileCalls {
 public:
  int Open(const char* path, int flags, mode_t mode) override { return ::open(path, flags, mode); }
  ssize_t Write(int fd, const void* data, size_t n) override { return ::write(fd, data, n); }
  int Fsync(int fd) override { return ::fsync(fd); }
  int Fchmod(int fd, mode_t mode) override { return ::fchmod(fd, mode); }
  int Fchown(int fd, uid_t owner, gid_t group) override { return ::fchown(fd, owner, group); }
  int Fstat(int fd, struct stat* st) override { return ::fstat(fd, st); }
  int Ftruncate(int fd, off_t length) override { return ::ftruncate(fd, length); }
  int Close(int fd) override { return ::close(fd); }
  int Rename(const char* from, const char* to) override { return ::rename(from, to); }
  int Unlink(const char* path) override { return ::unlink(path); }
  int Stat(const char* path, struct stat* st) override { return ::stat(path, st); }
  int Access(const char* path, int mode) override { return ::access(path, mode); }
};

}  // namespace

IFileCalls& SystemFileCalls() {
  static SystemCalls calls;
  return calls;
}

}  // namespace meridal
