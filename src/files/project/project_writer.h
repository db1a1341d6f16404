#pragma once
// ProjectWriter: the project file built in memory, a write position, the filler
// generator and the message boxes the writers report through.
//
// Records are handed over as plaintext words and sealed a batch at a time: once
// the expected size is known (Reserve) and the file is large, on a second thread
// while the next records are built, and at the latest before the image is handed
// out. Groups are sealed independently of one another, so the bytes are the same
// as if every record had been sealed as it was written; sealing many at once lets
// the cipher run them side by side.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "files/cipher/chunk_pipeline.h"
#include "files/cipher/filler.h"
#include "files/project/project_key.h"
#include "platform/messages.h"

namespace meridal {

class ProjectWriter {
 public:
  ProjectWriter(IMessages& messages, TFiller& filler, const TeaKey& key = kProjectKey);
  ~ProjectWriter();
  ProjectWriter(const ProjectWriter&) = delete;
  ProjectWriter& operator=(const ProjectWriter&) = delete;

  IMessages& Messages() const { return messages_; }
  void Fail(const char* message) const;  // shows a write failure
  int32_t NextFiller() { return filler_.Next(); }
  // The next `count` fillers at once, in the order NextFiller() would give them.
  void DrawFillers(int32_t* words, size_t count) { filler_.Fill(words, count); }

  // The file will be this large: room is made for it, and a large file is sealed
  // side by side with the writing.
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
  // Hands the batch being filled to the cipher (or seals it here, without one).
  void Dispatch();
  // Every waiting group sealed, and the cipher's work done.
  void SealPending();
  // The group waits in a batch not sealed yet: it is sealed before it is written over.
  void SealBeforeOverwrite(size_t group);

  IMessages& messages_;
  TFiller& filler_;
  TeaKey key_;
  std::vector<uint8_t> image_;
  size_t position_ = 0;
  std::vector<uint8_t*> current_;               // the groups of the batch being filled
  std::vector<std::vector<uint8_t*>> batches_;  // handed to the cipher, in order
  std::vector<uint32_t> batchOf_;               // for each group of the grid: 1 + its batch while it waits, else 0
  std::unique_ptr<TChunkPipeline> cipher_;      // last: its thread uses everything above
};

}  // namespace meridal
