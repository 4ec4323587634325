#include "sim/runlog.h"

namespace zibs {

void RunLog::begin(std::uint32_t seed, const Parameters& params, const World& world) {
    seed_ = seed;
    params_ = params;
    rows_.clear();
    record(world);
}

void RunLog::record(const World& world) {
    rows_.emplace_back(world.day, world.population);
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
    for (const auto& [day, population] : rows_) out += n(day) + "," + n(population) + world;
    return out;
}

}  // namespace zibs
