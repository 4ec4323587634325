#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/params.h"
#include "sweep/lists.h"

namespace zibs::sweep {

// The six parameters in the order of their options: the first varies slowest in a sweep.
struct ParameterColumn {
    const char* option;
    const char* column;  // in the CSV output
    std::string ParameterTexts::*text;
    Integer Parameters::*value;
};
inline constexpr std::array<ParameterColumn, 6> parameterColumns = {{
    {"--start-population", "start_population", &ParameterTexts::startpop, &Parameters::popstart},
    {"--repro-rate", "repro_rate", &ParameterTexts::repro, &Parameters::reprorate},
    {"--max-grass", "max_grass", &ParameterTexts::grass, &Parameters::maxgrass},
    {"--growth-rate", "growth_rate", &ParameterTexts::grow, &Parameters::growrate},
    {"--radiation", "radiation", &ParameterTexts::rad, &Parameters::radiation},
    {"--mutations", "mutations", &ParameterTexts::mute, &Parameters::mutations},
}};

// What the command line gives: a list per parameter (none: the window's initial text) and the
// seeds, as texts.
struct SweepTexts {
    std::array<std::optional<std::string>, 6> lists;
    std::string seeds;
};

// One world of a sweep.
struct Run {
    std::uint32_t seed = 0;
    Parameters params;
};

// Every combination of the parameter values, each with every seed. Run i counts in the order of
// the options, the seeds fastest: with seeds 1..2 and repro rates 1,2 the runs are (1, 1),
// (1, 2), (2, 1), (2, 2) as (repro rate, seed).
class Plan {
  public:
    // Reads the lists and the seeds and checks every value as Initialize does, each with the
    // other parameters at their initial texts. Throws BadInput naming the option and the first
    // problem found.
    explicit Plan(const SweepTexts& texts);

    std::uint64_t runs() const { return runs_; }
    Run run(std::uint64_t index) const;

  private:
    std::array<std::vector<Integer>, 6> values_;
    Seeds seeds_;
    std::uint64_t runs_ = 0;
};

}  // namespace zibs::sweep
