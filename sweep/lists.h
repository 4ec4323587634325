#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zibs::sweep {

// A list, seed range or shard that cannot be used; the message quotes the text and says why.
struct BadInput : std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

// The value texts of a list of values and inclusive ranges "from:to:step", separated by commas
// ("1,2,5:25:5" gives 1, 2, 5, 10, 15, 20, 25). A value is kept as written, blanks around it and
// all, and must be a number as the "Variables" window reads one, with nothing after it ("2.5",
// "-3", "1e2"); a range's parts are whole numbers, from at most to, step at least 1. A range
// stops after its first value beyond -32768..32767, which no parameter accepts.
std::vector<std::string> parseList(std::string_view text);

// The seeds "A..B" (or "A" alone), 0 <= A <= B <= 4294967295.
struct Seeds {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::uint64_t count() const { return std::uint64_t{last} - first + 1; }
};
Seeds parseSeeds(std::string_view text);

// Shard K of N ("K/N", 1 <= K <= N): the runs whose 0-based index i has i mod N = K - 1.
struct Shard {
    std::uint64_t k = 1;
    std::uint64_t n = 1;
};
Shard parseShard(std::string_view text);

}  // namespace zibs::sweep
