#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/statscsv.h"
#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {

struct Ran {
    int status;
    std::string out, err;
};

std::string slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

// Runs zibs-run through the shell with the arguments, after the shell commands of `setup`. Its
// standard output goes to the file `to`, or to a file that is read back; its standard error is
// read back apart.
Ran run(const std::string& args, const std::string& to = "", const std::string& setup = "") {
    const std::string base = ::testing::TempDir() + "zibs-run-" + std::to_string(getpid());
    const std::string out = to.empty() ? base + ".out" : to;
    const std::string line =
        setup + ZIBS_RUN_PATH + " " + args + " >" + out + " 2>" + base + ".err";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, to.empty() ? slurp(out) : "",
            slurp(base + ".err")};
}

// The core's own run as CSV.
std::string coreCsv(const Parameters& params, std::uint32_t seed) {
    World w;
    Rnd rnd(seed);
    NullPresentation view;
    initworld(w, params, rnd, view);
    std::string csv = "day,population\n";
    for (int d = 0; d <= 100; ++d) {
        if (d > 0) daystep(w, rnd, view);
        csv += std::to_string(w.day) + "," + std::to_string(w.population) + "\n";
    }
    return csv;
}

TEST(Runner, TraceAndCsvFollowTheCoreDayByDay) {
    // The runner's output is that of the core with the default parameters.
    World w;
    Rnd rnd(1);
    NullPresentation view;
    initworld(w, Parameters{}, rnd, view);
    std::string trace;
    std::string stats = std::string(statsHeader) + "\n";
    for (int d = 0; d <= 100; ++d) {
        if (d > 0) daystep(w, rnd, view);
        appendTrace(trace, w);
        appendStatsRow(stats, tally(w));
    }
    const Ran traced = run("--seed 1 --days 100 --trace");
    EXPECT_EQ(traced.status, 0);
    // Seed 1 always builds the same world; its first zib, field by field.
    const std::size_t zib1 = traced.out.find("zib 1 ");
    EXPECT_EQ(traced.out.substr(zib1, traced.out.find('\n', zib1) - zib1),
              "zib 1 2 6 0 0 1 0 3 1 3 3 2 0 1 1 32 1 32 2 1 39 1 39 2 3 1 2 0 2 0 0 0 0 2 3 2 2 0 "
              "1 2 33 3 0 2 2 32 3 0 0");
    EXPECT_EQ(traced.out, trace);
    EXPECT_EQ(run("--seed 1 --days 100 --trace").out, traced.out);
    EXPECT_EQ(run("--seed 1").out, coreCsv(Parameters{}, 1));
    EXPECT_EQ(run("--seed 1 --stats").out, stats);

    // Parameter texts reach the check as they were typed: a negative number is no option, and
    // blanks in front are skipped by the conversion.
    Parameters p;
    p.growrate = -1;
    p.reprorate = 5;
    EXPECT_EQ(run("--seed 2 --growth-rate -1 --repro-rate ' 5'").out, coreCsv(p, 2));
}

TEST(Runner, StandardOutputHoldsTheRowsAloneAndExitCodesTellHowTheRunEnded) {
    // With no seed given the clock's seed is reported on stderr; stdout is CSV from its first line.
    const Ran clock = run("--days 3");
    ASSERT_EQ(clock.status, 0);
    EXPECT_EQ(clock.out.rfind("day,population\n0,10\n", 0), 0u);
    ASSERT_EQ(clock.err.rfind("seed ", 0), 0u);
    EXPECT_EQ(run("--days 3 --seed " + clock.err.substr(5, clock.err.find('\n') - 5)).out,
              clock.out);

    // Grass that dies back starves every zib; the run stops on the day population reaches 0.
    const std::string end = run("--seed 5 --to-end --growth-rate -32768").out;
    EXPECT_EQ(end.find(",0\n"), end.size() - 3);  // the last line, and only that one

    // A run cut short by the day limit prints every day it ran and ends with code 3; the world is
    // saved all the same.
    const std::string saved = ::testing::TempDir() + "cut-" + std::to_string(getpid()) + ".zibs";
    const Ran cut = run("--seed 1 --days 32768 --save " + saved);
    EXPECT_EQ(cut.status, 3);
    EXPECT_NE(slurp(saved).find("\n    \"day\": 32767,\n"), std::string::npos);
    std::remove(saved.c_str());
    EXPECT_EQ(std::count(cut.out.begin(), cut.out.end(), '\n'), 32769);
    EXPECT_EQ(cut.out.substr(cut.out.size() - 8), "32767,0\n");
    EXPECT_NE(cut.err.find("32767"), std::string::npos);

    const Ran help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--growth-rate"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(run("--version").out, "zibs-run " ZIBS_VERSION "\n");
}

