#pragma once
// The TEA rounds over SIMD lanes, shared by the SSE2, AVX2 and AVX-512 kernels.
// Only those kernel files include this header, each after defining
// MERIDAL_LANES_TARGET as its function target attribute, so that the rounds are
// compiled for that instruction set without any -m flag for the whole build.
//
// A lane set L describes one register kind:
//   L::V                          the register type, 32-bit lanes
//   L::kGroups                    sealed groups per register (4 blocks each)
//   L::Set1, L::Add, L::Sub       broadcast, lane-wise add and subtract
//   L::Mix(v, sum, ka, kb)        ((v << 4) + ka) ^ (v + sum) ^ ((v >> 5) + kb)
//   L::LoadPlain / LoadSealed     kGroups groups from their addresses into (v0, v1):
//                                 the first and second halves of their blocks
//   L::StoreSealed / StorePlain   the inverse of the loads, to kGroups addresses
// The loads and stores do the byte interleaving of a group; the rounds see only
// blocks. LaneKernel<L, N>::kOps is the finished kernel. Every file that
// includes this compiles its own copy (internal linkage).
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "files/cipher/seal.h"
#include "files/cipher/seal_kernels.h"
#include "files/cipher/tea.h"

#ifndef MERIDAL_LANES_TARGET
#error "define MERIDAL_LANES_TARGET before including files/tea_lanes.h"
#endif

namespace meridal {
namespace {

template <class L>
struct LaneKeys {
  typename L::V k0, k1, k2, k3;
};

template <class L>
MERIDAL_LANES_TARGET inline LaneKeys<L> MakeLaneKeys(const TeaKey& key) {
  return LaneKeys<L>{L::Set1(key.k[0]), L::Set1(key.k[1]), L::Set1(key.k[2]), L::Set1(key.k[3])};
}

// N registers of groups at a time: the rounds of independent registers are
// interleaved so that the pipeline never waits on one dependency chain.
template <class L, int N>
MERIDAL_LANES_TARGET inline void SealBatch(const uint8_t* const* in, uint8_t* const* out, const LaneKeys<L>& k) {
  typename L::V v0[N], v1[N];
  for (int n = 0; n < N; ++n) L::LoadPlain(in + n * L::kGroups, v0[n], v1[n]);
  uint32_t s = 0;
  for (int i = 0; i < kTeaCycles; ++i) {
    s += kTeaDelta;
    const typename L::V sum = L::Set1(s);
    for (int n = 0; n < N; ++n) v0[n] = L::Add(v0[n], L::Mix(v1[n], sum, k.k0, k.k1));
    for (int n = 0; n < N; ++n) v1[n] = L::Add(v1[n], L::Mix(v0[n], sum, k.k2, k.k3));
  }
  for (int n = 0; n < N; ++n) L::StoreSealed(v0[n], v1[n], out + n * L::kGroups);
}

template <class L, int N>
MERIDAL_LANES_TARGET inline void UnsealBatch(const uint8_t* const* in, uint8_t* const* out, const LaneKeys<L>& k) {
  typename L::V v0[N], v1[N];
  for (int n = 0; n < N; ++n) L::LoadSealed(in + n * L::kGroups, v0[n], v1[n]);
  uint32_t s = kTeaDecipherSum;
  for (int i = 0; i < kTeaCycles; ++i) {
    const typename L::V sum = L::Set1(s);
    for (int n = 0; n < N; ++n) v1[n] = L::Sub(v1[n], L::Mix(v0[n], sum, k.k2, k.k3));
    for (int n = 0; n < N; ++n) v0[n] = L::Sub(v0[n], L::Mix(v1[n], sum, k.k0, k.k1));
    s -= kTeaDelta;
  }
  for (int n = 0; n < N; ++n) L::StorePlain(v0[n], v1[n], out + n * L::kGroups);
}

// `count` groups, group i read from in(i) and written to out(i). Whole batches
// run in place; the last few groups go through a scratch batch padded with zeros,
// so no register ever reads or writes past a group.
template <class L, int N, bool kSeal, class In, class Out>
MERIDAL_LANES_TARGET inline void RunGroups(size_t count, const TeaKey& key, In in, Out out) {
  constexpr size_t kBatch = static_cast<size_t>(N) * L::kGroups;
  const LaneKeys<L> k = MakeLaneKeys<L>(key);
  const uint8_t* from[kBatch];
  uint8_t* to[kBatch];
  size_t i = 0;
  for (; i + kBatch <= count; i += kBatch) {
    for (size_t j = 0; j < kBatch; ++j) {
      from[j] = in(i + j);
      to[j] = out(i + j);
    }
    if constexpr (kSeal) SealBatch<L, N>(from, to, k);
    else UnsealBatch<L, N>(from, to, k);
  }
  if (i == count) return;
  alignas(64) uint8_t scratch[kBatch * kGroupBytes] = {};
  const size_t rest = count - i;
  for (size_t j = 0; j < rest; ++j) std::memcpy(scratch + j * kGroupBytes, in(i + j), kGroupBytes);
  for (size_t j = 0; j < kBatch; ++j) from[j] = to[j] = scratch + j * kGroupBytes;
  if constexpr (kSeal) SealBatch<L, N>(from, to, k);
  else UnsealBatch<L, N>(from, to, k);
  for (size_t j = 0; j < rest; ++j) std::memcpy(out(i + j), scratch + j * kGroupBytes, kGroupBytes);
}

// A kernel: its three entry points over lane set L, N registers interleaved.
template <class L, int N>
struct LaneKernel {
  MERIDAL_LANES_TARGET static void Seal(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
    RunGroups<L, N, true>(count, key, [in](size_t i) { return in + i * kGroupBytes; },
                          [out](size_t i) { return out + i * kGroupBytes; });
  }
  MERIDAL_LANES_TARGET static void Unseal(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
    RunGroups<L, N, false>(count, key, [in](size_t i) { return in + i * kGroupBytes; },
                           [out](size_t i) { return out + i * kGroupBytes; });
  }
  MERIDAL_LANES_TARGET static void SealAt(uint8_t* const* groups, size_t count, const TeaKey& key) {
    RunGroups<L, N, true>(count, key, [groups](size_t i) { return groups[i]; },
                          [groups](size_t i) { return groups[i]; });
  }
  static constexpr SealKernelOps kOps{Seal, Unseal, SealAt};
};

}  // namespace
}  // namespace meridal
