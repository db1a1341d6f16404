#pragma once
// The system calls that replacing a file makes, behind an interface, so that a
// test can make any one of them fail (a full disk, an I/O error on fsync, a
// folder that refuses new files, an owner that cannot be kept) and check what is
// left on disk afterwards.
// Each operation returns what its POSIX call returns and sets errno the same way.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

namespace meridal {

class IFileCalls {
 public:
  virtual ~IFileCalls() = default;
  virtual int Open(const char* path, int flags, mode_t mode) = 0;
  virtual ssize_t Write(int fd, const void* data, size_t n) = 0;
  virtual int Fsync(int fd) = 0;
  virtual int Fchmod(int fd, mode_t mode) = 0;
  virtual int Fchown(int fd, uid_t owner, gid_t group) = 0;
  virtual int Fstat(int fd, struct stat* st) = 0;
  virtual int Ftruncate(int fd, off_t length) = 0;
  virtual int Close(int fd) = 0;
  virtual int Rename(const char* from, const char* to) = 0;
  virtual int Unlink(const char* path) = 0;
  virtual int Stat(const char* path, struct stat* st) = 0;
  virtual int Access(const char* path, int mode) = 0;
};

// The real calls.
IFileCalls& SystemFileCalls();

}  // namespace meridal
