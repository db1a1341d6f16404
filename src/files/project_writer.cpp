#include "files/project_writer.h"

#include <algorithm>
#include <cstring>

#include "files/byte_order.h"
#include "files/project_format.h"
#include "files/seal.h"

namespace meridal {

namespace {
constexpr size_t kGrid = kProjectHeaderGroupOffset;

// The groups of the grid that bytes [begin, end) touch.
size_t FirstGroupTouched(size_t begin) { return begin <= kGrid ? 0 : (begin - kGrid) / kGroupBytes; }
size_t EndGroupTouched(size_t end) { return end <= kGrid ? 0 : (end - kGrid + kGroupBytes - 1) / kGroupBytes; }
}  // namespace

ProjectWriter::ProjectWriter(IMessages& messages, TFiller& filler, const TeaKey& key)
    : messages_(messages), filler_(filler), key_(key) {}

void ProjectWriter::Fail(const char* message) const { ShowFileError(messages_, message); }

void ProjectWriter::Reserve(size_t bytes) {
  image_.reserve(bytes);
  pending_.reserve(EndGroupTouched(bytes));
}

uint8_t* ProjectWriter::Prepare(size_t n) {
  const size_t end = position_ + n;
  if (end > image_.size()) {
    image_.resize(end, 0);
    pending_.resize(EndGroupTouched(end), 0);
  }
  return image_.data() + position_;
}

bool ProjectWriter::WriteBytes(const void* data, size_t n) {
  // Whatever sealed record these bytes overwrite is sealed first, as a file
  // written record by record would have it.
  SealPending(FirstGroupTouched(position_), std::min(EndGroupTouched(position_ + n), pending_.size()));
  std::memcpy(Prepare(n), data, n);
  position_ += n;
  return true;
}

bool ProjectWriter::WriteZeros(size_t n) {
  SealPending(FirstGroupTouched(position_), std::min(EndGroupTouched(position_ + n), pending_.size()));
  std::memset(Prepare(n), 0, n);
  position_ += n;
  return true;
}

bool ProjectWriter::WriteSealed(const int32_t* words, size_t groups) {
  if (position_ < kGrid || (position_ - kGrid) % kGroupBytes != 0) return false;
  const size_t n = groups * kGroupBytes;
  uint8_t* out = Prepare(n);
  StoreWordsLE(words, out, groups * kGroupWords);
  const size_t first = (position_ - kGrid) / kGroupBytes;
  std::fill(pending_.begin() + static_cast<ptrdiff_t>(first), pending_.begin() + static_cast<ptrdiff_t>(first + groups), 1);
  position_ += n;
  return true;
}

void ProjectWriter::SealPending(size_t firstGroup, size_t endGroup) {
  size_t g = firstGroup;
  while (g < endGroup) {
    if (!pending_[g]) {
      ++g;
      continue;
    }
    size_t run = g;
    while (run < endGroup && pending_[run]) pending_[run++] = 0;
    SealGroups(image_.data() + kGrid + g * kGroupBytes, run - g, key_);
    g = run;
  }
}

const std::vector<uint8_t>& ProjectWriter::Image() {
  SealPending(0, pending_.size());
  return image_;
}

std::vector<uint8_t> ProjectWriter::TakeImage() {
  SealPending(0, pending_.size());
  pending_.clear();
  position_ = 0;
  return std::move(image_);
}

}  // namespace meridal
