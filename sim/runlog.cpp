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
    std::string out = "# seed " + n(seed_) + " start-population " + n(params_.popstart) +
                      " repro-rate " + n(params_.reprorate) + " max-grass " + n(params_.maxgrass) +
                      " growth-rate " + n(params_.growrate) + " radiation " + n(params_.radiation) +
                      " mutations " + n(params_.mutations) + "\n";
    out += "day,population\n";
    for (const auto& [day, population] : rows_) out += n(day) + "," + n(population) + "\n";
    return out;
}

}  // namespace zibs
