#include "sim/runlog.h"

#include <utility>

namespace zibs {

void RunLog::begin(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                   const World& world, const Rnd::State& generator) {
    restore(seed, texts, params, {}, world, generator);
    record(world);
}

void RunLog::restore(std::uint32_t seed, const ParameterTexts& texts, const Parameters& params,
                     StatsHistory history, const World& world, const Rnd::State& generator) {
    seed_ = seed;
    texts_ = texts;
    params_ = params;
    rows_ = std::move(history);
    start_ = {world, generator};
    ++rewrites_;
    if (listener_) listener_();
}

void RunLog::record(const World& world) {
    if (!rows_.empty() && rows_.back().day >= world.day) ++rewrites_;
    while (!rows_.empty() && rows_.back().day >= world.day) rows_.pop_back();
    rows_.push_back(tally(world));
    if (listener_) listener_();
}

std::string RunLog::csv() const {
    const auto n = [](long long v) { return std::to_string(v); };
    // Every row carries the seed and the parameters, so the file reads as one plain table.
    const std::string world = "," + n(seed_) + "," + n(params_.popstart) + "," +
                              n(params_.reprorate) + "," + n(params_.maxgrass) + "," +
                              n(params_.growrate) + "," + n(params_.radiation) + "," +
                              n(params_.mutations) + "\n";
    std::string out =
        "day,population,seed,start_population,repro_rate,max_grass,growth_rate,radiation,"
        "mutations\n";
    for (const DayStats& row : rows_) out += n(row.day) + "," + n(row.population) + world;
    return out;
}

}  // namespace zibs
