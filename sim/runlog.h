#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "runtime/random.h"
#include "sim/daystats.h"
#include "sim/params.h"
#include "sim/world.h"

namespace zibs {

// Where a run starts from: the world and the generator just after Initialize, or as a world
// file gave them. Every later day can be computed again from it.
struct RunStart {
    World world;
    Rnd::State generator{};
};

// What a world has done since its Initialize: its seed, the parameter texts and values it was
// built from, where the run started, and the day's figures of every day, for export and for
// saving the world.
class RunLog {
  public:
    // A new world, just initialised: the rows start again with day 0.
    void begin(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
               const World& world, const Rnd::State& generator);
    // An opened world: where it came from, the history it brings, and the world and generator
    // as opened, from which its later days are computed.
    void restore(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                 StatsHistory history, const World& world, const Rnd::State& generator);
    // The day just run. A day already in the log (run again after going back to an earlier
    // day) replaces its row and the rows after it.
    void record(const World& world);

    // Counts the changes to rows already in the log: a new world, an opened one, a day run again.
    // A reader that holds the rows up to some day reads them all again when it has moved on.
    std::uint64_t rewrites() const { return rewrites_; }
    // Called after every change of the rows: how a window that shows them learns of a new day,
    // at no cost to a run while there is no such window.
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

    bool empty() const { return rows_.empty(); }
    const StatsHistory& rows() const { return rows_; }
    std::uint32_t seed() const { return seed_; }
    const ParameterTexts& texts() const { return texts_; }
    const Parameters& params() const { return params_; }
    const RunStart& start() const { return start_; }

    // The header, then one row a day: day, population, and the seed and the six parameters of
    // the world, the same on every row.
    std::string csv() const;

  private:
    std::uint32_t seed_ = 0;
    ParameterTexts texts_;
    Parameters params_;
    RunStart start_;
    StatsHistory rows_;
    std::uint64_t rewrites_ = 0;
    std::function<void()> listener_;
};

}  // namespace zibs
