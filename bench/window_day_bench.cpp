// The daily step with the real windows, offscreen: the world picture, the graph and the inspector
// draw every day, beside the core's cost measured by day_bench.
//
// As there, one iteration is the first `days` days of a freshly initialised world (seeds 1..16 in
// turn) and the Initialize runs outside the timed region. With events:1 each day is followed by
// one processEvents() in which the world picture, the graph and the inspector repaint, as after
// "Go 1"; events:2 is the same pass as a run gives it, its repaints held to the display's pace
// (the last one when the days are done, within the timed region); with events:0 the days only
// draw into the pictures' images and set the figures, and the windows repaint outside the timed
// region.
//
// With stats:1 the Statistics window is open too: as during a run, it takes the new days from
// the run log at most every 50 ms, whenever its timer is due in a pass over the events, and
// repaints its charts in the next one. (Its catching up at the end of a run is in go100_bench.)
//
// Reported per day: "day" (CPU time), "wall_us" (wall clock), "zibs" (living after a day),
// "pic_paints" (paint events of the world picture per day) and with stats:1 "chart_paints" (those
// of the Statistics window's first chart per day).
#include <optional>

#include "bench/app.h"
#include "bench/bench_main.h"
#include "runtime/repaintpacer.h"
#include "ui/statistics.h"

namespace zibs {
namespace {

void BM_WindowDay(benchmark::State& state) {
    Parameters params;  // 10, 1, 15, 2, 50, 1
    params.popstart = static_cast<Integer>(state.range(0));
    const int days = static_cast<int>(state.range(1));
    const int events = static_cast<int>(state.range(2));
    const bool stats = state.range(3) != 0;

    bench::Program program;
    bench::PaintCounter paints(program.fworld->pic);
    std::optional<bench::PaintCounter> chartPaints;
    if (stats) {
        program.openStatistics();
        chartPaints.emplace(program.fmain.forms().get<statistics>().charts[0].view->viewport());
    }
    std::uint32_t worlds = 0;
    double wall = 0;
    double zibs = 0;
    long long timedPaints = 0;
    long long timedChartPaints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        program.initialize(params, worlds++ % bench::worldSeeds + 1);
        const long long paintsBefore = paints.count;
        const long long chartPaintsBefore = chartPaints ? chartPaints->count : 0;
        state.ResumeTiming();

        const auto start = bench::Clock::now();
        {
            std::optional<RepaintPacer> pacer;
            if (events == 2) pacer.emplace(&program.fmain);
            for (int d = 0; d < days; ++d) {
                program.day(events != 0);
                zibs += program.world.population;
            }
        }
        wall += bench::seconds(start, bench::Clock::now());
        timedPaints += paints.count - paintsBefore;
        if (chartPaints) timedChartPaints += chartPaints->count - chartPaintsBefore;
    }
    bench::reportPerDay(state, days, wall, zibs);
    const double total = static_cast<double>(state.iterations()) * days;
    state.counters["pic_paints"] = benchmark::Counter(total > 0 ? timedPaints / total : 0);
    if (stats) state.counters["chart_paints"] = benchmark::Counter(timedChartPaints / total);
}
BENCHMARK(BM_WindowDay)
    ->ArgNames({"start", "days", "events", "stats"})
    ->Args({100, 10, 1, 0})
    ->Args({100, 10, 2, 0})
    ->Args({100, 10, 2, 1})
    ->Args({100, 10, 0, 0})
    ->Args({100, 100, 1, 0})
    ->Args({100, 100, 2, 0})
    ->Args({100, 100, 2, 1})
    ->Args({10, 100, 1, 0})
    ->Args({10, 100, 2, 0})
    ->Args({10, 100, 2, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, true);
}
