#include <algorithm>
#include <set>

#include "shell.h"
#include "sweep/lists.h"

namespace zibs::testing {
namespace {

// Each test's files go to a folder of its own, removed afterwards.
struct Sweep : ::testing::Test {
    const TempFolder folder{"zibs-sweep"};
    const std::string dir = folder.dir.string(), scratch = folder.path("run");

    static Ran sweep(const std::string& args) { return shell(ZIBS_SWEEP_PATH " " + args); }
};

// The rows of a CSV text without its header, as numbers.
std::vector<std::vector<long long>> rows(const std::string& csv) {
    std::vector<std::vector<long long>> v;
    for (const std::string& l : split(csv, '\n')) {
        if (l.empty() || !std::isdigit(static_cast<unsigned char>(l[0]))) continue;
        std::vector<long long>& r = v.emplace_back();
        for (const std::string& f : split(l, ',')) r.push_back(std::stoll(f));
    }
    return v;
}

// Columns of a result row.
constexpr int seed = 0, endDay = 7, births = 11, cut = 14, families = 15;

// Families left and the highest generation, read from a phylogeny CSV of zibs-run: the founders of
// the rows with destruction_time "none", and the largest generation.
std::vector<long long> familiesOf(const std::string& csv) {
    std::set<std::string> founders;
    long long generation = 0;
    for (const std::string& l : split(csv, '\n')) {
        const std::vector<std::string> f = split(l, ',');
        if (f.size() != 7 || f[0] == "id") continue;
        if (f[3] == "none") founders.insert(f[4]);
        generation = std::max(generation, std::stoll(f[5]));
    }
    return {static_cast<long long>(founders.size()), generation};
}

TEST_F(Sweep, EveryRowIsTheRunOfZibsRunAndTheSeriesAddsUp) {
    const std::string series = scratch + "-series.csv";
    for (const auto& c : cases("sweep_runs.txt")) {
        const std::string& runDays = c[1];
        SCOPED_TRACE(c[0]);
        const Ran r = sweep(c[0] + " --series " + series);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto result = rows(r.out);
        std::string runs;  // the seed and the parameters of each row
        for (const auto& row : result)
            for (int k = 0; k < 7; ++k) runs += std::to_string(row[k]) + (k < 6 ? "," : " ");
        ASSERT_EQ(runs, c[2] + " ");
        const auto days = rows(slurp(series));
        std::size_t d = 0;
        for (const auto& row : result) {
            // zibs-run with the run's seed and parameters, as the sweep printed them.
            std::string args = "--seed " + std::to_string(row[seed]);
            const char* options[] = {"--start-population", "--repro-rate", "--max-grass",
                                     "--growth-rate",      "--radiation",  "--mutations"};
            for (int p = 0; p < 6; ++p)
                args += std::string(" ") + options[p] + "=" + std::to_string(row[1 + p]);
            const Ran single = shell(std::string(ZIBS_RUN_PATH) + " " + args + " " + runDays +
                                     " --phylogeny " + scratch + "-tree.csv");
            EXPECT_EQ(std::vector(row.begin() + families, row.end()),
                      familiesOf(slurp(scratch + "-tree.csv")))
                << args;
            const auto population = rows(single.out);
            ASSERT_EQ(single.status, row[cut] ? 3 : 0) << args;
            const auto top = std::max_element(population.begin(), population.end(),
                                              [](auto& a, auto& b) { return a[1] < b[1]; });
            EXPECT_EQ(
                std::vector(row.begin() + endDay, row.begin() + births),
                std::vector({population.back()[0], population.back()[1], (*top)[1], (*top)[0]}))
                << args;  // end day and population, peak population and its day

            // The run's days in the series: its columns, days 0 to end_day, the population of
            // zibs-run, births and deaths that add up day by day and to the row's sums.
            std::vector<long long> sums(3);
            for (long long day = 0; day <= row[endDay]; ++day, ++d) {
                ASSERT_LT(d, days.size());
                const auto& s = days[d];
                ASSERT_TRUE(std::equal(row.begin(), row.begin() + 7, s.begin())) << day;
                ASSERT_EQ(std::tuple(s[7], s[8]), std::tuple(day, population.at(day)[1]));
                ASSERT_EQ(s[8] - s[9] + s[10] + s[11], day == 0 ? s[8] : days[d - 1][8]) << day;
                for (int k = 0; k < 3; ++k) sums[k] += s[9 + k];
            }
            EXPECT_EQ(sums, std::vector(row.begin() + births, row.begin() + cut));
        }
        EXPECT_EQ(d, days.size());
    }
}

// Pinned outputs: tests/data/pin_outputs.sh. The runs last 67 to 32,767 days, so that with more
// than one thread the short ones finish before the long ones that came first.
TEST_F(Sweep, RowsInRunOrderWhateverTheThreadsAndShardsPutTogetherGiveTheWhole) {
    const std::string args = "--seeds 27..32";
    const Ran one = sweep(args + " --threads 1 --series " + scratch + "-1.csv");
    // Seed 31 meets the day limit: the sweep says so and goes on.
    ASSERT_EQ(std::tuple(one.status, one.out, one.err),
              std::tuple(0, slurp(ZIBS_TEST_DATA "/sweep_seeds27to32.csv"),
                         "zibs-sweep: the day limit of 32767 cut 1 run short.\n"));
    for (const char* threads : {"2", "8", "1024"}) {
        const Ran r = sweep(args + " --threads " + threads + " --series " + scratch + "-n.csv");
        EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(0, one.out)) << threads;
        EXPECT_TRUE(slurp(scratch + "-n.csv") == slurp(scratch + "-1.csv")) << threads;
    }
    const Ran small = sweep("--repro-rate 1,3 --seeds 1..2 --days 2 --series " + scratch + ".csv");
    EXPECT_EQ(std::tuple(small.out, slurp(scratch + ".csv")),
              std::tuple(slurp(ZIBS_TEST_DATA "/sweep_small.csv"),
                         slurp(ZIBS_TEST_DATA "/sweep_small_series.csv")));
    // No days: the worlds as Initialize left them.
    EXPECT_EQ(split(sweep("--seeds 28 --days 0").out, '\n').at(1),
              "28,10,1,15,2,50,1,0,10,10,0,0,0,0,0,10,0");

