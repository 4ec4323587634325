// Start-up: from process start to the main window shown, and the program's peak memory after
// "Go 100" on a world of 100 zibs.
//
// Each iteration starts the probe (startup_probe, built beside this program) as a new process. The
// clock is read just before the process is spawned; the probe builds the program as its main does
// and prints the moment its main window has had its first paint, on the same monotonic clock. The
// difference is the iteration's time. The probe then runs "Go 100" with the world window, the
// graph and an inspector open and reports its peak resident memory, "peak_MiB".
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <string>

#include "bench/bench_main.h"

extern char** environ;

namespace zibs {
namespace {

long long monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1'000'000'000LL + ts.tv_nsec;
}

std::string probePath() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "startup_probe")
        .string();
}

struct ProbeRun {
    bool ok = false;
    double startupSeconds = 0;
    double peakMiB = 0;
    std::string error;
};

ProbeRun runProbe(const std::string& path) {
    ProbeRun run;
    int out[2];
    if (pipe(out) != 0) {
        run.error = "pipe failed";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::string arg0 = path;
    std::string arg1 = "--go100";
    char* argv[] = {arg0.data(), arg1.data(), nullptr};

    pid_t pid = 0;
    const long long started = monotonicNs();
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        run.error = "cannot start " + path;
        return run;
    }

    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);

    long long shown = 0;
    long long peak = 0;
    std::istringstream lines(text);
    for (std::string key; lines >> key;) {
        if (key == "shown_ns") lines >> shown;
        if (key == "peak_kib") lines >> peak;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shown == 0 || peak == 0) {
        run.error = "the probe did not report: " + text;
        return run;
    }
    run.ok = true;
    run.startupSeconds = (shown - started) / 1e9;
    run.peakMiB = peak / 1024.0;
    return run;
}

void BM_StartUp(benchmark::State& state) {
    const std::string path = probePath();
    double peak = 0;
    for (auto _ : state) {
        const ProbeRun run = runProbe(path);
        if (!run.ok) {
            state.SkipWithError(run.error.c_str());
            break;
        }
        state.SetIterationTime(run.startupSeconds);
        peak += run.peakMiB;
    }
    state.counters["peak_MiB"] = benchmark::Counter(peak, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StartUp)->UseManualTime()->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zibs

int main(int argc, char** argv) {
    return zibs::bench::runBenchmarks(argc, argv, false);
}
