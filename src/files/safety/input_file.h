#pragma once
// A file opened for reading whole, its first bytes first: a format looks at its
// magic and header before the rest of a file (up to a gigabyte) is read at all.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace meridal {

class InputFile {
 public:
  // Opens the file without waiting on it (a named pipe does not block) and
  // checks that it is a regular file of at most `maxBytes`. What is no regular
  // file is only looked at, never opened: it counts as opened, and not usable.
  InputFile(const std::string& path, uint64_t maxBytes);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  bool Opened() const { return opened_; }
  // Opened, and a regular file that is not too large.
  bool Usable() const { return usable_; }
  int Error() const { return error_; }  // errno of the call that failed
  // The system's reason for a failure, naming the file, or the kind of file it
  // is when it is not a regular file; empty when there is none.
  std::string Reason() const;
  uint64_t Size() const { return static_cast<uint64_t>(status_.st_size); }
  const struct stat& Status() const { return status_; }

  // The first `n` bytes (all of a shorter file); false after a read error.
  bool ReadHead(size_t n, std::vector<uint8_t>& head);
  // The whole file, beginning with the head read before; false after a read
  // error, after running out of memory (ENOMEM), or when the file shrank.
  bool ReadRest(const std::vector<uint8_t>& head, std::vector<uint8_t>& bytes);

 private:
  bool ReadAt(uint8_t* into, size_t from, size_t to);

  std::string path_;
  int fd_ = -1;
  bool opened_ = false, usable_ = false;
  int error_ = 0;
  struct stat status_ {};
};

}  // namespace meridal