TEST(Runner, EveryRefusalNamesTheOptionTheValueAndWhatIsAccepted) {
    EXPECT_EQ(run("--seed 1 --start-population 101").err,
              "zibs-run: --start-population: \"Start population\" must be a number from 0 to 100 "
              "after rounding to a whole number; \"101\" is not accepted.\n");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"x", {"x"}},
        {"--days 3 -1", {"-1"}},
        {"--bogus 1", {"--bogus"}},
        {"--seed", {"--seed"}},
        {"--days", {"--days"}},
        {"--mutations", {"--mutations"}},
        {"--repro-rate --trace", {"--repro-rate", "--trace"}},
        {"--seed 1x", {"--seed", "\"1x\"", "0 to 4294967295"}},
        {"--seed -1", {"--seed", "\"-1\"", "0 to 4294967295"}},
        {"--days ' 5'", {"--days", "\" 5\"", "whole number"}},
        {"--days 5 --to-end", {"--days", "--to-end"}},
        {"--stats --trace", {"--stats", "--trace"}},
        {"--max-grass 0", {"--max-grass", "\"0\"", "1 to 32767"}},
        {"--growth-rate 1e400", {"--growth-rate", "\"1e400\"", "-32768 to 32767"}},
        {"--radiation " + std::string(10000, '9'), {"--radiation", std::string(40, '9') + "...\""}},
        {"--load a.zibs --seed 1", {"--load", "--seed", "own seed and parameters"}},
        {"--max-grass 3 --load a.zibs --mutations 2", {"--load", "--max-grass, --mutations"}},
        {"--load", {"--load"}},
        {"--save --trace", {"--save", "--trace"}},
    };
    for (const auto& [args, names] : cases) {
        const Ran r = run(args);
        const std::string shown = args.substr(0, 40);
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_LT(r.err.size(), 250u) << shown;
        for (const std::string& name : names) {
            EXPECT_NE(r.err.find(name), std::string::npos)
                << shown << " -> " << r.err.substr(0, 250);
        }
    }
}

// The snapshots of a trace from day `day` on.
std::string traceFrom(const std::string& trace, int day) {
    return day == 0 ? trace : trace.substr(trace.find("end\nday " + std::to_string(day) + " ") + 4);
}

TEST(Runner, ALoadedWorldGoesOnAsARunThatNeverStopped) {
    const std::string file = ::testing::TempDir() + "runner-" + std::to_string(getpid());
    struct Case {
        std::string world;
        int saveAt, more;
    };
    const Case cases[] = {
        {"--seed 1", 40, 60},
        {"--seed 7 --start-population 100 --repro-rate 3 --radiation 32767 --mutations 32767", 25,
         50},
        {"--seed 4294967295 --growth-rate -1 --repro-rate ' 5'", 0, 30},
        {"--seed 12 --start-population 40 --growth-rate -32768", 15, 20},  // dies out
    };
    for (const auto& [world, saveAt, more] : cases) {
        SCOPED_TRACE(world);
        const std::string straight =
            run(world + " --days " + std::to_string(saveAt + more) + " --trace").out;
        const Ran saved = run(world + " --days " + std::to_string(saveAt) + " --save " + file);
        ASSERT_EQ(saved.status, 0) << saved.err;
        const Ran loaded = run("--load " + file + " --days " + std::to_string(more) + " --trace");
        EXPECT_EQ(loaded.status, 0) << loaded.err;
        EXPECT_EQ(loaded.out, traceFrom(straight, saveAt));
    }

    // Saved again after a load, the world carries its history on; CSV starts with the loaded day.
    ASSERT_EQ(run("--seed 3 --days 20 --save " + file).status, 0);
    ASSERT_EQ(run("--load " + file + " --days 30 --save " + file).status, 0);
    const std::string csv = run("--seed 3 --days 100").out;
    EXPECT_EQ(run("--load " + file + " --days 50").out,
              "day,population\n" + csv.substr(csv.find("\n50,") + 1));

    // A file that is no world is refused with the reader's message, one that cannot be written
    // with the system's reason; the rows were printed all the same.
    std::ofstream(file) << "day,population\n0,10\n";
    EXPECT_EQ(
        run("--load " + file).err,
        "zibs-run: \"" + file + "\" cannot be opened as a world: this is not a Zibs world file\n");
    EXPECT_EQ(run("--load " + file).status, 2);
    const Ran unwritable = run("--seed 1 --days 2 --save " + file + "/a.zibs");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.out, run("--seed 1 --days 2").out);
    EXPECT_NE(unwritable.err.find("\"" + file + "/a.zibs\" could not be written: "),
              std::string::npos)
        << unwritable.err;
    std::remove(file.c_str());
}

TEST(Runner, AFailedWriteEndsTheRunWithCode1) {
    // /dev/full refuses every write: the rows of a short run fail at the final flush.
    const Ran full = run("--seed 1 --days 3", "/dev/full");
    EXPECT_EQ(full.status, 1);
    EXPECT_NE(full.err.find("No space left on device"), std::string::npos) << full.err;

    // A file that may not grow beyond 1 KiB stands in for a full disk in the middle of a run.
    const Ran cut = run("--seed 1 --days 300 --trace", "", "trap '' XFSZ; ulimit -f 2; ");
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.err.find("File too large"), std::string::npos) << cut.err;
    EXPECT_EQ(cut.out.size(), 1024u);
    EXPECT_EQ(run("--seed 1 --days 300 --trace").out.substr(0, 1024), cut.out);
}

}  // namespace zibs::testing