    // By default a run for every core this process may use.
    const std::string firstCpu =  // of those this process may use
        "taskset -c $(grep Cpus_allowed_list /proc/self/status | cut -f2 | tr ,- '  ' | cut -d' ' "
        "-f1) ";
    for (const std::string& cores : {std::string(), firstCpu}) {
        const std::string n = shell(cores + "nproc").out;
        EXPECT_NE(shell(cores + ZIBS_SWEEP_PATH " --help")
                      .out.find("here " + n.substr(0, n.size() - 1) + ")"),
                  std::string::npos)
            << cores;
    }

    // Three shards as three jobs of GNU parallel: row j of shard K is run K - 1 + 3j, and together
    // they hold every row once.
    const Ran shards = shell("parallel -k " + std::string(ZIBS_SWEEP_PATH) + " " + args +
                             " --shard {}/3 '>' " + scratch + "-shard{}.csv ::: 1 2 3");
    ASSERT_EQ(shards.status, 0) << shards.err;
    auto whole = split(one.out, '\n');
    whole.erase(whole.begin());
    std::vector<std::string> interleaved(whole.size());
    std::size_t rows = 0;
    for (int k = 1; k <= 3; ++k) {
        auto part = split(slurp(scratch + "-shard" + std::to_string(k) + ".csv"), '\n');
        ASSERT_EQ(part.at(0), split(one.out, '\n')[0]);
        for (std::size_t j = 1; j < part.size(); ++j, ++rows)
            interleaved.at(k - 1 + 3 * (j - 1)) = part[j];
    }
    EXPECT_EQ(std::tuple(rows, interleaved), std::tuple(whole.size(), whole));
}

// The cases: tests/data/sweep_refusals.txt. The lists themselves: the sweep lists test.
TEST_F(Sweep, RefusalsNameWhatWasRefusedAndWriteNothing) {
    for (const auto& c : cases("sweep_refusals.txt")) {
        const Ran r = sweep(c[0] + " --series " + scratch + "-refused.csv");
        EXPECT_TRUE(r.status == 2 && r.out.empty()) << c[0];
        for (std::size_t k = 1; k < c.size(); ++k)
            EXPECT_NE(r.err.find(c[k]), std::string::npos) << c[0] << " -> " << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch + "-refused.csv"));
}

