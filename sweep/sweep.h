#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sweep/lists.h"
#include "sweep/plan.h"

namespace zibs::sweep {

struct SweepOptions {
    std::optional<long long> days;  // none: until no zib is left
    unsigned threads = 1;
    Shard shard;
    bool series = false;  // collect the day statistics of every run
};

// What a run gives to the output: its row of the result, and its series when asked for.
struct RunOutput {
    std::string row;
    std::string series;
    bool reachedDayLimit = false;
};

// Finished runs waiting for the ones before them to be taken, at most, per thread.
inline constexpr std::uint64_t runsAheadPerThread = 4;

// The runs of the shard, 0-based indices K - 1, K - 1 + N, ...
std::uint64_t shardRuns(std::uint64_t runs, const Shard& shard);

// Runs the shard's runs on `threads` threads, which take the next run as they come free, and
// hands each run's output to `take` on the calling thread, in run order, as soon as the runs
// before it are done. `progress` is called there too, with the number of runs done so far, at
// most five times a second and once at the end. No run starts more than runsAheadPerThread runs
// per thread ahead of the one `take` waits for. When `take` throws, the threads stop after
// their current runs and the exception is passed on.
void runSweep(const Plan& plan, const SweepOptions& options,
              const std::function<void(RunOutput&)>& take,
              const std::function<void(std::uint64_t done)>& progress);

}  // namespace zibs::sweep
