#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QtGlobal>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zibs::bench {

// Wall-clock seconds between two points, for benchmarks that time part of an iteration
// themselves (UseManualTime).
using Clock = std::chrono::steady_clock;
inline double seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Worlds measured day by day take the seeds 1..worldSeeds in turn.
inline constexpr unsigned worldSeeds = 16;

// The per-day figures of a benchmark whose iterations each run `days` days: CPU time per day
// ("day", in seconds with a unit prefix), wall-clock microseconds per day ("wall_us", from the
// wall-clock seconds the days took in all), and the mean number of living zibs after a day.
inline void reportPerDay(benchmark::State& state, int days, double wallSeconds, double zibsSum) {
    using benchmark::Counter;
    const double total = static_cast<double>(state.iterations()) * days;
    state.counters["day"] = Counter(days, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["wall_us"] = Counter(total > 0 ? wallSeconds * 1e6 / total : 0);
    state.counters["zibs"] = Counter(total > 0 ? zibsSum / total : 0);
}

// Drops the offscreen platform's notes that say nothing about the program (it cannot pass size
// hints to a window system; there is no XDG_RUNTIME_DIR without a session); passes on the rest.
inline QtMessageHandler defaultMessages = nullptr;
inline void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")) ||
        text.contains(QLatin1String("XDG_RUNTIME_DIR"))) {
        return;
    }
    if (defaultMessages) defaultMessages(type, context, text);
}

// The main of every benchmark program: windows go to the offscreen platform unless the caller
// chose one, and each benchmark reports the median, mean and spread of five runs unless the
// command line says otherwise. With `gui`, a QApplication exists while the benchmarks run.
inline int runBenchmarks(int argc, char** argv, bool gui) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    defaultMessages = qInstallMessageHandler(quietMessages);

    std::vector<char*> args(argv, argv + argc);
    auto given = [&](std::string_view flag) {
        for (int i = 1; i < argc; ++i) {
            if (std::string_view(argv[i]).starts_with(flag)) return true;
        }
        return false;
    };
    static std::string repetitions = "--benchmark_repetitions=5";
    static std::string aggregates = "--benchmark_report_aggregates_only=true";
    if (!given("--benchmark_repetitions")) args.push_back(repetitions.data());
    if (!given("--benchmark_report_aggregates_only") && !given("--benchmark_display_aggregates"))
        args.push_back(aggregates.data());
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);

    std::unique_ptr<QApplication> app;
    if (gui) app = std::make_unique<QApplication>(count, args.data());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace zibs::bench
