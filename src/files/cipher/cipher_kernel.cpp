#include "files/cipher/cipher_kernel.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/cipher/seal.h"
#include "files/cipher/seal_kernels.h"

namespace meridal {

namespace {

// The scalar reference in the shape of a kernel.
void ScalarSeal(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  if (in != out) std::memmove(out, in, count * kGroupBytes);
  SealGroupsScalar(out, count, key);
}
void ScalarUnseal(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  if (in != out) std::memmove(out, in, count * kGroupBytes);
  UnsealGroupsScalar(out, count, key);
}
void ScalarSealAt(uint8_t* const* groups, size_t count, const TeaKey& key) {
  for (size_t i = 0; i < count; ++i) SealGroupScalar(groups[i], key);
}
constexpr SealKernelOps kScalarOps{ScalarSeal, ScalarUnseal, ScalarSealAt};

const SealKernelOps* BuiltIn(CipherKernel kernel) {
  switch (kernel) {
    case CipherKernel::Scalar: return &kScalarOps;
    case CipherKernel::Sse2: return Sse2SealKernel();
    case CipherKernel::Avx2: return Avx2SealKernel();
    case CipherKernel::Avx512: return Avx512SealKernel();
  }
  return nullptr;
}

bool ProcessorRuns(CipherKernel kernel) {
#if defined(__x86_64__) || defined(__i386__)
  // These checks also ask whether the operating system saves the wide registers.
  __builtin_cpu_init();
  switch (kernel) {
    case CipherKernel::Scalar: return true;
    case CipherKernel::Sse2: return __builtin_cpu_supports("sse2");
    case CipherKernel::Avx2: return __builtin_cpu_supports("avx2");
    case CipherKernel::Avx512: return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx2");
  }
  return false;
#else
  return kernel == CipherKernel::Scalar;
#endif
}

// -1 until the first use makes the choice.
std::atomic<int> active{-1};

const SealKernelOps& Ops(CipherKernel kernel) {
  const SealKernelOps* ops = CipherKernelSupported(kernel) ? BuiltIn(kernel) : nullptr;
  return ops ? *ops : kScalarOps;
}

}  // namespace

const char* CipherKernelName(CipherKernel kernel) {
  switch (kernel) {
    case CipherKernel::Scalar: return "scalar";
    case CipherKernel::Sse2: return "sse2";
    case CipherKernel::Avx2: return "avx2";
    case CipherKernel::Avx512: return "avx512";
  }
  return "?";
}

std::optional<CipherKernel> CipherKernelByName(std::string_view name) {
  for (CipherKernel kernel : kCipherKernels)
    if (name == CipherKernelName(kernel)) return kernel;
  return std::nullopt;
}

bool CipherKernelSupported(CipherKernel kernel) {
  static const auto supported = [] {
    std::array<bool, std::size(kCipherKernels)> yes{};
    for (CipherKernel k : kCipherKernels) yes[static_cast<size_t>(k)] = BuiltIn(k) != nullptr && ProcessorRuns(k);
    return yes;
  }();
  return supported[static_cast<size_t>(kernel)];
}

CipherKernel FastestCipherKernel() {
  CipherKernel best = CipherKernel::Scalar;
  for (CipherKernel kernel : kCipherKernels)
    if (CipherKernelSupported(kernel)) best = kernel;
  return best;
}

CipherKernel ChooseCipherKernel(const char* requested, std::string& note) {
  note.clear();
  const CipherKernel fastest = FastestCipherKernel();
  if (requested == nullptr || *requested == '\0') return fastest;
  const std::optional<CipherKernel> named = CipherKernelByName(requested);
  if (named && CipherKernelSupported(*named)) return *named;
  note = std::string("MERIDAL_CIPHER=") + requested +
         (named ? ": this processor cannot run it" : ": not a kernel (scalar, sse2, avx2, avx512)") + "; using " +
         CipherKernelName(fastest);
  return fastest;
}

CipherKernel ActiveCipherKernel() {
  int kernel = active.load(std::memory_order_relaxed);
  if (kernel < 0) {
    // Made once, however many threads ask first.
    static const CipherKernel chosen = [] {
      std::string note;
      const CipherKernel k = ChooseCipherKernel(std::getenv("MERIDAL_CIPHER"), note);
      if (!note.empty()) std::fprintf(stderr, "meridal: %s\n", note.c_str());
      return k;
    }();
    int expected = -1;
    active.compare_exchange_strong(expected, static_cast<int>(chosen));
    kernel = active.load(std::memory_order_relaxed);
  }
  return static_cast<CipherKernel>(kernel);
}

bool UseCipherKernel(CipherKernel kernel) {
  if (!CipherKernelSupported(kernel)) return false;
  ActiveCipherKernel();  // the environment's note, if any, is still shown once
  active.store(static_cast<int>(kernel), std::memory_order_relaxed);
  return true;
}

void SealGroupsWith(CipherKernel kernel, const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  Ops(kernel).seal(in, out, count, key);
}

void UnsealGroupsWith(CipherKernel kernel, const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  Ops(kernel).unseal(in, out, count, key);
}

void SealGroupsAtWith(CipherKernel kernel, uint8_t* const* groups, size_t count, const TeaKey& key) {
  Ops(kernel).sealAt(groups, count, key);
}

void SealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  SealGroupsWith(ActiveCipherKernel(), in, out, count, key);
}

void UnsealGroups(const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key) {
  UnsealGroupsWith(ActiveCipherKernel(), in, out, count, key);
}

void SealGroupsAt(uint8_t* const* groups, size_t count, const TeaKey& key) {
  SealGroupsAtWith(ActiveCipherKernel(), groups, count, key);
}

}  // namespace meridal
