#pragma once

#include <algorithm>
#include <cstdint>

namespace zibs {

// An RGB colour as the program names it: three components 0 to 255.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Builds a colour; a component above 255 counts as 255 (and one below 0 as 0).
constexpr Rgb RGB(long long r, long long g, long long b) {
    auto c = [](long long v) { return static_cast<std::uint8_t>(std::clamp<long long>(v, 0, 255)); };
    return Rgb{c(r), c(g), c(b)};
}

inline constexpr Rgb black = RGB(0, 0, 0);
inline constexpr Rgb white = RGB(255, 255, 255);

}  // namespace zibs
