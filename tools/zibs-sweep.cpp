// Sweep runner: runs many headless worlds, every combination of lists of parameter values with
// every seed of a range, on all cores, and prints one CSV row per run in run order.

#include <sched.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <variant>

#include "files/filewriter.h"
#include "runtime/convert.h"
#include "sweep/runworld.h"
#include "sweep/sweep.h"
#include "tools/commandline.h"

namespace {

using namespace zibs;
using namespace zibs::tools;
using namespace zibs::sweep;

// Exit codes, as --help and the README list them.
enum ExitCode : int { finished = 0, writeFailed = 1, refused = 2 };

// The help's closing text, one paragraph a line, filled to the page's width when printed; a "~"
// keeps two words on one line.
constexpr const char* footer =
    R"(A list L is values and inclusive ranges from:to:step separated by commas, e.g. "1,2,5:25:5" for 1~2~5~10~15~20~25. A value is rounded as the "Variables" window rounds it ("2.5"~is~2), but a value that is no number, such as "abc", is refused, where the window would read it as 0; a range's parts are whole numbers. A parameter not given takes the window's initial text. Every value is checked as Initialize checks it before the first run.

The runs are every combination of the lists, the first option varying slowest, each with every seed of A..B (fastest). Standard output holds one CSV row per run, in run order whatever the number of threads:
  seed,start_population,repro_rate,max_grass,growth_rate,radiation,mutations,
  end_day,end_population,peak_population,peak_day,births,deaths_age,
  deaths_hunger,reached_day_limit,families_left,max_generation
families_left counts the first zibs with a living descendant (themselves included) at the end, max_generation is the highest generation of any zib born in the run (0 when none was). Each row is what "zibs-run~--seed~S" with the same parameters gives. A run that the day limit of 32767 cuts short ends there with reached_day_limit~1; the sweep goes on. --shard~K/N runs only the runs whose 0-based index i has i~mod~N~=~K-1: the outputs of shards 1/N to N/N, their rows put back in run order, are the output of the whole sweep.

Messages and, when standard error is a terminal, a progress line go to standard error.

Exit codes:
  0  every run finished (also runs cut short by the day limit)
  1  the output or the series file could not be written (the message says why)
  2  an option, a list or a value was refused (the message says which and why))";

struct Options {
    SweepTexts texts;
    SweepOptions sweep;
    bool toEnd = false;  // the default; --days N instead runs N days
    std::optional<std::string> series;
};

std::optional<long long> threadCount(std::string_view text) {
    return wholeNumber(text, 1, 1024);
}

// The cores this process may run on (a batch system may give it fewer than the machine has).
unsigned coreCount() {
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) {
        return static_cast<unsigned>(CPU_COUNT(&set));
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

// The options of the command line; or, when there is nothing to run (--help, --version, a
// refusal), the exit code after the answer is printed.
std::variant<Options, int> parseOptions(int argc, char** argv) {
    Options opt;
    opt.sweep.threads = coreCount();
    CLI::App app(
        "Runs Zibs worlds for every combination of lists of parameter values, each with every "
        "seed of a range, and prints one CSV row per run.",
        "zibs-sweep");
    app.footer(footer);
    app.set_version_flag("--version", std::string("zibs-sweep ") + ZIBS_VERSION);
    // The last of a repeated option counts.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    const char* helps[] = {
        "\"Start population\" values (default 10)", "\"Repro rate\" values (default 1)",
        "\"Max grass\" values (default 15)",        "\"Grass growth rate\" values (default 2)",
        "\"Radiation\" values (default 50)",        "\"Cell mutations\" values (default 1)",
    };
    for (std::size_t p = 0; p < parameterColumns.size(); ++p) {
        app.add_option_function<std::string>(
               parameterColumns[p].option,
               [&opt, p](const std::string& text) { opt.texts.lists[p] = text; }, helps[p])
            ->type_name("L")
            ->check(givenValue);
    }
    app.add_option("--seeds", opt.texts.seeds, "The seeds of every setting, A..B or A")
        ->type_name("A..B")
        ->required()
        ->check(givenValue);
    auto* days = app.add_option_function<std::string>(
                        "--days", [&](const std::string& t) { opt.sweep.days = dayCount(t); },
                        "Days to run each world")
                     ->type_name("N")
                     ->check(givenValue)
                     ->check(accepting(dayCount, "a whole number of days"));
    auto* toEnd =
        app.add_flag("--to-end", opt.toEnd, "Run each world until no zib is left (the default)");
    app.add_option_function<std::string>(
           "--threads",
           [&](const std::string& t) {
               opt.sweep.threads = static_cast<unsigned>(*threadCount(t));
           },
           "Runs at a time (default: the number of cores, here " +
               std::to_string(opt.sweep.threads) + ")")
        ->type_name("N")
        ->check(givenValue)
        ->check(accepting(threadCount, "a whole number from 1 to 1024"));
    app.add_option_function<std::string>(
           "--shard", [&](const std::string& t) { opt.sweep.shard = parseShard(t); },
           "Run only shard K of N (default 1/1)")
        ->type_name("K/N")
        ->check(givenValue)
        ->check(CLI::Validator(
            [](std::string& text) {
                try {
                    parseShard(text);
                    return std::string();
                } catch (const BadInput& e) {
                    return std::string(e.what());
                }
            },
            ""));
    app.add_option("--series", opt.series,
                   "Also write the day statistics of every run to FILE as CSV")
        ->type_name("FILE")
        ->check(givenValue);

    const std::optional<int> answered = parseCommandLine(app, argc, argv, [&] {
        if (*days && *toEnd) throw CLI::ExcludesError(days->get_name(), toEnd->get_name());
    });
    if (answered) return *answered;
    opt.sweep.series = opt.series.has_value();
    return opt;
}

