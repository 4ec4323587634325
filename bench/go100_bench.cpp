// "Go 100" from the button press to its return, offscreen, on a world of 100 zibs with "Auto Zib
// update" on and the world window, the graph and an inspector open.
//
// Each iteration initialises a new world outside the timed region (the seeds 1..16 in turn, as
// Initialize would build it but with a fixed seed instead of the clock's) and then times a click
// on "Go 100" until it returns: 100 days, the window events let run after each of them. Such a
// world dies out after a few dozen days; the rest of the hundred only regrows grass.
//
// "pic_paints" counts the paint events of the world picture during the run: a run that kept the
// picture from repainting shows 0 here and the benchmark reports an error.
//
// With stats:1 the Statistics window is open too: its charts follow the run at most every 50 ms
// and catch up once more when it ends, within the timed click.
#include "bench/app.h"
#include "bench/bench_main.h"

namespace zibs {
namespace {

void BM_Go100(benchmark::State& state) {
    Parameters params;  // 10, 1, 15, 2, 50, 1
    params.popstart = static_cast<Integer>(state.range(0));

    bench::Program program;
    if (state.range(1) != 0) program.openStatistics();
    bench::PaintCounter paints(program.fworld->pic);
    std::uint32_t worlds = 0;
    long long runPaints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.initialize(params, worlds++ % bench::worldSeeds + 1);
        const long long before = paints.count;
        state.ResumeTiming();

        program.fworld->Command3->click();

        state.PauseTiming();
        runPaints += paints.count - before;
        if (paints.count == before) {
            state.SkipWithError("the world picture did not repaint during Go 100");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["pic_paints"] =
        benchmark::Counter(static_cast<double>(runPaints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Go100)
    ->ArgNames({"start", "stats"})
    ->Args({100, 0})
    ->Args({100, 1})
    ->Args({10, 0})
    ->Args({10, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, true);
}
