#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace zibs {

// Where the simulation takes its random numbers from: each call gives the next uniform
// draw in [0, 1). Tests script the draws through their own implementation.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
};

// The program's generator: a Mersenne twister seeded with 32 bits, one engine output per draw.
class Rnd final : public RandomSource {
  public:
    explicit Rnd(std::uint32_t seed = 0) : engine_(seed), seed_(seed) {}

    double next() override { return engine_() / 4294967296.0; }

    void seed(std::uint32_t seed) {
        engine_.seed(seed);
        seed_ = seed;
    }
    // Re-seeds from the system clock and returns the seed chosen, so the run can be repeated.
    std::uint32_t seedFromTimer();
    std::uint32_t currentSeed() const { return seed_; }

    // The engine's full state as its text form gives it: the 624 state words, then the position
    // of the next word to use (0..624; 624: the words are used up and are renewed at the next
    // draw). A generator restored from it continues with exactly the same draws.
    using State = std::array<std::uint32_t, 625>;
    State state() const;
    // Whether an engine can be in this state: a position of 0..624, and state words that are not
    // all zero (the twister's zero state, which no seed leads to, gives zeros for ever).
    static bool canHold(const State& state);
    // Takes over the seed shown for the world and the engine's state. Returns false, changing
    // nothing, when the engine cannot hold the state.
    bool restore(std::uint32_t seed, const State& state);

  private:
    std::mt19937 engine_;
    std::uint32_t seed_;
};

}  // namespace zibs
