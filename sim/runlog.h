#pragma once

#include <cstdint>
#include <string>

#include "sim/daystats.h"
#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

// What a world has done since its Initialize: its seed, the parameter texts and values it was
// built from, and the day's figures of every day, for export and for saving the world.
class RunLog {
  public:
    // A new world: the rows start again with day 0.
    void begin(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
               const World& world);
    // An opened world: its origin and the history it brings.
    void restore(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                 StatsHistory history);
    // The day just run.
    void record(const World& world);

    bool empty() const { return rows_.empty(); }
    const StatsHistory& rows() const { return rows_; }
    std::uint32_t seed() const { return seed_; }
    const ParameterTexts& texts() const { return texts_; }
    const Parameters& params() const { return params_; }

    // The header, then one row a day: day, population, and the seed and the six parameters of
    // the world, the same on every row.
    std::string csv() const;

  private:
    std::uint32_t seed_ = 0;
    ParameterTexts texts_;
    Parameters params_;
    StatsHistory rows_;
};

}  // namespace zibs
