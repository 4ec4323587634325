// Pinned worlds: whole runs of the core, day by day, against the snapshots that zibs-run --trace
// printed for them when they were pinned (tests/data/pinned_worlds.txt). Any change to a rule or
// to the order of the draws shows here as the first day whose snapshot differs. To pin again on
// purpose, see tests/data/pin_worlds.py.
#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/trace.h"
#include "testsupport.h"

namespace zibs::testing {

namespace {

struct PinnedDay {
    long long day = 0;
    long long population = 0;
    std::uint64_t hash = 0;
};

struct PinnedWorld {
    std::uint32_t seed = 0;
    int days = 0;
    ParameterTexts texts;
    std::vector<PinnedDay> rows;
};

std::uint64_t fnv1a64(const std::string& bytes) {
    std::uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char b : bytes) h = (h ^ b) * 0x100000001b3u;
    return h;
}

// The whole file, or a failure naming the first line that cannot be read.
std::vector<PinnedWorld> readPins(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot open " << path;
    std::vector<PinnedWorld> worlds;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string word;
        bool ok = true;
        if (line.starts_with("world ")) {
            PinnedWorld w;
            ParameterTexts& t = w.texts;
            ok = bool(fields >> word >> w.seed >> w.days >> t.startpop >> t.repro >> t.grass >>
                      t.grow >> t.rad >> t.mute);
            worlds.push_back(w);
        } else {
            PinnedDay d;
            ok = !worlds.empty() && bool(fields >> d.day >> d.population >> std::hex >> d.hash);
            if (ok) worlds.back().rows.push_back(d);
        }
        if (!ok || !(fields >> word).fail()) {
            ADD_FAILURE() << path << " line " << n << " cannot be read: " << line;
            return {};
        }
    }
    for (const PinnedWorld& w : worlds) {
        EXPECT_EQ(w.rows.size(), w.days + 1u) << path << ": world of seed " << w.seed;
    }
    return worlds;
}

}  // namespace

TEST(Pinned, WorldsRunAsTheyWerePinned) {
    const std::vector<PinnedWorld> worlds = readPins(ZIBS_TEST_DATA "/pinned_worlds.txt");
    ASSERT_EQ(worlds.size(), 3u);
    NullPresentation view;
    for (const PinnedWorld& pin : worlds) {
        const ParameterCheck check = checkParameters(pin.texts);
        ASSERT_TRUE(check.values) << check.error;
        World w;
        Rnd rnd(pin.seed);  // seeded as zibs-run --seed does
        initworld(w, *check.values, rnd, view);
        for (const PinnedDay& want : pin.rows) {
            if (w.day < want.day) daystep(w, rnd, view);
            std::string snapshot;
            appendTrace(snapshot, w);
            const PinnedDay got{w.day, w.population, fnv1a64(snapshot)};
            ASSERT_TRUE(got.day == want.day && got.population == want.population &&
                        got.hash == want.hash)
                << "seed " << pin.seed << ", day " << got.day << ": population " << got.population
                << ", snapshot " << std::hex << got.hash << "; pinned: day " << std::dec << want.day
                << ", population " << want.population << ", snapshot " << std::hex << want.hash;
        }
    }
}

}  // namespace zibs::testing
