#pragma once
// The pseudo-random filler words that pad every sealed record, so that equal
// records never seal to equal bytes. A linear congruential generator: state =
// state * 22695477 + 1, each draw giving bits 16 to 30 of the new state; a filler
// word is two successive draws r1 * 65536 + r2. The program seeds one generator
// from the clock at start-up; tests seed their own.
#include <cstdint>

namespace meridal {

class TFiller {
 public:
  explicit TFiller(uint32_t seed) : state_(seed) {}
  // A generator seeded with the current time in seconds.
  static TFiller FromClock();

  static constexpr uint32_t kMultiplier = 22695477u;

  // One 15-bit draw.
  int32_t Draw() {
    state_ = state_ * kMultiplier + 1u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFFu);
  }

  // One filler word, r1 * 65536 + r2. Both draws are taken straight from the
  // current state (the second one two steps ahead), so the two multiplications
  // run side by side; the sequence is the same as two calls of Draw().
  int32_t Next() {
    const uint32_t s1 = state_ * kMultiplier + 1u;
    const uint32_t s2 = state_ * (kMultiplier * kMultiplier) + (kMultiplier + 1u);
    state_ = s2;
    return static_cast<int32_t>(((s1 >> 16) & 0x7FFFu) << 16 | ((s2 >> 16) & 0x7FFFu));
  }

  uint32_t State() const { return state_; }

 private:
  uint32_t state_;
};

}  // namespace meridal
