#include "files/project/project_writer.h"

#include <algorithm>
#include <cstring>

#include "files/safety/byte_order.h"
#include "files/project/project_format.h"
#include "files/cipher/seal.h"
#include "files/cipher/two_halves.h"

namespace meridal {

namespace {
constexpr size_t kGrid = kProjectHeaderGroupOffset;
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
  // The records wait and are sealed together when the image is taken, the cipher
  // spread over the processor's cores. A record written over one that still waits
  // has the waiting one sealed first, as a file written record by record would.
  if (pendingMark_.size() < first + groups) pendingMark_.resize(first + groups, 0);
  for (size_t g = first; g < first + groups; ++g)
    if (pendingMark_[g]) {
      SealPending();
      break;
    }
  StoreWordsLE(words, Prepare(groups * kGroupBytes), groups * kGroupWords);
  if (!pending_.empty() && pending_.back().end == first)
    pending_.back().end += groups;
  else
    pending_.push_back(Run{first, first + groups});
  std::fill_n(pendingMark_.begin() + static_cast<long>(first), groups, uint8_t{1});
  position_ += groups * kGroupBytes;
  return true;
}

void ProjectWriter::SealPending() {
  // All waiting groups in one go, wherever their records lie, so that the short
  // records (a section's two groups) share the cipher's lanes with the others.
  if (pending_.empty()) return;
  // The runs in two halves of about as many groups each; each half gathers its
  // groups' addresses, clears their marks and seals them, side by side.
  size_t total = 0;
  for (const Run& run : pending_) total += run.end - run.first;
  pendingAddresses_.resize(total);
  InTwoHalves(pending_.size(), total >= kGroupsWorthATread, [&](size_t from, size_t to) {
    size_t at = 0;
    for (size_t r = 0; r < from; ++r) at += pending_[r].end - pending_[r].first;
    const size_t start = at;
    for (size_t r = from; r < to; ++r)
      for (size_t g = pending_[r].first; g < pending_[r].end; ++g) {
        pendingAddresses_[at++] = image_.data() + kGrid + g * kGroupBytes;
        pendingMark_[g] = 0;
      }
    SealGroupsAt(pendingAddresses_.data() + start, at - start, key_);
  });
  pending_.clear();
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
