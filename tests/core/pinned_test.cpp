// Pinned worlds: whole runs, day by day, against the snapshots that zibs-run --trace printed for
// them when they were pinned (tests/data/pinned_worlds.txt). Any change to a rule, to the order
// of the draws or to what the runner prints shows here as the first day that differs. To pin
// again on purpose, see tests/data/pin_worlds.py.
#include <cstdint>
#include <sstream>
#include <tuple>

#include "shell.h"

namespace zibs::testing {

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

// Each world's line "world SEED DAYS TEXTS..." is followed by one line "DAY POPULATION HASH" for
// each day it ran: the runner's snapshot of that day (from "day" to "end") and its CSV row.
TEST(Pinned, WorldsRunAsTheyWerePinned) {
    std::istringstream in(slurp(ZIBS_TEST_DATA "/pinned_worlds.txt"));
    std::string trace, csv;
    std::size_t at = 0, csvAt = 0;  // the next snapshot in the trace, the next CSV row
    int worlds = 0, days = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        if (line.starts_with("world ")) {
            EXPECT_TRUE(at == trace.size() && csvAt == csv.size()) << "world " << worlds;
            std::string args = ZIBS_RUN_PATH, word, seed, text;
            fields >> word >> seed >> days;
            args += " --seed " + seed + " --days " + std::to_string(days);
            for (const char* option : {"--start-population", "--repro-rate", "--max-grass",
                                       "--growth-rate", "--radiation", "--mutations"})
                if (fields >> text) args += std::string(" ") + option + "=" + text;
            trace = shell(args + " --trace").out;
            csv = shell(args).out;
            at = 0;
            csvAt = csv.rfind("day,population\n", 0) == 0 ? 15 : csv.size() + 1;
            ++worlds;
            continue;
        }
        long long day = -1, population = -1;
        std::uint64_t hash = 0;
        ASSERT_TRUE(fields >> day >> population >> std::hex >> hash) << line;
        const std::size_t end = trace.find("end\n", at) + 4;
        ASSERT_GE(end, at + 4) << "world " << worlds << " ends before day " << day;
        const std::string row = std::to_string(day) + "," + std::to_string(population) + "\n";
        ASSERT_EQ(std::tuple(fnv1a64(trace.substr(at, end - at)), csv.substr(csvAt, row.size())),
                  std::tuple(hash, row))
            << "world " << worlds << ": the first day that differs is " << day;
        csvAt += row.size();
        at = end;
    }
    EXPECT_EQ(std::tuple(worlds, at, csvAt), std::tuple(3, trace.size(), csv.size()));
}

}  // namespace zibs::testing
