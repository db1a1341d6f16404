#pragma once
// The vector kernels behind files/cipher_kernel.h: each file seal_<isa>.cpp
// compiles one with its own function target attribute and hands out its entry
// points here, or nullptr where the build has no such kernel (not x86).
#include <cstddef>
#include <cstdint>

#include "files/cipher/tea.h"

namespace meridal {

struct SealKernelOps {
  void (*seal)(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
  void (*unseal)(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
  void (*sealAt)(uint8_t* const* groups, size_t count, const TeaKey& key);
};

const SealKernelOps* Sse2SealKernel();
const SealKernelOps* Avx2SealKernel();
const SealKernelOps* Avx512SealKernel();

}  // namespace meridal
