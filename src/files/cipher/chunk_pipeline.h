#pragma once
// TChunkPipeline: the cipher of a large file done a chunk at a time on a second
// thread, side by side with the thread that builds records from the chunks (when
// reading) or the records into them (when writing).
//
// Chunks are numbered in the order the building thread uses them. The owner
// releases chunks as they may be worked on (a reader all at once, a writer each
// one it has filled); the second thread takes released chunks in order. When the
// owner has to wait for a chunk, it takes released chunks itself meanwhile, so
// that neither thread idles while there is cipher work left, whichever of the two
// is faster. Each chunk is worked on exactly once, by one thread.
//
//   TChunkPipeline cipher(chunks, [&](size_t k) { UnsealChunk(k); }, large);
//   cipher.Release(chunks);
//   for (size_t k = 0; k < chunks; ++k) {
//     cipher.Await(k);
//     BuildFrom(k);
//   }
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace meridal {

class TChunkPipeline {
 public:
  // At most `capacity` chunks; `work(k)` does chunk k. With `withThread` false (a
  // small file, or a machine of one core) the owner does every chunk itself.
  TChunkPipeline(size_t capacity, std::function<void(size_t)> work, bool withThread);
  // Stops the second thread (chunks not taken yet are left undone) and joins it.
  ~TChunkPipeline();
  TChunkPipeline(const TChunkPipeline&) = delete;
  TChunkPipeline& operator=(const TChunkPipeline&) = delete;

  // Chunks [0, n) may now be worked on; n only grows.
  void Release(size_t n);
  // Returns once chunk k (released already) is done.
  void Await(size_t k);
  // Returns once every released chunk is done.
  void Finish();
  bool Done(size_t k) const { return done_[k].load(std::memory_order_acquire) != 0; }

 private:
  // Takes the next released chunk and works it; false when none is left to take.
  bool TakeOne();
  void Helper();

  size_t capacity_;
  std::function<void(size_t)> work_;
  std::unique_ptr<std::atomic<uint32_t>[]> done_;
  std::atomic<size_t> released_{0};
  std::atomic<size_t> next_{0};  // the next chunk to be taken
  std::atomic<uint32_t> wake_{0};  // bumped at every release and at the end
  std::atomic<bool> stop_{false};
  std::thread helper_;
};

// Whether a file of this many groups is worth a second thread.
bool WorthASecondThread(size_t groups);

}  // namespace meridal
