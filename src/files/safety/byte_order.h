#pragma once
// Both file formats store 32-bit words little-endian, whatever the host.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace meridal {

inline uint32_t LoadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline void StoreLE32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

// Runs of words; a plain copy where the host is little-endian itself.
inline void LoadWordsLE(const uint8_t* p, int32_t* words, size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    for (size_t i = 0; i < count; ++i) std::memcpy(words + i, p + 4 * i, 4);
  } else {
    for (size_t i = 0; i < count; ++i) words[i] = static_cast<int32_t>(LoadLE32(p + 4 * i));
  }
}

inline void StoreWordsLE(const int32_t* words, uint8_t* p, size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    for (size_t i = 0; i < count; ++i) std::memcpy(p + 4 * i, words + i, 4);
  } else {
    for (size_t i = 0; i < count; ++i) StoreLE32(p + 4 * i, static_cast<uint32_t>(words[i]));
  }
}

}  // namespace meridal
