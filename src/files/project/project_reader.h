#pragma once
// ProjectReader: a project file held whole in memory, a read position, and the
// message boxes the readers report through. Every read is checked against the
// buffer: a read that does not fit fails and reads nothing.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "files/project/project_key.h"
#include "platform/messages.h"

namespace meridal {

class ProjectReader {
 public:
  // Borrows the bytes; unsealing works on a copy.
  ProjectReader(std::span<const uint8_t> file, IMessages& messages, const TeaKey& key = kProjectKey);
  // Takes the bytes over; unsealing works in place.
  ProjectReader(std::vector<uint8_t>&& file, IMessages& messages, const TeaKey& key = kProjectKey);

  IMessages& Messages() const { return messages_; }
  void Fail(const char* message) const;  // shows a read failure

  size_t Size() const { return file_.size(); }
  size_t Position() const { return position_; }
  // Positions beyond the file are allowed; reading there fails.
  void Seek(uint64_t offset) { position_ = offset; }
  void SeekFromEnd(uint64_t back) { position_ = back <= file_.size() ? file_.size() - back : kNowhere; }

  // Bytes as stored (once the file was unsealed in place, only its first 8 bytes).
  bool ReadBytes(void* out, size_t n);
  // `groups` sealed groups at the position, returned as their plaintext words.
  bool ReadSealed(int32_t* words, size_t groups);
  // Unseals every whole group after the first 8 bytes in one pass, so that the
  // record reads that follow are plain copies. Sealed reads off the group grid
  // fail from then on if the file was unsealed in place.
  void UnsealAll();

  // The counts of the header, once the track has read them: the section records
  // need them to find the tables.
  int32_t NumberOfTraces = 0;
  int32_t NumberOfSections = 0;
  uint64_t AltitudeTableOffset() const;
  uint64_t WallTableOffset() const;

 private:
  static constexpr uint64_t kNowhere = UINT64_MAX;
  bool Fits(size_t n) const { return position_ <= file_.size() && n <= file_.size() - position_; }

  std::vector<uint8_t> owned_;
  std::span<const uint8_t> file_;
  IMessages& messages_;
  TeaKey key_;
  uint64_t position_ = 0;
  std::unique_ptr<uint8_t[]> plainCopy_;
  const uint8_t* plain_ = nullptr;  // the unsealed file, once UnsealAll ran
  size_t plainGroups_ = 0;
  bool inPlace_ = false;
};

}  // namespace meridal
