#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sweep/plan.h"

namespace zibs::sweep {

// How one world of a sweep went, as zibs-run --seed would run it.
struct Summary {
    std::int32_t endDay = 0;  // the last day run
    std::int32_t endPopulation = 0;
    std::int32_t peakPopulation = 0;  // the largest population of days 0 to endDay
    std::int32_t peakDay = 0;         // the first day it was reached
    std::int64_t births = 0;          // summed over days 1 to endDay
    std::int64_t deathsAge = 0;
    std::int64_t deathsHunger = 0;
    bool reachedDayLimit = false;    // the day limit of 32767 cut the run short
    std::int32_t familiesLeft = 0;   // first zibs with a living descendant (themselves included)
    std::int32_t maxGeneration = 0;  // the highest generation of any zib, 0 when none was born
    friend bool operator==(const Summary&, const Summary&) = default;
};

// Builds the run's world with its seed and runs `days` days, or with none until no zib is left
// (at least one day). With `series`, appends the day statistics of days 0 to endDay to it, one
// CSV row each, led by the run's columns.
Summary runWorld(const Run& run, std::optional<long long> days, std::string* series = nullptr);

// The run's leading columns: seed and the six parameters, each followed by a comma.
void appendRunColumns(std::string& out, const Run& run);

// The header and one row of a sweep's result, each ending the line.
std::string resultHeader();
void appendResultRow(std::string& out, const Run& run, const Summary& s);

// The header of the series: the run's columns, then those of the day statistics.
std::string seriesHeader();

}  // namespace zibs::sweep