TEST_F(Sweep, AFailedWriteEndsTheSweepWithCode1AndLeavesTheOldSeriesFile) {
    const std::string kept = scratch + "-kept.csv";
    // Shell setup, series file, output, message.
    const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
        {"", kept, "/dev/full", "cannot write the output: No space left on device"},
        // A file that may not grow beyond 2 KiB stands in for a full disk under the series; the
        // size limit's signal ends nothing.
        {"ulimit -f 2;", kept, "/dev/null",
         "\"" + kept + "\" could not be written: File too large"},
        {"", dir, "/dev/null", "\"" + dir + "\" could not be written: Is a directory"},
    };
    for (const auto& [setup, series, output, message] : cases) {
        std::ofstream(kept) << "old\n";
        const Ran r = shell(setup + ZIBS_SWEEP_PATH + " --seeds 1..3 --days 50 --series " + series +
                            " >" + output);
        EXPECT_TRUE(r.status == 1 && r.err.find(message) != std::string::npos &&
                    slurp(kept) == "old\n")
            << r.err;
    }
    // A reader that stops early (| head) ends the sweep before the series is complete.
    std::ofstream(kept) << "old\n";
    shell(ZIBS_SWEEP_PATH " --seeds 1..40 --threads 1 --series " + kept + " | head -n 2");
    EXPECT_EQ(slurp(kept), "old\n");
    // Nothing is left beside the file.
    for (const auto& e : std::filesystem::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".zibs-"), std::string::npos) << e.path();
}

TEST_F(Sweep, ALongListTextAndAStalledReaderCostLittle) {
    // Thirty thousand digits are read in one pass (a regular expression ran out of stack).
    const Ran digits = sweep("--repro-rate " + std::string(30000, '0') + "1 --seeds 1 --days 1");
    EXPECT_EQ(rows(digits.out).size(), 1u) << digits.status << digits.err;

    // A reader that takes nothing: the pipe fills, and the threads wait instead of going on with
    // runs nobody takes yet. The resident memory, in kB, after 1 s and after 4 s; without the
    // wait it grows by about 10 MB a second on two cores.
    const Ran stalled = shell(
        "mkfifo " + dir + "/out; " ZIBS_SWEEP_PATH " --seeds 1..4000000000 --days 0 --threads 4 >" +
        dir + "/out & pid=$!; exec 3<" + dir +
        "/out; for s in 1 3; do sleep $s; grep VmRSS /proc/$pid/status; "
        "done; kill $pid");
    std::istringstream rss(stalled.out);
    long first = 0, last = 0;
    std::string label, unit;
    rss >> label >> first >> unit >> label >> last;
    EXPECT_TRUE(first > 0 && last - first < 4000) << stalled.out << stalled.err;

    // A device or a FIFO as the series file is written where it is, not replaced.
    const Ran fifo =
        shell("mkfifo " + dir + "/series; cat " + dir + "/series >" + dir +
              "/got & " ZIBS_SWEEP_PATH " --seeds 1..2 --days 3 --series " + dir +
              "/series >/dev/null && wait && test -p " + dir + "/series && wc -l <" + dir + "/got");
    EXPECT_EQ(fifo.out, "9\n") << fifo.err;
}

// The cases: tests/data/sweep_lists.txt.
TEST(SweepLists, ListsRangesSeedsAndShards) {
    for (const auto& c : cases("sweep_lists.txt")) {
        std::string got;
        try {
            if (c[0] == "seeds") {
                const sweep::Seeds s = sweep::parseSeeds(c[1]);
                got = std::to_string(s.first) + ".." + std::to_string(s.last);
            } else if (c[0] == "shard") {
                const sweep::Shard s = sweep::parseShard(c[1]);
                got = std::to_string(s.k) + "/" + std::to_string(s.n);
            } else {
                for (const std::string& v : sweep::parseList(c[1]))
                    got += (got.empty() ? "" : "|") + v;
            }
        } catch (const sweep::BadInput& e) {
            got = std::string("refused: ") + e.what();
        }
        EXPECT_EQ(c[2].starts_with("refused") ? got.substr(0, c[2].size()) : got, c[2]) << c[1];
    }
}

}  // namespace
}  // namespace zibs::testing
