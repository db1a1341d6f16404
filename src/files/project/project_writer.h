#pragma once
// ProjectWriter: the project file built in memory, a write position, the filler
// generator and the message boxes the writers report through.
//
// Records are handed over as plaintext words and sealed a few kilobytes at a
// time, while they are still in the cache, and at the latest before the image is
// handed out. Groups are sealed independently of one another, so the bytes are
// the same as if every record had been sealed as it was written; sealing many at
// once lets the cipher run them side by side.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "files/cipher/filler.h"
#include "files/project/project_key.h"
#include "platform/messages.h"

namespace meridal {

class ProjectWriter {
 public:
  ProjectWriter(IMessages& messages, TFiller& filler, const TeaKey& key = kProjectKey);

  IMessages& Messages() const { return messages_; }
  void Fail(const char* message) const;  // shows a write failure
  int32_t NextFiller() { return filler_.Next(); }
  // The next `count` fillers at once, in the order NextFiller() would give them.
  void DrawFillers(int32_t* words, size_t count) { filler_.Fill(words, count); }

  void Reserve(size_t bytes);
  size_t Size() const { return image_.size(); }
  size_t Position() const { return position_; }
  // Like a file: a position beyond the end is allowed, and writing there first
  // fills the gap with zeros.
  void Seek(size_t offset) { position_ = offset; }
  void SeekToEnd() { position_ = image_.size(); }

  // Bytes as they are.
  bool WriteBytes(const void* data, size_t n);
  bool WriteZeros(size_t n);
  // `groups` groups of eight plaintext words, to be sealed. The position must lie
  // on the group grid (8 bytes past the start, then every 32 bytes).
  bool WriteSealed(const int32_t* words, size_t groups);

  // The finished file.
  const std::vector<uint8_t>& Image();
  std::vector<uint8_t> TakeImage();

 private:
  uint8_t* Prepare(size_t n);  // room for n bytes at the position
  void SealPending();

  struct Run {
    size_t first, end;  // groups of the grid, written as plaintext, not yet sealed
  };

  IMessages& messages_;
  TFiller& filler_;
  TeaKey key_;
  std::vector<uint8_t> image_;
  std::vector<Run> pending_;
  std::vector<uint8_t> pendingMark_;        // 1 for each group of the grid waiting to be sealed
  std::vector<uint8_t*> pendingAddresses_;  // the waiting groups, gathered for one sealing
  size_t position_ = 0;
};

}  // namespace meridal
