// The AVX-512 kernel: four groups per 16-lane register, two registers
// interleaved. It needs AVX-512F for the rounds and AVX2 for the byte
// interleaving (AVX-512F has no byte shuffle; every processor with AVX-512F has
// AVX2), and a three-way XOR in one instruction shortens each half round.
#include "files/cipher/seal_kernels.h"

#if defined(__x86_64__) || defined(__i386__)
// GCC 12's AVX-512 header makes its "undefined" registers from themselves, which
// its own -Wuninitialized then reports at every use (fixed in later releases).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop

#define MERIDAL_LANES_TARGET __attribute__((target("avx512f,avx2")))
#include "files/cipher/tea_lanes.h"

namespace meridal {
namespace {

#define AVX512_INLINE __attribute__((target("avx512f,avx2"), always_inline)) static inline

struct Avx512Lanes {
  using V = __m512i;
  using H = __m256i;  // two groups
  static constexpr size_t kGroups = 4;

  AVX512_INLINE V Set1(uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
  AVX512_INLINE V Add(V a, V b) { return _mm512_add_epi32(a, b); }
  AVX512_INLINE V Sub(V a, V b) { return _mm512_sub_epi32(a, b); }
  AVX512_INLINE V Mix(V v, V sum, V ka, V kb) {
    const V a = _mm512_add_epi32(_mm512_slli_epi32(v, 4), ka);
    const V b = _mm512_add_epi32(v, sum);
    const V c = _mm512_add_epi32(_mm512_srli_epi32(v, 5), kb);
    return _mm512_ternarylogic_epi32(a, b, c, 0x96);  // a ^ b ^ c
  }

  // The 4x4 byte transpose in each 128-bit half (see the AVX2 kernel).
  AVX512_INLINE H Transpose4x4(H x) {
    const H order = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15,  //
                                     0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15);
    return _mm256_shuffle_epi8(x, order);
  }
  AVX512_INLINE H Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const H*>(p)); }
  AVX512_INLINE void Store(uint8_t* p, H v) { _mm256_storeu_si256(reinterpret_cast<H*>(p), v); }
  AVX512_INLINE V Join(H low, H high) { return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1); }
  AVX512_INLINE H Low(V v) { return _mm512_castsi512_si256(v); }
  AVX512_INLINE H High(V v) { return _mm512_extracti64x4_epi64(v, 1); }

  // 128-bit quarter k (lanes 4k..4k+3) holds group p[k]'s blocks.
  AVX512_INLINE void LoadPlain(const uint8_t* const* p, V& v0, V& v1) {
    // Each group as [first halves | second halves] of its four blocks.
    const V g01 = Join(Transpose4x4(Load(p[0])), Transpose4x4(Load(p[1])));
    const V g23 = Join(Transpose4x4(Load(p[2])), Transpose4x4(Load(p[3])));
    // Quarters 0 and 2 of both (the first halves), then quarters 1 and 3.
    v0 = _mm512_shuffle_i32x4(g01, g23, _MM_SHUFFLE(2, 0, 2, 0));
    v1 = _mm512_shuffle_i32x4(g01, g23, _MM_SHUFFLE(3, 1, 3, 1));
  }
  AVX512_INLINE void StoreSealed(V v0, V v1, uint8_t* const* q) {
    // Quarter k of lo is group k's bytes 0-15 (blocks 0 and 1), of hi its bytes
    // 16-31 (blocks 2 and 3).
    const V lo = _mm512_unpacklo_epi32(v0, v1);
    const V hi = _mm512_unpackhi_epi32(v0, v1);
    StoreQuarters(lo, hi, q);
  }
  // Group k gets quarter k of a followed by quarter k of b.
  AVX512_INLINE void StoreQuarters(V a, V b, uint8_t* const* q) {
    const V g01 = _mm512_permutex2var_epi64(a, _mm512_setr_epi64(0, 1, 8, 9, 2, 3, 10, 11), b);
    const V g23 = _mm512_permutex2var_epi64(a, _mm512_setr_epi64(4, 5, 12, 13, 6, 7, 14, 15), b);
    Store(q[0], Low(g01));
    Store(q[1], High(g01));
    Store(q[2], Low(g23));
    Store(q[3], High(g23));
  }
  AVX512_INLINE void LoadSealed(const uint8_t* const* p, V& v0, V& v1) {
    // A sealed group is its blocks' halves alternating: first halves at the even
    // words, second halves at the odd ones.
    const V g01 = Join(Load(p[0]), Load(p[1]));
    const V g23 = Join(Load(p[2]), Load(p[3]));
    const V even = _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30);
    const V odd = _mm512_add_epi32(even, _mm512_set1_epi32(1));
    v0 = _mm512_permutex2var_epi32(g01, even, g23);
    v1 = _mm512_permutex2var_epi32(g01, odd, g23);
  }
  AVX512_INLINE void StorePlain(V v0, V v1, uint8_t* const* q) {
    // Quarter k of v0 turns into group k's bytes 0-15, of v1 into its bytes 16-31.
    const V first = Join(Transpose4x4(Low(v0)), Transpose4x4(High(v0)));
    const V second = Join(Transpose4x4(Low(v1)), Transpose4x4(High(v1)));
    StoreQuarters(first, second, q);
  }
};

}  // namespace

// Two registers interleaved: 32 lanes, eight groups, in flight.
const SealKernelOps* Avx512SealKernel() { return &LaneKernel<Avx512Lanes, 2>::kOps; }

}  // namespace meridal

#else

namespace meridal {
const SealKernelOps* Avx512SealKernel() { return nullptr; }
}  // namespace meridal

#endif
