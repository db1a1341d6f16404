#pragma once
// ProjectReader: sealed records read one at a time from a project file held in
// memory, at a read position. Every read is checked against the buffer: a read
// that does not fit fails and reads nothing. The reader of the whole file
// (TProjectFileReader) takes the header and the trace list through it; the
// tables it deciphers in bulk.
#include <cstddef>
#include <cstdint>
#include <span>

#include "files/project/project_key.h"

namespace meridal {

class ProjectReader {
 public:
  // Borrows the bytes; unsealing works on a copy.
  explicit ProjectReader(std::span<const uint8_t> file, const TeaKey& key = kProjectKey);

  size_t Size() const { return file_.size(); }
  size_t Position() const { return position_; }
  // Positions beyond the file are allowed; reading there fails.
  void Seek(uint64_t offset) { position_ = offset; }
  void SeekFromEnd(uint64_t back) { position_ = back <= file_.size() ? file_.size() - back : kNowhere; }

  // Bytes as stored.
  bool ReadBytes(void* out, size_t n);
  // `groups` sealed groups at the position, returned as their plaintext words.
  bool ReadSealed(int32_t* words, size_t groups);

 private:
  static constexpr uint64_t kNowhere = UINT64_MAX;
  bool Fits(size_t n) const { return position_ <= file_.size() && n <= file_.size() - position_; }

  std::span<const uint8_t> file_;
  TeaKey key_;
  uint64_t position_ = 0;
};

}  // namespace meridal
