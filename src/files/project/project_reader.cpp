#include "files/project/project_reader.h"

#include <algorithm>
#include <cstring>

#include "files/cipher/seal.h"
#include "files/safety/byte_order.h"

namespace meridal {

ProjectReader::ProjectReader(std::span<const uint8_t> file, const TeaKey& key) : file_(file), key_(key) {}

bool ProjectReader::ReadBytes(void* out, size_t n) {
  if (!Fits(n)) return false;
  std::memcpy(out, file_.data() + position_, n);
  position_ += n;
  return true;
}

bool ProjectReader::ReadSealed(int32_t* words, size_t groups) {
  const size_t n = groups * kGroupBytes;
  if (!Fits(n)) return false;
  // Unseals a copy, a few groups at a time.
  uint8_t scratch[4 * kGroupBytes];
  for (size_t done = 0; done < groups;) {
    const size_t now = std::min<size_t>(groups - done, 4);
    std::memcpy(scratch, file_.data() + position_ + done * kGroupBytes, now * kGroupBytes);
    UnsealGroups(scratch, now, key_);
    LoadWordsLE(scratch, words + done * kGroupWords, now * kGroupWords);
    done += now;
  }
  position_ += n;
  return true;
}

}  // namespace meridal
