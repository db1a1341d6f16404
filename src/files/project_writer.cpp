#include "files/project_writer.h"

#include <algorithm>
#include <cstring>

#include "files/byte_order.h"
#include "files/project_format.h"
#include "files/seal.h"

namespace meridal {

namespace {
constexpr size_t kGrid = kProjectHeaderGroupOffset;
// Sealed as soon as this many groups wait: small enough to still be in the cache,
// large enough for the cipher to run many groups side by side.
constexpr size_t kSealBatchGroups = 128;
}  // namespace

ProjectWriter::ProjectWriter(IMessages& messages, TFiller& filler, const TeaKey& key)
    : messages_(messages), filler_(filler), key_(key) {}

void ProjectWriter::Fail(const char* message) const { ShowFileError(messages_, message); }

void ProjectWriter::Reserve(size_t bytes) { image_.reserve(bytes); }

uint8_t* ProjectWriter::Prepare(size_t n) {
  if (position_ + n > image_.size()) image_.resize(position_ + n, 0);
  return image_.data() + position_;
}

bool ProjectWriter::WriteBytes(const void* data, size_t n) {
  // Whatever sealed record these bytes may overwrite is sealed first, as a file
  // written record by record would have it.
  SealPending();
  std::memcpy(Prepare(n), data, n);
  position_ += n;
  return true;
}

bool ProjectWriter::WriteZeros(size_t n) {
  SealPending();
  // Bytes the image grows by come zeroed already: only those it held before are
  // cleared (the reserved tables of a project are 13 MB on a large track).
  const size_t held = position_ < image_.size() ? std::min(n, image_.size() - position_) : 0;
  std::memset(Prepare(n), 0, held);
  position_ += n;
  return true;
}

bool ProjectWriter::WriteSealed(const int32_t* words, size_t groups) {
  if (position_ < kGrid || (position_ - kGrid) % kGroupBytes != 0) return false;
  const size_t first = (position_ - kGrid) / kGroupBytes;
  // A record written over one that still waits: seal the waiting one first.
  for (const Run& run : pending_)
    if (first < run.end && run.first < first + groups) {
      SealPending();
      break;
    }
  StoreWordsLE(words, Prepare(groups * kGroupBytes), groups * kGroupWords);
  if (!pending_.empty() && pending_.back().end == first)
    pending_.back().end += groups;
  else
    pending_.push_back(Run{first, first + groups});
  pendingGroups_ += groups;
  position_ += groups * kGroupBytes;
  if (pendingGroups_ >= kSealBatchGroups) SealPending();
  return true;
}

void ProjectWriter::SealPending() {
  // All waiting groups in one go, wherever their records lie, so that the short
  // records (a section's two groups) share the cipher's lanes with the others.
  pendingAddresses_.clear();
  for (const Run& run : pending_)
    for (size_t g = run.first; g < run.end; ++g) pendingAddresses_.push_back(image_.data() + kGrid + g * kGroupBytes);
  SealGroupsAt(pendingAddresses_.data(), pendingAddresses_.size(), key_);
  pending_.clear();
  pendingGroups_ = 0;
}

const std::vector<uint8_t>& ProjectWriter::Image() {
  SealPending();
  return image_;
}

std::vector<uint8_t> ProjectWriter::TakeImage() {
  SealPending();
  position_ = 0;
  return std::move(image_);
}

}  // namespace meridal
