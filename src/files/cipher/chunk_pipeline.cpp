#include "files/cipher/chunk_pipeline.h"

#include <system_error>

#include "files/cipher/seal.h"

namespace meridal {

bool WorthASecondThread(size_t groups) {
  static const bool twoCores = std::thread::hardware_concurrency() > 1;
  return twoCores && groups >= kGroupsWorthATread;
}

TChunkPipeline::TChunkPipeline(size_t capacity, std::function<void(size_t)> work, bool withThread)
    : capacity_(capacity), work_(std::move(work)), done_(new std::atomic<uint32_t>[capacity]) {
  for (size_t k = 0; k < capacity_; ++k) done_[k].store(0, std::memory_order_relaxed);
  if (!withThread) return;
  try {
    helper_ = std::thread(&TChunkPipeline::Helper, this);
  } catch (const std::system_error&) {
    // No thread to be had: the owner does every chunk.
  }
}

TChunkPipeline::~TChunkPipeline() {
  if (!helper_.joinable()) return;
  stop_.store(true, std::memory_order_release);
  wake_.fetch_add(1, std::memory_order_release);
  wake_.notify_all();
  helper_.join();
}

bool TChunkPipeline::TakeOne() {
  size_t k = next_.load(std::memory_order_acquire);
  while (k < released_.load(std::memory_order_acquire)) {
    if (next_.compare_exchange_weak(k, k + 1, std::memory_order_acq_rel)) {
      work_(k);
      done_[k].store(1, std::memory_order_release);
      done_[k].notify_all();
      return true;
    }
  }
  return false;
}

void TChunkPipeline::Helper() {
  while (!stop_.load(std::memory_order_acquire)) {
    const uint32_t seen = wake_.load(std::memory_order_acquire);
    if (TakeOne()) continue;
    // Nothing to take: sleep until the owner releases more or ends.
    wake_.wait(seen, std::memory_order_acquire);
  }
}

void TChunkPipeline::Release(size_t n) {
  if (n > capacity_) n = capacity_;
  if (n <= released_.load(std::memory_order_relaxed)) return;
  released_.store(n, std::memory_order_release);
  wake_.fetch_add(1, std::memory_order_release);
  wake_.notify_one();
}

void TChunkPipeline::Await(size_t k) {
  while (!Done(k)) {
    if (TakeOne()) continue;
    // Every released chunk is taken: the second thread has this one.
    done_[k].wait(0, std::memory_order_acquire);
  }
}

void TChunkPipeline::Finish() {
  const size_t n = released_.load(std::memory_order_acquire);
  while (TakeOne()) {
  }
  for (size_t k = 0; k < n; ++k) done_[k].wait(0, std::memory_order_acquire);
}

}  // namespace meridal
