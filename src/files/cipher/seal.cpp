#include "files/cipher/seal.h"

#include "files/safety/byte_order.h"

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

}  // namespace meridal
