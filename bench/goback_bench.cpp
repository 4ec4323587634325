// Going back to a day of a long run, offscreen, with the world window, the graph and an
// inspector open: the seed-31 world with the default parameters, which lives to the day limit,
// run to day 32767, then Fmain::showDay to an earlier day until the pictures have repainted.
//
// snapshots:1 is the log as the program keeps it, with the world and generator of every 512th
// day recorded as the run went; snapshots:0 is a log without them, so the day is computed from
// day 0 (the first visit then keeps the snapshots it passes; every iteration starts again from
// the log without them). Day 16383 is the farthest a day can lie from a kept one.
#include "bench/app.h"
#include "bench/bench_main.h"
#include "sim/runlog.h"

namespace zibs {
namespace {

void BM_GoBack(benchmark::State& state) {
    const bool snapshots = state.range(0) != 0;
    const int day = static_cast<int>(state.range(1));

    bench::Program program;
    program.initialize(Parameters{}, 31);
    RunLog& log = program.fmain.forms().runlog;
    log.begin(31, {}, {}, program.world, program.rnd.state());
    NullPresentation nothing;
    while (daystep(program.world, program.rnd, nothing))
        snapshots ? log.record(program.world, program.rnd) : log.record(program.world);
    const RunLog lastLog = log;
    const World lastWorld = program.world;
    const Rnd lastRnd = program.rnd;

    for (auto _ : state) {
        state.PauseTiming();
        log = lastLog;
        program.world = lastWorld;
        program.rnd = lastRnd;
        state.ResumeTiming();

        const bool shown = program.fmain.showDay(day);
        QCoreApplication::processEvents();

        if (!shown || program.world.day != day) {
            state.SkipWithError("the day was not shown");
            break;
        }
    }
}
BENCHMARK(BM_GoBack)
    ->ArgNames({"snapshots", "day"})
    ->Args({1, 16000})
    ->Args({1, 16383})
    ->Args({0, 16000})
    ->Args({0, 32766})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, true);
}
