#include "runtime/random.h"

#include <chrono>

namespace zibs {

std::uint32_t Rnd::seedFromTimer() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto mixed = static_cast<std::uint64_t>(ticks);
    seed(static_cast<std::uint32_t>(mixed ^ (mixed >> 32)));
    return seed_;
}

}  // namespace zibs
