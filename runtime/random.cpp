#include "runtime/random.h"

#include <algorithm>
#include <chrono>
#include <sstream>
#include <stdexcept>

namespace zibs {

std::uint32_t Rnd::seedFromTimer() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto mixed = static_cast<std::uint64_t>(ticks);
    seed(static_cast<std::uint32_t>(mixed ^ (mixed >> 32)));
    return seed_;
}

Rnd::State Rnd::state() const {
    std::ostringstream out;
    out << engine_;
    std::istringstream in(out.str());
    State s{};
    for (std::uint32_t& v : s) in >> v;
    // The standard library's text form is the state words followed by the position; any other
    // form would lose the position, so it is a fault of the build, not of a world.
    if (in.fail() || !(in >> std::ws).eof()) {
        throw std::logic_error("the Mersenne twister's text form is not 624 words and a position");
    }
    return s;
}

bool Rnd::canHold(const State& state) {
    // The next words come from the top bit of word 0 and the whole of words 1 to 623.
    const bool zero =
        (state[0] & 0x80000000u) == 0 &&
        std::all_of(state.begin() + 1, state.end() - 1, [](auto w) { return w == 0; });
    return state.back() <= 624 && !zero;
}

bool Rnd::restore(std::uint32_t seed, const State& state) {
    if (!canHold(state)) return false;
    std::ostringstream out;
    for (std::uint32_t v : state) out << v << ' ';
    std::istringstream in(out.str());
    std::mt19937 engine;
    in >> engine;
    if (in.fail()) return false;
    engine_ = engine;
    seed_ = seed;
    return true;
}

}  // namespace zibs
