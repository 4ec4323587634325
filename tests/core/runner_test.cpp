#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
};

// Runs zibs-run with the arguments; `streams` picks what is captured ("2>/dev/null" or "2>&1").
Outcome run(const std::string& args, const std::string& streams = "2>/dev/null") {
    Outcome r;
    FILE* p = popen((std::string(ZIBS_RUN_PATH) + " " + args + " " + streams).c_str(), "r");
    if (!p) return r;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

TEST(Runner, TraceIsRepeatableAndWellFormed) {
    const Outcome a = run("--seed 1 --days 100 --trace");
    const Outcome b = run("--seed 1 --days 100 --trace");
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.out, b.out);
    const auto ls = lines(a.out);
    ASSERT_FALSE(ls.empty());
    EXPECT_EQ(ls.front(), "day 0 population 10 popstart 10");
    std::istringstream grass(ls[1]);
    std::string word;
    grass >> word;
    EXPECT_EQ(word, "grass");
    int count = 0;
    for (int v; grass >> v; ++count) EXPECT_TRUE(v >= -50 && v <= 49);
    EXPECT_EQ(count, 441);
    EXPECT_TRUE(ls[2].rfind("zib 1 ", 0) == 0);
    int ends = 0;
    for (const auto& l : ls) {
        ends += l == "end";
        EXPECT_TRUE(l.empty() || l.back() != ' ');
        if (l.rfind("zib ", 0) == 0) {
            std::istringstream z(l);
            int fields = 0;
            for (std::string f; z >> f;) ++fields;
            EXPECT_EQ(fields, 2 + 8 + 8 * 5);
        }
    }
    EXPECT_EQ(ends, 101);

    // The CSV of the same run follows the same days.
    const auto csv = lines(run("--seed 1").out);
    ASSERT_EQ(csv.size(), 102u);
    EXPECT_EQ(csv[0], "day,population");
    EXPECT_EQ(csv[1], "0,10");
    std::vector<std::string> fromTrace;
    for (const auto& l : ls) {
        if (l.rfind("day ", 0) == 0) {
            std::istringstream d(l);
            std::string w1, w2;
            int day, pop;
            d >> w1 >> day >> w2 >> pop;
            fromTrace.push_back(std::to_string(day) + "," + std::to_string(pop));
        }
    }
    EXPECT_EQ(std::vector<std::string>(csv.begin() + 1, csv.end()), fromTrace);
}

TEST(Runner, SeedFromClockToEndAndRefusals) {
    const Outcome clock = run("--days 3", "2>&1");
    ASSERT_EQ(clock.status, 0);
    const auto ls = lines(clock.out);
    ASSERT_EQ(ls.size(), 6u);
    ASSERT_EQ(ls[0].rfind("seed ", 0), 0u);
    EXPECT_EQ(run("--days 3 --seed " + ls[0].substr(5)).out, clock.out.substr(ls[0].size() + 1));

    // Grass that dies back starves every zib; the run stops on the day population reaches 0.
    const auto end = lines(run("--seed 5 --to-end --growth-rate -32768").out);
    ASSERT_GE(end.size(), 3u);
    EXPECT_EQ(end.back().substr(end.back().find(',')), ",0");
    EXPECT_NE(end[end.size() - 2].substr(end[end.size() - 2].find(',')), ",0");

    const Outcome refused = run("--seed 1 --start-population 101", "2>&1");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.out.find("\"Start population\" must be a whole number from 0 to 100; "
                               "\"101\" is not accepted."),
              std::string::npos);
    EXPECT_EQ(run("--max-grass 0").status, 2);
    for (const char* bad : {"--seed -1", "--seed 4294967296", "--seed 1x", "--days", "--days -3",
                            "--days 5 --to-end", "--frobnicate 1", "extra"}) {
        EXPECT_EQ(run(bad).status, 2) << bad;
    }
    EXPECT_EQ(run("--seed 4294967295 --days 0").out, "day,population\n0,10\n");
}

}  // namespace
