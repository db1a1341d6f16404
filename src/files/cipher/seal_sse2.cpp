// The SSE2 kernel: the four blocks of one group in the four lanes of a register,
// four registers interleaved.
#include "files/cipher/seal_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define MERIDAL_LANES_TARGET __attribute__((target("sse2")))
#include "files/cipher/tea_lanes.h"

namespace meridal {
namespace {

#define SSE2_INLINE __attribute__((target("sse2"), always_inline)) static inline

struct Sse2Lanes {
  using V = __m128i;
  static constexpr size_t kGroups = 1;

  SSE2_INLINE V Set1(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
  SSE2_INLINE V Add(V a, V b) { return _mm_add_epi32(a, b); }
  SSE2_INLINE V Sub(V a, V b) { return _mm_sub_epi32(a, b); }
  SSE2_INLINE V Mix(V v, V sum, V ka, V kb) {
    const V a = _mm_add_epi32(_mm_slli_epi32(v, 4), ka);
    const V b = _mm_add_epi32(v, sum);
    const V c = _mm_add_epi32(_mm_srli_epi32(v, 5), kb);
    return _mm_xor_si128(_mm_xor_si128(a, b), c);
  }

  // Lane g of the result holds bytes g, g+4, g+8, g+12 of x: the first (or
  // second) halves of the four blocks of a group, read from its first (or last)
  // 16 bytes. A 4x4 byte transpose, so it is its own inverse. (SSE2 has no byte
  // shuffle: two rounds of unpacking do it.)
  SSE2_INLINE V Transpose4x4(V x) {
    const V t = _mm_unpacklo_epi8(x, _mm_srli_si128(x, 8));
    return _mm_unpacklo_epi8(t, _mm_srli_si128(t, 8));
  }
  SSE2_INLINE V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
  SSE2_INLINE void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }

  SSE2_INLINE void LoadPlain(const uint8_t* const* p, V& v0, V& v1) {
    v0 = Transpose4x4(Load(p[0]));
    v1 = Transpose4x4(Load(p[0] + 16));
  }
  // Blocks 0 and 1, then 2 and 3, each as its two halves.
  SSE2_INLINE void StoreSealed(V v0, V v1, uint8_t* const* q) {
    Store(q[0], _mm_unpacklo_epi32(v0, v1));
    Store(q[0] + 16, _mm_unpackhi_epi32(v0, v1));
  }
  SSE2_INLINE void LoadSealed(const uint8_t* const* p, V& v0, V& v1) {
    const V a = Load(p[0]), b = Load(p[0] + 16);
    const V lo = _mm_unpacklo_epi32(a, b);  // first halves 0, 2; second halves 0, 2
    const V hi = _mm_unpackhi_epi32(a, b);  // first halves 1, 3; second halves 1, 3
    v0 = _mm_unpacklo_epi32(lo, hi);
    v1 = _mm_unpackhi_epi32(lo, hi);
  }
  SSE2_INLINE void StorePlain(V v0, V v1, uint8_t* const* q) {
    Store(q[0], Transpose4x4(v0));
    Store(q[0] + 16, Transpose4x4(v1));
  }
};

}  // namespace

// Four registers interleaved: four groups in flight.
const SealKernelOps* Sse2SealKernel() { return &LaneKernel<Sse2Lanes, 4>::kOps; }

}  // namespace meridal

#else

namespace meridal {
const SealKernelOps* Sse2SealKernel() { return nullptr; }
}  // namespace meridal

#endif
