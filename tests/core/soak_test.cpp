#include <gtest/gtest.h>

#include "sim/sim.h"

namespace zibs {
namespace {

// The world-state invariants that must hold after every day, whatever the parameters.
void checkInvariants(const World& w) {
    ASSERT_GE(w.popstart, 0);
    ASSERT_LE(w.popstart, lastRecord);
    int living = 0;
    for (int i = 1; i <= w.popstart; ++i) {
        const Zib& z = w.zibs[i];
        ASSERT_TRUE(z.x >= 0 && z.x <= 20 && z.y >= 0 && z.y <= 20) << i;
        ASSERT_TRUE((z.goalx == 0 && z.goaly == 0) ||
                    (z.goalx >= 1 && z.goalx <= 20 && z.goaly >= 1 && z.goaly <= 20))
            << i;
        ASSERT_TRUE(z.alive == 0 || z.alive == 1) << i;
        ASSERT_TRUE(z.mode >= 0 && z.mode <= 2 && z.age >= 0) << i;
        living += z.alive;
        for (int j : {0, 9, 10}) ASSERT_EQ(z.cells[j], ZibCell{}) << i << " " << j;
        for (int j = 1; j <= 8; ++j) {
            const ZibCell& c = z.cells[j];
            ASSERT_TRUE(c.kind >= 0 && c.kind <= 3 && c.mode >= 0 && c.mode <= 2) << i;
            ASSERT_GE(c.food, 0) << i;
        }
    }
    ASSERT_EQ(w.population, living);
}

TEST(Soak, InvariantsHoldToExtinctionOrTwoThousandDays) {
    const Parameters sets[] = {
        {10, 1, 15, 2, 50, 1},
        {100, 99, 32767, 32767, 32767, 32767},
        {1, 3, 32767, 32767, 32767, 32767},
        {40, 5, 20, -32768, 100, 10},
        {30, 2, 1, 1, 0, 0},
        {20, 10, 642, 100, -5, 32767},
        {5, 1, 32767, 32767, 32767, 3},
        {0, 1, 15, 2, 50, 1},
    };
    NullPresentation view;
    for (const Parameters& p : sets) {
        for (std::uint32_t seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(::testing::Message() << "popstart " << p.popstart << " reprorate "
                                              << p.reprorate << " seed " << seed);
            World w;
            Rnd rnd(seed);
            initworld(w, p, rnd, view);
            checkInvariants(w);
            for (int d = 0; d < 2000 && (d == 0 || w.population > 0); ++d) {
                ASSERT_TRUE(daystep(w, rnd, view));
                checkInvariants(w);
                if (HasFatalFailure()) return;
            }
        }
    }
}

}  // namespace
}  // namespace zibs
