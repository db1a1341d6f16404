#pragma once
// TEA, the Tiny Encryption Algorithm of Wheeler and Needham, on 32-bit words:
// 64-bit blocks as two words, a 128-bit key as four words, 32 cycles.
#include <cstdint>

namespace meridal {

struct TeaKey {
  uint32_t k[4];
};

constexpr uint32_t kTeaDelta = 0x9E3779B9u;
constexpr int kTeaCycles = 32;
// The sum after the 32 cycles of enciphering, where deciphering starts.
constexpr uint32_t kTeaDecipherSum = 0xC6EF3720u;
static_assert(static_cast<uint32_t>(kTeaDelta * 32u) == kTeaDecipherSum);

// The reference cipher: one block, v[0] the first half and v[1] the second.
inline void TeaEncipher(uint32_t v[2], const TeaKey& key) {
  uint32_t v0 = v[0], v1 = v[1], sum = 0;
  const uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
  for (int i = 0; i < kTeaCycles; ++i) {
    sum += kTeaDelta;
    v0 += ((v1 << 4) + k0) ^ (v1 + sum) ^ ((v1 >> 5) + k1);
    v1 += ((v0 << 4) + k2) ^ (v0 + sum) ^ ((v0 >> 5) + k3);
  }
  v[0] = v0;
  v[1] = v1;
}

inline void TeaDecipher(uint32_t v[2], const TeaKey& key) {
  uint32_t v0 = v[0], v1 = v[1], sum = kTeaDecipherSum;
  const uint32_t k0 = key.k[0], k1 = key.k[1], k2 = key.k[2], k3 = key.k[3];
  for (int i = 0; i < kTeaCycles; ++i) {
    v1 -= ((v0 << 4) + k2) ^ (v0 + sum) ^ ((v0 >> 5) + k3);
    v0 -= ((v1 << 4) + k0) ^ (v1 + sum) ^ ((v1 >> 5) + k1);
    sum -= kTeaDelta;
  }
  v[0] = v0;
  v[1] = v1;
}

}  // namespace meridal
