#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

// What a world has done since its Initialize: its seed, its parameters and the population
// after each day, ready to be written as CSV.
class RunLog {
  public:
    // A new world: the rows start again with day 0.
    void begin(std::uint32_t seed, const Parameters& params, const World& world);
    // The day just run.
    void record(const World& world);

    bool empty() const { return rows_.empty(); }
    const std::vector<std::pair<Integer, Integer>>& rows() const { return rows_; }

    // The header, then one row a day: day, population, and the seed and the six parameters of
    // the world, the same on every row.
    std::string csv() const;

  private:
    std::uint32_t seed_ = 0;
    Parameters params_;
    std::vector<std::pair<Integer, Integer>> rows_;
};

}  // namespace zibs
