// The daily step of the core alone, with a presentation that draws nothing: short runs of fresh
// worlds, and one long run to the day limit.
//
// A world changes its cost as it goes: a start population of 100 halves about every five days and
// a dead world's day only regrows grass. So one iteration is the first `days` days of a freshly
// initialised world, and its Initialize runs outside the timed region. The worlds take the seeds
// 1..16 in turn: every run averages over the same sixteen worlds in the same phase of their life.
//
// Reported per day: "day" is CPU time per day (robust when other processes share the cores),
// "wall_us" wall-clock microseconds per day; Time and CPU are per iteration, that is per world.
#include <cstdint>

#include "bench/bench_main.h"
#include "sim/sim.h"

namespace zibs {
namespace {

void BM_CoreDay(benchmark::State& state) {
    Parameters params;  // 10, 1, 15, 2, 50, 1
    params.popstart = static_cast<Integer>(state.range(0));
    const int days = static_cast<int>(state.range(1));

    World world;
    Rnd rnd;
    NullPresentation view;
    std::uint32_t worlds = 0;
    double wall = 0;
    double zibs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rnd.seed(worlds++ % bench::worldSeeds + 1);
        initworld(world, params, rnd, view);
        state.ResumeTiming();

        const auto start = bench::Clock::now();
        for (int d = 0; d < days; ++d) {
            daystep(world, rnd, view);
            zibs += world.population;
        }
        wall += bench::seconds(start, bench::Clock::now());
    }
    bench::reportPerDay(state, days, wall, zibs);
}
BENCHMARK(BM_CoreDay)
    ->ArgNames({"start", "days"})
    ->Args({100, 10})
    ->Args({100, 100})
    ->Args({10, 100})
    ->Unit(benchmark::kMicrosecond);

// The world on which the runner's speed is measured: seed 31 with the default parameters lives
// to the day limit, 32767 days with about 40 zibs a day. One iteration is the whole run, its
// Initialize outside the timed region. With the argument lineage 1, the days keep the lineage
// as zibs-run --phylogeny does (about 81,000 zibs).
void BM_CoreToDayLimit(benchmark::State& state) {
    World world;
    Rnd rnd;
    Lineage lineage;
    NullPresentation view(state.range(0) ? &lineage : nullptr);
    double wall = 0;
    double zibs = 0;
    int days = 0;
    for (auto _ : state) {
        state.PauseTiming();
        rnd.seed(31);
        initworld(world, Parameters{}, rnd, view);
        lineage.begin(world);
        state.ResumeTiming();

        const auto start = bench::Clock::now();
        for (days = 0; daystep(world, rnd, view); ++days) zibs += world.population;
        wall += bench::seconds(start, bench::Clock::now());
    }
    bench::reportPerDay(state, days, wall, zibs);
}
BENCHMARK(BM_CoreToDayLimit)->ArgName("lineage")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, false);
}
