#include <sys/wait.h>

#include <cstdio>

#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {

// Runs zibs-run with the arguments: its exit status and what it wrote to both streams.
std::pair<int, std::string> run(const std::string& args) {
    std::string out;
    FILE* p = popen((std::string(ZIBS_RUN_PATH) + " " + args + " 2>&1").c_str(), "r");
    if (!p) return {-1, out};
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    const int raw = pclose(p);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

TEST(Runner, TraceAndCsvFollowTheCoreDayByDay) {
    // The runner's output is that of the core with the default parameters.
    World w;
    Rnd rnd(1);
    NullPresentation view;
    initworld(w, Parameters{}, rnd, view);
    std::string trace, csv = "day,population\n";
    for (int d = 0; d <= 100; ++d) {
        if (d > 0) daystep(w, rnd, view);
        appendTrace(trace, w);
        csv += std::to_string(w.day) + "," + std::to_string(w.population) + "\n";
    }
    const auto [status, out] = run("--seed 1 --days 100 --trace");
    EXPECT_EQ(status, 0);
    // Seed 1 always builds the same world; its first zib, field by field.
    const std::size_t zib1 = out.find("zib 1 ");
    EXPECT_EQ(out.substr(zib1, out.find('\n', zib1) - zib1),
              "zib 1 2 6 0 0 1 0 3 1 3 3 2 0 1 1 32 1 32 2 1 39 1 39 2 3 1 2 0 2 0 0 0 0 2 3 2 2 0 "
              "1 2 33 3 0 2 2 32 3 0 0");
    EXPECT_EQ(out, trace);
    EXPECT_EQ(run("--seed 1 --days 100 --trace").second, out);
    EXPECT_EQ(run("--seed 1").second, csv);
}

TEST(Runner, SeedFromClockToEndAndRefusals) {
    const auto [status, clock] = run("--days 3");
    ASSERT_EQ(status, 0);
    ASSERT_EQ(clock.rfind("seed ", 0), 0u);
    const std::size_t eol = clock.find('\n');
    EXPECT_EQ(run("--days 3 --seed " + clock.substr(5, eol - 5)).second, clock.substr(eol + 1));

    // Grass that dies back starves every zib; the run stops on the day population reaches 0.
    const std::string end = run("--seed 5 --to-end --growth-rate -32768").second;
    EXPECT_EQ(end.find(",0\n"), end.size() - 3);  // the last line, and only that one

    EXPECT_EQ(run("--seed 1 --start-population 101"),
              std::pair(2, std::string("zibs-run: \"Start population\" must be a whole number from "
                                       "0 to 100; \"101\" is not accepted.\n")));
    for (const char* bad : {"--max-grass 0", "--seed 1x", "--days", "--days 5 --to-end", "x"}) {
        EXPECT_EQ(run(bad).first, 2) << bad;
    }
    EXPECT_EQ(run("--seed 4294967295 --days 0").second, "day,population\n0,10\n");
}

}  // namespace zibs::testing
