#include "files/cipher/filler.h"

#include <ctime>

namespace meridal {

TFiller TFiller::FromClock() { return TFiller(static_cast<uint32_t>(std::time(nullptr))); }

namespace {

// The multiplier's inverse modulo 2^32 (it is odd), by Newton's iteration: each
// step doubles the bits that are right.
constexpr uint32_t InverseMultiplier() {
  uint32_t x = TFiller::kMultiplier;
  for (int i = 0; i < 5; ++i) x *= 2u - TFiller::kMultiplier * x;
  return x;
}
static_assert(InverseMultiplier() * TFiller::kMultiplier == 1u);

}  // namespace

uint32_t TFiller::Rewind(uint32_t state, size_t draws) {
  for (size_t i = 0; i < draws; ++i) state = (state - 1u) * InverseMultiplier();
  return state;
}

std::optional<uint32_t> TFiller::StateBefore(const int32_t* words, size_t count) {
  if (count == 0) return std::nullopt;
  const uint32_t first = static_cast<uint32_t>(words[0]);
  if ((first & 0x80008000u) != 0) return std::nullopt;  // a draw has 15 bits
  // The first draw's state shows bits 16 to 30; try every value of bits 0 to 15
  // against the second draw, then the survivors against the whole run.
  const uint32_t high = (first >> 16) << 16, second = first & 0x7FFFu;
  for (uint32_t low = 0; low < 0x10000u; ++low) {
    const uint32_t s1 = high | low;
    if (((s1 * kMultiplier + 1u) >> 16 & 0x7FFFu) != second) continue;
    const uint32_t before = Rewind(s1, 1);
    TFiller again(before);
    size_t i = 0;
    while (i < count && again.Next() == words[i]) ++i;
    if (i == count) return before;
  }
  return std::nullopt;
}

}  // namespace meridal
