#include "files/project/project_reader.h"

#include <algorithm>
#include <cstring>

#include "files/safety/byte_order.h"
#include "files/project/project_format.h"
#include "files/cipher/seal.h"
#include "files/cipher/two_halves.h"

namespace meridal {

ProjectReader::ProjectReader(std::span<const uint8_t> file, IMessages& messages, const TeaKey& key)
    : file_(file), messages_(messages), key_(key) {}

ProjectReader::ProjectReader(std::vector<uint8_t>&& file, IMessages& messages, const TeaKey& key)
    : owned_(std::move(file)), file_(owned_), messages_(messages), key_(key) {}

void ProjectReader::Fail(const char* message) const { ShowFileError(messages_, message); }

bool ProjectReader::ReadBytes(void* out, size_t n) {
  if (!Fits(n)) return false;
  if (inPlace_ && position_ + n > kProjectHeaderGroupOffset) return false;
  std::memcpy(out, file_.data() + position_, n);
  position_ += n;
  return true;
}

bool ProjectReader::ReadSealed(int32_t* words, size_t groups) {
  const size_t n = groups * kGroupBytes;
  if (!Fits(n)) return false;
  uint8_t scratch[4 * kGroupBytes];
  const bool onGrid = position_ >= kProjectHeaderGroupOffset &&
                      (position_ - kProjectHeaderGroupOffset) % kGroupBytes == 0;
  if (plain_ && onGrid && (position_ - kProjectHeaderGroupOffset) / kGroupBytes + groups <= plainGroups_) {
    LoadWordsLE(plain_ + position_, words, groups * kGroupWords);
  } else {
    if (inPlace_) return false;  // the sealed bytes are gone
    // Off the cache: unseal a copy, a few groups at a time.
    for (size_t done = 0; done < groups;) {
      const size_t now = std::min<size_t>(groups - done, 4);
      std::memcpy(scratch, file_.data() + position_ + done * kGroupBytes, now * kGroupBytes);
      UnsealGroups(scratch, now, key_);
      for (size_t w = 0; w < now * kGroupWords; ++w)
        words[done * kGroupWords + w] = static_cast<int32_t>(LoadLE32(scratch + 4 * w));
      done += now;
    }
  }
  position_ += n;
  return true;
}

void ProjectReader::UnsealAll() {
  if (plain_ || file_.size() < kProjectHeaderGroupOffset) return;
  plainGroups_ = (file_.size() - kProjectHeaderGroupOffset) / kGroupBytes;
  uint8_t* plain;
  if (!owned_.empty()) {
    plain = owned_.data();
    inPlace_ = true;
  } else {
    plainCopy_.reset(new uint8_t[kProjectHeaderGroupOffset + plainGroups_ * kGroupBytes]);
    plain = plainCopy_.get();
    std::memcpy(plain, file_.data(), kProjectHeaderGroupOffset);
  }
  const uint8_t* sealed = file_.data() + kProjectHeaderGroupOffset;
  uint8_t* opened = plain + kProjectHeaderGroupOffset;
  InTwoHalves(plainGroups_, plainGroups_ >= kGroupsWorthATread, [&](size_t first, size_t end) {
    UnsealGroups(sealed + first * kGroupBytes, opened + first * kGroupBytes, end - first, key_);
  });
  plain_ = plain;
}

uint64_t ProjectReader::AltitudeTableOffset() const { return kProjectTablesOffset; }

uint64_t ProjectReader::WallTableOffset() const {
  return kProjectTablesOffset + kAltitudeRecordBytes * static_cast<uint64_t>(static_cast<uint32_t>(NumberOfSections)) *
                                    static_cast<uint64_t>(static_cast<uint32_t>(NumberOfTraces));
}

}  // namespace meridal
