// The cipher, the byte order of sealed groups, the vector kernels and the fillers.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "files/safety/byte_order.h"
#include "files/cipher/cipher_kernel.h"
#include "files/cipher/filler.h"
#include "files/cipher/seal.h"
#include "files/cipher/tea.h"

namespace meridal {
namespace {

constexpr TeaKey kZeroKey{{0, 0, 0, 0}};

// The all-zero known answer of TEA (zero key, zero block), as published with the
// algorithm's test vectors and used by the Linux kernel's crypto self-tests
// (crypto/testmgr.h, tea_enc_tv_template: ciphertext bytes 0a 3a ea 41 40 a9 ba 94,
// the two words little-endian).
constexpr uint32_t kZeroVector[2] = {0x41ea3a0au, 0x94baa940u};
constexpr uint8_t kZeroVectorBytes[8] = {0x0a, 0x3a, 0xea, 0x41, 0x40, 0xa9, 0xba, 0x94};

TEST(Tea, MatchesThePublishedZeroVectorAndDeciphersBack) {
  uint32_t v[2] = {0, 0};
  TeaEncipher(v, kZeroKey);
  EXPECT_EQ(v[0], kZeroVector[0]);
  EXPECT_EQ(v[1], kZeroVector[1]);
  TeaDecipher(v, kZeroKey);
  EXPECT_EQ(v[0], 0u);
  EXPECT_EQ(v[1], 0u);

  std::mt19937 engine(7);
  auto random = [&] { return static_cast<uint32_t>(engine()); };
  for (int n = 0; n < 200; ++n) {
    const TeaKey key{{random(), random(), random(), random()}};
    const uint32_t plain[2] = {random(), random()};
    uint32_t v2[2] = {plain[0], plain[1]};
    TeaEncipher(v2, key);
    EXPECT_FALSE(v2[0] == plain[0] && v2[1] == plain[1]);
    TeaDecipher(v2, key);
    EXPECT_EQ(v2[0], plain[0]);
    EXPECT_EQ(v2[1], plain[1]);
  }
}

TEST(Tea, EveryKeyWordMatters) {
  uint32_t reference[2] = {0x01234567u, 0x89abcdefu};
  TeaEncipher(reference, kZeroKey);
  for (int k = 0; k < 4; ++k) {
    TeaKey key = kZeroKey;
    key.k[k] = 1;
    uint32_t v[2] = {0x01234567u, 0x89abcdefu};
    TeaEncipher(v, key);
    EXPECT_FALSE(v[0] == reference[0] && v[1] == reference[1]) << k;
  }
}

TEST(SealedGroup, BlockGHoldsByteGOfEveryWordInWordOrder) {
  uint8_t group[kGroupBytes];
  for (int i = 0; i < 32; ++i) group[i] = static_cast<uint8_t>(i);
  for (int g = 0; g < 4; ++g) {
    uint8_t block[8];
    GatherBlock(group, g, block);
    for (int j = 0; j < 8; ++j) EXPECT_EQ(block[j], g + 4 * j) << g << "," << j;
    uint8_t back[kGroupBytes] = {};
    ScatterBlock(block, g, back);
    for (int j = 0; j < 8; ++j) EXPECT_EQ(back[g + 4 * j], g + 4 * j);
  }
}

TEST(SealedGroup, StoresEachBlockAsTwoLittleEndianHalvesInBlockOrder) {
  // All zero: every block is the zero vector, stored little-endian.
  uint8_t group[kGroupBytes] = {};
  SealGroupScalar(group, kZeroKey);
  for (int g = 0; g < 4; ++g) EXPECT_EQ(std::memcmp(group + 8 * g, kZeroVectorBytes, 8), 0) << g;

  // Only byte 1 of each word is zero: block 1 alone enciphers the zero block and
  // lands at bytes 8..15; the other blocks are something else.
  uint8_t mixed[kGroupBytes];
  for (int i = 0; i < 32; ++i) mixed[i] = (i % 4 == 1) ? 0 : static_cast<uint8_t>(0x40 + i);
  SealGroupScalar(mixed, kZeroKey);
  EXPECT_EQ(std::memcmp(mixed + 8, kZeroVectorBytes, 8), 0);
  EXPECT_NE(std::memcmp(mixed, kZeroVectorBytes, 8), 0);
  EXPECT_NE(std::memcmp(mixed + 16, kZeroVectorBytes, 8), 0);
  EXPECT_NE(std::memcmp(mixed + 24, kZeroVectorBytes, 8), 0);

  // Unsealing gives the plaintext back; byte 0 of block 0 is word 0's low byte.
  UnsealGroupScalar(mixed, kZeroKey);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(mixed[i], (i % 4 == 1) ? 0 : 0x40 + i) << i;
}

// Every kernel this processor runs, then the active one through the plain calls.
TEST(SealedGroup, EveryKernelAgreesWithTheReference) {
  std::vector<CipherKernel> kernels;
  for (CipherKernel kernel : kCipherKernels)
    if (CipherKernelSupported(kernel)) kernels.push_back(kernel);
  ASSERT_TRUE(CipherKernelSupported(CipherKernel::Scalar));
  for (CipherKernel kernel : kernels) {
    SCOPED_TRACE(CipherKernelName(kernel));
    // The published vector in every block of every group, past a whole batch.
    std::vector<uint8_t> zeros(37 * kGroupBytes, 0);
    SealGroupsWith(kernel, zeros.data(), zeros.data(), 37, kZeroKey);
    for (size_t b = 0; b < zeros.size(); b += 8) {
      ASSERT_EQ(LoadLE32(zeros.data() + b), kZeroVector[0]) << b;
      ASSERT_EQ(LoadLE32(zeros.data() + b + 4), kZeroVector[1]) << b;
    }
    UnsealGroupsWith(kernel, zeros.data(), zeros.data(), 37, kZeroKey);
    EXPECT_EQ(zeros, std::vector<uint8_t>(37 * kGroupBytes, 0));

    std::mt19937 engine(12345);
    auto random = [&] { return static_cast<uint32_t>(engine()); };
    for (size_t count : {0u, 1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 13u, 15u, 16u, 17u, 31u, 64u, 101u}) {
      const TeaKey key{{random(), random(), random(), random()}};
      std::vector<uint8_t> plain(count * kGroupBytes + 3);
      for (auto& b : plain) b = static_cast<uint8_t>(random());
      // Misaligned on purpose: the file's groups start 8 bytes in.
      std::vector<uint8_t> fast(plain), reference(plain), copy(plain.size());
      SealGroupsWith(kernel, fast.data() + 3, fast.data() + 3, count, key);
      SealGroupsScalar(reference.data() + 3, count, key);
      EXPECT_EQ(fast, reference) << count;
      SealGroupsWith(kernel, plain.data() + 3, copy.data() + 3, count, key);
      EXPECT_TRUE(std::equal(copy.begin() + 3, copy.end(), reference.begin() + 3)) << count;
      // Groups gathered from anywhere, here in reverse order.
      std::vector<uint8_t> scattered(plain);
      std::vector<uint8_t*> groups;
      for (size_t g = count; g-- > 0;) groups.push_back(scattered.data() + 3 + g * kGroupBytes);
      SealGroupsAtWith(kernel, groups.data(), groups.size(), key);
      EXPECT_EQ(scattered, reference) << count;

      UnsealGroupsWith(kernel, fast.data() + 3, fast.data() + 3, count, key);
      UnsealGroupsScalar(reference.data() + 3, count, key);
      EXPECT_EQ(fast, reference) << count;
      EXPECT_EQ(fast, plain) << count;
      std::vector<uint8_t> back(plain.size());
      UnsealGroupsWith(kernel, copy.data() + 3, back.data() + 3, count, key);
      EXPECT_TRUE(std::equal(back.begin() + 3, back.end(), plain.begin() + 3)) << count;
    }
  }
  // The plain calls run the active kernel.
  std::vector<uint8_t> a(9 * kGroupBytes, 0x5a), b(a);
  SealGroups(a.data(), 9, kZeroKey);
  SealGroupsScalar(b.data(), 9, kZeroKey);
  EXPECT_EQ(a, b);
  UnsealGroups(a.data(), 9, kZeroKey);
  EXPECT_EQ(a, std::vector<uint8_t>(9 * kGroupBytes, 0x5a));
}

TEST(CipherKernelChoice, FollowsTheEnvironmentOnlyWhereThisProcessorCan) {
  const CipherKernel fastest = FastestCipherKernel();
  EXPECT_TRUE(CipherKernelSupported(fastest));
  std::string note;
  EXPECT_EQ(ChooseCipherKernel(nullptr, note), fastest);
  EXPECT_EQ(note, "");
  EXPECT_EQ(ChooseCipherKernel("", note), fastest);
  EXPECT_EQ(ChooseCipherKernel("scalar", note), CipherKernel::Scalar);
  EXPECT_EQ(note, "");
  EXPECT_EQ(ChooseCipherKernel("neon", note), fastest);
  EXPECT_EQ(note, std::string("MERIDAL_CIPHER=neon: not a kernel (scalar, sse2, avx2, avx512); using ") +
                      CipherKernelName(fastest));
  for (CipherKernel kernel : kCipherKernels) {
    const CipherKernel chosen = ChooseCipherKernel(CipherKernelName(kernel), note);
    if (CipherKernelSupported(kernel)) {
      EXPECT_EQ(chosen, kernel);
      EXPECT_EQ(note, "");
    } else {
      // Never a kernel the processor lacks: the fastest it has, said once.
      EXPECT_EQ(chosen, fastest);
      EXPECT_EQ(note, std::string("MERIDAL_CIPHER=") + CipherKernelName(kernel) +
                          ": this processor cannot run it; using " + CipherKernelName(fastest));
      const CipherKernel before = ActiveCipherKernel();
      EXPECT_FALSE(UseCipherKernel(kernel));
      EXPECT_EQ(ActiveCipherKernel(), before);
    }
  }
  const CipherKernel before = ActiveCipherKernel();
  ASSERT_TRUE(UseCipherKernel(CipherKernel::Scalar));
  EXPECT_EQ(ActiveCipherKernel(), CipherKernel::Scalar);
  ASSERT_TRUE(UseCipherKernel(before));
}

TEST(ByteOrder, WordsAreLittleEndian) {
  uint8_t bytes[4];
  StoreLE32(bytes, 0x11223344u);
  EXPECT_EQ(bytes[0], 0x44);
  EXPECT_EQ(bytes[3], 0x11);
  EXPECT_EQ(LoadLE32(bytes), 0x11223344u);
}

TEST(Filler, IsTheCongruentialGeneratorTakenTwoDrawsAtATime) {
  // Seed 0: the states are 1 and 22695478, whose bits 16..30 are 0 and 346.
  TFiller zero(0);
  EXPECT_EQ(zero.Next(), 346);

  TFiller words(20240601), draws(20240601);
  for (int n = 0; n < 1000; ++n) {
    const int32_t r1 = draws.Draw();
    const int32_t r2 = draws.Draw();
    ASSERT_GE(r1, 0);
    ASSERT_LT(r1, 32768);
    ASSERT_EQ(words.Next(), r1 * 65536 + r2) << n;
  }
  EXPECT_EQ(words.State(), draws.State());

  // Drawn in runs of any length, the same words and the same state.
  TFiller runs(20240601), single(20240601);
  for (size_t count = 0; count < 19; ++count) {
    int32_t drawn[18];
    runs.Fill(drawn, count);
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(drawn[i], single.Next()) << count << "," << i;
    ASSERT_EQ(runs.State(), single.State()) << count;
  }

  // Fillers vary, and another seed gives another sequence.
  TFiller a(1), b(2);
  std::vector<int32_t> fromA, fromB;
  for (int n = 0; n < 8; ++n) {
    fromA.push_back(a.Next());
    fromB.push_back(b.Next());
  }
  EXPECT_NE(fromA, fromB);
  EXPECT_NE(fromA[0], fromA[1]);
}

}  // namespace
}  // namespace meridal
