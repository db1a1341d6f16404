#pragma once
// A free-list allocator for the small model objects a track holds by the hundred
// thousand (16 altitudes and a dozen walls per section): reading a large project
// allocates them one by one, and the general heap made that a quarter of the read.
// Memory goes back to the pool, not to the system (the pool is never torn down, so
// objects that outlive it at exit are still safe to free). Each thread keeps its
// own pool, so objects may be freed on any thread. Sanitizer builds use the plain
// heap, which keeps use-after-free and leak detection working on these objects.
//
// Chunks start small, so that a small document stays small, and double up to a
// few megabytes; the large ones ask for huge pages (a large track otherwise pays
// a page fault for every 4 KB of its objects).
#include <algorithm>
#include <cstddef>
#include <new>

#include "platform/memory_hints.h"

namespace meridal {

template <size_t Size, size_t Align>
class ObjectPool {
 public:
  static void* Allocate() {
#ifdef MERIDAL_PLAIN_HEAP
    return ::operator new(Size, std::align_val_t{Align});
#else
    Pool& pool = Local();
    if (pool.free == nullptr) pool.Refill();
    Node* node = pool.free;
    pool.free = node->next;
    return node;
#endif
  }

  static void Free(void* p) noexcept {
#ifdef MERIDAL_PLAIN_HEAP
    ::operator delete(p, std::align_val_t{Align});
#else
    Pool& pool = Local();
    Node* node = static_cast<Node*>(p);
    node->next = pool.free;
    pool.free = node;
#endif
  }

 private:
  struct Node {
    Node* next;
  };
  static constexpr size_t kBytes = Size > sizeof(Node) ? Size : sizeof(Node);
  static constexpr size_t kSlot = (kBytes + Align - 1) / Align * Align;
  static constexpr size_t kFirstChunk = 512;
  static constexpr size_t kLargestChunk = std::max<size_t>(kFirstChunk, 2 * kHugePageBytes / kSlot);

  struct Pool {
    Node* free = nullptr;
    size_t nextChunk = kFirstChunk;
    void Refill() {
      const size_t count = nextChunk;
      nextChunk = std::min(2 * nextChunk, kLargestChunk);
      const size_t bytes = kSlot * count;
      const bool huge = bytes >= kHugePageBytes;
      char* chunk = static_cast<char*>(::operator new(bytes, std::align_val_t{huge ? kHugePageBytes : Align}));
      if (huge) AdviseHugePages(chunk, bytes);
      for (size_t i = count; i-- > 0;) {
        Node* node = reinterpret_cast<Node*>(chunk + i * kSlot);
        node->next = free;
        free = node;
      }
    }
  };

  static Pool& Local() {
    thread_local Pool pool;
    return pool;
  }
};

}  // namespace meridal