// "runs done of all, runs per second, time left" on one line of a terminal, rewritten in place.
class ProgressLine {
  public:
    explicit ProgressLine(std::uint64_t total) : total_(total), shown_(::isatty(STDERR_FILENO)) {}

    void operator()(std::uint64_t done) {
        if (!shown_ || total_ == 0) return;
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const double rate = seconds > 0 ? done / seconds : 0;
        std::string left = "--:--";
        if (rate > 0) {
            const auto s = static_cast<long long>((total_ - done) / rate + 0.5);
            char text[32];
            std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
            left = text;
        }
        std::fprintf(stderr, "\r%llu of %llu runs, %.1f runs/s, %s left  ",
                     static_cast<unsigned long long>(done), static_cast<unsigned long long>(total_),
                     rate, left.c_str());
        open_ = done != total_;
        if (!open_) std::fputc('\n', stderr);
    }
    // A sweep cut short leaves its last progress on a line of its own, before any message.
    ~ProgressLine() {
        if (open_) std::fputc('\n', stderr);
    }

  private:
    std::uint64_t total_;
    bool shown_;
    bool open_ = false;  // a line is shown and not ended
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

int run(Options& opt) {
    std::optional<Plan> plan;
    try {
        plan.emplace(opt.texts);
    } catch (const BadInput& e) {
        std::fprintf(stderr, "zibs-sweep: %s\n", e.what());
        return refused;
    }

    std::optional<FileWriter> series;
    if (opt.series) {
        series.emplace(*opt.series);
        series->write(seriesHeader());
    }

    put(resultHeader());
    std::uint64_t cut = 0;
    ProgressLine progress(shardRuns(plan->runs(), opt.sweep.shard));
    runSweep(
        *plan, opt.sweep,
        [&](RunOutput& out) {
            put(out.row);
            cut += out.reachedDayLimit;
            if (series) series->write(out.series);
        },
        [&](std::uint64_t done) {
            // The rows so far reach a file or pipe within a fraction of a second.
            if (std::fflush(stdout) != 0) {
                throw std::system_error(errno, std::generic_category(), "cannot write the output");
            }
            progress(done);
        });
    finishOutput();
    if (series) series->commit();
    if (cut > 0) {
        std::fprintf(stderr, "zibs-sweep: the day limit of 32767 cut %llu run%s short.\n",
                     static_cast<unsigned long long>(cut), cut == 1 ? "" : "s");
    }
    return finished;
}

}  // namespace

int main(int argc, char** argv) {
    guardTemporaryFiles();
    try {
        std::variant<Options, int> parsed = parseOptions(argc, argv);
        if (const int* code = std::get_if<int>(&parsed)) return *code;
        return run(std::get<Options>(parsed));
    } catch (const std::system_error& e) {
        std::fprintf(stderr, "zibs-sweep: %s\n", e.what());
        return writeFailed;
    } catch (const FileWriter::FileError& e) {
        std::fprintf(stderr, "zibs-sweep: %s\n", e.what());
        return writeFailed;
    }
}
