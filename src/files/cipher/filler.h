#pragma once
// The pseudo-random filler words that pad every sealed record, so that equal
// records never seal to equal bytes. A linear congruential generator: state =
// state * 22695477 + 1, each draw giving bits 16 to 30 of the new state; a filler
// word is two successive draws r1 * 65536 + r2. The program seeds one generator
// from the clock at start-up; tests seed their own.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

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
    const int32_t word = Word(Jump(state_, 1), Jump(state_, 2));
    state_ = Jump(state_, 2);
    return word;
  }

  // `count` filler words, the same as `count` calls of Next(). The state stays in
  // a register for the whole run (Next() through a reference has to store it
  // after every word, as the words written may alias it), and four words are
  // drawn side by side from one state with the generator's jumps.
  void Fill(int32_t* words, size_t count) {
    uint32_t s = state_;
    const size_t fours = count - count % 4;
    size_t i = 0;
    for (; i < fours; i += 4) {
      for (size_t k = 0; k < 4; ++k) words[i + k] = Word(Jump(s, 2 * k + 1), Jump(s, 2 * k + 2));
      s = Jump(s, 8);
    }
    for (; i < count; ++i) {
      words[i] = Word(Jump(s, 1), Jump(s, 2));
      s = Jump(s, 2);
    }
    state_ = s;
  }

  uint32_t State() const { return state_; }

  // The state a run of filler words was drawn from: a generator made with it
  // gives words[0], words[1], ... from Next(). Nothing when the words are not one
  // unbroken run of this generator. (Bit 31 of a state never shows in a word:
  // the state found is one of two that give the same words.)
  static std::optional<uint32_t> StateBefore(const int32_t* words, size_t count);
  // The state `draws` draws before `state`.
  static uint32_t Rewind(uint32_t state, size_t draws);

 private:
  struct Step {
    uint32_t mul, add;
  };
  // Step j takes a state j draws ahead: state * mul + add.
  static constexpr std::array<Step, 9> kJumps = [] {
    std::array<Step, 9> steps{};
    steps[0] = Step{1u, 0u};
    for (size_t j = 1; j < steps.size(); ++j)
      steps[j] = Step{steps[j - 1].mul * kMultiplier, steps[j - 1].add * kMultiplier + 1u};
    return steps;
  }();
  static uint32_t Jump(uint32_t s, size_t draws) { return s * kJumps[draws].mul + kJumps[draws].add; }
  static int32_t Word(uint32_t s1, uint32_t s2) {
    return static_cast<int32_t>(((s1 >> 16) & 0x7FFFu) << 16 | ((s2 >> 16) & 0x7FFFu));
  }

  uint32_t state_;
};

}  // namespace meridal
