#pragma once
// The kernels that seal and unseal the project file's groups, chosen at run time.
//
// Every kernel gives exactly the bytes of the scalar reference; they differ only
// in speed. SealGroups, UnsealGroups and SealGroupsAt (files/seal.h) use the
// active kernel: the fastest one the processor supports, unless the environment
// variable MERIDAL_CIPHER names another (scalar, sse2, avx2 or avx512). A kernel
// named there that this processor or build cannot run is not used: the fastest
// supported one is, and a one-line note on stderr says so. An unknown name is
// treated the same way. Nothing ever runs an instruction the processor lacks.
//
//   scalar  the reference, one block at a time
//   sse2    4 lanes (one group per register), 4 registers interleaved
//   avx2    8 lanes (two groups per register), 4 registers interleaved
//   avx512  16 lanes (four groups per register), 2 registers interleaved
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "files/cipher/tea.h"

namespace meridal {

enum class CipherKernel { Scalar, Sse2, Avx2, Avx512 };

// Every kernel, slowest first.
inline constexpr CipherKernel kCipherKernels[] = {CipherKernel::Scalar, CipherKernel::Sse2, CipherKernel::Avx2,
                                                  CipherKernel::Avx512};

const char* CipherKernelName(CipherKernel kernel);
std::optional<CipherKernel> CipherKernelByName(std::string_view name);

// Whether the kernel is built in and this processor (and its operating system)
// can run it. The scalar reference always can.
bool CipherKernelSupported(CipherKernel kernel);
CipherKernel FastestCipherKernel();

// The choice made from the value of MERIDAL_CIPHER (nullptr or empty: not set).
// `note` receives the line to show when the value could not be followed.
CipherKernel ChooseCipherKernel(const char* requested, std::string& note);

// The kernel SealGroups and friends use now. The first call makes the choice from
// the environment.
CipherKernel ActiveCipherKernel();
// Makes `kernel` the active one, for tests and benchmarks. Refused (false, nothing
// changes) if it is not supported here.
bool UseCipherKernel(CipherKernel kernel);

// The same operations as files/seal.h, through a given kernel, which must be
// supported (an unsupported one falls back to the scalar reference).
void SealGroupsWith(CipherKernel kernel, const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
void UnsealGroupsWith(CipherKernel kernel, const uint8_t* in, uint8_t* out, size_t count, const TeaKey& key);
void SealGroupsAtWith(CipherKernel kernel, uint8_t* const* groups, size_t count, const TeaKey& key);

}  // namespace meridal
