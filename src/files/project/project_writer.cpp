#include "files/project/project_writer.h"

#include <algorithm>
#include <cstring>

#include "files/cipher/seal.h"
#include "files/project/project_format.h"
#include "files/safety/byte_order.h"

namespace meridal {

namespace {
constexpr size_t kGrid = kProjectHeaderGroupOffset;
// Groups sealed at a time: 64 KB, sealed while still in the cache.
constexpr size_t kBatchGroups = 2048;
}  // namespace

ProjectWriter::ProjectWriter(IMessages& messages, TFiller& filler, const TeaKey& key)
    : messages_(messages), filler_(filler), key_(key) {}

ProjectWriter::~ProjectWriter() = default;

void ProjectWriter::Fail(const char* message) const { ShowFileError(messages_, message); }

void ProjectWriter::Reserve(size_t bytes) {
  SealPending();
  std::fill(batchOf_.begin(), batchOf_.end(), 0u);  // nothing waits any more
  image_.reserve(bytes);
  const size_t groups = bytes > kGrid ? (bytes - kGrid) / kGroupBytes : 0;
  batchOf_.reserve(groups);
  current_.reserve(kBatchGroups);
  cipher_.reset();
  batches_.clear();
  const size_t capacity = groups / kBatchGroups + 2;
  batches_.reserve(capacity);
  cipher_ = std::make_unique<TChunkPipeline>(
      capacity, [this](size_t k) { SealGroupsAt(batches_[k].data(), batches_[k].size(), key_); },
      WorthASecondThread(groups));
}

uint8_t* ProjectWriter::Prepare(size_t n) {
  if (position_ + n > image_.size()) {
    // Growing beyond the room made moves the image: nothing may wait in it then.
    if (position_ + n > image_.capacity()) SealPending();
    image_.resize(position_ + n, 0);
  }
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

void ProjectWriter::SealBeforeOverwrite(size_t group) {
  const uint32_t mark = batchOf_[group];
  if (mark == 0) return;
  const size_t batch = mark - 1;
  if (batch == batches_.size()) Dispatch();  // it waits in the batch being filled
  if (cipher_ && batch < batches_.size()) cipher_->Await(batch);
}

bool ProjectWriter::WriteSealed(const int32_t* words, size_t groups) {
  if (position_ < kGrid || (position_ - kGrid) % kGroupBytes != 0) return false;
  const size_t first = (position_ - kGrid) / kGroupBytes;
  if (batchOf_.size() < first + groups) batchOf_.resize(first + groups, 0);
  // A record written over one that still waits has the waiting one sealed first,
  // as a file written record by record would.
  for (size_t g = first; g < first + groups; ++g) SealBeforeOverwrite(g);
  uint8_t* at = Prepare(groups * kGroupBytes);
  StoreWordsLE(words, at, groups * kGroupWords);
  const uint32_t mark = static_cast<uint32_t>(batches_.size()) + 1;
  for (size_t g = 0; g < groups; ++g) {
    current_.push_back(at + g * kGroupBytes);
    batchOf_[first + g] = mark;
  }
  position_ += groups * kGroupBytes;
  if (current_.size() >= kBatchGroups) Dispatch();
  return true;
}

void ProjectWriter::Dispatch() {
  if (current_.empty()) return;
  if (cipher_ && batches_.size() < batches_.capacity()) {
    batches_.push_back(std::move(current_));
    current_.clear();
    current_.reserve(kBatchGroups);
    cipher_->Release(batches_.size());
    return;
  }
  // No cipher thread to hand it to: sealed here, and nothing of it waits any more.
  SealGroupsAt(current_.data(), current_.size(), key_);
  for (uint8_t* group : current_) batchOf_[static_cast<size_t>(group - image_.data() - kGrid) / kGroupBytes] = 0;
  current_.clear();
}

void ProjectWriter::SealPending() {
  Dispatch();
  if (cipher_) cipher_->Finish();
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
