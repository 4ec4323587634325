#pragma once

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

private:
    std::mt19937 engine_;
    std::uint32_t seed_;
};

}  // namespace zibs
