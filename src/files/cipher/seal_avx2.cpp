// The AVX2 kernel: two groups per 8-lane register, four registers interleaved.
#include "files/cipher/seal_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>

#define MERIDAL_LANES_TARGET __attribute__((target("avx2")))
#include "files/cipher/tea_lanes.h"

namespace meridal {
namespace {

#define AVX2_INLINE __attribute__((target("avx2"), always_inline)) static inline

struct Avx2Lanes {
  using V = __m256i;
  static constexpr size_t kGroups = 2;

  AVX2_INLINE V Set1(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
  AVX2_INLINE V Add(V a, V b) { return _mm256_add_epi32(a, b); }
  AVX2_INLINE V Sub(V a, V b) { return _mm256_sub_epi32(a, b); }
  AVX2_INLINE V Mix(V v, V sum, V ka, V kb) {
    const V a = _mm256_add_epi32(_mm256_slli_epi32(v, 4), ka);
    const V b = _mm256_add_epi32(v, sum);
    const V c = _mm256_add_epi32(_mm256_srli_epi32(v, 5), kb);
    return _mm256_xor_si256(_mm256_xor_si256(a, b), c);
  }

  // In each 128-bit half, lane g gets bytes g, g+4, g+8, g+12: the 4x4 byte
  // transpose that turns 16 bytes of a group into one half of each of its four
  // blocks, and back.
  AVX2_INLINE V Transpose4x4(V x) {
    const V order = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,  //
                                     0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    return _mm256_shuffle_epi8(x, order);
  }
  AVX2_INLINE V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  AVX2_INLINE void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  // The first 16 bytes of a and b side by side, or their last 16 bytes.
  AVX2_INLINE V Firsts(V a, V b) { return _mm256_permute2x128_si256(a, b, 0x20); }
  AVX2_INLINE V Lasts(V a, V b) { return _mm256_permute2x128_si256(a, b, 0x31); }

  // Lanes 0-3 hold group p[0]'s blocks, lanes 4-7 group p[1]'s.
  AVX2_INLINE void LoadPlain(const uint8_t* const* p, V& v0, V& v1) {
    const V x = Load(p[0]), y = Load(p[1]);
    v0 = Transpose4x4(Firsts(x, y));
    v1 = Transpose4x4(Lasts(x, y));
  }
  AVX2_INLINE void StoreSealed(V v0, V v1, uint8_t* const* q) {
    const V lo = _mm256_unpacklo_epi32(v0, v1);  // blocks 0 and 1 of each group
    const V hi = _mm256_unpackhi_epi32(v0, v1);  // blocks 2 and 3
    Store(q[0], Firsts(lo, hi));
    Store(q[1], Lasts(lo, hi));
  }
  AVX2_INLINE void LoadSealed(const uint8_t* const* p, V& v0, V& v1) {
    const V x = Load(p[0]), y = Load(p[1]);
    const V a = Firsts(x, y), b = Lasts(x, y);  // blocks 0 and 1, blocks 2 and 3
    const V lo = _mm256_unpacklo_epi32(a, b);  // first halves 0, 2; second halves 0, 2
    const V hi = _mm256_unpackhi_epi32(a, b);  // first halves 1, 3; second halves 1, 3
    v0 = _mm256_unpacklo_epi32(lo, hi);
    v1 = _mm256_unpackhi_epi32(lo, hi);
  }
  AVX2_INLINE void StorePlain(V v0, V v1, uint8_t* const* q) {
    const V first = Transpose4x4(v0), second = Transpose4x4(v1);
    Store(q[0], Firsts(first, second));
    Store(q[1], Lasts(first, second));
  }
};

}  // namespace

// Four registers interleaved: eight groups in flight.
const SealKernelOps* Avx2SealKernel() { return &LaneKernel<Avx2Lanes, 4>::kOps; }

}  // namespace meridal

#else

namespace meridal {
const SealKernelOps* Avx2SealKernel() { return nullptr; }
}  // namespace meridal

#endif
