// "Go to end" on a world that lives to the day limit, beside the core alone over the same days.
//
// The world is seed 31 with the default parameters: it never dies out, so "Go to end" runs all
// 32767 days and stops at the day limit. The world window, the graph and an inspector (on zib 1,
// "Auto Zib update" on) are open, as in go100_bench. Each iteration initialises the world outside
// the timed region, then times a click on "Go to end" until it returns; then, also outside the
// timed region, it runs the same world with the core alone (a presentation that draws nothing, as
// zibs-run runs it) and times that too.
//
// Run it offscreen and on a real X server (xvfb-run with QT_QPA_PLATFORM=xcb): on a real screen
// every repaint also goes to the display server. Reported: Time is the run's wall-clock time;
// "core_ms" the core alone over the same days; "ratio" the run's time over the core's; "days";
// "pic_paints" and "graph_paints", the paint events of the world picture and of the graph during
// the run.
#include "bench/app.h"
#include "bench/bench_main.h"

namespace zibs {
namespace {

constexpr std::uint32_t longLivedSeed = 31;

// Seconds the core alone takes over the days of a run of the given world, and the days it ran.
std::pair<double, int> coreAlone(const Parameters& params, std::uint32_t seed) {
    World world;
    Rnd rnd;
    NullPresentation view;
    rnd.seed(seed);
    initworld(world, params, rnd, view);
    const auto start = bench::Clock::now();
    while (daystep(world, rnd, view) && world.population != 0) {
    }
    return {bench::seconds(start, bench::Clock::now()), world.day};
}

void BM_GoToEnd(benchmark::State& state) {
    const Parameters params;  // 10, 1, 15, 2, 50, 1

    bench::Program program;
    bench::PaintCounter picPaints(program.fworld->pic);
    bench::PaintCounter graphPaints(program.fmain.forms().get<graph>().graphpic);
    double run = 0;
    double core = 0;
    long long days = 0;
    long long pics = 0;
    long long graphs = 0;
    for (auto _ : state) {
        program.initialize(params, longLivedSeed);
        const long long picsBefore = picPaints.count;
        const long long graphsBefore = graphPaints.count;
        const auto start = bench::Clock::now();
        program.fworld->Command4->click();
        const double seconds = bench::seconds(start, bench::Clock::now());
        state.SetIterationTime(seconds);
        run += seconds;
        pics += picPaints.count - picsBefore;
        graphs += graphPaints.count - graphsBefore;

        const auto [coreSeconds, coreDays] = coreAlone(params, longLivedSeed);
        if (coreDays != program.world.day || program.world.day != dayLimit) {
            state.SkipWithError("the run did not reach the day limit as the core alone does");
            break;
        }
        core += coreSeconds;
        days += coreDays;
    }
    using benchmark::Counter;
    state.counters["core_ms"] = Counter(core * 1e3, Counter::kAvgIterations);
    state.counters["ratio"] = Counter(core > 0 ? run / core : 0);
    state.counters["days"] = Counter(static_cast<double>(days), Counter::kAvgIterations);
    state.counters["pic_paints"] = Counter(static_cast<double>(pics), Counter::kAvgIterations);
    state.counters["graph_paints"] = Counter(static_cast<double>(graphs), Counter::kAvgIterations);
}
BENCHMARK(BM_GoToEnd)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, true);
}
