#include "files/seal.h"

#include <cstring>

#include "files/byte_order.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace meridal {

void GatherBlock(const uint8_t group[kGroupBytes], int g, uint8_t block[8]) {
  for (int j = 0; j < 8; ++j) block[j] = group[g + 4 * j];
}

void ScatterBlock(const uint8_t block[8], int g, uint8_t group[kGroupBytes]) {
  for (int j = 0; j < 8; ++j) group[g + 4 * j] = block[j];
}

void SealGroupScalar(uint8_t group[kGroupBytes], const TeaKey& key) {
  uint8_t out[kGroupBytes];
  for (int g = 0; g < 4; ++g) {
    uint8_t block[8];
    GatherBlock(group, g, block);
    uint32_t v[2] = {LoadLE32(block), LoadLE32(block + 4)};
    TeaEncipher(v, key);
    StoreLE32(out + 8 * g, v[0]);
    StoreLE32(out + 8 * g + 4, v[1]);
  }
  for (size_t i = 0; i < kGroupBytes; ++i) group[i] = out[i];
}

void UnsealGroupScalar(uint8_t group[kGroupBytes], const TeaKey& key) {
  uint8_t out[kGroupBytes];
  for (int g = 0; g < 4; ++g) {
    uint32_t v[2] = {LoadLE32(group + 8 * g), LoadLE32(group + 8 * g + 4)};
    TeaDecipher(v, key);
    uint8_t block[8];
    StoreLE32(block, v[0]);
    StoreLE32(block + 4, v[1]);
    ScatterBlock(block, g, out);
  }
  for (size_t i = 0; i < kGroupBytes; ++i) group[i] = out[i];
}

void SealGroupsScalar(uint8_t* data, size_t count, const TeaKey& key) {
  for (size_t i = 0; i < count; ++i) SealGroupScalar(data + i * kGroupBytes, key);
}

void UnsealGroupsScalar(uint8_t* data, size_t count, const TeaKey& key) {
  for (size_t i = 0; i < count; ++i) UnsealGroupScalar(data + i * kGroupBytes, key);
}

#if defined(__SSE2__)
namespace {

// Lane g of the result holds bytes g, g+4, g+8, g+12 of x: the first (or second)
// halves of the four blocks of a group, read from its first (or last) 16 bytes.
// A 4x4 byte transpose, so it is its own inverse.
inline __m128i Transpose4x4(__m128i x) {
  const __m128i t = _mm_unpacklo_epi8(x, _mm_srli_si128(x, 8));
  return _mm_unpacklo_epi8(t, _mm_srli_si128(t, 8));
}

inline __m128i Mix(__m128i v, __m128i sum, __m128i ka, __m128i kb) {
  const __m128i a = _mm_add_epi32(_mm_slli_epi32(v, 4), ka);
  const __m128i b = _mm_add_epi32(v, sum);
  const __m128i c = _mm_add_epi32(_mm_srli_epi32(v, 5), kb);
  return _mm_xor_si128(_mm_xor_si128(a, b), c);
}

struct Keys {
  __m128i k0, k1, k2, k3;
  explicit Keys(const TeaKey& key)
      : k0(_mm_set1_epi32(static_cast<int>(key.k[0]))),
        k1(_mm_set1_epi32(static_cast<int>(key.k[1]))),
        k2(_mm_set1_epi32(static_cast<int>(key.k[2]))),
        k3(_mm_set1_epi32(static_cast<int>(key.k[3]))) {}
};

// N groups at a time: the rounds of independent groups are interleaved. Group n
// is read from p[n] and written to q[n].
template <int N>
inline void SealBatchAt(const uint8_t* const* p, uint8_t* const* q, const Keys& k) {
  __m128i v0[N], v1[N];
  for (int n = 0; n < N; ++n) {
    v0[n] = Transpose4x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p[n])));
    v1[n] = Transpose4x4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p[n] + 16)));
  }
  uint32_t s = 0;
  for (int i = 0; i < kTeaCycles; ++i) {
    s += kTeaDelta;
    const __m128i sum = _mm_set1_epi32(static_cast<int>(s));
    for (int n = 0; n < N; ++n) v0[n] = _mm_add_epi32(v0[n], Mix(v1[n], sum, k.k0, k.k1));
    for (int n = 0; n < N; ++n) v1[n] = _mm_add_epi32(v1[n], Mix(v0[n], sum, k.k2, k.k3));
  }
  for (int n = 0; n < N; ++n) {
    // Blocks 0 and 1, then 2 and 3, each as its two halves.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q[n]), _mm_unpacklo_epi32(v0[n], v1[n]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q[n] + 16), _mm_unpackhi_epi32(v0[n], v1[n]));
  }
}

