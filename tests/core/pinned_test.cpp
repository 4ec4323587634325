// Pinned worlds: whole runs of the core, day by day, against the snapshots that zibs-run --trace
// printed for them when they were pinned (tests/data/pinned_worlds.txt). Any change to a rule or
// to the order of the draws shows here as the first day whose snapshot differs. To pin again on
// purpose, see tests/data/pin_worlds.py.
#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <tuple>

#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

// Each world's line "world SEED DAYS TEXTS..." is followed by one line "DAY POPULATION HASH" for
// each day it ran.
TEST(Pinned, WorldsRunAsTheyWerePinned) {
    std::ifstream in(ZIBS_TEST_DATA "/pinned_worlds.txt");
    ASSERT_TRUE(in);
    NullPresentation view;
    World w;
    std::optional<Rnd> rnd;
    int worlds = 0, days = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        if (line.starts_with("world ")) {
            EXPECT_TRUE(worlds == 0 || w.day == days) << "world " << worlds << " ends early";
            std::string word;
            std::uint32_t seed = 0;
            ParameterTexts t;
            ASSERT_TRUE(fields >> word >> seed >> days >> t.startpop >> t.repro >> t.grass >>
                        t.grow >> t.rad >> t.mute)
                << line;
            const ParameterCheck check = checkParameters(t);
            ASSERT_TRUE(check.values) << check.error;
            rnd.emplace(seed);  // seeded as zibs-run --seed does
            initworld(w, *check.values, *rnd, view);
            ++worlds;
            continue;
        }
        long long day = -1, population = -1;
        std::uint64_t hash = 0;
        ASSERT_TRUE(rnd && fields >> day >> population >> std::hex >> hash) << line;
        if (w.day < day) daystep(w, *rnd, view);
        std::string snapshot;
        appendTrace(snapshot, w);
        ASSERT_EQ(std::tuple(w.day, w.population, fnv1a64(snapshot)),
                  std::tuple(day, population, hash))
            << "world " << worlds << ": the first day that differs";
    }
    EXPECT_EQ(std::tuple(worlds, int(w.day)), std::tuple(3, days));
}

}  // namespace zibs::testing
