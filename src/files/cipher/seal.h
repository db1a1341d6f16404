#pragma once
// Sealing of the project file's 32-byte groups. A group holds eight plaintext
// words; byte g of each of the eight words, in word order, forms 8-byte block g
// (g = 0..3), which is enciphered with TEA as two little-endian halves and stored
// at bytes 8g..8g+7. Unsealing is the exact inverse.
//
// The scalar functions are the reference. The bulk functions do the same to many
// groups at once: the four blocks of a group are independent, so they run in the
// lanes of a vector register, and several registers are interleaved to keep the
// pipeline busy. Which vector kernel runs is chosen at run time
// (files/cipher_kernel.h); every kernel gives the reference's bytes.
#include <cstddef>
#include <cstdint>

#include "files/cipher/tea.h"

namespace meridal {

constexpr size_t kGroupBytes = 32;
constexpr size_t kGroupWords = 8;
// Below this many groups (a 2 MB file) the cipher runs on one thread: a second
// would cost more to start than it saves.
constexpr size_t kGroupsWorthATread = 65536;

// The 8-byte block g of a plaintext group and back (the interleaving alone).
void GatherBlock(const uint8_t group[kGroupBytes], int g, uint8_t block[8]);
void ScatterBlock(const uint8_t block[8], int g, uint8_t group[kGroupBytes]);

// One group, in place.
void SealGroupScalar(uint8_t group[kGroupBytes], const TeaKey& key);
void UnsealGroupScalar(uint8_t group[kGroupBytes], const TeaKey& key);

// `count` consecutive groups, from `in` to `out` (which may be the same place).
void SealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
void UnsealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
inline void SealGroups(uint8_t* data, size_t count, const TeaKey& key) { SealGroups(data, data, count, key); }
inline void UnsealGroups(uint8_t* data, size_t count, const TeaKey& key) { UnsealGroups(data, data, count, key); }
// Groups anywhere in memory, in place: the records of a file lie in several tables,
// and a short record still fills the cipher's lanes together with its neighbours.
void SealGroupsAt(uint8_t* const* groups, size_t count, const TeaKey& key);
// The same through the scalar reference, group by group.
void SealGroupsScalar(uint8_t* data, size_t count, const TeaKey& key);
void UnsealGroupsScalar(uint8_t* data, size_t count, const TeaKey& key);

}  // namespace meridal