// N consecutive groups.
template <int N>
inline void SealBatch(const uint8_t* p, uint8_t* q, const Keys& k) {
  const uint8_t* in[N];
  uint8_t* out[N];
  for (int n = 0; n < N; ++n) {
    in[n] = p + 32 * n;
    out[n] = q + 32 * n;
  }
  SealBatchAt<N>(in, out, k);
}

template <int N>
inline void UnsealBatch(const uint8_t* p, uint8_t* q, const Keys& k) {
  __m128i v0[N], v1[N];
  for (int n = 0; n < N; ++n) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * n));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32 * n + 16));
    const __m128i lo = _mm_unpacklo_epi32(a, b);  // first halves 0, 2; second halves 0, 2
    const __m128i hi = _mm_unpackhi_epi32(a, b);  // first halves 1, 3; second halves 1, 3
    v0[n] = _mm_unpacklo_epi32(lo, hi);
    v1[n] = _mm_unpackhi_epi32(lo, hi);
  }
  uint32_t s = kTeaDecipherSum;
  for (int i = 0; i < kTeaCycles; ++i) {
    const __m128i sum = _mm_set1_epi32(static_cast<int>(s));
    for (int n = 0; n < N; ++n) v1[n] = _mm_sub_epi32(v1[n], Mix(v0[n], sum, k.k2, k.k3));
    for (int n = 0; n < N; ++n) v0[n] = _mm_sub_epi32(v0[n], Mix(v1[n], sum, k.k0, k.k1));
    s -= kTeaDelta;
  }
  for (int n = 0; n < N; ++n) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 32 * n), Transpose4x4(v0[n]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 32 * n + 16), Transpose4x4(v1[n]));
  }
}

constexpr int kBatch = 4;

}  // namespace

void SealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  const Keys k(key);
  size_t i = 0;
  for (; i + kBatch <= count; i += kBatch) SealBatch<kBatch>(in + i * kGroupBytes, out + i * kGroupBytes, k);
  for (; i < count; ++i) SealBatch<1>(in + i * kGroupBytes, out + i * kGroupBytes, k);
}

void SealGroupsAt(uint8_t* const* groups, size_t count, const TeaKey& key) {
  const Keys k(key);
  size_t i = 0;
  for (; i + kBatch <= count; i += kBatch) SealBatchAt<kBatch>(groups + i, groups + i, k);
  for (; i < count; ++i) SealBatchAt<1>(groups + i, groups + i, k);
}

void UnsealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  const Keys k(key);
  size_t i = 0;
  for (; i + kBatch <= count; i += kBatch) UnsealBatch<kBatch>(in + i * kGroupBytes, out + i * kGroupBytes, k);
  for (; i < count; ++i) UnsealBatch<1>(in + i * kGroupBytes, out + i * kGroupBytes, k);
}

#else  // no SSE2: the reference serves

void SealGroupsAt(uint8_t* const* groups, size_t count, const TeaKey& key) {
  for (size_t i = 0; i < count; ++i) SealGroupScalar(groups[i], key);
}

void SealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  if (in != out) std::memmove(out, in, count * kGroupBytes);
  SealGroupsScalar(out, count, key);
}
void UnsealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  if (in != out) std::memmove(out, in, count * kGroupBytes);
  UnsealGroupsScalar(out, count, key);
}

#endif

}  // namespace meridal
